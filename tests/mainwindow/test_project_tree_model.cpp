// SPDX-License-Identifier: GPL-3.0-or-later
// The project tree's model over the document: Qt's model checker watches it through edits, undo,
// redo and replacements, and after each step it shows what a model built afresh shows.
#include "commands/ApplicationState.h"
#include "document/EditCommands.h"
#include "document/ProjectUndo.h"
#include "mainwindow/ProjectTree.h"
#include "mainwindow/ProjectTreeBalance.h"
#include "model/BranchList.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"

#include "mainwindow/test_dialogs_app.h"
#include "test_project_editor_catalogue.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QIcon>
#include <QItemSelectionModel>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

[[maybe_unused]] const auto* const modelApplication =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// The checker's complaints, caught while a test runs.
QStringList* g_complaints = nullptr;

void catchComplaints(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (g_complaints && type != QtDebugMsg && type != QtInfoMsg)
        g_complaints->append(message);
}

// Branch i: "R<i>", valve i % 3 (0 and 2 with presettings, 1 without); branches 1 and 4 lie outside
// the 10 % tolerance (+20 %), the others within it.
std::unique_ptr<TProject> sampleProject(int count) {
    auto p = std::make_unique<TProject>();
    EncodeInstrumentText(QStringLiteral("Plant"), p->Header.Name, 16, 0);
    for (int i = 0; i < count; ++i) {
        InitBranch(*p, i);
        TBranch& b = p->Branches[i];
        EncodeInstrumentText(QStringLiteral("R%1").arg(i), b.Name, 16, 0);
        b.Valve_Index = static_cast<std::uint16_t>(i % 3);
        b.Request_Flow = 100;
        b.Initial_Flow = 90;
        b.Final_Flow = i % 3 == 1 ? 120 : 101;
        b.Initial_Presetting = 2.5;
        b.Final_Presetting = 3;
    }
    p->Header.Branch_Count = static_cast<std::int16_t>(count);
    return p;
}

struct ProjectTreeModelTest : ::testing::Test {
    TApplicationState state{QStringLiteral("/nonexistent/zrv10"), QStringLiteral("/nonexistent"),
                            QLocale::c()};
    TFixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7))};
    TProjectUndo undo{state.Document};
    QStringList complaints;
    std::unique_ptr<TProjectTreeModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
    QTreeView view;

    void SetUp() override {
        state.Units.FlowUnit = 5; // l/h
        fillCatalogue(*state.Catalogue);
        state.Settings.BalancingTolerance = 10;
        g_complaints = &complaints;
        qInstallMessageHandler(catchComplaints);
        model = makeModel();
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
        view.setModel(model.get());
        view.resize(300, 600);
        state.Document.replaceFromFile(*sampleProject(6), QStringLiteral("/p/plant.proj"));
    }
    void TearDown() override {
        tester.reset();
        qInstallMessageHandler(nullptr);
        g_complaints = nullptr;
        EXPECT_TRUE(complaints.isEmpty()) << complaints.join(u'\n').toStdString();
    }

    std::unique_ptr<TProjectTreeModel> makeModel() {
        const TApplicationState* s = &state;
        return std::make_unique<TProjectTreeModel>(
            state.Document,
            TProjectTreeSource{*state.Catalogue, state.Units, state.Messages, [s] { return s->codePage(); },
                               [s] { return s->Settings.BalancingTolerance; },
                               [s](const TBranch& b) {
                                   return BranchBalanceTip(b, s->Settings.BalancingTolerance, s->Units.Locale,
                                                           s->Messages);
                               }});
    }

    // Every line with its marks, depth first; value lines of every branch included.
    static QStringList lines(const QAbstractItemModel& m) {
        QStringList out;
        std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent, int depth) {
            for (int row = 0; row < m.rowCount(parent); ++row) {
                const QModelIndex line = m.index(row, 0, parent);
                QString text = QString(depth, u' ') + line.data().toString();
                if (!line.data(Qt::DecorationRole).value<QIcon>().isNull())
                    text += QStringLiteral(" [warning]");
                if (line.data(Qt::ForegroundRole).value<QBrush>().color() == Qt::red)
                    text += QStringLiteral(" [red]");
                const QString tip = line.data(Qt::ToolTipRole).toString();
                if (!tip.isEmpty())
                    text += QStringLiteral(" {") + tip + u'}';
                out << text;
                walk(line, depth + 1);
            }
        };
        walk(QModelIndex(), 0);
        return out;
    }
    // What the live model shows must be what a model built now over the same document shows.
    void expectAsBuiltAfresh(const char* step) {
        SCOPED_TRACE(step);
        const auto fresh = makeModel();
        fresh->rebuild();
        EXPECT_EQ(lines(*model), lines(*fresh));
        EXPECT_EQ(model->rowCount(model->rootIndex()), 2 + state.Document.project().branchCount());
        EXPECT_EQ(shownByView(), shownByModel());
    }
    // The lines the view walks through, top to bottom, as it laid them out from the announcements.
    QStringList shownByView() {
        QStringList out;
        for (QModelIndex line = model->rootIndex(); line.isValid(); line = view.indexBelow(line))
            out << line.data().toString();
        return out;
    }
    // The same lines read from the model, opening what the view has open.
    QStringList shownByModel() {
        QStringList out;
        std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& line) {
            out << line.data().toString();
            if (!view.isExpanded(line))
                return;
            for (int row = 0; row < model->rowCount(line); ++row)
                walk(model->index(row, 0, line));
        };
        walk(model->rootIndex());
        return out;
    }
    void openEveryNode() { view.expandAll(); }
    TBranch branch(int i) const { return state.Document.project().Branches[static_cast<std::size_t>(i)]; }
};

TEST_F(ProjectTreeModelTest, ShowsTheProjectWithItsValueLinesAndMarks) {
    EXPECT_EQ(makeModel()->rowCount(), 0) << "empty until the first build, as the window starts";
    const QModelIndex root = model->rootIndex();
    EXPECT_EQ(root.data().toString(), QStringLiteral("Project"));
    EXPECT_EQ(model->index(0, 0, root).data().toString(), QStringLiteral("Project name: Plant"));
    EXPECT_EQ(model->index(1, 0, root).data().toString(), QStringLiteral("Last change: "));
    const QModelIndex r0 = model->branchIndex(0);
    const QModelIndex r1 = model->branchIndex(1);
    EXPECT_EQ(r0.data().toString(), QStringLiteral("Branch: R0"));
    EXPECT_TRUE(model->hasChildren(r0));
    EXPECT_EQ(model->rowCount(r0), 7) << "valve A1 has presettings";
    EXPECT_EQ(model->rowCount(r1), 5) << "valve A2 has none";
    EXPECT_EQ(model->index(1, 0, r1).data().toString(), QStringLiteral("Valve type: A2"));
    EXPECT_EQ(model->index(4, 0, r1).data().toString(), QStringLiteral("Final flow[l/h]: 120.0"));
    EXPECT_EQ(model->branchOf(model->index(4, 0, r1)), 1);
    EXPECT_EQ(model->branchOf(model->index(0, 0, root)), -1);
    EXPECT_EQ(model->branchOf(root), -1);

    EXPECT_TRUE(r0.data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(r1.data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(r1.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    EXPECT_EQ(r1.data(Qt::ToolTipRole).toString(),
              QStringLiteral("Deviation: +20.0 %  (Tolerance: \u00B110 %)"));

    // A wider tolerance takes the mark away once the model is told.
    state.Settings.BalancingTolerance = 25;
    model->marksChanged();
    EXPECT_TRUE(r1.data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(r1.data(Qt::ForegroundRole).isValid());
    expectAsBuiltAfresh("tolerance");
}

// Insert, change (a valve with presettings for one without, on an open node), move and remove, then
// every edit undone and redone: the rows, lines and marks are always those of a fresh build.
TEST_F(ProjectTreeModelTest, EditsUndoAndRedoKeepRowsValuesAndMarks) {
    openEveryNode();
    TBranch added = branch(0);
    InitBranchRecord(added);
    undo.push(new TAddBranch(state.Document, 2, added));
    TBranch named = branch(2);
    EncodeInstrumentText(QStringLiteral("New"), named.Name, 16, 0);
    undo.push(new TChangeBranch(state.Document, clock, 2, named, QStringLiteral("New")));
    expectAsBuiltAfresh("add");

    openEveryNode();
    TBranch changed = branch(0);
    changed.Valve_Index = 1; // no presettings: two lines fewer
    changed.Final_Flow = 150;
    undo.push(new TChangeBranch(state.Document, clock, 0, changed, QStringLiteral("R0")));
    EXPECT_EQ(model->rowCount(model->branchIndex(0)), 5);
    EXPECT_FALSE(model->branchIndex(0).data(Qt::DecorationRole).value<QIcon>().isNull());
    expectAsBuiltAfresh("change");

    undo.push(new TMoveBranch(state.Document, clock, 1, 4, QStringLiteral("R1")));
    expectAsBuiltAfresh("move down");
    undo.push(new TMoveBranch(state.Document, clock, 5, 0, QStringLiteral("R4")));
    expectAsBuiltAfresh("move up");
    undo.push(new TDeleteBranch(state.Document, clock, 3, QStringLiteral("R3")));
    expectAsBuiltAfresh("delete");

    const QStringList edited = lines(*model);
    while (undo.stack().canUndo()) {
        undo.stack().undo();
        expectAsBuiltAfresh("undo");
    }
    EXPECT_EQ(model->rowCount(model->branchIndex(0)), 7) << "the presettings are back";
    while (undo.stack().canRedo()) {
        undo.stack().redo();
        expectAsBuiltAfresh("redo");
    }
    EXPECT_EQ(lines(*model), edited);

    state.Document.replaceFromFile(*sampleProject(3), QStringLiteral("/p/small.proj"));
    expectAsBuiltAfresh("replaced");
    state.Document.resetToNew();
    expectAsBuiltAfresh("new");
}

// The view keeps the user's place: a selected value line and the open nodes follow their branch
// through a move and its undo, and a removed branch's rows go without a trace.
TEST_F(ProjectTreeModelTest, TheViewsSelectionAndOpenNodesFollowTheirBranch) {
    view.expand(model->rootIndex());
    view.expand(model->branchIndex(4));
    view.expand(model->branchIndex(1));
    const QPersistentModelIndex line = model->index(3, 0, model->branchIndex(4));
    view.setCurrentIndex(line);

    undo.push(new TMoveBranch(state.Document, clock, 4, 1, QStringLiteral("R4")));
    EXPECT_EQ(model->branchOf(line), 1);
    EXPECT_EQ(line.parent(), QModelIndex(model->branchIndex(1)));
    EXPECT_EQ(view.currentIndex(), QModelIndex(line));
    EXPECT_TRUE(view.selectionModel()->isSelected(line));
    EXPECT_TRUE(view.isExpanded(model->branchIndex(1)));
    EXPECT_TRUE(view.isExpanded(model->branchIndex(2))) << "R1 moved down with its open node";
    EXPECT_EQ(line.data().toString(), QStringLiteral("Initial flow[l/h]: 90.0"));

    undo.stack().undo();
    EXPECT_EQ(model->branchOf(line), 4);
    EXPECT_EQ(view.currentIndex(), QModelIndex(line));
    EXPECT_TRUE(view.isExpanded(model->branchIndex(4)));
    EXPECT_TRUE(view.isExpanded(model->branchIndex(1)));

    undo.push(new TDeleteBranch(state.Document, clock, 4, QStringLiteral("R4")));
    EXPECT_FALSE(line.isValid());
    EXPECT_EQ(model->rowCount(model->rootIndex()), 2 + 5);
    EXPECT_EQ(model->branchIndex(4).data().toString(), QStringLiteral("Branch: R5"));
}

} // namespace
