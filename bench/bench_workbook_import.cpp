// The workbook import on the largest book it reads: 1500 rows from a file a spreadsheet program wrote.
#include "document/ProjectDocument.h"
#include "localisation/Translator.h"
#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"
#include "spreadsheet/WorkbookCommands.h"
#include "ui/ScriptedUserInterface.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void importBook(benchmark::State& run, const char* book) {
    TProjectDocument document;
    auto catalogue = std::make_unique<TValveCatalogue>();
    TScriptedUserInterface ui;
    TIdentityTranslator translator;
    TSpreadsheetColumns columns;
    TProjectCommandContext projectContext{document, ui, translator, 0, QLocale::c(), {}};
    TWorkbookCommandContext context{projectContext, columns, *catalogue, {}};
    const QString path = QStringLiteral(ZRV_FIXTURES "/spreadsheet/") + QString::fromLatin1(book);
    for (auto _ : run) {
        ui.Log.clear();
        if (ImportWorkbookFile(context, path) != TWorkbookResult::Done)
            run.SkipWithError("import failed");
        benchmark::DoNotOptimize(document.project().Header.Branch_Count);
    }
}

void BM_ImportXlsx1500Rows(benchmark::State& run) {
    importBook(run, "book_1501.xlsx");
}
void BM_ImportLegacyXls(benchmark::State& run) {
    importBook(run, "book_legacy.xls");
}

} // namespace

BENCHMARK(BM_ImportXlsx1500Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportLegacyXls)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
