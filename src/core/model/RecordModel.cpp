// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/RecordModel.h"

#include "model/Translator.h"

#include <algorithm>

std::int32_t TRecordStore::heldHeaders() const {
    return std::clamp<std::int32_t>(RecordCount, 0, static_cast<std::int32_t>(RecordHeaders.size()));
}

std::int32_t TRecordStore::heldSamples() const {
    return std::clamp<std::int32_t>(SampleCount, 0, static_cast<std::int32_t>(Samples.size()));
}

QString MediumName(std::int32_t mediumIndex) {
    switch (mediumIndex) {
    case 1:
        return QString::fromUtf8(EnglishText("Ethylenglykol"));
    case 2:
        return QString::fromUtf8(EnglishText("Propylenglykol"));
    default:
        return QString::fromUtf8(EnglishText("Water"));
    }
}
