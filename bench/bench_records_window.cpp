// SPDX-License-Identifier: GPL-3.0-or-later
// The records window showing a record of 21000 samples: the table and both charts filled and
// painted once, beside loading the same record from its file. The display should cost no more than
// the load that precedes it.

#include "files/RecordFile.h"
#include "commands/ApplicationState.h"
#include "records/RecordChart.h"
#include "records/RecordsWindow.h"
#include "model/SampleText.h"
#include "commands/ScriptedUserInterface.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr int Samples = 21000;

std::unique_ptr<TApplicationState> newState() {
    auto state = std::make_unique<TApplicationState>(QStringLiteral("/nonexistent/zrv10"),
                                                     QStringLiteral("/nonexistent"),
                                                     QLocale(QLocale::German, QLocale::Germany));
    state->Units.PressureUnit = 2; // kPa
    state->Units.FlowUnit = 5;     // l/h
    return state;
}

void fillRecord(TRecordStore& store) {
    store.CurrentHeader = {QStringLiteral("Riser 12 floor 3"),
                           QStringLiteral("Maker"),
                           QStringLiteral("Type 15"),
                           QStringLiteral("2,50"),
                           2,
                           30,
                           65};
    for (int i = 0; i < Samples; ++i) {
        TZaznamData& s = store.Samples[i];
        s.RecordIndex = 0;
        s.Date = SampleDate(1 + i / 3600 % 28, 3, 2012);
        s.Time = SampleTime(i / 3600 % 24, i / 60 % 60, i % 60);
        s.Pressure = SampleNumber(static_cast<float>(12000.0 + 3000.0 * std::sin(i / 50.0)));
        s.Flow = SampleNumber(static_cast<float>(250.0 + 40.0 * std::cos(i / 70.0)));
    }
    store.SampleCount = Samples;
}

// What the user waits for: the three views drawn as they are on screen.
void paint(QWidget* view, QImage& image) {
    image.fill(Qt::white);
    QPainter painter(&image);
    view->render(&painter);
}

void BM_LoadRecordFile(benchmark::State& run) {
    auto state = newState();
    fillRecord(state->Records);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.r9q4"));
    if (!SaveRecordFile(state->Records, path)) {
        run.SkipWithError("cannot write the record file");
        return;
    }
    for (auto _ : run) {
        if (!LoadRecordFile(state->Records, path, state->Units, state->Messages))
            run.SkipWithError("cannot load the record file");
    }
    run.counters["samples"] = state->Records.SampleCount;
}

void BM_FillAndPaintTableAndCharts(benchmark::State& run) {
    auto state = newState();
    fillRecord(state->Records);
    TScriptedUserInterface ui;
    TRecordsF window(*state, ui);
    window.show();
    QApplication::processEvents();
    QTableView* table = window.tableView();
    TRecordChart* pressure = window.chart(TRecordsF::PressureChart);
    TRecordChart* flow = window.chart(TRecordsF::FlowChart);
    QImage tableImage(table->size(), QImage::Format_ARGB32_Premultiplied);
    QImage chartImage(pressure->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : run) {
        window.FillTableAndCharts();
        // The layout requests the new points and labels posted.
        QApplication::processEvents();
        paint(table, tableImage);
        paint(pressure, chartImage);
        paint(flow, chartImage);
    }
    run.counters["rows"] = window.tableView()->model()->rowCount();
    run.counters["chartWidth"] = pressure->width();
}

} // namespace

BENCHMARK(BM_LoadRecordFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAndPaintTableAndCharts)->Unit(benchmark::kMillisecond);
