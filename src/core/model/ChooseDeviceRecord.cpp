// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ChooseDeviceRecord.h"

#include "model/RecordModel.h"

bool ChooseDeviceRecord(TRecordStore& store, const TRecordChooser& chooser) {
    const std::int32_t held = store.heldHeaders();
    QStringList captions;
    captions.reserve(held);
    for (std::int32_t i = 0; i < held; ++i)
        captions << store.RecordHeaders[i].Description;
    const std::optional<int> chosen = chooser(captions);
    if (!chosen || *chosen < 0 || *chosen >= held)
        return false;
    store.CurrentRecord = *chosen;
    store.CurrentHeader = store.RecordHeaders[*chosen];
    store.FileName.clear();
    return true;
}
