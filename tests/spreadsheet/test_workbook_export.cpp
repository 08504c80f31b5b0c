// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Translator.h"
#include "DocumentState.h"
#include "model/ProjectRecords.h"
#include "spreadsheet/Workbook.h"
#include "commands/WorkbookCommands.h"
#include "spreadsheet/WorkbookExport.h"
#include "spreadsheet/XlsWorkbook.h"
#include "test_workbook_fake_sheet.h"
#include "commands/ScriptedUserInterface.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(WorkbookCells, FinalValuesAreFormattedWithOneDecimalAndMarkersStayEmpty) {
    const struct {
        double value;
        const char* flow;
        const char* presetting;
    } cases[] = {
        {5.0, " 5.0", " 5.0"},
        {12.34, "12.3", "12.3"},
        {0.0, " 0.0", " 0.0"},
        {1234.56, "1234.6", "1234.6"},
        {PresettingNone, "-1.0", "-1.0"},
        {NoValue, "", "-9999999.0"},
        {PresettingEmpty, "-1000.0", ""},
    };
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // a point whatever the locale
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatFinalFlowCell(c.value), QString::fromUtf8(c.flow));
        EXPECT_EQ(FormatFinalPresettingCell(c.value), QString::fromUtf8(c.presetting));
    }
    QLocale::setDefault(QLocale::c());
}

class WorkbookExport : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TProjectDocument document;
    const TProject* project = &document.project();
    std::unique_ptr<TValveCatalogue> catalogue = std::make_unique<TValveCatalogue>();
    TScriptedUserInterface ui;
    TIdentityTranslator translator;
    TSpreadsheetColumns columns;
    TFakeSheetData sheet;
    QString openedSheet;
    TProjectCommandContext projectContext{document, ui, translator, 0, QLocale::c(), {}};
    TWorkbookCommandContext context{projectContext, columns, *catalogue,
                                    [this](const QString&, const QString& name, const QLocale&, QString*,
                                           const ITranslator&) -> std::unique_ptr<IWorksheet> {
                                        openedSheet = name;
                                        return std::make_unique<TFakeWorksheet>(sheet);
                                    }};

    void SetUp() override {
        setValveName(*catalogue, 4, "AQ-V 15");
        replaceProject(document, [](TProject& p) {
            p.Header.Branch_Count = 2;
            p.Branches[0].Valve_Index = 4;
            p.Branches[0].Final_Flow = 12.34;
            p.Branches[0].Final_Presetting = 5.0;
            p.Branches[1].Valve_Index = 1200; // past the table: no name
            p.Branches[1].Final_Flow = NoValue;
            p.Branches[1].Final_Presetting = PresettingEmpty;
        });
        sheet.Protected = true;
        sheet.Password = u"MarbleFoxQz"_qs;
        changeState(document, [&](TDocumentState& s) {
            s.ProjectFileName = dir.filePath(u"Plan.proj"_qs);
            s.HasFileName = true;
        });
    }
    QString workbook(const char* name = "Plan.xlsx") {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }
    QString written(int r, int c) const { return sheet.Written.value({r, c}, u"<none>"_qs); }
};

TEST_F(WorkbookExport, ResultsGoIntoTheBranchRowsOfTheUnprotectedSheet) {
    const auto before = std::make_unique<TProject>(*project);
    ui.FilesToOpen << workbook();
    ASSERT_EQ(ExportWorkbookCommand(context), TWorkbookResult::Done);
    EXPECT_EQ(openedSheet, u"Nortavex"_qs);
    EXPECT_EQ(sheet.PasswordsTried, QList<QString>{u"MarbleFoxQz"_qs});
    EXPECT_EQ(sheet.Saves, 1);
    EXPECT_EQ(written(10, 21), u"AQ-V 15"_qs);
    EXPECT_EQ(written(10, 22), u"12.3"_qs);
    EXPECT_EQ(written(10, 23), u" 5.0"_qs);
    EXPECT_EQ(written(11, 21), QString());
    EXPECT_EQ(written(11, 22), QString());
    EXPECT_EQ(written(11, 23), QString());
    EXPECT_EQ(sheet.Written.size(), 6);
    EXPECT_EQ(std::memcmp(project, before.get(), sizeof(TProject)), 0);
    EXPECT_TRUE(document.state().Modified);
    EXPECT_FALSE(document.state().IsNewProject);
    EXPECT_TRUE(document.state().HasFileName);
    EXPECT_EQ(ui.Status, u"The project was successfully exported."_qs);
}

TEST_F(WorkbookExport, ColumnsComeFromTheSettingsAndAnEmptyProjectStillSaves) {
    columns.FirstLine = 3;
    columns.ExportValve = 5;
    columns.ExportFinalFlow = 6;
    columns.ExportFinalPresetting = 7;
    ASSERT_EQ(ExportWorkbookFile(context, workbook()), TWorkbookResult::Done);
    EXPECT_EQ(written(3, 5), u"AQ-V 15"_qs);
    EXPECT_EQ(written(4, 6), QString());
    EXPECT_EQ(written(3, 7), u" 5.0"_qs);

    sheet = TFakeSheetData{};
    replaceProject(document, [](TProject& p) { p.Header.Branch_Count = 0; });
    ASSERT_EQ(ExportWorkbookFile(context, workbook()), TWorkbookResult::Done);
    EXPECT_EQ(sheet.Saves, 1);
    EXPECT_TRUE(sheet.Written.isEmpty());
}

TEST_F(WorkbookExport, AnyFailureLeavesTheWorkbookAndTheStateAlone) {
    const struct {
        const char* what;
        bool wrongPassword, failWrites, failSave;
        const char* message;
    } cases[] = {
        {"wrong password", true, false, false, "password"},
        {"a cell that breaks the workbook", false, false, false, "array formula"},
        {"failed save", false, false, true, "saved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sheet = TFakeSheetData{};
        sheet.Protected = true;
        sheet.Password = c.wrongPassword ? u"Other"_qs : u"MarbleFoxQz"_qs;
        sheet.FailWrites = c.failWrites;
        sheet.RefuseColumn = c.failWrites || c.wrongPassword || c.failSave ? 0 : 22;
        sheet.FailSave = c.failSave;
        document.setModified(false);
        ui.Log.clear();
        ui.Status.clear();
        EXPECT_EQ(ExportWorkbookFile(context, workbook()), TWorkbookResult::Failed);
        EXPECT_TRUE(sheet.Written.isEmpty());
        EXPECT_FALSE(document.state().Modified);
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_TRUE(ui.messages()[0].contains(QString::fromUtf8(c.message)));
        EXPECT_NE(ui.Status, u"The project was successfully exported."_qs);
    }
}

TEST_F(WorkbookExport, CellsThatCannotBeWrittenAreSkippedCountedAndReported) {
    sheet.FailColumn = 22;
    ASSERT_EQ(ExportWorkbookFile(context, workbook()), TWorkbookResult::Done);
    EXPECT_EQ(sheet.Saves, 1);
    EXPECT_EQ(written(10, 21), u"AQ-V 15"_qs);
    EXPECT_EQ(written(10, 23), u" 5.0"_qs);
    EXPECT_EQ(written(10, 22), u"<none>"_qs);
    EXPECT_EQ(sheet.Written.size(), 4);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(u"some cells could not be written: 2."_qs))
        << ui.messages()[0].toStdString();
    EXPECT_TRUE(ui.messages()[0].contains(u"The cell cannot be written."_qs));
    EXPECT_EQ(ui.Status, u"The project was exported, but some cells could not be written"_qs);
    EXPECT_TRUE(document.state().Modified);

    // A column from the settings outside the worksheet, on a real book.
    sheet = TFakeSheetData{};
    columns.ExportFinalFlow = 20000;
    const QString book = dir.filePath(u"plain.xlsx"_qs);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/book_plain.xlsx"), book));
    QFile::setPermissions(book, QFile::ReadOwner | QFile::WriteOwner);
    context.Open = OpenWorksheet;
    ui.Log.clear();
    ASSERT_EQ(ExportWorkbookFile(context, book), TWorkbookResult::Done);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(u"column 20000 lies outside the worksheet"_qs))
        << ui.messages()[0].toStdString();
    QString error;
    EXPECT_EQ(OpenWorksheet(book, u"Nortavex"_qs, QLocale::c(), &error)->cellText(10, 21), u"AQ-V 15"_qs);
}

TEST_F(WorkbookExport, AnArrayFormulaOverAResultCellLeavesTheBookAsItWas) {
    const QString book = dir.filePath(u"array.xlsx"_qs);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/book_array.xlsx"), book));
    QFile::setPermissions(book, QFile::ReadOwner | QFile::WriteOwner);
    const auto bytes = [&] {
        QFile f(book);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    };
    const QByteArray before = bytes();
    replaceProject(document, [](TProject& p) { p.Header.Branch_Count = 3; });
    context.Open = OpenWorksheet;
    EXPECT_EQ(ExportWorkbookFile(context, book), TWorkbookResult::Failed);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(u"W10"_qs)) << ui.messages()[0].toStdString();
    EXPECT_EQ(bytes(), before);
    EXPECT_FALSE(document.state().Modified);
}

TEST_F(WorkbookExport, ALegacyWorkbookIsRefusedWithTheSaveAsAdvice) {
    const QString copy = dir.filePath(u"book.xls"_qs);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/book_legacy.xls"), copy));
    const QByteArray before = [&] {
        QFile f(copy);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    context.Open = OpenXlsWorksheet;
    EXPECT_EQ(ExportWorkbookFile(context, copy), TWorkbookResult::Failed);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0], XlsReadOnlyMessage());
    EXPECT_FALSE(ui.messages()[0].contains(u"not installed"_qs));
    QFile f(copy);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

// Every sentence a real workbook gives the user passes through the message catalogue: here one that
// brackets what it translates, so an untranslated part shows.
TEST_F(WorkbookExport, WorkbookMessagesAreInTheUsersLanguage) {
    class TBracketing final : public ITranslator {
    public:
        QString Translate(const QString& english) const override { return u'<' + english + u'>'; }
    } bracketing;
    TProjectCommandContext bracketed{document, ui, bracketing, 0, QLocale::c(), {}};
    TWorkbookCommandContext c{bracketed, columns, *catalogue, {}};
    const auto book = [&](const char* fixture) {
        const QString path = dir.filePath(QString::fromLatin1(fixture));
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/") + QLatin1String(fixture), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    };
    const struct {
        const char* fixture;
        const char* english;
    } cases[] = {
        {"book_protected_other.xlsx", "<The password does not unprotect the worksheet.>"},
        {"book_legacy.xls", "<This workbook is in the old Excel format (.xls)"},
        {"book_no_sheet.xlsx", "<The workbook %1 has no worksheet \"%2\".>"},
        {"book_array.xlsx", "<The cell %1 lies in the %2 %3 of the cell %4,"},
        {"missing.xlsx", "<The workbook %1 does not exist.>"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.fixture);
        ui.Log.clear();
        const QString path = QLatin1String(k.fixture) == QLatin1String("missing.xlsx")
                                 ? dir.filePath(u"missing.xlsx"_qs)
                                 : book(k.fixture);
        EXPECT_EQ(ExportWorkbookFile(c, path), TWorkbookResult::Failed);
        ASSERT_EQ(ui.messages().size(), 1);
        // The pattern was translated before the file names went in.
        QString expected = QString::fromUtf8(k.english);
        expected.replace(u"%1"_qs, path).replace(u"%2"_qs, u"Nortavex"_qs);
        if (QLatin1String(k.fixture) == QLatin1String("book_array.xlsx"))
            expected = u"<The cell %1 lies in the"_qs.replace(u"%1"_qs, u"W10"_qs);
        EXPECT_TRUE(ui.messages()[0].startsWith(expected)) << ui.messages()[0].toStdString();
        EXPECT_TRUE(ui.messages()[0].endsWith(u'>')) << ui.messages()[0].toStdString();
    }
    // The reason of a skipped cell too.
    ui.Log.clear();
    columns.ExportFinalFlow = 20000;
    ASSERT_EQ(ExportWorkbookFile(c, book("book_plain.xlsx")), TWorkbookResult::Done);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(
        ui.messages()[0].endsWith(u"\n<The cell in row 11, column 20000 lies outside the worksheet.>"_qs) ||
        ui.messages()[0].endsWith(u"\n<The cell in row 10, column 20000 lies outside the worksheet.>"_qs))
        << ui.messages()[0].toStdString();
}

TEST_F(WorkbookExport, ACancelledDialogDoesNothing) {
    EXPECT_EQ(ExportWorkbookCommand(context), TWorkbookResult::Cancelled);
    EXPECT_TRUE(openedSheet.isEmpty());
    EXPECT_TRUE(ui.messages().isEmpty());
}

} // namespace
