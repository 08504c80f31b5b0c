// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

struct TRecordStore;

// What the record list shows of one held record, so that records of the same branch can be told
// apart: its description, the date and time of its first sample and how many samples it has.
struct TRecordListRow {
    QString Description;
    QString FirstSample; // "dd.mm.yyyy hh:mm:ss", empty when it has none
    int SampleCount = 0;

    bool operator==(const TRecordListRow&) const = default;
};

// One row per held header, in table order; one pass over the held samples.
std::vector<TRecordListRow> RecordListRows(const TRecordStore& store);
