// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DeviceOperation.h"
#include "model/ChooseDeviceRecord.h"

#include <functional>

struct TRecordStore;
struct TUnits;
class ITranslator;

// Reads the whole record area (ReadRecordAreaFromDevice), rebuilds the record tables from it, words
// their presettings and lets the user choose one record. Done when a record was chosen: it is then
// the store's current record and `showCurrentRecord` (if set) has put it into the records window. The
// tables change only when the whole area was read; a cancelled read (Cancelled) leaves them as they
// were. The caller copies the status text into the records window afterwards, whatever the result.
TDeviceResult ReadRecordsFromDevice(const TDeviceOperationContext& context, TRecordStore& store, int codePage,
                                    const TUnits& units, const ITranslator& translator,
                                    const TRecordChooser& chooser,
                                    const std::function<void()>& showCurrentRecord = {});
