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
