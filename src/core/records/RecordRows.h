// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Units.h"
#include "model/DisplayNumber.h"
#include "model/RecordModel.h"
#include "records/TextTable.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>

class ITranslator;

// The records table of one display, kept as the samples it was made from: the texts of a cell are
// made when the cell is asked for, so a view of 21000 rows formats only what it shows. The cells
// are those of BuildRecordTable, and a later change of the store or the units does not reach them.
class TRecordRows {
public:
    // The header row and one empty row, in English.
    TRecordRows();
    TRecordRows(const TRecordStore& store, const TUnits& units, const ITranslator& translator);

    int columnCount() const { return static_cast<int>(m_header.size()); }
    // The header row, then one row per sample, or one empty row when there is none.
    int rowCount() const;
    std::int32_t sampleRows() const { return static_cast<std::int32_t>(m_samples.size()); }
    // Empty outside the table.
    QString cell(int column, int row) const;
    // The date, a blank and the time of sample row `sampleRow` (0 for table row 1).
    QString label(int sampleRow) const;
    // Every cell, for the exports.
    TTextTable toTextTable() const;

private:
    std::array<QString, 4> m_header;
    QList<TZaznamData> m_samples;
    TUnits m_units;
    TDisplayNumberReader m_reader;
};
