// The workbook import on the largest book it reads: 1500 rows from a file a spreadsheet program wrote.
#include "localisation/Translator.h"
#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"
#include "spreadsheet/WorkbookCommands.h"
#include "ui/ScriptedUserInterface.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void importBook(benchmark::State& run, const char* book) {
    auto project = std::make_unique<TProject>();
    auto catalogue = std::make_unique<TValveCatalogue>();
    TMainState state;
    TScriptedUserInterface ui;
    TIdentityTranslator translator;
    TSpreadsheetColumns columns;
    TProjectCommandContext projectContext{*project, state, ui, translator, 0, QLocale::c(), {}};
    TWorkbookCommandContext context{projectContext, columns, *catalogue, {}};
    const QString path = QStringLiteral(ZRV_FIXTURES "/spreadsheet/") + QString::fromLatin1(book);
    for (auto _ : run) {
        ui.Log.clear();
        if (ImportWorkbookFile(context, path) != TWorkbookResult::Done)
            run.SkipWithError("import failed");
        benchmark::DoNotOptimize(project->Header.Branch_Count);
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
