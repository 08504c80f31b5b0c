// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/AnsiCodePages.h"
#include "records/TableExport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(ZRV_FIXTURES "/records/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Header, a sample, and a row with an empty cell and characters outside plain ASCII.
TTextTable smallTable(const QString& pressure, const QString& flow) {
    const QStringList cells = {"Date",       "Time",     "Pressure [kPa]", "Flow [l/h]",
                               "05.03.2012", "07:04:09", pressure,         flow,
                               "",           "Č",        "-----",          "Ü€"};
    TTextTable table(4, 3);
    for (int i = 0; i < cells.size(); ++i)
        table.setCell(i % 4, i / 4, cells[i]);
    return table;
}

const QLocale german(QLocale::German, QLocale::Germany);

TEST(TableExport, BytesOfEachFormat) {
    const TTextTable table = smallTable("1.25", "120.5");
    EXPECT_EQ(TableCsvBytes(table), fixture("small.csv"));
    EXPECT_EQ(TableHtmlBytes(table), fixture("small.htm"));
    EXPECT_EQ(TableXlsBytes(table, QLocale::c()), fixture("small.xls"));
    // Commas in a comma locale and points in a point locale give the same numbers.
    EXPECT_EQ(TableXlsBytes(smallTable("1,25", "120,5"), german), fixture("small.xls"));
    EXPECT_EQ(TableXlsBytes(table, german), fixture("small.xls"));
}

// Czech and Russian captions in the code page of their language, named in a record after the
// beginning of the file so that spreadsheet programs read the letters right.
TEST(TableExport, WorksheetTextsInTheCodePageOfTheLanguage) {
    const struct {
        int charset;
        int codePage;
        QStringList header;
        const char* file;
    } cases[] = {
        {238, 1250, {"Datum", "Čas", "Tlak [kPa]", "Průtok [l/h]"}, "table_cz.xls"},
        {204, 1251, {"Дата", "Время", "Давление [кПа]", "Расход [л/ч]"}, "table_ru.xls"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiCodePageForCharset(c.charset), c.codePage);
        TTextTable table(4, 2);
        const QStringList sample = {"05.03.2012", "07:04:09", "1.25", "120.5"};
        for (int i = 0; i < 4; ++i) {
            table.setCell(i, 0, c.header[i]);
            table.setCell(i, 1, sample[i]);
        }
        EXPECT_EQ(TableXlsBytes(table, QLocale::c(), c.codePage), fixture(c.file)) << c.file;
    }
    for (const int charset : {0, 1, 161, 186})
        EXPECT_EQ(AnsiCodePageForCharset(charset), 1252) << charset;
    // Characters a code page lacks become "?".
    EXPECT_EQ(toAnsiCodePage(u"Čа€", 1250), QByteArray("\xC8?\x80"));
    EXPECT_EQ(toAnsiCodePage(u"Čа€", 1251), QByteArray("?\xE0\x88"));
    EXPECT_EQ(toAnsiCodePage(u"Čа€", 1252), QByteArray("??\x80"));
}

TEST(TableExport, EmptyTableStillHasItsRows) {
    TTextTable table(4, 2);
    table.setCell(0, 0, "Date");
    EXPECT_EQ(TableCsvBytes(table), QByteArray("D\0a\0t\0e\0\t\0\t\0\t\0\n\0\t\0\t\0\t\0\n\0\n\0", 26));
    const QByteArray html = TableHtmlBytes(table);
    EXPECT_EQ(html.count(QByteArray("&\0n\0b\0s\0p\0;\0", 12)), 7);
    const QByteArray xls = TableXlsBytes(table, QLocale::c());
    // Beginning, one 12-byte text cell with "Date", seven empty text cells, end.
    EXPECT_EQ(xls.size(), 12 + 16 + 7 * 12 + 4);
    EXPECT_EQ(xls.mid(28 + 8, 4), QByteArray("\x00\x00\x00\x00", 4)); // format 0, n = 0
}

TEST(TableExport, FileNameRule) {
    const struct {
        const char* chosen;
        TExportFormat format;
        const char* used;
    } cases[] = {
        {"out", TExportFormat::Csv, "out.csv"},
        {"out.CSV", TExportFormat::Csv, "out.CSV"},
        {"out.Csv", TExportFormat::Csv, "out.Csv.csv"},
        {"old.csv.bak", TExportFormat::Csv, "old.csv.bak"},
        {"page.html", TExportFormat::Html, "page.html"},
        {"page.HTM", TExportFormat::Html, "page.HTM"},
        {"page.txt", TExportFormat::Html, "page.txt.htm"},
        {"sheet", TExportFormat::Xls, "sheet.xls"},
        {"sheet.XLS", TExportFormat::Xls, "sheet.XLS"},
        {"sheet.csv", TExportFormat::Xls, "sheet.csv.xls"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExportFileName(c.chosen, c.format), QString::fromLatin1(c.used)) << c.chosen;
}

TEST(TableExport, WritesUnderTheRuleAndNeverLeavesAPartialFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TTextTable table = smallTable("1.25", "120.5");
    QString error;
    ASSERT_TRUE(ExportTableCsv(table, dir.filePath("out"), &error)) << error.toStdString();
    ASSERT_TRUE(ExportTableHtml(table, dir.filePath("out.html"), &error)) << error.toStdString();
    ASSERT_TRUE(ExportTableXls(table, dir.filePath("out"), QLocale::c(), &error)) << error.toStdString();
    EXPECT_EQ(contentsOf(dir.filePath("out.csv")), fixture("small.csv"));
    EXPECT_EQ(contentsOf(dir.filePath("out.html")), fixture("small.htm"));
    EXPECT_EQ(contentsOf(dir.filePath("out.xls")), fixture("small.xls"));

    // Overwrites an existing file whole.
    ASSERT_TRUE(ExportTableCsv(TTextTable(1, 1), dir.filePath("out.csv"), &error));
    EXPECT_EQ(contentsOf(dir.filePath("out.csv")), QByteArray("\n\0\n\0", 4));

    // A folder that does not exist, and a target that is a folder: an error, nothing written.
    error.clear();
    EXPECT_FALSE(ExportTableHtml(table, dir.filePath("missing/out.htm"), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.xls"));
    error.clear();
    EXPECT_FALSE(ExportTableXls(table, dir.filePath("taken.xls"), QLocale::c(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.xls")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"out.csv", "out.html", "out.xls"}));
}

TEST(TableExport, WorksheetCellKinds) {
    const struct {
        const char* text;
        bool number;
        double value;
    } cases[] = {
        {"1.25", true, 1.25},     {"-0.5", true, -0.5},   {"0,1", true, 0.1}, // double, not single precision
        {"05.03.2012", false, 0}, {"07:04:09", false, 0}, {"-----", false, 0},    {"1.234,5", false, 0},
        {"1e3", true, 1000},      {"12:30", false, 0},    {"1,234", true, 1.234}, {"Flow [l/h]", false, 0},
        {"", false, 0},
    };
    for (const QLocale& locale : {QLocale::c(), german}) {
        for (const auto& c : cases) {
            TTextTable table(1, 1);
            table.setCell(0, 0, QString::fromUtf8(c.text));
            const QByteArray xls = TableXlsBytes(table, locale);
            ASSERT_GE(xls.size(), 16);
            EXPECT_EQ(static_cast<unsigned char>(xls[12]), c.number ? 0x03 : 0x04) << c.text;
            if (c.number && xls.size() >= 32) {
                double value = 0;
                std::memcpy(&value, xls.constData() + 22, 8);
                EXPECT_EQ(value, c.value) << c.text;
            }
        }
    }
}

} // namespace
