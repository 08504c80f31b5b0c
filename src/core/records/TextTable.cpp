// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/TextTable.h"

#include <algorithm>

namespace {
const QString emptyCell;
}

TTextTable::TTextTable(int columnCount, int rowCount)
    : m_columns(std::max(columnCount, 0)), m_rows(std::max(rowCount, 0)),
      m_cells(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows)) {}

const QString& TTextTable::cell(int column, int row) const {
    if (column < 0 || column >= m_columns || row < 0 || row >= m_rows)
        return emptyCell;
    return m_cells[static_cast<std::size_t>(row) * m_columns + column];
}

void TTextTable::setCell(int column, int row, QString text) {
    if (column < 0 || column >= m_columns || row < 0 || row >= m_rows)
        return;
    m_cells[static_cast<std::size_t>(row) * m_columns + column] = std::move(text);
}
