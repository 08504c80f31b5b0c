// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ValveTransfer.h"

#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "link/MemoryMap.h"
#include "link/TransferReport.h"
#include "localisation/MessageCatalogue.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"
#include "commands/UserInterface.h"

#include <memory>
#include <numeric>

TDeviceResult ReadValvesFromDevice(const TDeviceOperationContext& c, TValveCatalogue& catalogue,
                                   const QString& cacheDirectory, QString* cacheError,
                                   const std::function<void()>& fillManufacturerList) {
    const TMessageCatalogue& t = c.Catalogue;
    if (cacheError)
        cacheError->clear();
    auto fresh = std::make_unique<TValveCatalogue>(catalogue);
    bool refused = false;
    bool cancelled = false;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Ui, t, [&](TFix64& link) {
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading manufacturers")));
        link.ReadData(ManufacturerHeaderAddress, &fresh->ManufacturerCount, ManufacturerHeaderSize);
        const int manufacturers = fresh->ManufacturerCount;
        c.Ui.setStatus(t.TranslateColon(QStringLiteral("Number of manufacturers")) +
                       QString::number(manufacturers));
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

        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading manufacturer names")));
        link.ReadData(ManufacturerNamesAddress, fresh->ManufacturerNames,
                      static_cast<std::uint32_t>(manufacturers) * ManufacturerNameSize);
        c.Ui.setStatus(t.Translate(QStringLiteral("Manufacturers were read")));

        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading valves")));
        const QString progress = t.TranslateSpaced(QStringLiteral("Reading Valves from device"));
        TTransferReport report(c.Progress, TTransferOperation::ReadValves,
                               static_cast<std::uint64_t>(valves) * ValveRecordSize);
        for (int k = 0; k < valves; ++k) {
            if (report.cancelled()) {
                cancelled = true;
                return;
            }
            link.ReadData(ValvesAddress + static_cast<std::uint32_t>(k) * ValveRecordSize, &fresh->Valves[k],
                          ValveRecordSize);
            c.Ui.setStatus(progress + QString::number(k + 1) + u'/' + QString::number(valves));
            report.report(static_cast<std::uint64_t>(k + 1) * ValveRecordSize);
        }
    });
    if (!completed)
        return TDeviceResult::Failed;
    if (cancelled)
        return TDeviceResult::Cancelled;
    if (refused) {
        c.Ui.setStatus(t.TranslateExclaim(QStringLiteral("The valve catalogue in the device is too large")));
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
