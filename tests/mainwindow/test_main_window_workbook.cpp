// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentState.h"
#include "NoPause.h"
#include "ProgramFolder.h"
#include "link/Pause.h"
#include "commands/ApplicationState.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/TreeLines.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "files/ValveCache.h"
#include "spreadsheet/Workbook.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeView>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class WorkbookWindowApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_main_window_workbook";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new WorkbookWindowApplication);

// The menu items as the user picks them, on copies of the fixture books.
class MainWindowWorkbook : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state = MakeProgramFolder(dir);
        auto catalogue = std::make_unique<TValveCatalogue>();
        catalogue->ManufacturerCount = 1;
        catalogue->TypeCounts[0] = 3;
        std::memcpy(catalogue->ManufacturerNames[0], "Acme", 4);
        std::memcpy(catalogue->Valves[0].Name, "AQ-V 10", 7);
        std::memcpy(catalogue->Valves[1].Name, "AQ-V 15", 7);
        std::memcpy(catalogue->Valves[2].Name, "AQ-V 20", 7);
        ASSERT_TRUE(SaveValveCache(state->CacheDir, *catalogue));
        window = std::make_unique<TMainF>(*state, ui, clock);
        window->setPause(noPause);
        window->setExitFunction([](int) {});
        window->StartupSequence();
        ui.Log.clear();
    }

    QString book(const char* fixture) {
        const QString copy = dir.filePath(QString::fromLatin1(fixture));
        QFile::remove(copy);
        EXPECT_TRUE(
            QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/") + QString::fromLatin1(fixture), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }
    void pick(const char* item) {
        QAction* a = window->action(QLatin1String(item));
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled()) << item;
        a->trigger();
    }
    QStringList treeTexts() const {
        return allLineTexts(window->editor().tree());
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TMainF> window;
};

TEST_F(MainWindowWorkbook, ImportGivesALockedProjectWithItsBranchesInTheTree) {
    EXPECT_FALSE(window->action(u"mExportXLS2"_qs)->isEnabled());
    ui.FilesToOpen << book("book_plain.xlsx");
    pick("mImportXLS");

    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join(u'\n').toStdString();
    EXPECT_EQ(state->Document.project().branchCount(), 7);
    EXPECT_TRUE(state->Document.project().isLocked());
    EXPECT_EQ(state->Document.project().Branches[0].Valve_Index, 2); // "AQ-V" sized "3/4"
    EXPECT_TRUE(state->Document.state().Modified);
    EXPECT_EQ(state->Document.state().ProjectFileName, dir.filePath(u"book_plain.proj"_qs));
    EXPECT_TRUE(treeTexts().contains(u"Branch: Riser 1-Floor 1-"_qs)) << treeTexts().join(u'|').toStdString();
    EXPECT_EQ(ui.Status, u"The project was successfully imported."_qs);
    EXPECT_TRUE(window->action(u"mExportXLS2"_qs)->isEnabled());
}

// The import item stays on while a new branch waits for confirmation; the imported project must not
// inherit that pending edit, which would leave the tree locked with no panel to end it.
TEST_F(MainWindowWorkbook, ImportDuringAPendingBranchEditLeavesTheEditorUsable) {
    window->editor().AddBranch();
    ASSERT_TRUE(window->editor().NewBranchPending());
    ASSERT_FALSE(window->editor().tree()->isEnabled());

    ui.Answers << IUserInterface::Answer::No; // the project with the pending branch is not saved
    ui.FilesToOpen << book("book_plain.xlsx");
    pick("mImportXLS");

    EXPECT_EQ(state->Document.project().branchCount(), 7);
    EXPECT_FALSE(window->editor().NewBranchPending());
    EXPECT_FALSE(window->editor().BranchEditPending());
    EXPECT_TRUE(window->editor().tree()->isEnabled());
    EXPECT_TRUE(window->action(u"mSaveAsPrj"_qs)->isEnabled());
}

TEST_F(MainWindowWorkbook, ABookWithoutTheSheetLeavesTheProject) {
    ui.FilesToOpen << book("book_plain.xlsx");
    pick("mImportXLS");
    ASSERT_EQ(state->Document.project().branchCount(), 7);
    const QStringList tree = treeTexts();

    ui.Answers << IUserInterface::Answer::No; // the unsaved import is not saved
    ui.FilesToOpen << book("book_no_sheet.xlsx");
    pick("mImportXLS");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(u"Nortavex"_qs));
    EXPECT_EQ(state->Document.project().branchCount(), 7);
    EXPECT_EQ(DecodeInstrumentText(state->Document.project().Header.Name, NameFieldSize, 0), u"book_plain"_qs);
    EXPECT_EQ(state->Document.state().ProjectFileName, dir.filePath(u"book_plain.proj"_qs));
    EXPECT_EQ(treeTexts(), tree);
}

TEST_F(MainWindowWorkbook, ExportWritesTheResultsIntoTheBook) {
    const QString target = book("book_plain.xlsx");
    ui.FilesToOpen << target;
    pick("mImportXLS");
    replaceProject(state->Document, [](TProject& p) {
        p.Branches[0].Final_Flow = 12.34;
        p.Branches[0].Final_Presetting = 5.0;
    });

    ui.FilesToOpen << target;
    pick("mExportXLS2");
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join(u'\n').toStdString();
    EXPECT_EQ(ui.Status, u"The project was successfully exported."_qs);
    EXPECT_TRUE(state->Document.project().isLocked());

    QString error;
    const auto sheet = OpenWorksheet(target, u"Nortavex"_qs, QLocale::c(), &error);
    ASSERT_TRUE(sheet) << error.toStdString();
    EXPECT_EQ(sheet->cellText(10, 21), u"AQ-V 20"_qs);
    EXPECT_EQ(sheet->cellText(10, 22), u"12.3"_qs);
    EXPECT_EQ(sheet->cellText(10, 23), u"5"_qs); // " 5.0" went in as a number cell
    EXPECT_EQ(sheet->cellText(10, 2), u"Riser 1"_qs);
}

} // namespace
