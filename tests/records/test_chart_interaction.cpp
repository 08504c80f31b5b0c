// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RecordFile.h"
#include "localisation/MenuAccelerators.h"
#include "commands/ApplicationState.h"
#include "mainwindow/test_dialogs_app.h"
#include "records/ChartExport.h"
#include "records/ChartInteraction.h"
#include "records/ChartNavigation.h"
#include "records/PngEncoder.h"
#include "records/RecordChart.h"
#include "records/RecordsWindow.h"
#include "model/SampleText.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QMenu>
#include <QSvgRenderer>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// A record of 100 samples, pressure rising 1000 Pa per sample, shown in a window of its own size.
class ChartInteractionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin/language")));
        state = std::make_unique<TApplicationState>(dir.filePath(QStringLiteral("bin/zrv10")), dir.path(),
                                                    QLocale::c());
        state->Units.PressureUnit = 2; // kPa
        state->Units.FlowUnit = 5;     // l/h
        TRecordStore& r = state->Records;
        for (int i = 0; i < 100; ++i)
            r.Samples[static_cast<std::size_t>(i)] = {0, SampleDate(5, 3, 2012),
                                                      SampleTime(7, i / 60, i % 60),
                                                      SampleNumber(1000.0 * (i + 1)), SampleNumber(250.0)};
        r.SampleCount = 100;
        r.CurrentHeader.Description = QStringLiteral("Riser 1");
        window = std::make_unique<TRecordsF>(*state, ui);
        window->resize(1000, 700);
        window->show();
        window->ShowCurrentRecord();
        window->pages()->setCurrentIndex(1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        chart = window->chart(TRecordsF::PressureChart);
        interaction = chart->findChild<TChartInteraction*>();
        ASSERT_NE(interaction, nullptr);
    }

    // The view position of a value.
    QPoint viewPos(double x, double y) const {
        const QRectF area = chart->plotArea();
        return chart->mapFromScene(area.topLeft() +
                                   ChartPixelAt(area.size(), chart->limits(), QPointF(x, y)));
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    std::unique_ptr<TRecordsF> window;
    TRecordChart* chart = nullptr;
    TChartInteraction* interaction = nullptr;
};

} // namespace

TEST_F(ChartInteractionTest, WheelZoomsAboutThePointerAndZoom100Returns) {
    const TChartLimits original = chart->limits();
    const QPoint at = viewPos(25.0, 50.0);
    interaction->wheelAt(at, 120);
    const TChartLimits zoomed = chart->limits();
    EXPECT_NEAR(zoomed.X.Max - zoomed.X.Min, 0.8 * (original.X.Max - original.X.Min), 1e-9);
    // The value under the pointer stays under it (within a pixel's rounding).
    const QPoint again = viewPos(25.0, 50.0);
    EXPECT_LE((again - at).manhattanLength(), 2);
    EXPECT_TRUE(chart->isZoomed());

    // Double click: Zoom 100 %.
    QTest::mouseDClick(chart->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(chart->limits(), original);
    EXPECT_FALSE(chart->isZoomed());
}

TEST_F(ChartInteractionTest, RectangleZoomsAndPanMovesTheView) {
    interaction->dragZoom(viewPos(10.0, 20.0), viewPos(30.0, 60.0));
    TChartLimits l = chart->limits();
    EXPECT_NEAR(l.X.Min, 10.0, 0.2);
    EXPECT_NEAR(l.X.Max, 30.0, 0.2);
    EXPECT_NEAR(l.Y.Min, 20.0, 0.5);
    EXPECT_NEAR(l.Y.Max, 60.0, 0.5);

    // Dragging the content to the right shows what lay left of it.
    interaction->dragPan(viewPos(20.0, 40.0), viewPos(25.0, 40.0));
    const TChartLimits panned = chart->limits();
    EXPECT_NEAR(panned.X.Min, l.X.Min - 5.0, 0.2);
    EXPECT_NEAR(panned.X.Max - panned.X.Min, l.X.Max - l.X.Min, 1e-9);

    // A click is no rectangle.
    interaction->dragZoom(viewPos(12.0, 30.0), viewPos(12.0, 30.0) + QPoint(1, 1));
    EXPECT_EQ(chart->limits(), panned);

    // The same by mouse: right button drag pans.
    const TChartLimits before = chart->limits();
    QTest::mousePress(chart->viewport(), Qt::RightButton, Qt::NoModifier, viewPos(20.0, 40.0));
    QMouseEvent move(QEvent::MouseMove, QPointF(viewPos(22.0, 40.0)),
                     chart->viewport()->mapToGlobal(QPointF(viewPos(22.0, 40.0))), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(chart->viewport(), &move);
    QTest::mouseRelease(chart->viewport(), Qt::RightButton, Qt::NoModifier, viewPos(22.0, 40.0));
    EXPECT_LT(chart->limits().X.Min, before.X.Min);
}

TEST_F(ChartInteractionTest, CrosshairNamesTheNearestSampleAndKeysZoom) {
    interaction->pointAt(viewPos(41.7, 10.0));
    EXPECT_EQ(interaction->crosshairText(), QStringLiteral("05.03.2012 07:00:42   43.0 kPa"));
    interaction->pointAt(QPoint(1, 1)); // outside the plot area
    EXPECT_EQ(interaction->crosshairText(), QString());

    const TChartLimits original = chart->limits();
    QTest::keyClick(chart, Qt::Key_Plus);
    EXPECT_EQ(chart->limits().Y, ZoomRange(original.Y, ZoomInPercent));
    QTest::keyClick(chart, Qt::Key_0);
    EXPECT_EQ(chart->limits(), original);
}

TEST_F(ChartInteractionTest, ExportsTheShownChartAsPngAndSvg) {
    interaction->wheelAt(viewPos(50.0, 50.0), 240);
    const QString png = dir.filePath(QStringLiteral("chart"));
    ui.FilesToSave << png;
    ui.Inputs << QStringLiteral("800 by 500") << QStringLiteral("800x500");
    window->action(QStringLiteral("mExportChart"))->trigger();
    EXPECT_EQ(ui.messages().size(), 1); // the size that did not read
    const QImage image(png + QStringLiteral(".png"));
    ASSERT_EQ(image.size(), QSize(800, 500));
    // The title and the line are drawn over the white page.
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 200);
    // Every pixel as drawn.
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), ChartImage(*chart, QSize(800, 500)));

    const QString svg = dir.filePath(QStringLiteral("chart.svg"));
    ui.FilesToSave << svg;
    window->action(QStringLiteral("mExportChart"))->trigger();
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("<svg"));
    EXPECT_TRUE(bytes.contains("Riser 1"));

    // The zoom of the window stays as it was.
    EXPECT_TRUE(chart->isZoomed());
    EXPECT_EQ(ParseChartSize(QStringLiteral("0x10")), std::nullopt);
}

TEST_F(ChartInteractionTest, PrintsTheChartsPageBeforeTheRecordsReport) {
    const QString pdf = dir.filePath(QStringLiteral("records.pdf"));
    window->setPrinterSetup([&pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    window->action(QStringLiteral("mPrintWithCharts"))->trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The charts page, then the report's two pages (100 rows).
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 3);
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(ChartInteractionTest, ComparedRecordsOverlayBothChartsUntilRemoved) {
    // The same record once more from its file, as another record to compare with.
    const QString path = dir.filePath(QStringLiteral("other.r9q4"));
    ASSERT_TRUE(SaveRecordFile(state->Records, path));
    ui.FilesToOpen << path << dir.filePath(QStringLiteral("no_such.r9q4"));
    window->action(QStringLiteral("mCompareRecord"))->trigger();
    ASSERT_EQ(window->comparisonCount(), 1);
    for (const int c : {TRecordsF::PressureChart, TRecordsF::FlowChart}) {
        const QList<TChartOverlaySeries>& overlays = window->chart(c)->overlays();
        ASSERT_EQ(overlays.size(), 1);
        EXPECT_EQ(overlays[0].Name, QStringLiteral("Riser 1, 05.03.2012 07:00:00"));
        // Sample for sample on the shown record's rows.
        EXPECT_EQ(overlays[0].Points, window->chart(c)->points());
    }
    // The legend names the shown record first, then the compared one, below the plot where it
    // covers no curve; the compared record's entry answers where it is drawn.
    const QList<TChartOverlaySeries>& shown = chart->overlays();
    ASSERT_FALSE(shown.isEmpty());
    QApplication::processEvents();
    const QRectF area = chart->plotArea();
    const QRectF legend = chart->legendArea();
    EXPECT_FALSE(legend.isEmpty());
    EXPECT_FALSE(legend.intersects(area));
    EXPECT_TRUE(chart->sceneRect().contains(legend));
    QList<QGraphicsSimpleTextItem*> names;
    for (QGraphicsItem* item : chart->scene()->items(legend))
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            names.append(text);
    std::sort(names.begin(), names.end(), [](const QGraphicsItem* a, const QGraphicsItem* b) {
        return a->sceneBoundingRect().left() < b->sceneBoundingRect().left();
    });
    ASSERT_EQ(names.size(), 2);
    EXPECT_EQ(chart->recordName(), QStringLiteral("Riser 1, 05.03.2012 07:00:00"));
    for (QGraphicsSimpleTextItem* name : names)
        EXPECT_EQ(name->text(), QStringLiteral("Riser 1, 05.03.2012 07:00:00"));
    EXPECT_EQ(chart->overlayAt(names[0]->sceneBoundingRect().center()), -1);
    EXPECT_EQ(chart->overlayAt(names[1]->sceneBoundingRect().center()), 0);
    EXPECT_EQ(chart->overlayAt(area.center()), -1);

    // Zoomed in, an export shows the zoomed part, overlay and all.
    interaction->wheelAt(viewPos(50.0, 50.0), 240);
    ASSERT_TRUE(chart->isZoomed());
    const TRecordChart exported(*chart, QSize(800, 500));
    EXPECT_EQ(exported.limits(), chart->limits());
    EXPECT_EQ(exported.overlays().size(), 1);
    EXPECT_FALSE(exported.shownLabels().isEmpty());
    chart->zoom100();

    // A file that does not load is told and adds nothing.
    window->action(QStringLiteral("mCompareRecord"))->trigger();
    EXPECT_EQ(window->comparisonCount(), 1);
    EXPECT_EQ(ui.messages().size(), 1);

    // "Remove comparison" in the File menu names each compared record.
    QAction* remove = window->action(QStringLiteral("mRemoveComparison"));
    ASSERT_NE(remove, nullptr);
    ASSERT_NE(remove->menu(), nullptr);
    EXPECT_TRUE(remove->isEnabled());
    ASSERT_EQ(remove->menu()->actions().size(), 1);
    EXPECT_EQ(WithoutAccelerator(remove->menu()->actions()[0]->text()), QStringLiteral("Riser 1, 05.03.2012 07:00:00"));
    remove->menu()->actions()[0]->trigger();
    EXPECT_EQ(window->comparisonCount(), 0);
    EXPECT_TRUE(chart->overlays().isEmpty());
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_TRUE(chart->legendArea().isEmpty());

    // A record reaching ten times as high widens the axis to show it, until it is removed again.
    const TChartLimits own = chart->limits();
    auto higher = std::make_unique<TRecordStore>();
    ASSERT_TRUE(LoadRecordFile(*higher, path, state->Units, state->Messages, nullptr));
    for (int i = 0; i < higher->SampleCount; ++i)
        higher->Samples[static_cast<std::size_t>(i)].Pressure = SampleNumber(10000.0 * (i + 1));
    const QString highPath = dir.filePath(QStringLiteral("higher.r9q4"));
    ASSERT_TRUE(SaveRecordFile(*higher, highPath));
    ui.FilesToOpen << highPath;
    window->action(QStringLiteral("mCompareRecord"))->trigger();
    EXPECT_GE(chart->limits().Y.Max, 1000.0); // kPa
    window->RemoveComparison(0);
    EXPECT_EQ(chart->limits(), own);
}

// Zoomed in, the exported picture shows the line inside the plot only, not over the axes and their
// titles, in SVG as in PNG.
TEST_F(ChartInteractionTest, AZoomedExportIsClippedToThePlot) {
    interaction->dragZoom(viewPos(20.0, 20.0), viewPos(40.0, 40.0));
    ASSERT_TRUE(chart->isZoomed());
    const QSize size(800, 500);
    const QRectF area = TRecordChart(*chart, size).plotArea();
    const QString svg = dir.filePath(QStringLiteral("zoomed.svg"));
    const QString png = dir.filePath(QStringLiteral("zoomed.png"));
    QString error;
    ASSERT_TRUE(WriteChartSvg(*chart, size, svg, &error)) << qPrintable(error);
    ASSERT_TRUE(WriteChartPng(*chart, size, png, &error)) << qPrintable(error);
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage fromSvg(size, QImage::Format_RGB32);
    fromSvg.fill(Qt::white);
    {
        QPainter painter(&fromSvg);
        renderer.render(&painter);
    }
    // The pressure markers' blue is nowhere else in the chart.
    const auto markerPixels = [](const QImage& image, const QRectF& inside, bool within) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const bool blue = c.blue() > 200 && c.red() < 120 && c.green() < 120;
                if (blue && inside.adjusted(-1, -1, 1, 1).contains(QPointF(x + 0.5, y + 0.5)) == within)
                    ++count;
            }
        return count;
    };
    for (const QImage& image : {fromSvg, QImage(png)}) {
        EXPECT_GT(markerPixels(image, area, true), 20);
        EXPECT_EQ(markerPixels(image, area, false), 0);
    }
}

// The exported picture of a real chart (antialiased text and line, hundreds of colours) reads back
// pixel for pixel, and it is no larger than half as much again as Qt's own writer makes it.
TEST_F(ChartInteractionTest, AnExportedPngIsTheChartPixelForPixelAndSmall) {
    const QString path = dir.filePath(QStringLiteral("chart.png"));
    QString error;
    ASSERT_TRUE(WriteChartPng(*chart, DefaultChartExportSize, path, &error)) << qPrintable(error);
    const QImage shown = ChartImage(*chart, DefaultChartExportSize);
    QImage back;
    ASSERT_TRUE(back.load(path, "PNG"));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), shown);

    QByteArray byQt;
    QBuffer buffer(&byQt);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(shown.save(&buffer, "PNG"));
    EXPECT_LE(QFileInfo(path).size(), byQt.size() * 3 / 2);
}

TEST(PngEncoder, ReadsBackPixelForPixel) {
    std::mt19937 random(7);
    const auto image = [&random](QSize size, int colours) {
        QImage out(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const int c = colours > 0 ? (x + y * size.width()) % colours : int(random() % 0x1000000);
                out.setPixel(x, y, qRgb(c & 0xff, (c >> 8) & 0xff, 255 - (c >> 16 & 0xff)));
            }
        return out;
    };
    // A chart's kind of picture: a white page, a grey grid, a black line with blue markers.
    QImage chart(640, 400, QImage::Format_RGB32);
    chart.fill(Qt::white);
    {
        QPainter painter(&chart);
        painter.setPen(Qt::lightGray);
        for (int y = 20; y < 400; y += 40)
            painter.drawLine(0, y, 639, y);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::black);
        painter.drawText(10, 15, QStringLiteral("Pressure [kPa]"));
        for (int x = 0; x < 630; x += 3) {
            painter.drawLine(x, 200 + (x * 37) % 150, x + 3, 200 + ((x + 3) * 37) % 150);
            painter.fillRect(x, 200 + (x * 37) % 150, 2, 2, Qt::blue);
        }
    }
    // Few colours, but the pixels that equal the one above are single ones between others.
    QImage stripes(37, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 37; ++x)
            stripes.setPixel(x, y, x % 2 == 0 ? qRgb(10 * y, 0, 0) : qRgb(0, 0, 200));
    const auto plain = [](QSize size) {
        QImage out(size, QImage::Format_RGB32);
        out.fill(qRgb(250, 250, 250));
        return out;
    };
    // A first row of many colours, then rows equal to it: runs of zeros across whole rows.
    QImage repeated = image(QSize(300, 5), 0);
    for (int y = 1; y < 5; ++y)
        std::memcpy(repeated.scanLine(y), repeated.constScanLine(0), 300 * 4);
    QImage indexed(5, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(10, 200, 30)});
    indexed.fill(1);
    indexed.setPixel(2, 1, 0);
    const struct {
        const char* What;
        QImage Image;
    } cases[] = {
        {"one pixel", image(QSize(1, 1), 0)},
        // Runs a little longer than the longest match: the rest of one, two and three bytes.
        {"one colour, 259 wide", plain(QSize(259, 3))},
        {"one colour, 260 wide", plain(QSize(260, 3))},
        {"one colour, 261 wide", plain(QSize(261, 3))},
        {"one colour, 1000 wide", plain(QSize(1000, 4))},
        {"stripes", stripes},
        {"rows repeating a noisy one", repeated},
        {"chart", chart},
        {"palette image", indexed},
        {"256 colours", image(QSize(64, 9), 256)},
        {"257 colours", image(QSize(64, 9), 257)},
        // Differences to the row above and to the left that wrap around below zero and above 255.
        {"noise, odd width", image(QSize(33, 17), 0)},
        // More than one compressed chunk, and rows in more than one piece for the deflater.
        {"large noise", image(QSize(400, 300), 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const QByteArray png = EncodePng(c.Image);
        ASSERT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
        ASSERT_GT(png.size(), 25);
        EXPECT_EQ(png[25], 2); // RGB without alpha
        QImage back;
        ASSERT_TRUE(back.loadFromData(png, "PNG"));
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), c.Image.convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(EncodePng(QImage()).isEmpty());
}
