// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RecordTransfer.h"

#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "link/MemoryMap.h"
#include "link/TransferReport.h"
#include "localisation/MessageCatalogue.h"
#include "model/DecodeInstrumentRecords.h"
#include "model/RecordModel.h"
#include "commands/UserInterface.h"

#include <algorithm>
#include <vector>

namespace {

bool isEndMark(const std::uint8_t* step) {
    return std::all_of(step, step + RecordEndMarkBytes, [](std::uint8_t b) { return b == 0xFF; });
}

} // namespace

TDeviceResult ReadRecordsFromDevice(const TDeviceOperationContext& c, TRecordStore& store, int codePage,
                                    const TUnits& units, const TRecordChooser& chooser,
                                    const std::function<void()>& showCurrentRecord) {
    const TMessageCatalogue& t = c.Catalogue;
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(MaxRecordSteps) * RecordStep);
    std::size_t length = 0;
    bool cancelled = false;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Ui, t, [&](TFix64& link) {
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading records")));
        // How far the end mark lies is unknown until it comes: the whole area is the total.
        TTransferReport report(c.Progress, TTransferOperation::ReadRecords, raw.size());
        for (std::uint32_t address = RecordAreaStart; address < RecordAreaEnd; address += RecordStep) {
            if (report.cancelled()) {
                cancelled = true;
                return;
            }
            std::uint8_t* step = raw.data() + length;
            link.ReadData(address, step, RecordStep);
            if (isEndMark(step))
                break;
            length += RecordStep;
            report.report(length);
        }
    });
    if (!completed)
        return TDeviceResult::Failed;
    if (cancelled)
        return TDeviceResult::Cancelled;

    DecodeInstrumentRecords(store, raw.data(), length, codePage, units, t);
    // The read has ended: "Reading records..." must not stay when nothing follows it.
    c.Ui.setStatus(QString());
    if (store.RecordCount == 0) {
        c.Ui.showMessage(t.Translate(QStringLiteral("Records")),
                         t.Translate(QStringLiteral("There are no records in device")));
        return TDeviceResult::NothingDone;
    }
    if (!ChooseDeviceRecord(store, chooser))
        return TDeviceResult::NothingDone;
    c.Ui.setStatus(t.Translate(QStringLiteral("The record was successfully read")));
    if (showCurrentRecord)
        showCurrentRecord();
    return TDeviceResult::Done;
}
