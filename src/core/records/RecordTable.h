// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/TextTable.h"

#include <cstdint>

struct TRecordStore;
struct TUnits;
class ITranslator;

// Columns of the records table.
inline constexpr int RecordTableColumns = 4;

// The records table as the window shows it: a header row (date, time, pressure and flow captions
// with the display units), then one row per sample of the current record in table order, with the
// pressure and flow in the display units ("-----" outside the valid range). With no such sample the
// table is the header row and one empty row. *shownRows, if given, receives the sample rows.
TTextTable BuildRecordTable(const TRecordStore& store, const TUnits& units, const ITranslator& translator,
                            std::int32_t* shownRows = nullptr);
