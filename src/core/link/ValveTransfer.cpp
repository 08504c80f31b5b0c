// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ValveTransfer.h"

#include "link/DeviceEvents.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "link/MemoryMap.h"
#include "link/TransferReport.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"

#include <memory>
#include <numeric>

TDeviceResult ReadValvesFromDevice(const TDeviceOperationContext& c, TValveCatalogue& catalogue,
                                   const QString& cacheDirectory, QString* cacheError,
                                   const std::function<void()>& fillManufacturerList) {
    using S = TDeviceStatusKind;
    if (cacheError)
        cacheError->clear();
    auto fresh = std::make_unique<TValveCatalogue>(catalogue);
    bool refused = false;
    bool cancelled = false;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Events, [&](TFix64& link) {
        c.Events.status({S::ReadingManufacturers});
        link.ReadData(ManufacturerHeaderAddress, &fresh->ManufacturerCount, ManufacturerHeaderSize);
        const int manufacturers = fresh->ManufacturerCount;
        c.Events.status({S::ManufacturerCount, manufacturers});
        if (manufacturers > MaxManufacturers) {
            refused = true;
            return;
        }
        const int valves = std::accumulate(fresh->TypeCounts, fresh->TypeCounts + manufacturers, 0,
                                           [](int sum, std::uint8_t n) { return sum + n; });
        // The tables hold 16 names and 1000 valves; a larger catalogue would be read past them.
        if (valves > MaxValves) {
            refused = true;
            return;
        }

        c.Events.status({S::ReadingManufacturerNames});
        link.ReadData(ManufacturerNamesAddress, fresh->ManufacturerNames,
                      static_cast<std::uint32_t>(manufacturers) * ManufacturerNameSize);
        c.Events.status({S::ManufacturersRead});

        c.Events.status({S::ReadingValves});
        TTransferReport report(c.Progress, TTransferOperation::ReadValves,
                               static_cast<std::uint64_t>(valves) * ValveRecordSize);
        for (int k = 0; k < valves; ++k) {
            if (report.cancelled()) {
                cancelled = true;
                return;
            }
            link.ReadData(ValvesAddress + static_cast<std::uint32_t>(k) * ValveRecordSize, &fresh->Valves[k],
                          ValveRecordSize);
            c.Events.status({S::ValveProgress, k + 1, valves});
            report.report(static_cast<std::uint64_t>(k + 1) * ValveRecordSize);
        }
    });
    if (!completed)
        return TDeviceResult::Failed;
    if (cancelled)
        return TDeviceResult::Cancelled;
    if (refused) {
        c.Events.status({S::ValveCatalogueTooLarge});
        return TDeviceResult::Failed;
    }

    catalogue = *fresh;
    QString error;
    // A cache file that cannot be written is not the instrument's fault; the caller decides whether
    // to say so.
    if (!SaveValveCache(cacheDirectory, catalogue, &error) && cacheError)
        *cacheError = error;
    if (fillManufacturerList)
        fillManufacturerList();
    return TDeviceResult::Done;
}
