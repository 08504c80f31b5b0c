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
        {legacyBook, u"nortavex"_qs, u"Nortavex"_qs.toLower()},
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

} // namespace
