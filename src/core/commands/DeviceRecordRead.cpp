// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DeviceRecordRead.h"

#include "link/DeviceEvents.h"
#include "link/RecordTransfer.h"
#include "model/DecodeInstrumentRecords.h"
#include "model/RecordModel.h"
#include "records/RecordPresettings.h"

#include <vector>

TDeviceResult ReadRecordsFromDevice(const TDeviceOperationContext& c, TRecordStore& store, int codePage,
                                    const TUnits& units, const ITranslator& translator,
                                    const TRecordChooser& chooser,
                                    const std::function<void()>& showCurrentRecord) {
    std::vector<std::uint8_t> area;
    const TDeviceResult read = ReadRecordAreaFromDevice(c, area);
    if (read != TDeviceResult::Done)
        return read;

    DecodeInstrumentRecords(store, area.data(), area.size(), codePage);
    WordPresettings(store, units, translator);
    // The read has ended: "Reading records..." must not stay when nothing follows it.
    c.Events.status({TDeviceStatusKind::Clear});
    if (store.RecordCount == 0) {
        c.Events.notice({TDeviceNoticeKind::NoRecords});
        return TDeviceResult::NothingDone;
    }
    if (!ChooseDeviceRecord(store, chooser))
        return TDeviceResult::NothingDone;
    c.Events.status({TDeviceStatusKind::RecordRead});
    if (showCurrentRecord)
        showCurrentRecord();
    return TDeviceResult::Done;
}
