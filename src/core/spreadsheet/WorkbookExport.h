// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spreadsheet/Workbook.h"

#include "files/Settings.h"

#include <QString>

class IWorksheet;
struct TProject;
struct TValveCatalogue;

// A final flow or presetting as written into the workbook: "%4.1f" with a decimal point, and an
// empty text for a value that was never measured or entered.
QString FormatFinalFlowCell(double finalFlow);
QString FormatFinalPresettingCell(double finalPresetting);

struct TWorkbookExportInput {
    const TSpreadsheetColumns& Columns;
    const TValveCatalogue& Catalogue;
    int CodePage = 0;
};

// What the writing left undone: cells that could not be written (a column from the settings
// outside the sheet, say) are skipped and counted; the first reason is kept for the user.
struct TWorksheetWriteReport {
    int Failed = 0;
    QString FirstReason;
};

// Writes each branch's valve name, final flow and final presetting into its row. First every cell
// is checked with IWorksheet::mayWrite: when one would break the workbook, nothing is written and
// the result is false with *error naming the cell. Otherwise a cell that cannot be written is
// skipped and counted in *report, and the rest are written.
bool WriteResultsToWorksheet(IWorksheet& sheet, const TWorkbookExportInput& input, const TProject& project,
                             const TLineReached& lineReached, TWorksheetWriteReport* report,
                             QString* error);
