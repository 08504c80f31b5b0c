// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RecordTransfer.h"

#include "link/DeviceEvents.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "link/MemoryMap.h"
#include "link/TransferReport.h"

#include <algorithm>

namespace {

bool isEndMark(const std::uint8_t* step) {
    return std::all_of(step, step + RecordEndMarkBytes, [](std::uint8_t b) { return b == 0xFF; });
}

} // namespace

TDeviceResult ReadRecordAreaFromDevice(const TDeviceOperationContext& c, std::vector<std::uint8_t>& area) {
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(MaxRecordSteps) * RecordStep);
    std::size_t length = 0;
    bool cancelled = false;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Events, [&](TFix64& link) {
        c.Events.status({TDeviceStatusKind::ReadingRecords});
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
    raw.resize(length);
    area = std::move(raw);
    return TDeviceResult::Done;
}
