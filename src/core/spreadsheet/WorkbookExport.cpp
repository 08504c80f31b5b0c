// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/WorkbookExport.h"

#include "model/InstrumentText.h"
#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"
#include "spreadsheet/Workbook.h"

namespace {

QString formatted(double value) {
    // asprintf ignores the locale: the workbook always gets a decimal point.
    return QString::asprintf("%4.1f", value);
}

QString valveName(const TValveCatalogue& catalogue, int valveIndex, int codePage) {
    if (valveIndex < 0 || valveIndex >= MaxValves)
        return {};
    const TValve& v = catalogue.Valves[valveIndex];
    return DecodeInstrumentText(v.Name, static_cast<int>(sizeof v.Name), codePage);
}

} // namespace

QString FormatFinalFlowCell(double finalFlow) {
    return finalFlow == NoValue ? QString() : formatted(finalFlow);
}

QString FormatFinalPresettingCell(double finalPresetting) {
    return finalPresetting == PresettingEmpty ? QString() : formatted(finalPresetting);
}

bool WriteResultsToWorksheet(IWorksheet& sheet, const TWorkbookExportInput& input, const TProject& project,
                             const TLineReached& lineReached, TWorksheetWriteReport* report,
                             QString* error) {
    const TSpreadsheetColumns& col = input.Columns;
    const int columns[] = {col.ExportValve, col.ExportFinalFlow, col.ExportFinalPresetting};
    const int count = project.branchCount();
    for (int k = 0; k < count; ++k)
        for (const int column : columns)
            if (!sheet.mayWrite(col.FirstLine + k, column, error))
                return false;

    *report = TWorksheetWriteReport{};
    for (int k = 0; k < count; ++k) {
        const int row = col.FirstLine + k;
        lineReached(k + 1);
        const TBranch& b = project.Branches[static_cast<std::size_t>(k)];
        const QString texts[] = {valveName(input.Catalogue, b.Valve_Index, input.CodePage),
                                 FormatFinalFlowCell(b.Final_Flow),
                                 FormatFinalPresettingCell(b.Final_Presetting)};
        for (int i = 0; i < 3; ++i) {
            QString reason;
            if (sheet.setCellText(row, columns[i], texts[i], &reason))
                continue;
            if (report->Failed++ == 0)
                report->FirstReason = reason;
        }
    }
    return true;
}
