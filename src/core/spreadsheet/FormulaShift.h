// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A formula as the spreadsheet program would hold it in a cell `rows` below and `columns` right of
// the cell it was written for: relative references move, "$"-anchored parts stay; texts in
// quotes, quoted sheet names, function and defined names are left as they are. A reference moved
// off the sheet becomes #REF!, as the spreadsheet program does it.
QString ShiftFormula(const QString& formula, int rows, int columns);
