// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's record area as the record transfer hands it to the decoder.
#include "FuzzInput.h"

#include "model/DecodeInstrumentRecords.h"
#include "model/RecordModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TRecordStore store;
    if (size == 0)
        return 0;
    // The first byte picks the code page of the valve texts, the rest is the area.
    DecodeInstrumentRecords(store, data + 1, size - 1, data[0] % 13);
    FUZZ_CHECK(store.RecordCount >= 0 && store.RecordCount <= static_cast<int>(store.RecordHeaders.size()));
    FUZZ_CHECK(store.SampleCount >= 0 && store.SampleCount <= static_cast<int>(store.Samples.size()));
    for (std::int32_t i = 0; i < store.SampleCount; ++i)
        FUZZ_CHECK(store.Samples[i].RecordIndex >= -1 && store.Samples[i].RecordIndex < store.RecordCount);
    return 0;
}
