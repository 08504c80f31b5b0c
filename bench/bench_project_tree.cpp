// SPDX-License-Identifier: GPL-3.0-or-later
// The project tree of a full project (1500 branches) and both editor pages refilled, as a change of
// units does, beside Qt creating the same number of tree items with fixed texts: the part of the
// work our texts add to what the tree itself costs: every item with its value lines, and the items the
// tree makes at once, since a branch's lines wait until its node is opened. The argument is the language: 0 shows the
// English texts without a lookup, 2 looks each one up in the shipped German file.
// The project tree is a model over the document: its build resets the model, so every build here
// includes the view laying its rows out again (as the Qt trees beside it do), else it would measure
// almost nothing.
// Beside the full build: one branch edited on its page (tree and pages updated), and the delete
// of branch 1 with its undo and redo.

#include "document/ProjectUndo.h"
#include "commands/ApplicationState.h"
#include "mainwindow/BranchPage.h"
#include "mainwindow/MainWindowHooks.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/ProjectPage.h"
#include "mainwindow/ProjectTree.h"
#include "model/BranchList.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "commands/ScriptedUserInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct NoHooks final : IMainWindowHooks {
    void EnableMainCommands(bool) override {}
    void SetStatus(const QString&) override {}
};

// Valve 0 has presettings, valve 1 has none, so branches alternate between 7 and 5 value lines.
void fillState(TApplicationState& state) {
    TValveCatalogue& c = *state.Catalogue;
    c.ManufacturerCount = 1;
    c.TypeCounts[0] = 2;
    EncodeInstrumentText(QStringLiteral("Manufacturer"), c.ManufacturerNames[0], 16, 0);
    EncodeInstrumentText(QStringLiteral("Valve 15 mm"), c.Valves[0].Name, 16, 0);
    c.Valves[0].Kind = 0;
    c.Valves[0].PresettingMax = 8;
    EncodeInstrumentText(QStringLiteral("Valve 20 mm"), c.Valves[1].Name, 16, 0);
    c.Valves[1].Kind = 2;
    auto project = std::make_unique<TProject>();
    TProject& p = *project;
    EncodeInstrumentText(QStringLiteral("Office block"), p.Header.Name, 16, 0);
    EncodeInstrumentText(QStringLiteral("5.3.2024 14:07"), p.Header.Last_Change, 16, 0);
    for (int i = 0; i < MaxBranches; ++i) {
        InitBranch(p, i);
        TBranch& b = p.Branches[i];
        EncodeInstrumentText(QStringLiteral("Riser %1").arg(i), b.Name, 16, 0);
        b.Valve_Index = static_cast<std::uint16_t>(i % 2);
        b.Request_Flow = 100.0 + i;
        b.Initial_Flow = 90.5 + i;
        b.Final_Flow = 101.25 + i;
        b.Initial_Presetting = 2.5;
        b.Final_Presetting = 3.75;
    }
    p.Header.Branch_Count = MaxBranches;
    state.Document.replaceFromFile(p, QStringLiteral("/nonexistent/full.proj"));
}

// A copy of the shipped languages beside a program of its own, since a load writes the ".todo" log.
struct LanguageFolder {
    QTemporaryDir dir;
    LanguageFolder() {
        QDir(dir.path()).mkpath(QStringLiteral("bin/language"));
        const QDir shipped(QStringLiteral(ZRV_LANGUAGE_DIR));
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), dir.filePath(QStringLiteral("bin/language/") + name));
    }
    QString program() const { return dir.filePath(QStringLiteral("bin/zrv10")); }
};

void BM_ProjectTreeAndPages(benchmark::State& run) {
    const LanguageFolder languages;
    TApplicationState state(languages.program(), QStringLiteral("/nonexistent"), QLocale::c());
    state.Messages.LoadLanguageList();
    state.Messages.SetCurrentLanguage(static_cast<int>(run.range(0)));
    if (run.range(0) != 0 && !state.Messages.LoadLanguage()) {
        run.SkipWithError("the shipped language could not be loaded");
        return;
    }
    fillState(state);
    TScriptedUserInterface ui;
    NoHooks hooks;
    TFixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(14, 7)));
    TProjectEditor editor(state, ui, hooks, clock);
    editor.FillManufacturerList();
    editor.setCurrentBranch(7);
    int unit = 0;
    for (auto _ : run) {
        state.Units.FlowUnit = unit++ % FlowUnitCount;
        editor.RefreshAfterUnits();
        editor.tree()->doItemsLayout();
    }
    const TProjectTreeModel& model = editor.treeModel();
    run.counters["items"] = model.rowCount(model.rootIndex());
}

// A full project in an editor, as the window holds it.
struct FullEditor {
    TApplicationState State{QStringLiteral("/nonexistent/zrv10"), QStringLiteral("/nonexistent"),
                            QLocale::c()};
    TScriptedUserInterface Ui;
    NoHooks Hooks;
    TFixedClock Clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7))};
    std::unique_ptr<TProjectEditor> Editor;

    FullEditor() {
        fillState(State);
        State.Units.FlowUnit = 5;     // l/h
        State.Units.PressureUnit = 0; // Pa
        Editor = std::make_unique<TProjectEditor>(State, Ui, Hooks, Clock);
        Editor->FillManufacturerList();
        Editor->BuildProjectTree();
        Editor->ShowProjectPage();
    }
    void deleteFirst() {
        Editor->setCurrentBranch(0);
        Ui.Answers.append(IUserInterface::Answer::Yes);
        Editor->DeleteBranch();
    }
};

void BM_FullTreeBuild(benchmark::State& run) {
    FullEditor e;
    for (auto _ : run) {
        e.Editor->BuildProjectTree();
        e.Editor->tree()->doItemsLayout();
    }
}

// The user's edit of one branch: a value typed on its page and confirmed.
void BM_EditOneBranch(benchmark::State& run) {
    FullEditor e;
    e.State.Document.setModified(false);
    auto* page = qobject_cast<TBranchPage*>(e.Editor->pages()->widget(1));
    e.Editor->setCurrentBranch(700);
    e.Editor->ShowBranchPage(700);
    int flow = 0;
    for (auto _ : run) {
        page->RequestedFlow.Edit->setText(QString::number(400 + flow++ % 2));
        page->Confirm->Ok->click();
    }
    run.counters["edits kept"] = e.Editor->undo().stack().count();
    if (!e.Ui.messages().isEmpty())
        run.SkipWithError(e.Ui.messages().first().toUtf8().constData());
}

void BM_DeleteBranch1Of1500(benchmark::State& run) {
    FullEditor e;
    for (auto _ : run) {
        e.deleteFirst();
        run.PauseTiming();
        e.Editor->Undo();
        run.ResumeTiming();
    }
}

void BM_UndoDeleteBranch1Of1500(benchmark::State& run) {
    FullEditor e;
    for (auto _ : run) {
        run.PauseTiming();
        e.deleteFirst();
        run.ResumeTiming();
        e.Editor->Undo();
    }
}

void BM_RedoDeleteBranch1Of1500(benchmark::State& run) {
    FullEditor e;
    e.deleteFirst();
    for (auto _ : run) {
        run.PauseTiming();
        e.Editor->Undo();
        run.ResumeTiming();
        e.Editor->Redo();
    }
}

// Qt making a tree of the project's shape with fixed texts: every branch with its value lines, or
// (valueLines false) the branch nodes alone, as the project tree makes them before a node is opened.
void qtTreeFixedTexts(benchmark::State& run, bool valueLines) {
    QTreeWidget tree;
    const QString line = QStringLiteral("Requested flow[l/h]: 1234.5");
    for (auto _ : run) {
        tree.setUpdatesEnabled(false);
        tree.clear();
        auto* root = new QTreeWidgetItem(QStringList(QStringLiteral("Project")));
        QList<QTreeWidgetItem*> lines;
        lines.append(new QTreeWidgetItem(QStringList(QStringLiteral("Project name: Office block"))));
        lines.append(new QTreeWidgetItem(QStringList(QStringLiteral("Last change: 5.3.2024 14:07"))));
        for (int i = 0; i < MaxBranches; ++i) {
            auto* node = new QTreeWidgetItem(QStringList(QStringLiteral("Branch: Riser")));
            if (valueLines) {
                QList<QTreeWidgetItem*> values;
                const int count = i % 2 == 0 ? 7 : 5;
                for (int k = 0; k < count; ++k)
                    values.append(new QTreeWidgetItem(QStringList(line)));
                node->addChildren(values);
            } else {
                node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            }
            lines.append(node);
        }
        root->addChildren(lines);
        tree.addTopLevelItem(root);
        root->setExpanded(true);
        tree.setUpdatesEnabled(true);
        tree.doItemsLayout();
    }
}

void BM_QtTreeItemsFixedTexts(benchmark::State& run) {
    qtTreeFixedTexts(run, true);
}

void BM_QtTreeBranchNodesFixedTexts(benchmark::State& run) {
    qtTreeFixedTexts(run, false);
}

} // namespace

BENCHMARK(BM_QtTreeItemsFixedTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtTreeBranchNodesFixedTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectTreeAndPages)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullTreeBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditOneBranch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteBranch1Of1500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoDeleteBranch1Of1500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedoDeleteBranch1Of1500)->Unit(benchmark::kMicrosecond);
