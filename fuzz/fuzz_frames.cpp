// SPDX-License-Identifier: GPL-3.0-or-later
// The frame protocol's reply checks and what the transfers make of the replies: ping, project read,
// record read and catalogue read against an instrument that answers with the fuzzer's input.
#include "FuzzInput.h"
#include "FuzzedInstrument.h"

#include "commands/DeviceRecordRead.h"
#include "commands/DeviceUserInterface.h"
#include "link/DeviceConfig.h"
#include "link/LinkScope.h"
#include "link/ProjectTransfer.h"
#include "link/ValveTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "model/RecordModel.h"
#include "commands/ScriptedUserInterface.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TMessageCatalogue catalogue(QStringLiteral("/nonexistent/"), QLocale::c());
    static TRecordStore store;
    if (size == 0)
        return 0;
    // The first byte picks the operation, the rest are the replies.
    TFuzzedInstrument instrument(data + 1, size - 1);
    TNoPause pause;
    TScriptedUserInterface ui;
    ui.Answers = {IUserInterface::Answer::Yes};
    TLinkGuard guard;
    TDeviceUserInterface events(ui, catalogue);
    const TDeviceOperationContext context{guard, instrument, pause, events};
    switch (data[0] % 4) {
    case 0:
        TestDeviceConnection(context);
        break;
    case 1: {
        std::unique_ptr<TProject> project;
        TDeviceConfig config{};
        if (ReadProjectFromDevice(context, config, project) == TDeviceResult::Done)
            FUZZ_CHECK(project->branchCount() >= 0 && project->branchCount() <= MaxBranches);
        break;
    }
    case 2: {
        TUnits units;
        units.Locale = QLocale::c();
        const auto chooseFirst = [](const QStringList& captions) -> std::optional<int> {
            return captions.isEmpty() ? std::nullopt : std::optional<int>(0);
        };
        ReadRecordsFromDevice(context, store, data[0] / 4 % 13, units, catalogue, chooseFirst);
        FUZZ_CHECK(store.heldHeaders() == store.RecordCount && store.heldSamples() == store.SampleCount);
        break;
    }
    default: {
        auto valves = std::make_unique<TValveCatalogue>();
        ReadValvesFromDevice(context, *valves, fuzzScratchDir());
        FUZZ_CHECK(ManufacturerCountOf(*valves) <= MaxManufacturers);
        break;
    }
    }
    FUZZ_CHECK(!guard.Busy);
    return 0;
}
