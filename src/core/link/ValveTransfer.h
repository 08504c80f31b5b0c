// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DeviceOperation.h"

#include <QString>

#include <functional>

struct TValveCatalogue;

// Reads the instrument's valve catalogue and writes the two cache files into `cacheDirectory`. A
// catalogue with more than 16 manufacturers or more than 1000 valves is refused after its header
// (status text, Failed). The catalogue in memory and the cache files change only when the whole
// catalogue arrived; a cancelled read (Cancelled) changes neither. Table slots beyond the counts keep
// what they held. A cache file that cannot be written is no failure of the transfer: *cacheError (if
// given) says why, else it is empty.
TDeviceResult ReadValvesFromDevice(const TDeviceOperationContext& context, TValveCatalogue& catalogue,
                                   const QString& cacheDirectory, QString* cacheError = nullptr,
                                   const std::function<void()>& fillManufacturerList = {});
