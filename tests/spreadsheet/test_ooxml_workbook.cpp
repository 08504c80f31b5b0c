// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/CellAddress.h"
#include "spreadsheet/CellDates.h"
#include "spreadsheet/OoxmlWorkbook.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/ZipPackage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QLocale Point(QLocale::English, QLocale::UnitedStates);
const QLocale Comma(QLocale::German, QLocale::Germany);
const QString SheetPart = QStringLiteral("xl/worksheets/sheet2.xml");

QString fixture(const char* name) {
    return QStringLiteral(ZRV_FIXTURES "/spreadsheet/") + QLatin1String(name);
}

// Each test works on its own copy, since saving rewrites the file.
class OoxmlWorkbookTest : public ::testing::Test {
protected:
    // The copy is called `as`, or like the fixture.
    QString copy(const char* name, const char* as = nullptr) {
        const QString path = m_dir.filePath(QLatin1String(as ? as : name));
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(fixture(name), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    std::unique_ptr<IWorksheet> open(const QString& path, const QLocale& locale = Point) {
        QString error;
        auto sheet = OpenWorksheet(path, QStringLiteral("Nortavex"), locale, &error);
        EXPECT_TRUE(sheet) << error.toStdString();
        return sheet;
    }
    static TZipPackage package(const QString& path) {
        TZipPackage p;
        QString error;
        EXPECT_TRUE(p.open(path, &error)) << error.toStdString();
        return p;
    }
    static QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(OoxmlWorkbookTest, ReadsEveryKindOfCell) {
    const auto sheet = open(fixture("ooxml_cells.xlsx"));
    ASSERT_TRUE(sheet);
    const struct {
        int row, column;
        const char* text;
    } cases[] = {
        {1, 1, "Plain text"},
        {1, 2, "Bold and plain"}, // rich text without its phonetic hint
        {1, 3, "Inline"},
        {1, 4, "1500"},
        {1, 5, "95.5"},
        {1, 6, "TRUE"},
        {1, 11, "FALSE"},
        {1, 7, ""}, // no cell
        {1, 8, ""}, // styled cell without a value
        {1, 9, "0.3"},
        {1, 10, "1000000"},
        {2, 1, "3000"}, // a formula's cached value
        {3, 1, ""},     // missing row
        {4, 1, " padded "},
        {0, 1, ""},
        {1, 0, ""},
        {MaxSheetRow + 1, 1, ""},
        {1, MaxSheetColumn + 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sheet->cellText(c.row, c.column), QString::fromUtf8(c.text)) << c.row << "," << c.column;
}

// A formula cell without a result reads as empty; the reader tells it from one whose result is
// an empty text.
TEST_F(OoxmlWorkbookTest, TellsFormulasWithoutAResult) {
    const QString path = copy("book_name_formulas.xlsx");
    const struct {
        const char* book;
        int row, column;
        bool stored; // before the save below
        bool saved;  // after it took every result out
    } cases[] = {
        {"book_name_formulas.xlsx", 10, 2, false, true},  // a text result
        {"book_name_formulas.xlsx", 17, 2, false, true},  // an empty text result
        {"book_name_formulas.xlsx", 20, 22, false, true}, // a number result
        {"book_name_formulas.xlsx", 10, 3, false, false}, // a text
        {"book_name_formulas.xlsx", 30, 2, false, false}, // no cell
        {"book_name_formulas.xlsx", 0, 2, false, false},
        {"book_plain.xlsx", 10, 24, true, true},  // an empty <v/>, as some writers leave it
        {"book_plain.xlsx", 10, 2, false, false}, // an inline string
    };
    {
        auto sheet = open(path);
        ASSERT_TRUE(sheet);
        QString error;
        ASSERT_TRUE(sheet->setCellText(10, 22, QStringLiteral("12.5"), &error));
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
    }
    const auto named = open(fixture("book_name_formulas.xlsx"));
    const auto plain = open(fixture("book_plain.xlsx"));
    const auto saved = open(path);
    ASSERT_TRUE(named && plain && saved);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.book << " " << c.row << "," << c.column);
        const bool isPlain = QLatin1String(c.book) == QLatin1String("book_plain.xlsx");
        EXPECT_EQ((isPlain ? *plain : *named).isUncalculatedFormula(c.row, c.column), c.stored);
        if (!isPlain)
            EXPECT_EQ(saved->isUncalculatedFormula(c.row, c.column), c.saved);
    }
}

TEST_F(OoxmlWorkbookTest, NumbersTakeTheLocaleDecimalSeparator) {
    const auto sheet = open(fixture("ooxml_cells.xlsx"), Comma);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->cellText(1, 5), QStringLiteral("95,5"));
    EXPECT_EQ(sheet->cellText(1, 4), QStringLiteral("1500"));

    const struct {
        double value;
        const char* point;
        const char* comma;
    } cases[] = {
        {1500, "1500", "1500"},
        {0.1 + 0.2, "0.3", "0,3"},
        {1234567.25, "1234567.25", "1234567,25"},
        {-2.5, "-2.5", "-2,5"},
        {0, "0", "0"},
        {1e-7, "1E-07", "1E-07"},
        {1e20, "1E+20", "1E+20"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatCellNumber(c.value, Point), QLatin1String(c.point));
        EXPECT_EQ(FormatCellNumber(c.value, Comma), QLatin1String(c.comma));
    }
}

TEST_F(OoxmlWorkbookTest, FindsTheSheetByNameAndReportsOpeningErrors) {
    QString error;
    // Among three sheets, the middle one; the name compares without case as the spreadsheet
    // program does.
    auto sheet = OpenWorksheet(fixture("ooxml_cells.xlsx"), QStringLiteral("nortavex"), Point, &error);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->cellText(1, 1), QStringLiteral("Plain text"));
    sheet = OpenWorksheet(fixture("ooxml_cells.xlsx"), QStringLiteral("Last"), Point, &error);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->cellText(1, 1), QStringLiteral("last sheet"));

    const QString notABook = m_dir.filePath(QStringLiteral("notes.xlsx"));
    QFile f(notABook);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just text");
    f.close();
    const QString damaged = m_dir.filePath(QStringLiteral("damaged.xlsx"));
    QFile d(damaged);
    ASSERT_TRUE(d.open(QIODevice::WriteOnly));
    d.write(fileBytes(fixture("ooxml_cells.xlsx")).left(600));
    d.close();

    const struct {
        QString file;
        const char* sheetName;
        const char* expected;
    } cases[] = {
        {fixture("ooxml_cells.xlsx"), "Missing", "has no worksheet \"Missing\""},
        {notABook, "Nortavex", "not a workbook"},
        {damaged, "Nortavex", "Cannot read"},
        {m_dir.filePath(QStringLiteral("absent.xlsx")), "Nortavex", "Cannot read"},
    };
    for (const auto& c : cases) {
        error.clear();
        EXPECT_FALSE(OpenWorksheet(c.file, QLatin1String(c.sheetName), Point, &error));
        EXPECT_TRUE(error.contains(QLatin1String(c.expected))) << error.toStdString();
    }
}

TEST_F(OoxmlWorkbookTest, UnprotectsOnlyWithTheRightPassword) {
    for (const char* name :
         {"ooxml_protected_legacy.xlsx", "ooxml_protected_sha512.xlsx", "book_protected_lo.xlsx"}) {
        const QString path = copy(name);
        const QByteArray before = fileBytes(path);
        const QByteArray beforeXml = package(path).entry(SheetPart);
        auto sheet = open(path);
        ASSERT_TRUE(sheet);
        QString error;
        EXPECT_FALSE(sheet->unprotect(QStringLiteral("marblefoxqz"), &error)) << name;
        EXPECT_TRUE(error.contains(QLatin1String("does not unprotect"))) << error.toStdString();
        EXPECT_TRUE(sheet->save(&error));
        EXPECT_EQ(fileBytes(path), before) << name << ": a refused password changed the file";

        EXPECT_TRUE(sheet->unprotect(QStringLiteral("MarbleFoxQz"), &error)) << name;
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
        const QByteArray xml = package(path).entry(SheetPart);
        EXPECT_FALSE(xml.contains("sheetProtection")) << name;
        // The declaration (with standalone="yes") stays as the writer put it.
        EXPECT_EQ(xml.left(xml.indexOf("<worksheet")), beforeXml.left(beforeXml.indexOf("<worksheet")))
            << name;
        EXPECT_TRUE(open(path)->unprotect(QStringLiteral("anything"), &error));
    }
}

TEST_F(OoxmlWorkbookTest, SetsCellsInOrderAndKeepsEveryOtherPart) {
    const QString path = copy("ooxml_cells.xlsx");
    const TZipPackage before = package(path);
    auto sheet = open(path);
    ASSERT_TRUE(sheet);
    QString error;
    const struct {
        int row, column;
        const char* text;
    } writes[] = {
        {5, 3, "between"},       // new cell between B5 and D5
        {5, 5, "after"},         // new cell after the last one
        {5, 1, "before"},        // new cell before the first
        {6, 2, "new row"},       // new row between rows 5 and 7
        {9, 1, "last row"},      // new row after the last one
        {3, 1, " blanks "},      // new row in a gap
        {7, 4, "styled"},        // number cell with a style overwritten
        {1, 1, "shared <&> \""}, // shared string cell overwritten, markup characters
        {1, 6, ""},              // boolean emptied
    };
    for (const auto& w : writes)
        ASSERT_TRUE(sheet->setCellText(w.row, w.column, QString::fromUtf8(w.text), &error));
    EXPECT_FALSE(sheet->setCellText(0, 1, QStringLiteral("x"), &error));
    EXPECT_FALSE(sheet->setCellText(1, MaxSheetColumn + 1, QStringLiteral("x"), &error));
    ASSERT_TRUE(sheet->save(&error)) << error.toStdString();

    const auto reread = open(path);
    ASSERT_TRUE(reread);
    for (const auto& w : writes)
        EXPECT_EQ(reread->cellText(w.row, w.column), QString::fromUtf8(w.text));
    EXPECT_EQ(reread->cellText(5, 2), QStringLiteral("b5"));
    EXPECT_EQ(reread->cellText(5, 4), QStringLiteral("d5"));
    EXPECT_EQ(reread->cellText(1, 2), QStringLiteral("Bold and plain"));

    const TZipPackage after = package(path);
    const QByteArray xml = after.entry(SheetPart);
    const auto at = [&](const char* needle) { return xml.indexOf(needle); };
    EXPECT_LT(at("r=\"A5\""), at("r=\"B5\""));
    EXPECT_LT(at("r=\"B5\""), at("r=\"C5\""));
    EXPECT_LT(at("r=\"C5\""), at("r=\"D5\""));
    EXPECT_LT(at("r=\"D5\""), at("r=\"E5\""));
    EXPECT_LT(at("<row r=\"2\""), at("<row r=\"3\""));
    EXPECT_LT(at("<row r=\"3\""), at("<row r=\"4\""));
    EXPECT_LT(at("<row r=\"5\""), at("<row r=\"6\""));
    EXPECT_LT(at("<row r=\"6\""), at("<row r=\"7\""));
    EXPECT_LT(at("<row r=\"7\""), at("<row r=\"9\""));
    EXPECT_TRUE(xml.contains("<c r=\"D7\" s=\"1\" t=\"inlineStr\">")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<c r=\"F1\"/>")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<t xml:space=\"preserve\"> blanks </t>"));
    // The formula was not touched, so the calculation chain stays.
    EXPECT_TRUE(xml.contains("<f>D1*2</f>"));

    ASSERT_EQ(after.entryNames(), before.entryNames()); // same parts, same order
    // The workbook part already asks for recalculation on opening, so it stays too.
    for (const QString& name : before.entryNames())
        if (name != SheetPart)
            EXPECT_EQ(after.entry(name), before.entry(name)) << name.toStdString();
}

TEST_F(OoxmlWorkbookTest, AWrittenBookAsksForRecalculationOnOpening) {
    const struct {
        const char* book;
        const char* calculation;
    } cases[] = {
        {"book_protected_lo.xlsx",
         "</sheets><calcPr iterateCount=\"100\" refMode=\"A1\" iterate=\"false\" iterateDelta=\"0.0001\" "
         "fullCalcOnLoad=\"1\"/>"},
        {"repro/sheet-stored-last.xlsx", "</sheets><calcPr fullCalcOnLoad=\"1\"/></workbook>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.book);
        const QString path = copy(c.book, "book.xlsx");
        auto sheet = open(path);
        ASSERT_TRUE(sheet);
        QString error;
        ASSERT_TRUE(sheet->unprotect(QStringLiteral("MarbleFoxQz"), &error)) << error.toStdString();
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
        // Unprotecting alone changes no value.
        EXPECT_FALSE(package(path).entry(QStringLiteral("xl/workbook.xml")).contains("fullCalcOnLoad"));
        ASSERT_TRUE(sheet->setCellText(10, 22, QStringLiteral("12.5"), &error));
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
        const QByteArray workbook = package(path).entry(QStringLiteral("xl/workbook.xml"));
        EXPECT_TRUE(workbook.contains(c.calculation)) << workbook.toStdString();
    }
}

TEST_F(OoxmlWorkbookTest, OverwritingAFormulaDropsTheCalculationChain) {
    const QString path = copy("ooxml_cells.xlsx");
    const TZipPackage before = package(path);
    auto sheet = open(path);
    ASSERT_TRUE(sheet);
    QString error;
    ASSERT_TRUE(sheet->setCellText(2, 1, QStringLiteral("no formula"), &error));
    ASSERT_TRUE(sheet->save(&error)) << error.toStdString();

    const TZipPackage after = package(path);
    EXPECT_FALSE(after.entry(SheetPart).contains("<f>"));
    EXPECT_FALSE(after.contains(QStringLiteral("xl/calcChain.xml")));
    EXPECT_FALSE(after.entry(QStringLiteral("xl/_rels/workbook.xml.rels")).contains("calcChain"));
    EXPECT_FALSE(after.entry(QStringLiteral("[Content_Types].xml")).contains("calcChain"));
    EXPECT_TRUE(after.entry(QStringLiteral("[Content_Types].xml")).contains("sharedStrings"));
    EXPECT_EQ(open(path)->cellText(2, 1), QStringLiteral("no formula"));
    for (const char* name : {"xl/sharedStrings.xml", "xl/styles.xml", "xl/worksheets/sheet1.xml"})
        EXPECT_EQ(after.entry(QLatin1String(name)), before.entry(QLatin1String(name))) << name;
}

TEST_F(OoxmlWorkbookTest, MacroPartSurvivesTheSave) {
    const QString path = copy("book_macro.xlsm");
    const QByteArray macros = package(path).entry(QStringLiteral("xl/vbaProject.bin"));
    ASSERT_FALSE(macros.isEmpty());
    auto sheet = open(path);
    ASSERT_TRUE(sheet);
    QString error;
    ASSERT_TRUE(sheet->setCellText(10, 21, QStringLiteral("AQ-V 20"), &error));
    ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
    EXPECT_EQ(package(path).entry(QStringLiteral("xl/vbaProject.bin")), macros);
    EXPECT_EQ(open(path)->cellText(10, 21), QStringLiteral("AQ-V 20"));
}

TEST_F(OoxmlWorkbookTest, FailedSaveLeavesTheFileAsItWas) {
    const QString path = copy("ooxml_cells.xlsx");
    auto sheet = open(path);
    ASSERT_TRUE(sheet);
    QString error;
    ASSERT_TRUE(sheet->setCellText(1, 1, QStringLiteral("changed"), &error));

    // The target became a folder with content: the rename over it must fail and keep it.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    QFile inside(path + QStringLiteral("/keep.txt"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write("kept");
    inside.close();
    EXPECT_FALSE(sheet->save(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(fileBytes(path + QStringLiteral("/keep.txt")), QByteArray("kept"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList()) << "a temporary file was left behind";

    // Once the file is back, the same changes are saved.
    ASSERT_TRUE(QDir(path).removeRecursively());
    ASSERT_TRUE(QFile::copy(fixture("ooxml_cells.xlsx"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
    EXPECT_EQ(open(path)->cellText(1, 1), QStringLiteral("changed"));
}

TEST_F(OoxmlWorkbookTest, SavesWhereverTheWorksheetLiesInTheArchive) {
    const struct {
        const char* book;
        QString part;
    } cases[] = {
        {"ooxml_sheet_first.xlsx", SheetPart},
        {"ooxml_cells.xlsx", SheetPart}, // in the middle
        {"repro/sheet-stored-last.xlsx", QStringLiteral("xl/worksheets/sheet1.xml")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.book);
        const QString path = copy(c.book, "book.xlsx");
        const TZipPackage before = package(path);
        auto sheet = open(path);
        ASSERT_TRUE(sheet);
        QString error;
        for (int row = 10; row < 20; ++row)
            ASSERT_TRUE(sheet->setCellText(row, 22, QStringLiteral("Valve %1").arg(row), &error));
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
        // A second save of the same sheet starts from the file as written.
        ASSERT_TRUE(sheet->setCellText(20, 22, QStringLiteral("again"), &error));
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();

        const auto reread = open(path);
        ASSERT_TRUE(reread);
        EXPECT_EQ(reread->cellText(10, 22), QStringLiteral("Valve 10"));
        EXPECT_EQ(reread->cellText(20, 22), QStringLiteral("again"));
        const TZipPackage after = package(path);
        EXPECT_EQ(after.entryNames(), before.entryNames());
        for (const QString& name : before.entryNames())
            if (name != c.part && name != QLatin1String("xl/workbook.xml"))
                EXPECT_EQ(after.entry(name), before.entry(name)) << name.toStdString();
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("book.xlsx")});
    }
}

TEST_F(OoxmlWorkbookTest, PartsAreInflatedOnlyWhenNeededAndWithinALimit) {
    // Forty entries over one 60 MB stream: no part the reader needs, refused at once.
    QString error;
    EXPECT_FALSE(
        OpenWorksheet(fixture("repro/overlapping-entries.xlsx"), QStringLiteral("Nortavex"), Point, &error));
    EXPECT_TRUE(error.contains(QLatin1String("overlapping-entries.xlsx"))) << error.toStdString();

    // The worksheet part itself unpacks to more than 64 MB.
    error.clear();
    EXPECT_FALSE(OpenWorksheet(fixture("ooxml_large_part.xlsx"), QStringLiteral("Nortavex"), Point, &error));
    EXPECT_TRUE(error.contains(QLatin1String("64 MB"))) << error.toStdString();

    // The limit holds for all parts together: each fits, the sum does not.
    TZipPackage small(4096);
    ASSERT_TRUE(small.open(fixture("ooxml_cells.xlsx"), &error)) << error.toStdString();
    QByteArray data;
    EXPECT_TRUE(small.readEntry(SheetPart, &data, &error));
    EXPECT_TRUE(small.readEntry(SheetPart, &data, &error)); // read once, kept
    EXPECT_TRUE(small.readEntry(QStringLiteral("xl/styles.xml"), &data, &error));
    EXPECT_FALSE(small.readEntry(QStringLiteral("xl/theme/theme1.xml"), &data, &error));
    EXPECT_TRUE(error.contains(QLatin1String("damaged or not a workbook"))) << error.toStdString();
    EXPECT_FALSE(small.readEntry(QStringLiteral("xl/none.xml"), &data, &error));
    EXPECT_TRUE(error.contains(QLatin1String("missing"))) << error.toStdString();
}

TEST_F(OoxmlWorkbookTest, OpensFromBytesInMemoryAsFromTheFile) {
    const QByteArray bytes = fileBytes(fixture("ooxml_cells.xlsx"));
    QString error;
    const auto sheet = OpenWorksheetFromBytes(bytes, QStringLiteral("memory.xlsx"),
                                              QStringLiteral("Nortavex"), Point, &error);
    ASSERT_TRUE(sheet) << error.toStdString();
    EXPECT_EQ(sheet->cellText(1, 2), QStringLiteral("Bold and plain"));
    EXPECT_FALSE(OpenWorksheetFromBytes(bytes.left(300), QStringLiteral("memory.xlsx"),
                                        QStringLiteral("Nortavex"), Point, &error));
    EXPECT_TRUE(error.contains(QLatin1String("memory.xlsx")));
    EXPECT_FALSE(OpenWorksheetFromBytes(QByteArray(), QStringLiteral("empty.xlsx"),
                                        QStringLiteral("Nortavex"), Point, &error));
}

TEST_F(OoxmlWorkbookTest, ANumberTextBecomesANumberCellAndKeepsTheStyle) {
    const QString path = copy("ooxml_cells.xlsx");
    auto sheet = open(path);
    ASSERT_TRUE(sheet);
    QString error;
    const struct {
        int row, column;
        const char* text;
        const char* cell;
    } cases[] = {
        {7, 4, " 8.5", "<c r=\"D7\" s=\"1\"><v>8.5</v></c>"}, // styled number cell
        {7, 5, "4230.0", "<c r=\"E7\"><v>4230.0</v></c>"},
        {7, 6, "-1.0", "<c r=\"F7\"><v>-1.0</v></c>"},
        {7, 7, "1e5", "<c r=\"G7\" t=\"inlineStr\"><is><t>1e5</t></is></c>"},
        {7, 8, "12,5", "<c r=\"H7\" t=\"inlineStr\"><is><t>12,5</t></is></c>"},
        {7, 9, "AQ-V 15", "<c r=\"I7\" t=\"inlineStr\"><is><t>AQ-V 15</t></is></c>"},
        {7, 10, "", "<c r=\"J7\"/>"},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(sheet->setCellText(c.row, c.column, QString::fromUtf8(c.text), &error));
    ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
    const QByteArray xml = package(path).entry(SheetPart);
    for (const auto& c : cases)
        EXPECT_TRUE(xml.contains(c.cell)) << c.cell << "\n" << xml.toStdString();
    EXPECT_EQ(open(path)->cellText(7, 4), QStringLiteral("8.5"));
}

TEST_F(OoxmlWorkbookTest, DatesAndTimesReadAsTheirTextOnAnUpperCaseSheet) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const QDate newYear(2024, 1, 1);
    const struct {
        int row, column;
        QString text;
    } cases[] = {
        {10, 2, german.toString(newYear, QLocale::ShortFormat)},
        {10, 17, german.toString(QTime(10, 30), QLocale::ShortFormat)},
        {11, 3, german.toString(QTime(8, 15), QLocale::ShortFormat)},
        {11, 17, german.toString(newYear, QLocale::ShortFormat)},
        {12, 3,
         german.toString(QDate(2024, 3, 12), QLocale::ShortFormat) + u' ' +
             german.toString(QTime(14, 45), QLocale::ShortFormat)},
        {12, 17, QStringLiteral("95,5")},
        {10, 3, QStringLiteral("Floor 1")},
    };
    EXPECT_EQ(cases[0].text, QStringLiteral("01.01.24"));
    for (const char* book : {"book_dates.xlsx", "book_dates.xls"}) {
        SCOPED_TRACE(book);
        QString error;
        // The sheet is called "NORTAVEX".
        const auto sheet = OpenWorksheet(fixture(book), QStringLiteral("Nortavex"), german, &error);
        ASSERT_TRUE(sheet) << error.toStdString();
        for (const auto& c : cases)
            EXPECT_EQ(sheet->cellText(c.row, c.column), c.text) << c.row << "," << c.column;
    }
}

TEST(CellDates, FormatsAndSerials) {
    const struct {
        int id;
        const char* code;
        TDateKind kind;
    } formats[] = {
        {14, "", TDateKind::Date},
        {20, "", TDateKind::Time},
        {22, "", TDateKind::DateTime},
        {0, "General", TDateKind::None},
        {2, "0.00", TDateKind::None},
        {164, "yyyy-mm-dd", TDateKind::Date},
        {164, "hh:mm", TDateKind::Time},
        {164, "[h]:mm", TDateKind::Time},
        {164, "mm:ss", TDateKind::Time},
        {164, "mmm yy", TDateKind::Date},
        {164, "dd.mm.yyyy hh:mm", TDateKind::DateTime},
        {164, "0.0 \"days\"", TDateKind::None},
        {164, "[Red]0.0;[Blue]-0.0", TDateKind::None},
        {164, "#,##0.0\\ \\m", TDateKind::None},
    };
    for (const auto& f : formats)
        EXPECT_EQ(DateKindOfNumberFormat(f.id, QString::fromUtf8(f.code)), f.kind) << f.id << " " << f.code;

    EXPECT_EQ(*SerialDateTime(45292, false), QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    EXPECT_EQ(*SerialDateTime(45292.4375, false), QDateTime(QDate(2024, 1, 1), QTime(10, 30)));
    EXPECT_EQ(*SerialDateTime(1, false), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_EQ(*SerialDateTime(61, false), QDateTime(QDate(1900, 3, 1), QTime(0, 0)));
    EXPECT_EQ(*SerialDateTime(0, true), QDateTime(QDate(1904, 1, 1), QTime(0, 0)));
    EXPECT_FALSE(SerialDateTime(-1, false));
    EXPECT_FALSE(SerialDateTime(1e300, false));
}

TEST(CellAddress, ConvertsReferences) {
    const struct {
        const char* reference;
        int row, column;
    } valid[] = {{"A1", 1, 1},
                 {"Z9", 9, 26},
                 {"AA10", 10, 27},
                 {"$W$12", 12, 23},
                 {"XFD1048576", MaxSheetRow, MaxSheetColumn}};
    for (const auto& c : valid) {
        int row = 0;
        int column = 0;
        EXPECT_TRUE(ParseCellReference(QLatin1String(c.reference), &row, &column)) << c.reference;
        EXPECT_EQ(row, c.row) << c.reference;
        EXPECT_EQ(column, c.column) << c.reference;
        EXPECT_EQ(CellReference(c.row, c.column), QString::fromLatin1(c.reference).remove(u'$'));
    }
    for (const char* invalid : {"", "A", "1", "A0", "1A", "A1B", "XFE1", "A1048577", "A1:B2", "Ä1"}) {
        int row = 0;
        int column = 0;
        EXPECT_FALSE(ParseCellReference(QString::fromUtf8(invalid), &row, &column)) << invalid;
    }
}

} // namespace
