// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/Settings.h"
#include "spreadsheet/Workbook.h"

#include <QLocale>
#include <QString>
#include <QStringList>

class IWorksheet;
struct TProject;
struct TValveCatalogue;

// The project name taken from the workbook's file name: the name without its folder, cut before a
// ".xlsx", ".xlsm" or ".xls" ending and to 32 characters.
QString ProjectNameForWorkbook(const QString& workbookPath);
// The path with its extension (from the last ".") replaced by ".proj".
QString ProjectFileNameForWorkbook(const QString& workbookPath);

// The catalogue slot for a designation and a dimension from the sheet: the first type whose name
// contains the designation (case-sensitive; empty matches nothing), then the next slot for "1/2"
// or "15" and the one after for "3/4" or "20". 0 when nothing matches.
int MatchValve(const TValveCatalogue& catalogue, const QString& valve, const QString& dimension,
               int codePage);

// Everything the import reads besides the sheet.
struct TWorkbookImportInput {
    const TSpreadsheetColumns& Columns;
    const TValveCatalogue& Catalogue;
    int CodePage = 0;
    QLocale Locale;
};

// Fills the blank project from the sheet's rows, one branch per row up to the first row without a
// first name part, at most MaxBranches. The branches' names come back in `names`, in their order, for
// the caller to store once it knows a table that holds them; the project's name is the caller's too.
// False when a cell it reads holds a formula not calculated yet, which would read as empty (a name
// column of formulas would end the import early): *uncalculatedCell names the first ("B12"), and the
// half-filled project must not be used.
bool ReadBranchesFromWorksheet(const IWorksheet& sheet, const TWorkbookImportInput& input, TProject& project,
                               const TLineReached& lineReached, QStringList& names,
                               QString* uncalculatedCell);
