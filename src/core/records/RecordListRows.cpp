// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordListRows.h"

#include "model/RecordModel.h"

std::vector<TRecordListRow> RecordListRows(const TRecordStore& store) {
    const std::int32_t headers = store.heldHeaders();
    std::vector<TRecordListRow> rows(static_cast<std::size_t>(headers));
    for (std::int32_t i = 0; i < headers; ++i)
        rows[static_cast<std::size_t>(i)].Description = store.RecordHeaders[static_cast<std::size_t>(i)].Description;
    const std::int32_t samples = store.heldSamples();
    for (std::int32_t i = 0; i < samples; ++i) {
        const TZaznamData& sample = store.Samples[static_cast<std::size_t>(i)];
        // A sample that names no held header belongs to no row.
        if (sample.RecordIndex < 0 || sample.RecordIndex >= headers)
            continue;
        TRecordListRow& row = rows[static_cast<std::size_t>(sample.RecordIndex)];
        if (row.SampleCount++ == 0)
            row.FirstSample = sample.Date + u' ' + sample.Time;
    }
    return rows;
}
