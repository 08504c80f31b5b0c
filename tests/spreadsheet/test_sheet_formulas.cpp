// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/FormulaShift.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/ZipPackage.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString FormulasSheet = QStringLiteral("xl/worksheets/sheet2.xml");

TEST(FormulaShift, MovesRelativeReferencesOnly) {
    const struct {
        const char* formula;
        int rows, columns;
        const char* moved;
    } cases[] = {
        {"Q10/2", 3, 0, "Q13/2"},
        {"$Q$10+Q$10+$Q10", 2, 1, "$Q$10+R$10+$Q12"},
        {"SUM(A1:B2)*LOG10(C3)", 1, 1, "SUM(B2:C3)*LOG10(D4)"},
        {"V10&\"/A1/\"&W10", 1, 0, "V11&\"/A1/\"&W11"},                     // texts stay
        {"'Sheet A1'!B2+Nortavex!U10", 1, 0, "'Sheet A1'!B3+Nortavex!U11"}, // sheet names stay
        {"'It''s'!A1", 1, 0, "'It''s'!A2"},
        {"SUM(V:V)+SUM(3:4)", 1, 1, "SUM(W:W)+SUM(4:5)"}, // whole columns and rows
        {"Table1[Flow]*A1", 1, 0, "Table1[Flow]*A2"},
        {"1.5E+3*A1+TRUE", 1, 0, "1.5E+3*A2+TRUE"}, // numbers and names
        {"XFE1+A1", 1, 0, "XFE1+A2"},               // past the last column: a name
        {"A1", -1, 0, "#REF!"},                     // moved off the sheet
        {"A1", 0, 0, "A1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShiftFormula(QString::fromUtf8(c.formula), c.rows, c.columns), QString::fromUtf8(c.moved))
            << c.formula;
}

class SheetFormulasTest : public ::testing::Test {
protected:
    QString copy(const char* name) {
        const QString path = m_dir.filePath(QLatin1String(name));
        EXPECT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/") + QLatin1String(name), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    static QByteArray sheetXml(const QString& path) {
        TZipPackage package;
        EXPECT_TRUE(package.open(path, nullptr));
        return package.entry(FormulasSheet);
    }
    // The <f> element of a cell, or "none".
    static QString formulaOf(const QByteArray& xml, const char* cell) {
        const QRegularExpression re(
            QStringLiteral("<c r=\"%1\"[^>]*>(<f[^>]*/>|<f[^>]*>[^<]*</f>)?").arg(QLatin1String(cell)));
        const auto m = re.match(QString::fromUtf8(xml));
        return m.hasMatch() && !m.captured(1).isEmpty() ? m.captured(1) : QStringLiteral("none");
    }
    QTemporaryDir m_dir;
};

TEST_F(SheetFormulasTest, OverwritingTheMasterOfASharedFormulaKeepsTheRestOfTheGroup) {
    // V10:V19 is one shared formula "=Q10/2", its master in V10.
    const struct {
        const char* what;
        std::vector<int> rows;
        const char* master;
        const char* formula;
    } cases[] = {
        {"the first rows", {10, 11, 12}, "V13", "<f t=\"shared\" ref=\"V13:V19\" si=\"0\">Q13/2</f>"},
        {"the master only", {10}, "V11", "<f t=\"shared\" ref=\"V11:V19\" si=\"0\">Q11/2</f>"},
        {"a cell below the master", {12}, "V10", "<f t=\"shared\" ref=\"V10:V19\" si=\"0\">Q10/2</f>"},
        {"all but the last",
         {10, 11, 12, 13, 14, 15, 16, 17, 18},
         "V19",
         "<f t=\"shared\" ref=\"V19\" si=\"0\">Q19/2</f>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = copy("book_formulas.xlsx");
        QString error;
        auto sheet = OpenWorksheet(path, QStringLiteral("Nortavex"), QLocale::c(), &error);
        ASSERT_TRUE(sheet) << error.toStdString();
        for (const int row : c.rows)
            ASSERT_TRUE(sheet->setCellText(row, 22, QStringLiteral("12.5"), &error));
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
        const QByteArray xml = sheetXml(path);
        EXPECT_EQ(formulaOf(xml, c.master), QString::fromUtf8(c.formula));
        for (int row = 10; row <= 19; ++row) {
            const QByteArray cell = "V" + QByteArray::number(row);
            const bool written = std::find(c.rows.begin(), c.rows.end(), row) != c.rows.end();
            if (written)
                EXPECT_EQ(formulaOf(xml, cell.constData()), QStringLiteral("none")) << cell.constData();
            else if (cell != c.master)
                EXPECT_EQ(formulaOf(xml, cell.constData()), QStringLiteral("<f t=\"shared\" si=\"0\"/>"))
                    << cell.constData();
        }
        QFile::remove(path);
    }
}

TEST_F(SheetFormulasTest, ACellUnderAnArrayFormulaStopsTheExportBeforeAnyWrite) {
    const QString path = copy("book_array.xlsx");
    QString error;
    auto sheet = OpenWorksheet(path, QStringLiteral("Nortavex"), QLocale::c(), &error);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->mayWrite(10, 22, &error));
    EXPECT_TRUE(sheet->mayWrite(13, 23, &error));
    for (const int row : {10, 11, 12}) {
        error.clear();
        EXPECT_FALSE(sheet->mayWrite(row, 23, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("W%1").arg(row))) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("W10:W12"))) << error.toStdString();
        EXPECT_FALSE(sheet->setCellText(row, 23, QStringLiteral("1.0"), &error));
    }
}

// LibreOffice shows a formula's cached result as it stands unless told to recalculate: after a write,
// no formula cell of any sheet keeps one (nor the type that described it), while every formula,
// shared group and array range stays as it was.
TEST_F(SheetFormulasTest, AWriteLeavesNoCachedResultInAnySheetAndEveryFormulaAsItWas) {
    const QRegularExpression formula(QStringLiteral("<f\\b[^>]*/>|<f\\b[^>]*>[^<]*</f>"));
    const QRegularExpression cached(QStringLiteral("(<f\\b[^>]*/>|</f>)\\s*<v\\b"));
    const QRegularExpression typedFormula(QStringLiteral("<c\\b[^>]*\\bt=\"(str|b|e)\"[^>]*>\\s*<f\\b"));
    // As text after XML's escapes: writers differ in what they escape.
    const auto formulas = [&](const QByteArray& xml) {
        QStringList all;
        for (auto it = formula.globalMatch(QString::fromUtf8(xml)); it.hasNext();)
            all << it.next().captured().replace(u"&quot;"_qs, u"\""_qs).replace(u"&apos;"_qs, u"'"_qs);
        return all;
    };
    // book_formulas: cached results on Nortavex (text results in Y) and Notes; book_array: an array
    // formula over W10:W12, beside the written V10.
    for (const char* book : {"book_formulas.xlsx", "book_array.xlsx"}) {
        SCOPED_TRACE(book);
        const QString path = copy(book);
        TZipPackage before;
        ASSERT_TRUE(before.open(path, nullptr));
        QString error;
        auto sheet = OpenWorksheet(path, QStringLiteral("Nortavex"), QLocale::c(), &error);
        ASSERT_TRUE(sheet) << error.toStdString();
        ASSERT_TRUE(sheet->setCellText(10, 22, QStringLiteral("12.5"), &error));
        ASSERT_TRUE(sheet->save(&error)) << error.toStdString();
        TZipPackage after;
        ASSERT_TRUE(after.open(path, nullptr));
        int sheets = 0;
        for (const QString& part : before.entryNames()) {
            if (!part.startsWith(QLatin1String("xl/worksheets/sheet")))
                continue;
            SCOPED_TRACE(part.toStdString());
            ++sheets;
            const QByteArray old = before.entry(part);
            const QByteArray now = after.entry(part);
            EXPECT_FALSE(cached.match(QString::fromUtf8(now)).hasMatch());
            EXPECT_FALSE(typedFormula.match(QString::fromUtf8(now)).hasMatch());
            QStringList expected = formulas(old);
            if (part == FormulasSheet && QLatin1String(book) == QLatin1String("book_array.xlsx")) {
                expected.removeOne(QStringLiteral("<f>Q10/2</f>")); // V10 was written
            } else if (part == FormulasSheet) {
                // V10, the master of the shared group, was written: V11 takes the group over.
                expected.replaceInStrings(
                    QStringLiteral("<f t=\"shared\" ref=\"V10:V19\" si=\"0\">Q10/2</f>"),
                    QStringLiteral("<f t=\"shared\" ref=\"V11:V19\" si=\"0\">Q11/2</f>"));
                expected.removeOne(QStringLiteral("<f t=\"shared\" si=\"0\"/>"));
            }
            QStringList found = formulas(now);
            found.sort();
            expected.sort();
            EXPECT_EQ(found.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
        }
        EXPECT_EQ(sheets, 3);
        QFile::remove(path);
    }
}

} // namespace
