#pragma once

#include "files/Settings.h"

#include <QString>

class IWorksheet;
class IUserInterface;
class ITranslator;
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

// Writes each branch's valve name, final flow and final presetting into its row. Stops at the
// first cell that cannot be written: false with *error then (the caller does not save).
bool WriteResultsToWorksheet(IWorksheet& sheet, const TWorkbookExportInput& input, const TProject& project,
                             IUserInterface& ui, const ITranslator& translator, QString* error);
