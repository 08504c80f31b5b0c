// SPDX-License-Identifier: GPL-3.0-or-later
// Engineers' workbooks: whatever opens reads, imports, unprotects, takes the results and saves; what
// it saved opens again. Every input also goes through the reader of the legacy-workbook helper's
// output.
#include "FuzzInput.h"

#include "files/Settings.h"
#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"
#include "spreadsheet/OoxmlWorkbook.h"
#include "commands/WorkbookCommands.h"
#include "spreadsheet/WorkbookExport.h"
#include "spreadsheet/WorkbookImport.h"
#include "spreadsheet/XlsCellDump.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = fuzzScratchDir() + QStringLiteral("/fuzz.xlsx");
    static const auto catalogue = std::make_unique<TValveCatalogue>();
    const QByteArray bytes = fuzzBytes(data, size);
    const QString sheetName = QString::fromLatin1(WorkbookSheetName);

    TXlsCells cells;
    QString error;
    if (!ParseXlsCellDump(bytes, &cells, &error))
        FUZZ_CHECK(!error.isEmpty());

    std::unique_ptr<IWorksheet> sheet = OpenOoxmlWorksheetFromBytes(bytes, path, sheetName, QLocale::c(), &error);
    if (!sheet) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    for (int row = 1; row <= 24; ++row)
        for (int column = 1; column <= 24; ++column)
            (void)sheet->cellText(row, column);
    (void)sheet->cellText(1048577, 1);
    (void)sheet->cellText(1, 16385);

    const TSpreadsheetColumns columns;
    auto project = std::make_unique<TProject>();
    QStringList names;
    QString uncalculated;
    if (!ReadBranchesFromWorksheet(*sheet, TWorkbookImportInput{columns, *catalogue, 0, QLocale::c()},
                                   *project, [](int) {}, names, &uncalculated))
        FUZZ_CHECK(!uncalculated.isEmpty());
    FUZZ_CHECK(project->Header.Branch_Count >= 0 && project->Header.Branch_Count <= MaxBranches);
    if (!sheet->unprotect(QString::fromLatin1(WorkbookPassword), &error))
        return 0;
    TWorksheetWriteReport report;
    if (!WriteResultsToWorksheet(*sheet, TWorkbookExportInput{columns, *catalogue, 0}, *project, [](int) {},
                                 &report, &error))
        return 0;
    if (!sheet->save(&error))
        return 0;
    // What the export saved is a workbook again.
    QFile saved(path);
    if (saved.exists()) {
        const QByteArray written = fuzzReadFile(path);
        QString again;
        FUZZ_CHECK(OpenOoxmlWorksheetFromBytes(written, path, sheetName, QLocale::c(), &again) != nullptr);
        QFile::remove(path);
    }
    return 0;
}
