// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoPause.h"
#include "OneValveCache.h"
#include "ProgramFolder.h"
#include "commands/ApplicationState.h"
#include "commands/ScriptedUserInterface.h"
#include "document/EditCommands.h"
#include "document/ProjectUndo.h"
#include "mainwindow/BalancingCommands.h"
#include "mainwindow/BalancingSummaryWindow.h"
#include "mainwindow/ComparisonCommands.h"
#include "mainwindow/ComparisonTableModel.h"
#include "mainwindow/ComparisonWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/ProjectTree.h"
#include "mainwindow/TreeLines.h"
#include "mainwindow/test_dialogs_app.h"
#include "model/Clock.h"
#include "model/ProjectNames.h"
#include "printing/PrintQString.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

QString fixture(const char* name) {
    return QStringLiteral(ZRV_FIXTURES "/files/") + QLatin1String(name);
}

// The re-check of a riser open in the main window, compared with its hand-over a year before.
class ProjectComparisonWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state = MakeProgramFolder(dir);
        WriteOneValveCache(state->CacheDir);
        window = std::make_unique<TMainF>(*state, ui, clock);
        window->setPause(noPause);
        window->StartupSequence();
        window->OpenProjectPath(fixture("recheck.proj"));
        ASSERT_EQ(state->Document.project().branchCount(), 6);
    }

    TComparisonWindow* compareWith(const QString& path) {
        ui.FilesToOpen << path;
        window->action(QStringLiteral("mCompareWithProject"))->trigger();
        return window->comparison().window();
    }

    TreeLine node(int branch) {
        return {window->editor().tree(), window->editor().treeModel().branchIndex(branch)};
    }

    // A column's texts in the order the view shows the rows.
    static QString shown(const TComparisonWindow* comparison, int column) {
        QStringList texts;
        for (int r = 0; r < comparison->sorter()->rowCount(); ++r)
            texts << comparison->sorter()->index(r, column).data().toString();
        return texts.join(u'|');
    }

    static QModelIndex rowOf(const TComparisonWindow* comparison, const QString& name,
                             const QString& foundIn) {
        for (int r = 0; r < comparison->sorter()->rowCount(); ++r)
            if (comparison->sorter()->index(r, ComparisonColumnName).data().toString() == name &&
                comparison->sorter()->index(r, ComparisonColumnFoundIn).data().toString() == foundIn)
                return comparison->sorter()->index(r, ComparisonColumnName);
        return {};
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2025, 3, 14), QTime(9, 30))};
    NoPause noPause;
    std::unique_ptr<TMainF> window;
};

} // namespace

TEST_F(ProjectComparisonWindowTest, ShowsTheBranchesSortsThemAndSelectsOneInTheMainWindow) {
    TComparisonWindow* comparison = compareWith(fixture("handover.proj"));
    ASSERT_NE(comparison, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(comparison));
    // Not modal, a window of its own beside the main window.
    EXPECT_FALSE(comparison->isModal());
    EXPECT_EQ(comparison->parentWidget(), nullptr);
    EXPECT_EQ(comparison->windowTitle(), QStringLiteral("Project comparison - handover.proj"));
    EXPECT_EQ(comparison->countsText(),
              QStringLiteral("Matched: 5     Only in the old project: 1     Only in the new project: 1     "
                             "Moved beyond the tolerance (\u00B110 %): 2"));
    // The open project's order, then the branches found in one project only.
    EXPECT_EQ(shown(comparison, ComparisonColumnName),
              QStringLiteral("Flat 2|Flat 1|Radiator|Radiator|Flat 3|Old wing|New wing"));

    // The change as a number, empty cells last whichever way.
    QTableView* view = comparison->view();
    view->sortByColumn(ComparisonColumnChange, Qt::DescendingOrder);
    EXPECT_EQ(shown(comparison, ComparisonColumnChange), QStringLiteral("+50.0|0.0|0.0|-100.0|||"));
    view->sortByColumn(ComparisonColumnChange, Qt::AscendingOrder);
    EXPECT_EQ(shown(comparison, ComparisonColumnChange), QStringLiteral("-100.0|0.0|0.0|+50.0|||"));
    // 9 before 10 among the branch numbers, and the branches of the old project only after them.
    view->sortByColumn(ComparisonColumnNewNumber, Qt::DescendingOrder);
    EXPECT_EQ(shown(comparison, ComparisonColumnNewNumber), QStringLiteral("6|5|4|3|2|1|"));
    view->sortByColumn(ComparisonColumnFinalNew, Qt::AscendingOrder);
    EXPECT_EQ(shown(comparison, ComparisonColumnName).section(u'|', 0, 1),
              QStringLiteral("Radiator|New wing"));

    // A double click on the second radiator, and Enter on Flat 1, choose them in the tree.
    emit view->doubleClicked(rowOf(comparison, QStringLiteral("Radiator"), QStringLiteral("both")));
    EXPECT_EQ(currentLine(window->editor().tree()), node(3));
    view->setCurrentIndex(rowOf(comparison, QStringLiteral("Flat 1"), QStringLiteral("both")));
    QApplication::setActiveWindow(comparison);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(currentLine(window->editor().tree()), node(1));
    // A branch that is only in the old project is nowhere in the tree: the choice stays.
    emit view->doubleClicked(rowOf(comparison, QStringLiteral("Old wing"), QStringLiteral("old only")));
    EXPECT_EQ(currentLine(window->editor().tree()), node(1));
    emit view->doubleClicked(rowOf(comparison, QStringLiteral("New wing"), QStringLiteral("new only")));
    EXPECT_EQ(currentLine(window->editor().tree()), node(5));

    // Escape closes it, as the balancing summary.
    QApplication::setActiveWindow(comparison);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(comparison->isVisible());
}

// The comparison follows the open project's edits and their undo at once.
TEST_F(ProjectComparisonWindowTest, FollowsTheOpenProject) {
    TComparisonWindow* comparison = compareWith(fixture("handover.proj"));
    ASSERT_NE(comparison, nullptr);
    const QString before = comparison->countsText();
    // Flat 2 measured again at its old 250 l/h, through the undo history as the branch page does it.
    TBranch flat2 = state->Document.project().Branches[0];
    flat2.Final_Flow = 250.0;
    window->editor().undo().push(
        new TChangeBranch(state->Document, clock, 0, flat2, QStringLiteral("Flat 2")));
    QApplication::processEvents();
    EXPECT_TRUE(comparison->countsText().endsWith(QStringLiteral("(\u00B110 %): 1")))
        << qPrintable(comparison->countsText());
    EXPECT_EQ(comparison->model()->index(0, ComparisonColumnChange).data().toString(), QStringLiteral("0.0"));
    window->editor().undo().stack().undo();
    QApplication::processEvents();
    EXPECT_EQ(comparison->countsText(), before);

    // A wider tolerance typed into the balancing summary: Flat 2's +50 % lies within 60 %.
    window->balancing().ShowSummary();
    window->balancing().summaryWindow()->toleranceBox()->setValue(60);
    EXPECT_TRUE(comparison->countsText().endsWith(QStringLiteral("(\u00B160 %): 1")))
        << qPrintable(comparison->countsText());

    // Renamed, Flat 2 is paired no more.
    TBranch renamed = state->Document.project().Branches[0];
    SetNameText(state->Document.project(), QStringLiteral("Flat 2a"), renamed.Name);
    window->editor().undo().push(
        new TChangeBranch(state->Document, clock, 0, renamed, QStringLiteral("Flat 2a")));
    QApplication::processEvents();
    EXPECT_TRUE(comparison->countsText().startsWith(
        QStringLiteral("Matched: 4     Only in the old project: 2     Only in the new project: 2")))
        << qPrintable(comparison->countsText());
}

// A file that cannot be read is told as File > Open tells it, and the comparison shown stays.
TEST_F(ProjectComparisonWindowTest, AFileThatCannotBeReadChangesNothing) {
    EXPECT_EQ(compareWith(fixture("no_such.proj")), nullptr);
    ASSERT_FALSE(ui.Log.isEmpty());
    EXPECT_EQ(ui.Log.last().Kind, QStringLiteral("message"));
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
    const QString missingText = ui.Log.last().Text;

    TComparisonWindow* comparison = compareWith(fixture("handover.proj"));
    ASSERT_NE(comparison, nullptr);
    const QString counts = comparison->countsText();
    const QString damaged = dir.filePath(QStringLiteral("damaged.proj"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<Project><Branches><Branch><Name>half");
    file.close();
    const qsizetype shownBefore = ui.messages().size();
    EXPECT_EQ(compareWith(damaged), comparison);
    ASSERT_EQ(ui.messages().size(), shownBefore + 1);
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
    EXPECT_FALSE(ui.Log.last().Text.isEmpty());
    EXPECT_EQ(comparison->olderPath(), fixture("handover.proj"));
    EXPECT_EQ(comparison->countsText(), counts);

    // File > Open says the same of the missing file.
    ui.FilesToOpen << fixture("no_such.proj");
    window->OpenProject();
    EXPECT_EQ(ui.Log.last().Text, missingText);
    // The open project is the re-check still.
    EXPECT_EQ(state->Document.project().branchCount(), 6);
}
