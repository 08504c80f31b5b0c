// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordPresettings.h"

#include "model/RecordModel.h"
#include "model/Units.h"

void WordPresettings(TRecordStore& store, const TUnits& units, const ITranslator& translator) {
    const std::int32_t held = store.heldHeaders();
    for (std::int32_t i = 0; i < held; ++i) {
        TZaznam& header = store.RecordHeaders[i];
        header.Presetting = units.FormatPresetting(header.PresettingValue, translator);
    }
    // A decode without headers left the current header alone, e.g. one from a record file, whose
    // text is no value of the instrument's.
    if (held > 0)
        store.CurrentHeader.Presetting =
            units.FormatPresetting(store.CurrentHeader.PresettingValue, translator);
}
