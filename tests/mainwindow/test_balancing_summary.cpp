// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoPause.h"
#include "ProgramFolder.h"
#include "OneValveCache.h"
#include "commands/ApplicationState.h"
#include "mainwindow/BalancingCommands.h"
#include "mainwindow/BalancingSummaryWindow.h"
#include "mainwindow/BalancingTableModel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/ProjectTree.h"
#include "mainwindow/TreeLines.h"
#include "DocumentState.h"
#include "mainwindow/UnitDialog.h"
#include "mainwindow/test_dialogs_app.h"
#include "document/EditCommands.h"
#include "document/ProjectUndo.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QTableView>
#include <QTest>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

class BalancingSummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state = MakeProgramFolder(dir);
        WriteOneValveCache(state->CacheDir);
        window = std::make_unique<TMainF>(*state, ui, clock);
        window->setPause(noPause);
        window->StartupSequence();

        // Within, outside by +20 %, not measured, outside by -15 %.
        const double flows[][2] = {{100.0, 105.0}, {100.0, 120.0}, {NoValue, NoValue}, {200.0, 170.0}};
        replaceProject(state->Document, [&](TProject& p) {
            p.Header.Branch_Count = 4;
            for (int i = 0; i < 4; ++i) {
                TBranch& b = p.Branches[static_cast<std::size_t>(i)];
                b = TBranch{};
                EncodeInstrumentText(QStringLiteral("B%1").arg(i + 1), b.Name, NameFieldSize, 0);
                b.Request_Flow = flows[i][0];
                b.Final_Flow = flows[i][1];
                b.Initial_Flow = NoValue;
                b.Initial_Presetting = PresettingEmpty;
                b.Final_Presetting = PresettingEmpty;
            }
        });
    }

    TreeLine node(int branch) {
        return {window->editor().tree(), window->editor().treeModel().branchIndex(branch)};
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TMainF> window;
};

} // namespace

TEST_F(BalancingSummaryTest, TheTreeMarksBranchesOutsideTheTolerance) {
    EXPECT_TRUE(node(0)->icon(0).isNull());
    EXPECT_FALSE(node(1)->icon(0).isNull());
    EXPECT_TRUE(node(2)->icon(0).isNull());
    EXPECT_FALSE(node(3)->icon(0).isNull());
    EXPECT_EQ(node(0)->toolTip(0), QStringLiteral("Deviation: +5.0 %  (Tolerance: \u00B110 %)"));
    EXPECT_EQ(node(3)->toolTip(0), QStringLiteral("Deviation: -15.0 %  (Tolerance: \u00B110 %)"));
    EXPECT_TRUE(node(2)->toolTip(0).isEmpty());
}

TEST_F(BalancingSummaryTest, SummaryFiltersSortsAndSelectsTheBranch) {
    QAction* item = window->action(QStringLiteral("mBalancingSummary"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    TBalancingSummaryWindow* summary = window->balancing().summaryWindow();
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->filter()->rowCount(), 4);
    EXPECT_EQ(summary->countsText(),
              QStringLiteral("Within tolerance: 1     Outside tolerance: 2     Not measured: 1"));

    summary->onlyOutsideBox()->setChecked(true);
    ASSERT_EQ(summary->filter()->rowCount(), 2);

    // By deviation, largest first: the +20 % branch, then the -15 % one.
    summary->view()->sortByColumn(BalancingColumnDeviation, Qt::DescendingOrder);
    const QModelIndex first = summary->filter()->index(0, BalancingColumnName);
    EXPECT_EQ(first.data().toString(), QStringLiteral("B2"));
    EXPECT_EQ(summary->filter()->index(1, BalancingColumnDeviation).data().toString(), QStringLiteral("-15.0"));

    emit summary->view()->doubleClicked(summary->filter()->index(1, BalancingColumnName));
    EXPECT_EQ(currentLine(window->editor().tree()), node(3));
    // Enter on a row does the same.
    summary->view()->setCurrentIndex(summary->filter()->index(0, BalancingColumnName));
    QApplication::setActiveWindow(summary);
    summary->view()->setFocus();
    QTest::keyClick(summary->view(), Qt::Key_Return);
    EXPECT_EQ(currentLine(window->editor().tree()), node(1));

    // A wider tolerance brings the -15 % branch within it, in the summary and in the tree.
    summary->toleranceBox()->setValue(15);
    EXPECT_EQ(state->Settings.BalancingTolerance, 15.0);
    EXPECT_EQ(summary->filter()->rowCount(), 1);
    EXPECT_TRUE(node(3)->icon(0).isNull());
    EXPECT_FALSE(node(1)->icon(0).isNull());
}

TEST_F(BalancingSummaryTest, NumbersSortAsNumbers) {
    replaceProject(state->Document, [](TProject& p) {
        p.Branches[0].Request_Flow = 9.0;
        p.Branches[0].Final_Flow = 9.0;
        p.Branches[1].Request_Flow = 1000.0;
    });
    window->balancing().ShowSummary();
    TBalancingSummaryWindow* summary = window->balancing().summaryWindow();
    summary->view()->sortByColumn(BalancingColumnRequested, Qt::AscendingOrder);
    QStringList order;
    for (int r = 0; r < summary->filter()->rowCount(); ++r)
        order << summary->filter()->index(r, BalancingColumnName).data().toString();
    // Without a value first, then 9 < 100 < 200 < 1000 (as texts "1000" would sort before "200").
    EXPECT_EQ(order, (QStringList{QStringLiteral("B3"), QStringLiteral("B1"), QStringLiteral("B4"),
                                  QStringLiteral("B2")}));
}

// The summary follows the document and the units at once, without being activated again.
TEST_F(BalancingSummaryTest, FollowsEditsUndoUnitsAndTheTolerance) {
    window->balancing().ShowSummary();
    TBalancingSummaryWindow* summary = window->balancing().summaryWindow();
    const QString before = QStringLiteral("Within tolerance: 1     Outside tolerance: 2     Not measured: 1");
    ASSERT_EQ(summary->countsText(), before);

    // B2 measured again at 101 of 100 l/h, through the undo history as the branch page does it.
    TBranch b2 = state->Document.project().Branches[1];
    b2.Final_Flow = 101.0;
    window->editor().undo().push(new TChangeBranch(state->Document, clock, 1, b2, QStringLiteral("B2")));
    QApplication::processEvents();
    EXPECT_EQ(summary->countsText(), QStringLiteral("Within tolerance: 2     Outside tolerance: 1     Not measured: 1"));
    window->editor().undo().stack().undo();
    QApplication::processEvents();
    EXPECT_EQ(summary->countsText(), before);

    // The first start (no settings file) shows l/h; new units: the flows in m3/min, with digits
    // enough to read (100 l/h is 0.00167 m3/min).
    EXPECT_EQ(state->Units.FlowUnit, 5);
    const QModelIndex requested = summary->model()->index(0, BalancingColumnRequested);
    EXPECT_EQ(requested.data().toString(), QStringLiteral("100.0"));
    actInModal<TFUnitSel>([](TFUnitSel& units) {
        units.flowList()->setCurrentIndex(1);
        units.okButton()->click();
    }, [&] {
        window->action(QStringLiteral("mUnits"))->trigger();
        return 0;
    });
    ASSERT_EQ(state->Units.FlowUnit, 1);
    EXPECT_EQ(summary->model()->index(0, BalancingColumnRequested).data().toString(), QStringLiteral("0.00167"));
    EXPECT_EQ(summary->model()->headerData(BalancingColumnRequested, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Requested flow [m3/min]"));

    // A tolerance with decimals, typed with a point or a comma whatever the locale.
    QDoubleSpinBox* tolerance = summary->toleranceBox();
    const struct {
        QLocale Locale;
        const char* Typed;
        double Tolerance;
    } typings[] = {{QLocale::c(), "17.5", 17.5}, {QLocale::c(), "0,5", 0.5}, {QLocale(QLocale::German), "2.5", 2.5}};
    for (const auto& t : typings) {
        SCOPED_TRACE(t.Typed);
        state->Units.Locale = t.Locale;
        summary->refresh();
        tolerance->setFocus();
        QTest::keyClick(tolerance, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(tolerance, QString::fromLatin1(t.Typed));
        QTest::keyClick(tolerance, Qt::Key_Return);
        EXPECT_EQ(state->Settings.BalancingTolerance, t.Tolerance);
    }
    // At 2.5 % only B1 (+5 %) joins the outside ones; the tree follows.
    EXPECT_EQ(summary->countsText(), QStringLiteral("Within tolerance: 0     Outside tolerance: 3     Not measured: 1"));
    EXPECT_FALSE(node(0)->icon(0).isNull());
}

TEST_F(BalancingSummaryTest, FitsASmallScreenAndLeadsBackToTheMainWindow) {
    window->show();
    window->balancing().ShowSummary();
    TBalancingSummaryWindow* summary = window->balancing().summaryWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(summary));
    // Within 1024 x 768 (and within the test's smaller screen), with every button inside.
    const QRect screen = summary->screen()->availableGeometry();
    EXPECT_LE(summary->width(), std::min(1024, screen.width()));
    EXPECT_LE(summary->height(), std::min(768, screen.height()));
    for (QPushButton* button : summary->findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_TRUE(button->isVisible());
        EXPECT_TRUE(summary->rect().contains(QRect(button->mapTo(summary, QPoint(0, 0)), button->size())));
    }
    // The deviation and its verdict beside the name, in sight without scrolling.
    const QHeaderView* columns = summary->view()->horizontalHeader();
    EXPECT_EQ(columns->visualIndex(BalancingColumnDeviation), columns->visualIndex(BalancingColumnName) + 1);
    EXPECT_EQ(columns->visualIndex(BalancingColumnWithin), columns->visualIndex(BalancingColumnName) + 2);
    EXPECT_LE(summary->view()->columnViewportPosition(BalancingColumnWithin) + columns->sectionSize(BalancingColumnWithin),
              summary->view()->viewport()->width());

    // A window of its own, which the main window may cover: the double click brings the main
    // window forward with the branch chosen.
    EXPECT_EQ(summary->parentWidget(), nullptr);
    ASSERT_NE(summary->windowHandle(), nullptr);
    EXPECT_EQ(summary->windowHandle()->transientParent(), nullptr);
    summary->activateWindow();
    QApplication::processEvents();
    emit summary->view()->doubleClicked(summary->filter()->index(2, BalancingColumnName));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), window.get());
    EXPECT_EQ(currentLine(window->editor().tree()), node(2));
}
