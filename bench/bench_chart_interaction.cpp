// SPDX-License-Identifier: GPL-3.0-or-later
// Working with a chart of a full record (21000 samples): one step of wheel zoom, of panning and of
// the crosshair, each with the repaint the user waits for; and the chart's PNG export beside
// painting the chart once at the export's size, and its encoding beside Qt's own PNG writer (time
// and file size), in the same run.

#include "commands/ApplicationState.h"
#include "records/ChartExport.h"
#include "records/ChartInteraction.h"
#include "records/PngEncoder.h"
#include "records/RecordChart.h"
#include "records/RecordsWindow.h"
#include "model/SampleText.h"
#include "commands/ScriptedUserInterface.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr int Samples = 21000;

// A records window with the full record on its pressure tab.
struct Fixture {
    Fixture()
        : state(QStringLiteral("/nonexistent/zrv10"), QStringLiteral("/nonexistent"), QLocale::c()),
          window(state, ui) {
        state.Units.PressureUnit = 2;
        TRecordStore& store = state.Records;
        for (int i = 0; i < Samples; ++i) {
            TZaznamData& s = store.Samples[static_cast<std::size_t>(i)];
            s.RecordIndex = 0;
            s.Date = SampleDate(1 + i / 3600 % 28, 3, 2012);
            s.Time = SampleTime(i / 3600 % 24, i / 60 % 60, i % 60);
            s.Pressure = SampleNumber(static_cast<float>(12000.0 + 3000.0 * std::sin(i / 50.0)));
            s.Flow = SampleNumber(static_cast<float>(250.0 + 40.0 * std::cos(i / 70.0)));
        }
        store.SampleCount = Samples;
        // A title, as every record has one: its smoothed text adds the shades of grey a picture
        // of the chart holds.
        store.CurrentHeader.Description = QStringLiteral("Riser 3, second floor");
        window.resize(1000, 700);
        window.show();
        window.ShowCurrentRecord();
        window.pages()->setCurrentIndex(1);
        QApplication::processEvents();
        chart = window.chart(TRecordsF::PressureChart);
        interaction = chart->findChild<TChartInteraction*>();
    }

    QPoint at(double fx, double fy) const {
        const QRectF a = chart->plotArea();
        return chart->mapFromScene(a.topLeft() + QPointF(a.width() * fx, a.height() * fy));
    }

    // What the user waits for after a step: the layout posted by the new limits, then the paint.
    void repaint() {
        QApplication::processEvents();
        chart->viewport()->repaint();
    }

    TApplicationState state;
    TScriptedUserInterface ui;
    TRecordsF window;
    TRecordChart* chart = nullptr;
    TChartInteraction* interaction = nullptr;
};

void BM_WheelZoomStep(benchmark::State& run) {
    Fixture f;
    int step = 0;
    for (auto _ : run) {
        // In and out in turn, so that every step shows the whole record or most of it.
        f.interaction->wheelAt(f.at(0.4, 0.5), (step++ % 2 == 0) ? 120 : -120);
        f.repaint();
    }
}

void BM_PanStep(benchmark::State& run) {
    Fixture f;
    int step = 0;
    for (auto _ : run) {
        const int dx = (step++ % 2 == 0) ? 30 : -30;
        f.interaction->dragPan(f.at(0.5, 0.5), f.at(0.5, 0.5) + QPoint(dx, 0));
        f.repaint();
    }
}

void BM_CrosshairStep(benchmark::State& run) {
    Fixture f;
    int step = 0;
    for (auto _ : run) {
        f.interaction->pointAt(f.at((step++ % 100) / 100.0, 0.5));
        f.repaint();
    }
}

// The chart on screen drawn once into a picture of the export's size: its screen layout scaled up,
// with the line from the picture the screen keeps of it.
void BM_PaintChartOnce(benchmark::State& run) {
    Fixture f;
    QImage image(DefaultChartExportSize, QImage::Format_RGB32);
    for (auto _ : run) {
        image.fill(Qt::white);
        QPainter painter(&image);
        f.chart->render(&painter, QRectF(QPointF(0, 0), DefaultChartExportSize));
    }
}

// The same with the line drawn, not taken from the picture the screen keeps of it while only the
// crosshair moves: what every zoom or pan step paints, and what the export has to draw.
void BM_PaintChartOnceDrawingTheLine(benchmark::State& run) {
    Fixture f;
    f.chart->setPlotCached(false);
    QImage image(DefaultChartExportSize, QImage::Format_RGB32);
    for (auto _ : run) {
        image.fill(Qt::white);
        QPainter painter(&image);
        f.chart->render(&painter, QRectF(QPointF(0, 0), DefaultChartExportSize));
    }
}

// The chart painted once at the export's size: a chart of its own laid out for that size and
// drawn, as the export does before it encodes; the reference of the export's time.
void BM_ExportChartImage(benchmark::State& run) {
    Fixture f;
    for (auto _ : run)
        benchmark::DoNotOptimize(ChartImage(*f.chart, DefaultChartExportSize));
}

// The encoding alone, of the export's picture, with the file's size as a counter.
void BM_EncodeChartPng(benchmark::State& run) {
    Fixture f;
    const QImage image = ChartImage(*f.chart, DefaultChartExportSize);
    qsizetype bytes = 0;
    for (auto _ : run) {
        const QByteArray png = EncodePng(image);
        bytes = png.size();
        benchmark::DoNotOptimize(png.constData());
    }
    run.counters["bytes"] = static_cast<double>(bytes);
}

// Qt's own PNG writer with its default settings on the same picture: the reference for the
// encoder's time and size.
void BM_QImageSaveChartPng(benchmark::State& run) {
    Fixture f;
    const QImage image = ChartImage(*f.chart, DefaultChartExportSize);
    qsizetype bytes = 0;
    for (auto _ : run) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            run.SkipWithError("QImage::save failed");
        bytes = png.size();
        benchmark::DoNotOptimize(png.constData());
    }
    run.counters["bytes"] = static_cast<double>(bytes);
}

void BM_ExportChartPng(benchmark::State& run) {
    Fixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.png"));
    for (auto _ : run) {
        QString error;
        if (!WriteChartPng(*f.chart, DefaultChartExportSize, path, &error))
            run.SkipWithError(error.toStdString().c_str());
    }
}

} // namespace

BENCHMARK(BM_WheelZoomStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrosshairStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintChartOnce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintChartOnceDrawingTheLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportChartImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeChartPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QImageSaveChartPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportChartPng)->Unit(benchmark::kMillisecond);
