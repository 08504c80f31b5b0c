// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Worksheet limits of the Office Open XML format; addresses outside them name no cell.
inline constexpr int MaxSheetRow = 1048576;
inline constexpr int MaxSheetColumn = 16384;

// "A1"-style cell references. Rows and columns count from 1.
QString CellReference(int row, int column);
QString ColumnLetters(int column);
// Splits "AB12" into row 12, column 28. False for anything that is not a single cell reference
// within the sheet's limits ("$" anchors are accepted).
bool ParseCellReference(const QString& reference, int* row, int* column);

// A rectangle of cells, "A1:C3" or a single "B2"; rows and columns count from 1.
struct TCellRange {
    int FirstRow = 0;
    int FirstColumn = 0;
    int LastRow = 0;
    int LastColumn = 0;
    bool contains(int row, int column) const {
        return row >= FirstRow && row <= LastRow && column >= FirstColumn && column <= LastColumn;
    }
};
// False for anything but one cell reference or two joined by ":".
bool ParseCellRange(const QString& text, TCellRange* range);
QString CellRangeReference(const TCellRange& range);
