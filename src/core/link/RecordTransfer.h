// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DeviceOperation.h"

#include <cstdint>
#include <vector>

// Reads the whole record area, up to its end mark and at most 6302 steps, into `area` (the end mark
// left out). `area` changes only when the whole area was read: a cancelled read (Cancelled) or a
// failed one leaves it as it was. The commands decode it (ReadRecordsFromDevice).
TDeviceResult ReadRecordAreaFromDevice(const TDeviceOperationContext& context,
                                       std::vector<std::uint8_t>& area);
