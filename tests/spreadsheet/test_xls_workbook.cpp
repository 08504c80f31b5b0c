// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/XlsCellDump.h"
#include "spreadsheet/XlsWorkbook.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString legacyBook = QStringLiteral(ZRV_FIXTURES "/spreadsheet/book_legacy.xls");

TEST(XlsWorkbook, CellsReadAsTextsWithTheLocaleSeparator) {
    QString error;
    const auto sheet =
        OpenXlsWorksheet(legacyBook, u"Nortavex"_qs, QLocale(QLocale::German, QLocale::Germany), &error);
    ASSERT_TRUE(sheet) << error.toStdString();
    const struct {
        int row, column;
        const char* text;
    } cases[] = {
        {9, 2, "Riser"},  {10, 2, "Riser 1"},   {10, 4, "Radiator 1"},
        {10, 17, "450"},  {10, 18, "AQ-V"},     {10, 20, "3/4"},
        {11, 17, "95,5"}, {11, 18, " HR 100 "}, {12, 17, "120"},
        {13, 3, ""},      {14, 17, "1250,25"},  {1, 1, "Heating design: office block Lindenweg"},
        {0, 2, ""},       {10, 0, ""},          {-5, 2, ""},
        {100000, 2, ""},  {10, 300, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        EXPECT_EQ(sheet->cellText(c.row, c.column), QString::fromUtf8(c.text));
    }
    EXPECT_EQ(OpenXlsWorksheet(legacyBook, u"Nortavex"_qs, QLocale::c(), &error)->cellText(11, 17),
              u"95.5"_qs);
}

TEST(XlsWorkbook, WritesAndSavesAreRefused) {
    QString error;
    const auto sheet = OpenXlsWorksheet(legacyBook, u"Nortavex"_qs, QLocale::c(), &error);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->unprotect(u"MarbleFoxQz"_qs, &error));
    EXPECT_FALSE(sheet->setCellText(10, 21, u"x"_qs, &error));
    EXPECT_EQ(error, XlsReadOnlyMessage());
    error.clear();
    EXPECT_FALSE(sheet->save(&error));
    EXPECT_TRUE(error.contains(u".xlsx"_qs));
}

TEST(XlsWorkbook, MissingSheetOrUnreadableFileGivesAnError) {
    QTemporaryDir dir;
    const QString notXls = dir.filePath(u"text.xls"_qs);
    QFile f(notXls);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Riser;Floor\n");
    f.close();
    const struct {
        QString file, sheet, message;
    } cases[] = {
        {legacyBook, u"Design"_qs, u"Design"_qs},
        {notXls, u"Nortavex"_qs, u"text.xls"_qs},
        {dir.filePath(u"gone.xls"_qs), u"Nortavex"_qs, u"gone.xls"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + " " + c.sheet.toStdString());
        QString error;
        EXPECT_FALSE(OpenXlsWorksheet(c.file, c.sheet, QLocale::c(), &error));
        EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
    }
}

TEST(XlsWorkbook, TheSheetIsFoundWhateverItsCase) {
    for (const QString& name : {u"nortavex"_qs, u"NORTAVEX"_qs}) {
        QString error;
        const auto sheet = OpenXlsWorksheet(legacyBook, name, QLocale::c(), &error);
        ASSERT_TRUE(sheet) << error.toStdString();
        EXPECT_EQ(sheet->cellText(10, 2), u"Riser 1"_qs);
    }
}

// The library that parses the format runs in a helper process: whatever happens to it there, the
// program only learns that the workbook cannot be read.
TEST(XlsWorkbook, AFailingHelperMeansTheWorkbookCannotBeRead) {
    QFile f(legacyBook);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const auto shell = [](const char* script) {
        TXlsReader reader;
        reader.Program = u"/bin/sh"_qs;
        reader.Arguments = QStringList{u"-c"_qs, QString::fromUtf8(script), u"sh"_qs};
        return reader;
    };
    TXlsReader slow = shell("cat >/dev/null; sleep 10");
    slow.Limits.WallMilliseconds = 300;
    TXlsReader chatty = shell("cat >/dev/null; printf 'ZRV-XLS-CELLS 1\\n'; yes 'C\t1\t1\tt\tx'");
    chatty.Limits.OutputBytes = 1 << 20;
    TXlsReader hungry = shell("cat >/dev/null; exec python3 -c 'x = bytearray(1 << 31)'");
    hungry.Limits.MemoryBytes = qint64(256) << 20;
    const struct {
        const char* what;
        TXlsReader reader;
    } cases[] = {
        {"crash", shell("cat >/dev/null; kill -SEGV $$")},
        {"time limit", slow},
        {"output limit", chatty},
        {"memory limit", hungry},
        {"cut short", shell("cat >/dev/null; printf 'ZRV-XLS-CELLS 1\\nC\t1\t1\tt\tx\\n'")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QString error;
        EXPECT_FALSE(
            OpenXlsWorksheetFromBytes(bytes, u"book.xls"_qs, u"Nortavex"_qs, QLocale::c(), &error, c.reader));
        EXPECT_EQ(error, u"The workbook book.xls cannot be read."_qs);
    }
    // A missing helper is named, so that a broken installation can be told apart.
    QString missing;
    EXPECT_FALSE(OpenXlsWorksheetFromBytes(bytes, u"book.xls"_qs, u"Nortavex"_qs, QLocale::c(), &missing,
                                           TXlsReader{u"/nonexistent/zrv10-xls-cells"_qs, {}, {}}));
    EXPECT_TRUE(missing.contains(u"/nonexistent/zrv10-xls-cells"_qs)) << missing.toStdString();
    // The damaged book that makes the library read past a buffer.
    QString error;
    EXPECT_FALSE(OpenXlsWorksheet(QStringLiteral(ZRV_FIXTURES "/spreadsheet/repro/freexl-overread.xls"),
                                  u"Nortavex"_qs, QLocale::c(), &error));
    EXPECT_TRUE(error.endsWith(u"freexl-overread.xls cannot be read."_qs)) << error.toStdString();
}

TEST(XlsCellDump, ReadsWhatTheHelperWritesAndRefusesTheRest) {
    const QByteArray good = XlsDumpHeader() + XlsDumpCellLine(1, 1, TXlsCellType::Text, "a\tb\\c\nd") +
                            XlsDumpCellLine(65536, 256, TXlsCellType::Double, "0.5") + XlsDumpEnd();
    TXlsCells cells;
    ASSERT_TRUE(ParseXlsCellDump(good, &cells, nullptr));
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ((cells[{1, 1}].Text), u"a\tb\\c\nd"_qs);
    EXPECT_EQ((cells[{65536, 256}].Type), TXlsCellType::Double);

    const QByteArray bad[] = {
        QByteArray(),
        XlsDumpHeader(),
        XlsDumpHeader() + XlsDumpCellLine(1, 1, TXlsCellType::Text, "x"),
        XlsDumpHeader() + "C\t0\t1\tt\tx\n" + XlsDumpEnd(),
        XlsDumpHeader() + "C\t1\t257\tt\tx\n" + XlsDumpEnd(),
        XlsDumpHeader() + "C\t1\t1\tq\tx\n" + XlsDumpEnd(),
        XlsDumpHeader() + "C\t1\t1\tt\tx\\\n" + XlsDumpEnd(),
        XlsDumpHeader() + "C\t1\t1\tt\n" + XlsDumpEnd(),
    };
    for (const QByteArray& dump : bad)
        EXPECT_FALSE(ParseXlsCellDump(dump, &cells, nullptr)) << dump.toStdString();
}

// A hostile book's helper output is refused before it is held cell by cell: too many cells (the same
// cell repeated counts each time) or a text longer than a cell can hold.
TEST(XlsCellDump, RefusesMoreCellsOrLongerTextsThanAWorksheetNeeds) {
    const auto many = [](int count, bool sameCell) {
        QByteArray dump = XlsDumpHeader();
        for (int i = 0; i < count; ++i)
            dump += XlsDumpCellLine(sameCell ? 1 : 1 + i / 200, 1 + i % 200, TXlsCellType::Integer, "7");
        return dump + XlsDumpEnd();
    };
    const auto text = [](qsizetype length, char c) {
        return XlsDumpHeader() + XlsDumpCellLine(1, 1, TXlsCellType::Text, QByteArray(length, c)) +
               XlsDumpEnd();
    };
    const struct {
        const char* what;
        QByteArray dump;
        bool ok;
    } cases[] = {
        {"as many cells as allowed", many(MaxXlsCells, false), true},
        {"one more", many(MaxXlsCells + 1, false), false},
        {"one cell, repeated", many(MaxXlsCells + 1, true), false},
        {"the longest text", text(MaxXlsCellText, 'x'), true},
        {"a longer text", text(MaxXlsCellText + 1, 'x'), false},
        {"a long escaped text", text(MaxXlsCellText + 1, '\t'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TXlsCells cells;
        QString error;
        EXPECT_EQ(ParseXlsCellDump(c.dump, &cells, &error), c.ok) << error.toStdString();
    }
}

} // namespace
