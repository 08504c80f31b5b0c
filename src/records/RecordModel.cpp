#include "records/RecordModel.h"

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
        return QStringLiteral("Ethylenglykol");
    case 2:
        return QStringLiteral("Propylenglykol");
    default:
        return QStringLiteral("Water");
    }
}
