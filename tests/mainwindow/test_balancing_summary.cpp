// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoPause.h"
#include "ProgramFolder.h"
#include "OneValveCache.h"
#include "commands/ApplicationState.h"
#include "mainwindow/BalancingCommands.h"
#include "mainwindow/BalancingSummaryWindow.h"
#include "mainwindow/BalancingTableModel.h"
#include "mainwindow/BranchPage.h"
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
#include "model/Translator.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QTableView>
#include <QTest>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
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

    // Branches B1..B7 at the ends of the commissioning figures; 3000 Pa is the least differential
    // pressure a flow is trusted at.
    void commissioningProject() {
        const struct {
            double Requested, Final, Pressure;
        } branches[] = {
            {1450.0, 1450.0, 12000.0}, // within, Kv 4.19
            {1350.0, 1080.0, 40000.0}, // below, Kv 1.71
            {100.0, 120.0, 2000.0},    // above, uncertain
            {NoValue, NoValue, NoValue}, // not measured
            {100.0, 100.0, 0.0},       // no Kv, uncertain
            {100.0, 95.0, NoValue},    // no pressure: no Kv, not uncertain
            {100.0, NoValue, 1000.0},  // a pressure without a flow: nothing uncertain
        };
        replaceProject(state->Document, [&](TProject& p) {
            p.Header.Branch_Count = static_cast<std::int16_t>(std::size(branches));
            for (std::size_t i = 0; i < std::size(branches); ++i) {
                TBranch& b = p.Branches[i];
                b = TBranch{};
                EncodeInstrumentText(QStringLiteral("B%1").arg(i + 1), b.Name, NameFieldSize, 0);
                b.Request_Flow = branches[i].Requested;
                b.Final_Flow = branches[i].Final;
                b.Final_Pressure = branches[i].Pressure;
                b.Initial_Flow = NoValue;
                b.Initial_Pressure = NoValue;
                b.Initial_Presetting = PresettingEmpty;
                b.Final_Presetting = PresettingEmpty;
            }
        });
    }

    TBalancingSummaryWindow* shownSummary() {
        window->balancing().ShowSummary();
        TBalancingSummaryWindow* summary = window->balancing().summaryWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(summary));
        return summary;
    }

    // A column's texts in the order the view shows the rows.
    static QStringList shown(const TBalancingSummaryWindow* summary, int column) {
        QStringList texts;
        for (int r = 0; r < summary->filter()->rowCount(); ++r)
            texts << summary->filter()->index(r, column).data().toString();
        return texts;
    }

    static QModelIndex cellOf(const TBalancingSummaryWindow* summary, int branch, int column) {
        for (int r = 0; r < summary->filter()->rowCount(); ++r) {
            const QModelIndex index = summary->filter()->index(r, column);
            if (index.data(TBalancingTableModel::BranchRole).toInt() == branch)
                return index;
        }
        return {};
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

TEST_F(BalancingSummaryTest, CommissioningColumnsShowTheFinalFigures) {
    commissioningProject();
    TBalancingSummaryWindow* summary = shownSummary();
    const TBalancingTableModel* model = summary->model();
    ASSERT_EQ(model->columnCount(), SummaryColumnCount);
    QStringList captions;
    for (int c = SummaryColumnPercentOfDesign; c < SummaryColumnCount; ++c)
        captions << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("% of design"), QStringLiteral("Final pressure [kPa]"),
                                     QStringLiteral("Kv"), QStringLiteral("Remark")}));

    const struct {
        const char* Percent;
        const char* Pressure;
        const char* Kv;
        bool Uncertain;
    } expected[] = {
        {"100.0", "12.0", "4.19", false}, {"80.0", "40.0", "1.71", false}, {"120.0", "uncertain  2.00", "0.85", true},
        {"", "", "", false},              {"100.0", "uncertain  0.0", "", true}, {"95.0", "", "", false},
        {"", "1.00", "", false},
    };
    const QString why = QStringLiteral("The final flow was measured at a differential pressure below 3.00 kPa: it is uncertain");
    ASSERT_EQ(model->rowCount(), static_cast<int>(std::size(expected)));
    for (int r = 0; r < model->rowCount(); ++r) {
        SCOPED_TRACE(r + 1);
        const auto& e = expected[r];
        EXPECT_EQ(model->index(r, SummaryColumnPercentOfDesign).data().toString(), QString::fromLatin1(e.Percent));
        EXPECT_EQ(model->index(r, SummaryColumnFinalPressure).data().toString(), QString::fromLatin1(e.Pressure));
        EXPECT_EQ(model->index(r, SummaryColumnFinalKv).data().toString(), QString::fromLatin1(e.Kv));
        EXPECT_EQ(model->index(r, SummaryColumnRemark).data().toString(), QString());
        EXPECT_EQ(model->index(r, 0).data(TBalancingTableModel::UncertainRole).toBool(), e.Uncertain);
        // The mark says why, on the pressure and on the figure it puts in doubt.
        EXPECT_EQ(model->index(r, SummaryColumnFinalPressure).data(Qt::ToolTipRole).toString(),
                  e.Uncertain ? why : QString());
        EXPECT_EQ(model->index(r, SummaryColumnPercentOfDesign).data(Qt::ToolTipRole).toString(),
                  e.Uncertain ? why : QString());
        EXPECT_EQ(model->index(r, SummaryColumnFinalPressure).data(Qt::BackgroundRole).isValid(), e.Uncertain);
    }
    // The columns before them as they were: the deviation of B2 and its verdict.
    EXPECT_EQ(model->index(1, BalancingColumnDeviation).data().toString(), QStringLiteral("-20.0"));
    EXPECT_EQ(model->index(1, BalancingColumnWithin).data().toString(), QStringLiteral("No"));

    // The least trusted pressure comes from the settings: at 1 kPa B3's 2 kPa is enough, B5's 0 not.
    state->Settings.Commissioning.MinDifferentialPressure = 1000.0;
    summary->refresh();
    EXPECT_EQ(model->index(2, SummaryColumnFinalPressure).data().toString(), QStringLiteral("2.00"));
    EXPECT_EQ(model->index(4, SummaryColumnFinalPressure).data(Qt::ToolTipRole).toString(),
              QStringLiteral("The final flow was measured at a differential pressure below 1.00 kPa: it is uncertain"));

    // In pascal with the user's number format.
    state->Units.PressureUnit = 0;
    state->Units.Locale = QLocale(QLocale::German);
    summary->refresh();
    EXPECT_EQ(model->headerData(SummaryColumnFinalPressure, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Final pressure [Pa]"));
    EXPECT_EQ(model->index(1, SummaryColumnFinalPressure).data().toString(), QStringLiteral("40000"));
    EXPECT_EQ(model->index(0, SummaryColumnFinalKv).data().toString(), QStringLiteral("4,19"));
    EXPECT_EQ(model->index(0, SummaryColumnPercentOfDesign).data().toString(), QStringLiteral("100,0"));
}

// The mark and its reason are texts of the user's language.
TEST(BalancingTableModelTest, TheUncertainMarkIsTranslated) {
    class Dictionary final : public ITranslator {
    public:
        QString Translate(const QString& english) const override {
            static const QHash<QString, QString> words{
                {QStringLiteral("uncertain"), QStringLiteral("unsicher")},
                {QStringLiteral("The final flow was measured at a differential pressure below %s: it is uncertain"),
                 QStringLiteral("Unter %s unsicher")}};
            return words.value(english, english);
        }
    } german;
    TBranch branch{};
    branch.Request_Flow = 100.0;
    branch.Final_Flow = 100.0;
    branch.Final_Pressure = 500.0;
    TSummaryExtras extras{BranchFigures(branch, {}, 3000.0), QString()};
    TBalancingRow row;
    row.Branch = 0;
    TBalancingTableModel model(german);
    TUnits units;
    units.PressureUnit = 0;
    units.Locale = QLocale::c();
    model.setRows({row}, {extras}, units, 3000.0);
    EXPECT_EQ(model.index(0, SummaryColumnFinalPressure).data().toString(), QStringLiteral("unsicher  500"));
    EXPECT_EQ(model.index(0, SummaryColumnFinalPressure).data(Qt::ToolTipRole).toString(),
              QStringLiteral("Unter 3000 Pa unsicher"));
}

TEST_F(BalancingSummaryTest, CommissioningColumnsSortAsNumbersWithEmptyCellsLast) {
    commissioningProject();
    TBalancingSummaryWindow* summary = shownSummary();
    // Equal cells keep the order they had: from the branches' order here.
    auto order = [&](int column, Qt::SortOrder direction) {
        summary->view()->sortByColumn(BalancingColumnNumber, Qt::AscendingOrder);
        summary->view()->sortByColumn(column, direction);
        return shown(summary, BalancingColumnName).join(u' ').toStdString();
    };
    EXPECT_EQ(order(SummaryColumnPercentOfDesign, Qt::AscendingOrder), std::string("B2 B6 B1 B5 B3 B4 B7"));
    EXPECT_EQ(order(SummaryColumnPercentOfDesign, Qt::DescendingOrder), std::string("B3 B1 B5 B6 B2 B4 B7"));
    // As texts "12.0" would come before "2.00".
    EXPECT_EQ(order(SummaryColumnFinalPressure, Qt::AscendingOrder), std::string("B5 B7 B3 B1 B2 B4 B6"));
    EXPECT_EQ(order(SummaryColumnFinalPressure, Qt::DescendingOrder), std::string("B2 B1 B3 B7 B5 B4 B6"));
    EXPECT_EQ(order(SummaryColumnFinalKv, Qt::AscendingOrder), std::string("B3 B2 B1 B4 B5 B6 B7"));
    EXPECT_EQ(order(SummaryColumnFinalKv, Qt::DescendingOrder), std::string("B1 B2 B3 B4 B5 B6 B7"));

    // Remarks by their words, whatever their case; branches without one last.
    QAbstractItemModel* rows = summary->filter();
    ASSERT_TRUE(rows->setData(cellOf(summary, 2, SummaryColumnRemark), QStringLiteral("b: replace"), Qt::EditRole));
    ASSERT_TRUE(rows->setData(cellOf(summary, 5, SummaryColumnRemark), QStringLiteral("A: vented"), Qt::EditRole));
    QApplication::processEvents();
    EXPECT_EQ(order(SummaryColumnRemark, Qt::AscendingOrder), std::string("B6 B3 B1 B2 B4 B5 B7"));
    EXPECT_EQ(order(SummaryColumnRemark, Qt::DescendingOrder), std::string("B3 B6 B1 B2 B4 B5 B7"));
}

// Typed in the view, the remark is an edit of the project like any other: undone, done again,
// marking the project changed, but leaving its last change (the project file holds no remarks).
TEST_F(BalancingSummaryTest, RemarkIsEditedInTheViewUndoneAndRedone) {
    TBalancingSummaryWindow* summary = shownSummary();
    QTableView* view = summary->view();
    const TProjectHeader header = state->Document.project().Header;
    ASSERT_FALSE(state->Document.state().Modified);

    // F2 anywhere in B2's row opens its remark.
    view->setCurrentIndex(cellOf(summary, 1, BalancingColumnName));
    QApplication::setActiveWindow(summary);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cellOf(summary, 1, SummaryColumnRemark)));
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("Valve seized"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();

    const auto remarkShown = [&] { return cellOf(summary, 1, SummaryColumnRemark).data().toString(); };
    EXPECT_EQ(state->Document.branchRemark(1), QStringLiteral("Valve seized"));
    EXPECT_EQ(remarkShown(), QStringLiteral("Valve seized"));
    // Whole in the tooltip, where the column cuts it.
    EXPECT_EQ(cellOf(summary, 1, SummaryColumnRemark).data(Qt::ToolTipRole).toString(), QStringLiteral("Valve seized"));
    EXPECT_TRUE(state->Document.state().Modified);
    EXPECT_EQ(std::memcmp(&state->Document.project().Header, &header, sizeof header), 0);
    QAction* undo = window->action(QStringLiteral("mUndo"));
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(window->editor().undo().undoText(state->Messages), QStringLiteral("Undo remark of branch B2"));

    undo->trigger();
    QApplication::processEvents();
    EXPECT_EQ(state->Document.branchRemark(1), QString());
    EXPECT_EQ(remarkShown(), QString());
    EXPECT_FALSE(state->Document.state().Modified);
    EXPECT_EQ(currentLine(window->editor().tree()), node(1));

    window->action(QStringLiteral("mRedo"))->trigger();
    QApplication::processEvents();
    EXPECT_EQ(state->Document.branchRemark(1), QStringLiteral("Valve seized"));
    EXPECT_EQ(remarkShown(), QStringLiteral("Valve seized"));
    EXPECT_TRUE(state->Document.state().Modified);

    // A double click on a remark edits it and leaves the main window's choice; Escape keeps it as it was.
    selectLine(node(3));
    const QModelIndex b1 = cellOf(summary, 0, SummaryColumnRemark);
    view->scrollTo(b1);
    // As the system sends it: a click, then the second press as a double click.
    const QPoint at = view->visualRect(b1).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    editor = qobject_cast<QLineEdit*>(view->indexWidget(b1));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(currentLine(window->editor().tree()), node(3));
    QTest::keyClicks(editor, QStringLiteral("dropped"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(state->Document.branchRemark(0), QString());
    EXPECT_EQ(window->editor().undo().stack().count(), 1);
    EXPECT_TRUE(summary->isVisible());
}

TEST_F(BalancingSummaryTest, RemarkStaysWithItsBranchAndWaitsForTheMainWindow) {
    TBalancingSummaryWindow* summary = shownSummary();
    ASSERT_TRUE(summary->filter()->setData(cellOf(summary, 0, SummaryColumnRemark), QStringLiteral("balanced"),
                                           Qt::EditRole));
    // B1 moves below B2, its remark with it; undone, both come back.
    selectLine(node(0));
    window->editor().MoveBranchDown();
    QApplication::processEvents();
    EXPECT_EQ(state->Document.branchRemark(1), QStringLiteral("balanced"));
    EXPECT_EQ(cellOf(summary, 1, BalancingColumnName).data().toString(), QStringLiteral("B1"));
    EXPECT_EQ(cellOf(summary, 1, SummaryColumnRemark).data().toString(), QStringLiteral("balanced"));
    EXPECT_EQ(cellOf(summary, 0, SummaryColumnRemark).data().toString(), QString());
    window->action(QStringLiteral("mUndo"))->trigger();
    QApplication::processEvents();
    EXPECT_EQ(cellOf(summary, 0, BalancingColumnName).data().toString(), QStringLiteral("B1"));
    EXPECT_EQ(cellOf(summary, 0, SummaryColumnRemark).data().toString(), QStringLiteral("balanced"));

    // While a branch page waits for its confirmation the history is not the summary's to change.
    selectLine(node(2));
    auto* page = window->editor().pages()->findChild<TBranchPage*>();
    ASSERT_NE(page, nullptr);
    QTest::keyClicks(page->Name, QStringLiteral("x"));
    ASSERT_TRUE(window->editor().BranchEditPending());
    const int edits = window->editor().undo().stack().count();
    const QModelIndex remark = cellOf(summary, 2, SummaryColumnRemark);
    EXPECT_FALSE(remark.flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(summary->editRemark(remark));
    EXPECT_FALSE(summary->filter()->setData(remark, QStringLiteral("late"), Qt::EditRole));
    EXPECT_EQ(window->editor().undo().stack().count(), edits);
    EXPECT_EQ(state->Document.branchRemark(2), QString());
}
