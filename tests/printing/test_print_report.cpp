// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Settings.h"
#include "mainwindow/test_dialogs_app.h"
#include "printing/PrintReport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

namespace {

const auto* const application = ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// Page objects of the PDF ("/Type /Page", not the "/Type /Pages" tree node).
int pdfPageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return int(QString::fromLatin1(pdf).count(page));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct PrintReportTest : ::testing::Test {
    QTemporaryDir dir;
    QString pdfPath = dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer{QPrinter::HighResolution};
    TPrintMargins margins{10, 10, 20, 10};

    PrintReportTest() {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
};

TEST_F(PrintReportTest, PagesFollowThePageBreakLines) {
    QStringList lines;
    for (int page = 1; page <= 4; ++page) {
        if (page > 1)
            lines << QStringLiteral("\f");
        lines << QStringLiteral("Page %1").arg(page) << QString()
              << QStringLiteral("Valve : \f inside a line");
    }
    // More lines than a page holds are drawn off the page, never on a new one.
    for (int i = 0; i < 120; ++i)
        lines << QStringLiteral("line %1").arg(i);
    QString error;
    ASSERT_TRUE(PrintReport(lines, printer, margins, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    const QByteArray pdf = readAll(pdfPath);
    EXPECT_EQ(pdfPageCount(pdf), 4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    // The columns are made of blanks: the embedded font must be a fixed-pitch one.
    const QRegularExpressionMatch font =
        QRegularExpression(QStringLiteral("/BaseFont\\s*/(\\S+)")).match(QString::fromLatin1(pdf));
    ASSERT_TRUE(font.hasMatch());
    EXPECT_TRUE(font.captured(1).contains(QRegularExpression(QStringLiteral("Mono|Courier|Cour"))))
        << font.captured(1).toStdString();
}

TEST_F(PrintReportTest, LandscapePrinterPrintsPortrait) {
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(PrintReport({QStringLiteral("one")}, printer, margins));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(pdfPageCount(readAll(pdfPath)), 1);
}

TEST_F(PrintReportTest, FailuresAreReportedAndWriteNothing) {
    QString error;
    // Margins from an edited settings file that leave no room on the page.
    EXPECT_FALSE(PrintReport({QStringLiteral("x")}, printer, TPrintMargins{200, 200, 10, 10}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(pdfPath));

    error.clear();
    printer.setOutputFileName(dir.filePath(QStringLiteral("no_such_folder/report.pdf")));
    EXPECT_FALSE(PrintReport({QStringLiteral("x")}, printer, margins, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

#include "model/RecordModel.h"
#include "model/SampleText.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "printing/RecordChartsPage.h"
#include "records/ChartExport.h"
#include "records/RecordChart.h"
#include "records/RecordStatistics.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>

namespace {

// The first page of "Print with charts" with and without the statistics: they take only the room
// right of the record header, and what else the page shows stays where it was, pixel for pixel.
TEST(RecordChartsPage, StatisticsMoveAndCoverNothing) {
    auto store = std::make_unique<TRecordStore>();
    store->CurrentHeader.Description = QStringLiteral("Riser 12 floor 3 with a longer name");
    store->CurrentHeader.Medium_Index = 0;
    for (int i = 0; i < 40; ++i)
        store->Samples[i] = {0, SampleDate(5, 3, 2012), SampleTime(7, i / 60, i % 60),
                             SampleNumber(1000.0f + 40 * i), SampleNumber(200.0f + 3 * (i % 7))};
    store->SampleCount = 40;
    TUnits units;
    units.PressureUnit = 2;
    units.FlowUnit = 5;
    units.Locale = QLocale::c();
    const auto pressure = MakeRecordChart(*store, units, EnglishOnly(), true);
    const auto flow = MakeRecordChart(*store, units, EnglishOnly(), false);
    const TRecordSamples samples(*store, units.Locale);
    const QStringList statistics = ChartedStatistics(samples, *pressure, *flow, units, EnglishOnly());
    ASSERT_EQ(statistics.size(), 10);

    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    const QRect area(40, 40, 1000, 1400);
    const auto page = [&](const QStringList& lines) {
        QImage image(1080, 1480, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        RecordChartsPage(store->CurrentHeader, EnglishOnly(), *pressure, *flow, lines)(painter, area, 9);
        return image;
    };
    const QImage without = page({});
    const QImage with = page(statistics);

    // The header takes its lines and a blank one; the charts begin below.
    const int headerLines = 5 + 1;
    const int bandBottom = area.top() + headerLines * QFontMetrics(font, &without).lineSpacing();
    QRect changed;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    ASSERT_FALSE(changed.isEmpty()) << "no statistics drawn";
    EXPECT_LE(changed.bottom(), bandBottom);
    EXPECT_GE(changed.top(), area.top());
    EXPECT_LE(changed.right(), area.right());
    // Right of the header's longest line, "Description          : Riser 12 ... name".
    const int headerRight =
        area.left() + QFontMetrics(font, &without)
                          .horizontalAdvance(QStringLiteral("Description").leftJustified(20) +
                                             QStringLiteral(" : ") + store->CurrentHeader.Description);
    EXPECT_GT(changed.left(), headerRight);
}

} // namespace
