// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook import on the largest book it reads: 1500 rows from a file a spreadsheet program wrote;
// and the refusal of a hostile legacy book whose helper output fills the output limit, reported with
// the process's peak memory (max_rss_mb; the goal is well under a second and 100 MB).
#include "document/ProjectDocument.h"
#include "model/Translator.h"
#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"
#include "commands/WorkbookCommands.h"
#include "spreadsheet/XlsCellDump.h"
#include "spreadsheet/XlsHelperProcess.h"
#include "commands/ScriptedUserInterface.h"

#include <benchmark/benchmark.h>

#include <memory>

#include <sys/resource.h>

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

// A dump just under the helper's output limit: every cell of the sheet with a short text, or long
// texts. Both are refused.
void refuseDump(benchmark::State& run, int textLength) {
    const qint64 limit = THelperLimits().OutputBytes;
    QByteArray dump = XlsDumpHeader();
    const QByteArray text(textLength, 'x');
    for (int i = 0; dump.size() + textLength + 40 < limit; ++i)
        dump += XlsDumpCellLine(1 + i / 256 % 65536, 1 + i % 256, TXlsCellType::Text, text);
    dump += XlsDumpEnd();
    for (auto _ : run) {
        TXlsCells cells;
        if (ParseXlsCellDump(dump, &cells, nullptr))
            run.SkipWithError("the hostile dump was taken");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    run.counters["dump_mb"] = double(dump.size()) / (1 << 20);
    run.counters["max_rss_mb"] = double(usage.ru_maxrss) / 1024;
}

void BM_RefuseHostileLegacyDumpManyCells(benchmark::State& run) {
    refuseDump(run, 1);
}
void BM_RefuseHostileLegacyDumpLongTexts(benchmark::State& run) {
    refuseDump(run, 40000);
}

} // namespace

BENCHMARK(BM_ImportXlsx1500Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseHostileLegacyDumpManyCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseHostileLegacyDumpLongTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportLegacyXls)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
