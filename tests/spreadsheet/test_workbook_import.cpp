// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentState.h"
#include "model/Translator.h"
#include "model/InstrumentText.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "commands/WorkbookCommands.h"
#include "spreadsheet/WorkbookImport.h"
#include "test_workbook_fake_sheet.h"
#include "commands/ScriptedUserInterface.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(WorkbookNames, ProjectNameAndFileFollowTheWorkbook) {
    const struct {
        const char* path;
        const char* name;
        const char* file;
    } cases[] = {
        {"/d/Plan.xlsx", "Plan", "/d/Plan.proj"},
        {"/d/Plan.xlsm", "Plan", "/d/Plan.proj"},
        {"/d/Plan.xls", "Plan", "/d/Plan.proj"},
        {"/d/Plan.ods", "Plan.ods", "/d/Plan.proj"},
        {"/d.v2/Plan", "Plan", "/d.v2/Plan.proj"},
        {"/d/An office block with a long name.xlsx", "An office block with a long name",
         "/d/An office block with a long name.proj"},
        {"/d/An office block with a longer name.xlsx", "An office block with a longer na",
         "/d/An office block with a longer name.proj"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ProjectNameForWorkbook(QString::fromUtf8(c.path)), QString::fromUtf8(c.name));
        EXPECT_EQ(ProjectFileNameForWorkbook(QString::fromUtf8(c.path)), QString::fromUtf8(c.file));
    }
}

class ValveMatching : public ::testing::Test {
protected:
    std::unique_ptr<TValveCatalogue> catalogue = std::make_unique<TValveCatalogue>();
    void SetUp() override {
        setValveName(*catalogue, 3, "AQ-V");
        setValveName(*catalogue, 4, "AQ-V");
        setValveName(*catalogue, 5, "AQ-V");
        setValveName(*catalogue, 10, "HR 100");
        setValveName(*catalogue, 998, "Last");
        setValveName(*catalogue, 999, "Last");
    }
};

TEST_F(ValveMatching, FirstTypeContainingTheDesignationThenTheSize) {
    const struct {
        const char* valve;
        const char* dimension;
        int slot;
    } cases[] =
        {
            {"AQ-V", "", 3},     {"AQ-V", "1/2", 4}, {"AQ-V", "DN15", 4}, {"AQ-V", "3/4", 5},
            {"AQ-V", "20", 5},   {"AQ-V", "25", 3},  {"AQ", "", 3},       {"aq-v", "15", 0},
            {"", "15", 0},       {"100", "", 10},    {"HR 1000", "", 0},  {"Last", "", 998},
            {"Last", "20", 998}, // a size past the table keeps the matched type
            {"Last", "15", 999},
        };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.valve) + " / " + c.dimension);
        EXPECT_EQ(MatchValve(*catalogue, QString::fromUtf8(c.valve), QString::fromUtf8(c.dimension), 0),
                  c.slot);
    }
}

class WorkbookImport : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TProjectDocument document;
    const TProject* project = &document.project();
    std::unique_ptr<TValveCatalogue> catalogue = std::make_unique<TValveCatalogue>();
    TScriptedUserInterface ui;
    TIdentityTranslator translator;
    TSpreadsheetColumns columns;
    TFakeSheetData sheet;
    int opened = 0;
    TProjectCommandContext projectContext{document, ui, translator, 0, QLocale::c(), {}};
    TWorkbookCommandContext context{projectContext, columns, *catalogue,
                                    [this](const QString&, const QString& name, const QLocale&,
                                           QString* error,
                                           const ITranslator&) -> std::unique_ptr<IWorksheet> {
                                        ++opened;
                                        if (name != u"Nortavex"_qs) {
                                            *error = u"wrong sheet name"_qs;
                                            return nullptr;
                                        }
                                        if (missingSheet) {
                                            *error = u"The workbook has no worksheet \"Nortavex\"."_qs;
                                            return nullptr;
                                        }
                                        return std::make_unique<TFakeWorksheet>(sheet);
                                    }};
    bool missingSheet = false;

    void SetUp() override { setValveName(*catalogue, 7, "AQ-V"); }

    QString workbook(const char* name = "Plan.xlsx") {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }
    void row(int r, const char* n1, const char* n2, const char* n3, const char* flow = "",
             const char* valve = "", const char* dim = "") {
        const auto put = [&](int c, const char* text) {
            if (*text)
                sheet.Cells.insert({r, c}, QString::fromUtf8(text));
        };
        put(columns.Name1, n1);
        put(columns.Name2, n2);
        put(columns.Name3, n3);
        put(columns.ImportRequestFlow, flow);
        put(columns.ImportValve, valve);
        put(columns.ImportDimension, dim);
    }
    QString branchName(int k) const {
        return DecodeInstrumentText(project->Branches[k].Name, NameFieldSize, 0);
    }
    QString projectName() const { return DecodeInstrumentText(project->Header.Name, NameFieldSize, 0); }
};

TEST_F(WorkbookImport, RowsBecomeBranchesOfALockedProject) {
    row(10, "Riser 1", "Floor 2", "Rad 3", "450", " AQ-V ", " 3/4 ");
    row(11, "R2", "", "", "", "Nope", "");
    row(12, "R3", "F", "T", "abc", "", "15");
    row(13, "", "ignored", "ignored", "1");
    row(14, "after the gap", "", "");
    // A slot of the old project.
    replaceProject(document, [](TProject& p) { p.Branches[5].Final_Flow = 77.0; });
    ui.FilesToOpen << workbook("Lindenweg office block project.xlsx");

    ASSERT_EQ(ImportWorkbookCommand(context), TWorkbookResult::Done);

    ASSERT_EQ(project->branchCount(), 3);
    EXPECT_EQ(branchName(0), u"Riser 1-Floor 2-"_qs); // cut to the 16-byte field
    EXPECT_EQ(branchName(1), u"R2--"_qs);
    EXPECT_EQ(branchName(2), u"R3-F-T"_qs);
    EXPECT_EQ(project->Branches[0].Valve_Index, 9);
    EXPECT_EQ(project->Branches[1].Valve_Index, 0);
    EXPECT_EQ(double{project->Branches[0].Request_Flow}, 450.0);
    EXPECT_EQ(double{project->Branches[2].Request_Flow}, 0.0);
    for (int k = 0; k < 3; ++k) {
        const TBranch& b = project->Branches[k];
        EXPECT_EQ(double{b.Initial_Presetting}, 1.0);
        EXPECT_EQ(double{b.Initial_Pressure} + double{b.Initial_Flow} + double{b.Final_Presetting} +
                      double{b.Final_Pressure} + double{b.Final_Flow},
                  0.0);
        EXPECT_EQ(b.Reserved, 0);
        EXPECT_EQ(b.Valve_Chksm, 0);
    }
    EXPECT_EQ(double{project->Branches[5].Final_Flow}, 0.0);
    EXPECT_EQ(projectName(), u"Lindenweg office"_qs);
    EXPECT_TRUE(project->isLocked());
    EXPECT_EQ(project->Header.Last_Change[0], 0);
    EXPECT_EQ(document.state().ProjectFileName, dir.filePath(u"Lindenweg office block project.proj"_qs));
    EXPECT_FALSE(document.state().IsNewProject);
    EXPECT_TRUE(document.state().Modified);
    EXPECT_FALSE(document.state().LinkedToInstrument);
    EXPECT_TRUE(document.state().HasFileName);
    EXPECT_EQ(ui.Status, u"The project was successfully imported."_qs);
    QStringList statuses;
    for (const auto& s : ui.Log)
        if (s.Kind == u"status"_qs)
            statuses << s.Text;
    EXPECT_EQ(statuses.first(), u"Importing line:1"_qs);
    EXPECT_TRUE(statuses.contains(u"Importing line:4"_qs));
    EXPECT_FALSE(statuses.contains(u"Importing line:5"_qs));
    EXPECT_GT(ui.EventsProcessed, 0);
}

TEST_F(WorkbookImport, AnEmptyFirstRowGivesAnEmptyLockedProject) {
    replaceProject(document, [](TProject& p) { p.Header.Branch_Count = 4; });
    ASSERT_EQ(ImportWorkbookFile(context, workbook("Empty.xlsm")), TWorkbookResult::Done);
    EXPECT_EQ(project->branchCount(), 0);
    EXPECT_TRUE(project->isLocked());
    EXPECT_EQ(projectName(), u"Empty"_qs);
}

TEST_F(WorkbookImport, RequestedFlowUsesTheLocaleOfTheCellTexts) {
    projectContext.Locale = QLocale(QLocale::German, QLocale::Germany);
    const struct {
        const char* text;
        double flow;
    } cases[] = {{"1250,25", 1250.25}, {"95.5", 0.0}, {"1.500", 0.0},
                 {"-3", -3.0},         {"", 0.0},     {"12 l/h", 0.0}};
    int r = 10;
    for (const auto& c : cases)
        row(r++, "B", "", "", c.text);
    ASSERT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Done);
    for (int k = 0; k < int(std::size(cases)); ++k) {
        SCOPED_TRACE(cases[k].text);
        EXPECT_EQ(double{project->Branches[k].Request_Flow}, cases[k].flow);
    }
}

TEST_F(WorkbookImport, ColumnsAndFirstLineComeFromTheSettings) {
    columns = TSpreadsheetColumns{3, 1, 9, 8, 5, 6, 22, 7, 21, 22, 23};
    row(3, "A", "B", "C", "12", "AQ-V", "1/2");
    sheet.Cells.insert({10, 2}, u"default layout"_qs);
    ASSERT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Done);
    ASSERT_EQ(project->branchCount(), 1);
    EXPECT_EQ(branchName(0), u"A-B-C"_qs);
    EXPECT_EQ(project->Branches[0].Valve_Index, 8);
    EXPECT_EQ(double{project->Branches[0].Request_Flow}, 12.0);
}

TEST_F(WorkbookImport, AtMostFifteenHundredRowsAreRead) {
    for (int n : {1500, 1501}) {
        SCOPED_TRACE(n);
        sheet.Cells.clear();
        for (int k = 0; k < n; ++k)
            sheet.Cells.insert({10 + k, 2}, QString::number(k));
        ASSERT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Done);
        EXPECT_EQ(project->branchCount(), 1500);
        EXPECT_EQ(branchName(1499), u"1499--"_qs);
    }
}

TEST_F(WorkbookImport, AFailedReadLeavesProjectAndStateAsTheyWere) {
    replaceProject(document, [](TProject& p) {
        p.Header.Branch_Count = 2;
        EncodeInstrumentText(u"Kept"_qs, p.Header.Name, NameFieldSize, 0);
        EncodeInstrumentText(u"Old branch"_qs, p.Branches[0].Name, NameFieldSize, 0);
    });
    changeState(document, [&](TDocumentState& s) {
        s.ProjectFileName = u"/kept.proj"_qs;
        s.Modified = true;
        s.LinkedToInstrument = true;
    });
    const auto before = std::make_unique<TProject>(*project);
    const TDocumentState stateBefore = document.state();
    row(10, "New", "", "");

    // Neither a missing worksheet nor a missing file nor a cancelled dialog changes anything.
    missingSheet = true;
    EXPECT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Failed);
    missingSheet = false;
    EXPECT_EQ(ImportWorkbookFile(context, dir.filePath(u"gone.xlsx"_qs)), TWorkbookResult::Failed);
    EXPECT_EQ(ImportWorkbookCommand(context), TWorkbookResult::Cancelled);

    EXPECT_EQ(std::memcmp(project, before.get(), sizeof(TProject)), 0);
    EXPECT_EQ(document.state().ProjectFileName, stateBefore.ProjectFileName);
    EXPECT_EQ(document.state().Modified, stateBefore.Modified);
    EXPECT_EQ(document.state().LinkedToInstrument, stateBefore.LinkedToInstrument);
    EXPECT_EQ(document.state().HasFileName, stateBefore.HasFileName);
    const QStringList shown = ui.messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].contains(u"Nortavex"_qs));
    EXPECT_TRUE(shown[1].contains(u"gone.xlsx"_qs));
    for (const auto& s : ui.Log)
        if (s.Kind == u"message"_qs)
            EXPECT_EQ(s.Caption, u"Error"_qs);
}

// Imported names keep their text in a table that holds them; a name the project file would cut
// ("</") refuses the import, and names no table holds are listed first.
TEST_F(WorkbookImport, NamesKeepTheirTextOrAreRefusedOrListedFirst) {
    projectContext.CodePage = 3; // English: the Latin table is in force
    row(10, "Kotelna", "Žižkov", "1");
    ASSERT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Done);
    EXPECT_EQ(NameText(*project, project->Branches[0].Name), u"Kotelna-Žižkov-1"_qs);
    EXPECT_EQ(project->NamesCodePage, 0);

    const auto before = std::make_unique<TProject>(*project);
    row(11, "Pump </", "2", "");
    EXPECT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Failed);
    EXPECT_EQ(ui.messages().last(),
              u"The name \"Pump </-2-\" contains \"</\", which a project file cannot keep."_qs);
    EXPECT_EQ(std::memcmp(project, before.get(), sizeof(TProject)), 0);

    row(11, "Насос", "2", "");
    ui.Log.clear();
    ui.Answers = {IUserInterface::Answer::No};
    EXPECT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Cancelled);
    ASSERT_EQ(ui.Log.last().Kind, u"ask"_qs);
    EXPECT_TRUE(ui.Log.last().Text.contains(u"\"Насос-2-\""_qs)) << ui.Log.last().Text.toStdString();
    EXPECT_EQ(std::memcmp(project, before.get(), sizeof(TProject)), 0);
}

// A formula without a result reads as empty: within the rows read, the import refuses the book
// rather than end early or read a flow as 0; formulas it does not read do not matter.
TEST_F(WorkbookImport, AnUncalculatedFormulaInACellReadRefusesTheWholeBook) {
    row(10, "R1", "F1", "T1", "450", "AQ-V", "3/4");
    row(11, "R2", "F2", "T2", "95", "AQ-V", "1/2");
    const struct {
        int row, column;
        const char* cell; // empty: imported
    } cases[] = {
        {10, columns.Name1, "B10"},
        {12, columns.Name1, "B12"}, // the row that would end the import
        {11, columns.Name3, "D11"},
        {11, columns.ImportValve, "R11"},
        {10, columns.ImportDimension, "T10"},
        {11, columns.ImportRequestFlow, "Q11"},
        {10, 24, ""},            // a column the import does not read
        {13, columns.Name1, ""}, // after the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        replaceProject(document, [](TProject& p) {
            EncodeInstrumentText(u"Before"_qs, p.Header.Name, NameFieldSize, 0);
            p.Header.Branch_Count = 0;
        });
        const auto before = std::make_unique<TProject>(*project);
        sheet.Uncalculated = {{c.row, c.column}};
        ui.Log.clear();
        if (!*c.cell) {
            EXPECT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Done);
            EXPECT_EQ(project->branchCount(), 2);
            continue;
        }
        EXPECT_EQ(ImportWorkbookFile(context, workbook()), TWorkbookResult::Failed);
        EXPECT_EQ(std::memcmp(project, before.get(), sizeof(TProject)), 0);
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(
            ui.messages().first(),
            QStringLiteral("The workbook's formulas have not been calculated yet (cell %1 of the worksheet "
                           "Nortavex). Open the workbook in a spreadsheet program, save it there and import "
                           "it again.")
                .arg(QLatin1String(c.cell)));
    }
}

// Our own export takes every formula's result out of the book: importing it again before a
// spreadsheet program recalculated it is refused, and changes nothing.
TEST_F(WorkbookImport, ABookExportedWithFormulaNamesIsRefusedUntilRecalculated) {
    context.Open = {};
    const QString path = dir.filePath(u"names.xlsx"_qs);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/book_name_formulas.xlsx"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    // With the results the spreadsheet program stored, it imports like the plain book; the empty
    // text B17 gives ends it.
    ASSERT_EQ(ImportWorkbookFile(context, path), TWorkbookResult::Done)
        << ui.messages().join(u' ').toStdString();
    ASSERT_EQ(project->branchCount(), 7);
    EXPECT_EQ(branchName(6), u"Riser 3 East Win"_qs);
    replaceProject(document, [](TProject& p) { p.Branches[0].Final_Flow = 12.5f; });
    ASSERT_EQ(ExportWorkbookFile(context, path), TWorkbookResult::Done)
        << ui.messages().join(u' ').toStdString();

    const auto before = std::make_unique<TProject>(*project);
    const TDocumentState stateBefore = document.state();
    ui.Log.clear();
    EXPECT_EQ(ImportWorkbookFile(context, path), TWorkbookResult::Failed);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first(),
              u"The workbook's formulas have not been calculated yet (cell B10 of the worksheet Nortavex). "
              u"Open the workbook in a spreadsheet program, save it there and import it again."_qs);
    EXPECT_EQ(std::memcmp(project, before.get(), sizeof(TProject)), 0);
    EXPECT_EQ(document.state().ProjectFileName, stateBefore.ProjectFileName);
    EXPECT_EQ(document.state().Modified, stateBefore.Modified);
    EXPECT_EQ(document.state().HasFileName, stateBefore.HasFileName);
}

TEST_F(WorkbookImport, UnsavedChangesAreOfferedBeforeTheDialog) {
    changeState(document, [&](TDocumentState& s) {
        s.Modified = true;
        s.HasFileName = true;
        s.ProjectFileName = dir.filePath(u"old.proj"_qs);
    });
    ui.Answers << IUserInterface::Answer::Yes;
    ui.FilesToOpen << workbook();
    ASSERT_EQ(ImportWorkbookCommand(context), TWorkbookResult::Done);
    ASSERT_GE(ui.Log.size(), 2);
    EXPECT_EQ(ui.Log[0].Kind, u"ask"_qs);
    EXPECT_TRUE(QFile::exists(dir.filePath(u"old.proj"_qs)));
}

// The whole path on books a spreadsheet program wrote, with the numbers in a comma locale.
TEST_F(WorkbookImport, RealBooksImportInEveryFormat) {
    context.Open = {};
    projectContext.Locale = QLocale(QLocale::German, QLocale::Germany);
    const struct {
        const char* book;
        int branches;
        int last;
        const char* lastName;
        double lastFlow;
        int firstValve; // "AQ-V" sized "3/4" or "1/2"
    } cases[] = {
        {"book_plain.xlsx", 7, 1, "Riser 1-Floor 2-", 95.5, 9},
        {"book_macro.xlsm", 7, 4, "Riser 2-Floor 3-", 1250.25, 9},
        {"book_legacy.xls", 7, 2, "Riser 1-Floor 2-", 120.0, 9},
        {"book_1501.xlsx", 1500, 1499, "Riser 15-Floor 1", 1599.0, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.book);
        const QString path = QStringLiteral(ZRV_FIXTURES "/spreadsheet/") + QString::fromLatin1(c.book);
        ASSERT_EQ(ImportWorkbookFile(context, path), TWorkbookResult::Done)
            << ui.messages().join(u' ').toStdString();
        EXPECT_EQ(project->branchCount(), c.branches);
        EXPECT_EQ(branchName(c.last), QString::fromUtf8(c.lastName));
        EXPECT_EQ(double{project->Branches[c.last].Request_Flow}, c.lastFlow);
        EXPECT_EQ(project->Branches[0].Valve_Index, c.firstValve);
    }
    EXPECT_EQ(ImportWorkbookFile(context, QStringLiteral(ZRV_FIXTURES "/spreadsheet/book_no_sheet.xlsx")),
              TWorkbookResult::Failed);
    EXPECT_EQ(project->branchCount(), 1500);
}

} // namespace
