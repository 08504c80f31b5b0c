// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/WorkbookImport.h"

#include "model/InstrumentText.h"
#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"
#include "spreadsheet/CellAddress.h"
#include "spreadsheet/Workbook.h"

#include <QFileInfo>

#include <cmath>

namespace {

constexpr int MaxNameLength = 32;

QString cutEnding(QString name, const QString& ending, int length) {
    if (name.contains(ending))
        name.chop(length);
    return name;
}

// The cell text as a number in the locale of the cell texts; anything else (empty included) is 0.
double requestFlow(const QString& text, QLocale locale) {
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

} // namespace

QString ProjectNameForWorkbook(const QString& workbookPath) {
    QString name = QFileInfo(workbookPath).fileName();
    name = cutEnding(name, QStringLiteral(".xlsx"), 5);
    name = cutEnding(name, QStringLiteral(".xlsm"), 5);
    name = cutEnding(name, QStringLiteral(".xls"), 4);
    return name.left(MaxNameLength);
}

QString ProjectFileNameForWorkbook(const QString& workbookPath) {
    // A dot in a folder name is no extension.
    const qsizetype dot = workbookPath.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = workbookPath.lastIndexOf(QLatin1Char('/'));
    const QString stem = dot > slash ? workbookPath.left(dot) : workbookPath;
    return stem + QStringLiteral(".proj");
}

int MatchValve(const TValveCatalogue& catalogue, const QString& valve, const QString& dimension,
               int codePage) {
    if (valve.isEmpty())
        return 0;
    for (int slot = 0; slot < MaxValves; ++slot) {
        const TValve& v = catalogue.Valves[slot];
        if (!DecodeInstrumentText(v.Name, static_cast<int>(sizeof v.Name), codePage).contains(valve))
            continue;
        int offset = 0;
        if (dimension.contains(QStringLiteral("1/2")) || dimension.contains(QStringLiteral("15")))
            offset = 1;
        else if (dimension.contains(QStringLiteral("3/4")) || dimension.contains(QStringLiteral("20")))
            offset = 2;
        // A size past the last slot would name no valve at all: keep the matched type then.
        return slot + offset < MaxValves ? slot + offset : slot;
    }
    return 0;
}

bool ReadBranchesFromWorksheet(const IWorksheet& sheet, const TWorkbookImportInput& input, TProject& project,
                               const TLineReached& lineReached, QStringList& names,
                               QString* uncalculatedCell) {
    const TSpreadsheetColumns& col = input.Columns;
    project.Header.Branch_Count = 0;
    names.clear();
    for (int k = 0; k < MaxBranches; ++k) {
        const int row = col.FirstLine + k;
        lineReached(k + 1);
        // The first name part decides where the import ends, so it is checked before it is trusted.
        if (sheet.isUncalculatedFormula(row, col.Name1)) {
            *uncalculatedCell = CellReference(row, col.Name1);
            return false;
        }
        QString name = sheet.cellText(row, col.Name1);
        if (name.isEmpty())
            break;
        for (const int column :
             {col.Name2, col.Name3, col.ImportValve, col.ImportDimension, col.ImportRequestFlow})
            if (sheet.isUncalculatedFormula(row, column)) {
                *uncalculatedCell = CellReference(row, column);
                return false;
            }
        name += QLatin1Char('-') + sheet.cellText(row, col.Name2) + QLatin1Char('-') +
                sheet.cellText(row, col.Name3);
        TBranch& b = project.Branches[static_cast<std::size_t>(k)];
        names.append(name.left(MaxNameLength));
        const QString valve = sheet.cellText(row, col.ImportValve).trimmed();
        const QString dimension = sheet.cellText(row, col.ImportDimension).trimmed();
        b.Valve_Index =
            static_cast<std::uint16_t>(MatchValve(input.Catalogue, valve, dimension, input.CodePage));
        b.Reserved = 0;
        b.Request_Flow = requestFlow(sheet.cellText(row, col.ImportRequestFlow), input.Locale);
        b.Valve_Chksm = 0;
        b.Initial_Presetting = 1.0;
        b.Initial_Pressure = 0.0;
        b.Initial_Flow = 0.0;
        b.Final_Presetting = 0.0;
        b.Final_Pressure = 0.0;
        b.Final_Flow = 0.0;
        project.Header.Branch_Count = static_cast<std::int16_t>(k + 1);
    }
    return true;
}
