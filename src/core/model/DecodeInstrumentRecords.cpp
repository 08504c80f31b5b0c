// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DecodeInstrumentRecords.h"

#include "model/InstrumentText.h"
#include "model/RecordModel.h"
#include "model/SampleText.h"

#include <QtEndian>

#include <bit>

namespace {

float floatAt(const std::uint8_t* p) {
    return std::bit_cast<float>(qFromLittleEndian<quint32>(p));
}

int uint16At(const std::uint8_t* p) {
    return qFromLittleEndian<quint16>(p);
}

TZaznam decodeHeader(const std::uint8_t* block, int codePage) {
    TZaznam header;
    header.Description = DecodeInstrumentText(block + 2, 16, block[1]);
    // Manufacturer and type are one text, split by the first U+0010.
    const QString valve = DecodeInstrumentText(block + 18, 32, codePage);
    const qsizetype split = valve.indexOf(QChar(0x10));
    if (split < 0) {
        header.Valve_Type = valve;
    } else {
        header.Valve_Manufacturer = valve.left(split);
        header.Valve_Type = valve.mid(split + 1);
    }
    header.PresettingValue = static_cast<double>(floatAt(block + 54));
    header.Medium_Index = uint16At(block + 60);
    header.Temperature = uint16At(block + 62);
    header.Concentration = uint16At(block + 64);
    return header;
}

} // namespace

void DecodeInstrumentRecords(TRecordStore& store, const std::uint8_t* bytes, std::size_t byteCount,
                             int codePage) {
    const std::int32_t headerSlots = static_cast<std::int32_t>(store.RecordHeaders.size());
    const std::int32_t sampleSlots = static_cast<std::int32_t>(store.Samples.size());
    store.RecordCount = 0;
    store.SampleCount = 0;
    int year = 0;
    bool headerDropped = false;
    std::size_t position = 0;
    while (position < byteCount) {
        const std::uint8_t* block = bytes + position;
        const std::size_t left = byteCount - position;
        if (*block == RecordHeaderMarker) {
            if (left < RecordHeaderBlockSize)
                break;
            headerDropped = store.RecordCount >= headerSlots;
            if (!headerDropped) {
                store.CurrentHeader = decodeHeader(block, codePage);
                store.RecordHeaders[store.RecordCount++] = store.CurrentHeader;
            }
            year = uint16At(block + 58);
            position += RecordHeaderBlockSize;
        } else if (*block == SampleMarker) {
            if (left < SampleBlockSize)
                break;
            if (!headerDropped && store.SampleCount < sampleSlots) {
                TZaznamData& sample = store.Samples[store.SampleCount++];
                sample.RecordIndex = store.RecordCount - 1;
                sample.Date = SampleDate(block[10], block[1], year);
                sample.Time = SampleTime(block[11], block[12], block[13]);
                sample.Pressure = SampleNumber(static_cast<double>(floatAt(block + 2)));
                sample.Flow = SampleNumber(static_cast<double>(floatAt(block + 6)));
            }
            position += SampleBlockSize;
        } else {
            ++position;
        }
    }
}
