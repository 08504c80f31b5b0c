// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

// A grid of display texts, addressed (column, row) like the records window's table. What the window
// shows is what the exports, the report and the companion write.
class TTextTable {
public:
    TTextTable() = default;
    TTextTable(int columnCount, int rowCount);

    int columnCount() const { return m_columns; }
    int rowCount() const { return m_rows; }
    // Empty outside the grid.
    const QString& cell(int column, int row) const;
    // Ignored outside the grid.
    void setCell(int column, int row, QString text);

private:
    int m_columns = 0;
    int m_rows = 0;
    std::vector<QString> m_cells;
};
