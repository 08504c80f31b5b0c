// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ProjectCommands.h"
#include "document/EditCommands.h"
#include "document/ProjectUndo.h"
#include "files/ProjectFile.h"
#include "commands/ApplicationState.h"
#include "mainwindow/BranchPage.h"
#include "mainwindow/MainWindowHooks.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/ProjectPage.h"
#include "mainwindow/ProjectTree.h"
#include "model/BranchList.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "model/ProjectNames.h"
#include "commands/ScriptedUserInterface.h"

#include "DocumentState.h"
#include "mainwindow/TreeLines.h"
#include "mainwindow/test_dialogs_app.h"
#include "test_project_editor_catalogue.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace {

[[maybe_unused]] const auto* const editorApplication =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// The main window's side: the lock of the inputs follows the project, as the window does it.
struct FakeHooks final : IMainWindowHooks {
    TApplicationState* State = nullptr;
    TProjectEditor* Editor = nullptr;
    int WindowStateUpdates = 0;
    QList<bool> MainCommands;
    QString Status;

    void UpdateWindowState() {
        ++WindowStateUpdates;
        if (Editor)
            Editor->SetInputsEnabled(!State->Document.project().isLocked());
    }
    void EnableMainCommands(bool on) override {
        MainCommands.append(on);
        if (on)
            UpdateWindowState();
    }
    void SetStatus(const QString& text) override { Status = text; }
};

QString nameOf(const TBranch& b) {
    return DecodeInstrumentText(b.Name, 16, 0);
}

struct ProjectEditorTest : ::testing::Test {
    TApplicationState state{QStringLiteral("/nonexistent/zrv10"), QStringLiteral("/nonexistent"),
                            QLocale::c()};
    TScriptedUserInterface ui;
    FakeHooks hooks;
    TFixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7))};
    std::unique_ptr<TProjectEditor> editor;
    QWidget host;
    TProjectPage* prj = nullptr;
    TBranchPage* br = nullptr;

    void SetUp() override {
        state.Units.FlowUnit = 5;     // l/h
        state.Units.PressureUnit = 0; // Pa
        fillCatalogue(*state.Catalogue);
        editor = std::make_unique<TProjectEditor>(state, ui, hooks, clock);
        hooks.State = &state;
        hooks.Editor = editor.get();
        auto* row = new QHBoxLayout(&host);
        row->addWidget(editor->tree());
        row->addWidget(editor->pages());
        prj = qobject_cast<TProjectPage*>(editor->pages()->widget(0));
        br = qobject_cast<TBranchPage*>(editor->pages()->widget(1));
        ASSERT_TRUE(prj && br);
        editor->FillManufacturerList();
        host.resize(846, 561);
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }
    void TearDown() override {
        // The editor goes first, as in the program where the window outlives it.
        editor.reset();
    }

    // Branch i: "Branch i", valve i % 3 (0 and 2 have presettings), flows 10 i + 1, 2, 3; `adjust`
    // changes the project further before it goes into the document, as an opened file's would.
    void setBranches(int count, const std::function<void(TProject&)>& adjust = {}) {
        replaceProject(state.Document, [&](TProject& p) { fillBranches(p, count, adjust); });
        editor->setCurrentBranch(0);
        editor->BuildProjectTree();
        editor->ShowProjectPage();
    }
    // The open project changed by `adjust`, put in as a replacement.
    void changeProject(const std::function<void(TProject&)>& adjust) {
        replaceProject(state.Document, adjust);
    }
    static void fillBranches(TProject& p, int count, const std::function<void(TProject&)>& adjust) {
        EncodeInstrumentText(QStringLiteral("Plant"), p.Header.Name, 16, 0);
        EncodeInstrumentText(QStringLiteral("1.2.2024 8:00"), p.Header.Last_Change, 16, 0);
        for (int i = 0; i < count; ++i) {
            InitBranch(p, i);
            EncodeInstrumentText(QStringLiteral("Branch %1").arg(i), p.Branches[i].Name, 16, 0);
            p.Branches[i].Valve_Index = static_cast<std::uint16_t>(i % 3);
            p.Branches[i].Request_Flow = 10.0 * i + 1;
            p.Branches[i].Initial_Flow = 10.0 * i + 2;
            p.Branches[i].Final_Flow = 10.0 * i + 3;
            p.Branches[i].Initial_Pressure = 1000;
            p.Branches[i].Final_Pressure = 2000;
            p.Branches[i].Initial_Presetting = i % 3 == 1 ? 0 : 2.5;
            p.Branches[i].Final_Presetting = i % 3 == 1 ? 0 : 3;
        }
        p.Header.Branch_Count = static_cast<std::int16_t>(count);
        if (adjust)
            adjust(p);
    }

    TreeLine root() const { return rootLine(editor->tree()); }
    // The root's line, or with value >= 0 a value line of that branch node.
    TreeLine node(int line, int value = -1) const {
        TreeLine n = root()->child(line);
        return value < 0 ? n : withLines(n)->child(value);
    }
    // A branch node's lines are counted when it is first opened; opened and closed again, it keeps them.
    static TreeLine withLines(TreeLine item) {
        const bool expanded = item->isExpanded();
        item->setExpanded(true);
        item->setExpanded(expanded);
        return item;
    }
    void select(const TreeLine& item) { selectLine(item); }
    void selectBranch(int i) { select(node(i + 2)); }
    QStringList names() const {
        QStringList out;
        for (int i = 0; i < project().branchCount(); ++i)
            out << nameOf(project().Branches[i]);
        return out;
    }
    QStringList children(TreeLine item) const {
        QStringList out;
        if (item != root())
            withLines(item);
        for (int i = 0; i < item->childCount(); ++i)
            out << item->child(i)->text(0);
        return out;
    }
    const TProject& project() const { return state.Document.project(); }
    bool branchPageShown() const { return editor->pages()->currentWidget() == br; }
};

TEST_F(ProjectEditorTest, TreeShowsProjectAndEveryBranchWithItsValveAndValues) {
    setBranches(2);
    ASSERT_EQ(editor->tree()->model()->rowCount(), 1);
    EXPECT_EQ(root()->text(0), QStringLiteral("Project"));
    EXPECT_EQ(children(root()), (QStringList{"Project name: Plant", "Last change: 1.2.2024 8:00",
                                             "Branch: Branch 0", "Branch: Branch 1"}));
    EXPECT_EQ(children(node(2)), (QStringList{"Manufacturer: Alpha", "Valve type: A1",
                                              "Requested flow[l/h]: " + state.Units.FormatFlow(1),
                                              "Initial flow[l/h]: " + state.Units.FormatFlow(2),
                                              "Final flow[l/h]: " + state.Units.FormatFlow(3),
                                              "Initial presetting: 2.50", "Final presetting: 3.00"}));
    // A valve without presetting has no presetting lines.
    EXPECT_EQ(children(node(3)).size(), 5);
    EXPECT_EQ(node(3, 1)->text(0), QStringLiteral("Valve type: A2"));
    EXPECT_TRUE(root()->isExpanded());
    EXPECT_FALSE(node(2)->isExpanded());
    EXPECT_TRUE(selectedLines(editor->tree()).isEmpty());
    EXPECT_EQ(state.Valve.CurrentValve, 1); // left on the last branch's valve
}

TEST_F(ProjectEditorTest, SelectionRuleChoosesPageBranchAndStatus) {
    setBranches(3);
    struct Case {
        const char* name;
        int line, value;
        bool branchPage;
        int branch;
        const char* status;
    };
    const Case cases[] = {
        {"final flow of the third branch", 4, 4, true, 2, "2 / 3"},
        {"project name", 0, -1, false, 0, "0 / 3"},
        {"last change", 1, -1, false, 0, "0 / 3"},
        {"second branch node", 3, -1, true, 1, "1 / 3"},
        {"manufacturer of the first branch", 2, 0, true, 0, "0 / 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(node(2)); // away from the node under test, so the selection changes
        select(node(c.line, c.value));
        EXPECT_EQ(branchPageShown(), c.branchPage);
        EXPECT_EQ(editor->currentBranch(), c.branch);
        EXPECT_EQ(hooks.Status, QString::fromLatin1(c.status));
        if (c.branchPage)
            EXPECT_EQ(br->Name->text(), QStringLiteral("Branch %1").arg(c.branch));
    }
    select(root());
    EXPECT_FALSE(branchPageShown());
    EXPECT_EQ(prj->Name->text(), QStringLiteral("Plant"));
    EXPECT_EQ(hooks.Status, QStringLiteral("0 / 3"));
}

TEST_F(ProjectEditorTest, BranchPageShowsValveListsValuesAndHints) {
    setBranches(3);
    selectBranch(2); // valve 2: Beta / B1, presetting 1..5
    EXPECT_EQ(br->Manufacturer->currentText(), QStringLiteral("Beta"));
    EXPECT_EQ(br->Type->count(), 1);
    EXPECT_EQ(br->Type->currentText(), QStringLiteral("B1"));
    EXPECT_EQ(br->RequestedFlow.Caption->text(), QStringLiteral("Requested flow [l/h]"));
    EXPECT_EQ(br->RequestedFlow.Edit->text(), state.Units.FormatFlow(21));
    EXPECT_EQ(br->InitialPresetting.Hint->text(), QStringLiteral("( 1.00 to 5.00 )"));
    EXPECT_FALSE(br->InitialPresetting.Edit->isHidden());
    EXPECT_EQ(br->FinalFlow.Hint->text(),
              "( " + state.Units.FormatFlow(0) + " to " + state.Units.FormatFlow(10000000) + " )");
    EXPECT_TRUE(br->InitialPressure.Edit->isHidden());
    EXPECT_EQ(br->InitialPressure.Edit->text(), state.Units.FormatPressure(1000));

    selectBranch(1); // valve 1 has no presetting: its row goes
    EXPECT_TRUE(br->InitialPresetting.Edit->isHidden());
    EXPECT_TRUE(br->FinalPresetting.Caption->isHidden());
    EXPECT_TRUE(br->InitialPressure.Edit->isHidden());
    EXPECT_FALSE(br->Confirm->isVisible());
    EXPECT_FALSE(editor->BranchEditPending());
}

TEST_F(ProjectEditorTest, TypingOpensTheConfirmPanelAndCancelRestoresTheBranch) {
    setBranches(3);
    selectBranch(1);
    const TBranch before = project().Branches[1];
    QTest::keyClicks(br->Name, "x");
    br->RequestedFlow.Edit->setText(QStringLiteral("777"));
    EXPECT_TRUE(editor->BranchEditPending());
    EXPECT_TRUE(br->Confirm->isVisible());
    EXPECT_FALSE(editor->tree()->isEnabled());
    EXPECT_EQ(hooks.MainCommands.last(), false);

    QTest::mouseClick(br->Confirm->Cancel, Qt::LeftButton);
    EXPECT_FALSE(editor->BranchEditPending());
    EXPECT_FALSE(br->Confirm->isVisible());
    EXPECT_TRUE(editor->tree()->isEnabled());
    EXPECT_EQ(hooks.MainCommands.last(), true);
    EXPECT_EQ(br->Name->text(), QStringLiteral("Branch 1"));
    EXPECT_EQ(br->RequestedFlow.Edit->text(), state.Units.FormatFlow(11));
    EXPECT_EQ(std::memcmp(&before, &project().Branches[1], sizeof(TBranch)), 0);
    EXPECT_FALSE(state.Document.state().Modified);
}

TEST_F(ProjectEditorTest, RefusedConfirmationShowsMessageFocusesFieldAndWritesNothing) {
    setBranches(3);
    struct Case {
        const char* name;
        std::function<void(TBranchPage&)> spoil;
        const char* message;
        std::function<QWidget*(TBranchPage&)> field;
    };
    const Case cases[] = {
        {"empty name", [](TBranchPage& p) { p.Name->clear(); }, "Please fill name",
         [](TBranchPage& p) { return p.Name; }},
        {"no manufacturer", [](TBranchPage& p) { p.Manufacturer->setCurrentIndex(-1); },
         "Select manufacturer", [](TBranchPage& p) { return p.Manufacturer; }},
        {"no type", [](TBranchPage& p) { p.Type->setCurrentIndex(-1); }, "Select type",
         [](TBranchPage& p) { return p.Type; }},
        {"requested flow", [](TBranchPage& p) { p.RequestedFlow.Edit->setText("-1"); },
         "Please fill valid flow", [](TBranchPage& p) { return p.RequestedFlow.Edit; }},
        {"final flow", [](TBranchPage& p) { p.FinalFlow.Edit->setText("20000000"); },
         "Please fill valid flow", [](TBranchPage& p) { return p.FinalFlow.Edit; }},
        // Everything before it passes and would have been written field by field.
        {"initial presetting above the valve's maximum",
         [](TBranchPage& p) {
             p.Name->setText("Renamed");
             p.RequestedFlow.Edit->setText("55");
             p.InitialPresetting.Edit->setText("8.5");
         },
         "Please fill valid presetting", [](TBranchPage& p) { return p.InitialPresetting.Edit; }},
        {"final presetting", [](TBranchPage& p) { p.FinalPresetting.Edit->setText("0.1"); },
         "Please fill valid presetting", [](TBranchPage& p) { return p.FinalPresetting.Edit; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selectBranch(0); // valve A1, presetting 0.5..8
        const TBranch before = project().Branches[0];
        const QByteArray header(reinterpret_cast<const char*>(&project().Header),
                                sizeof(TProjectHeader));
        ui.Log.clear();
        c.spoil(*br);
        // A change typed and taken back opens the panel in any case.
        QTest::keyClick(br->Name, Qt::Key_End);
        QTest::keyClicks(br->Name, "x");
        QTest::keyClick(br->Name, Qt::Key_Backspace);
        QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
        EXPECT_EQ(ui.messages(), QStringList(QString::fromLatin1(c.message)));
        ASSERT_FALSE(ui.Log.isEmpty());
        EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
        EXPECT_EQ(QApplication::focusWidget(), c.field(*br));
        EXPECT_EQ(std::memcmp(&before, &project().Branches[0], sizeof(TBranch)), 0);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&project().Header), sizeof(TProjectHeader)),
                  header);
        EXPECT_TRUE(editor->BranchEditPending());
        EXPECT_FALSE(state.Document.state().Modified);
        QTest::mouseClick(br->Confirm->Cancel, Qt::LeftButton);
        EXPECT_EQ(br->Name->text(), QStringLiteral("Branch 0"));
    }
}

TEST_F(ProjectEditorTest, ConfirmedBranchIsWrittenStampedAndShownEverywhere) {
    setBranches(3);
    selectBranch(1);
    const QString longName = QStringLiteral("Riser north-east, second floor, radiators"); // 41 characters
    br->Name->setText(longName);
    br->Manufacturer->setCurrentIndex(1);
    br->Manufacturer->activated(1);
    br->Type->setCurrentIndex(0);
    br->Type->activated(0);
    EXPECT_FALSE(br->InitialPresetting.Edit->isHidden()); // B1 has presettings
    br->InitialPresetting.Edit->setText(QStringLiteral("4"));
    br->FinalPresetting.Edit->clear();
    br->FinalFlow.Edit->setText(QStringLiteral("0"));
    QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);

    EXPECT_TRUE(ui.messages().isEmpty());
    const TBranch& b = project().Branches[1];
    EXPECT_EQ(nameOf(b), longName.left(16));
    EXPECT_EQ(br->Name->text(), longName.left(16)); // the page shows what was stored
    EXPECT_EQ(int{b.Valve_Index}, 2);
    EXPECT_EQ(double{b.Initial_Presetting}, 4.0);
    EXPECT_EQ(double{b.Final_Presetting}, PresettingEmpty);
    EXPECT_EQ(double{b.Final_Flow}, 0.0);
    EXPECT_EQ(DecodeInstrumentText(project().Header.Last_Change, 16, 0),
              QStringLiteral("5.3.2024 14:07"));
    EXPECT_EQ(prj->Date->text(), QStringLiteral("5.3.2024 14:07"));
    EXPECT_TRUE(state.Document.state().Modified);
    EXPECT_FALSE(editor->BranchEditPending());
    EXPECT_TRUE(editor->tree()->isEnabled());
    EXPECT_TRUE(branchPageShown());
    EXPECT_EQ(editor->currentBranch(), 1);
    EXPECT_EQ(node(3)->text(0), "Branch: " + longName.left(16));
    EXPECT_EQ(node(3, 1)->text(0), QStringLiteral("Valve type: B1"));
}

TEST_F(ProjectEditorTest, ProjectConfirmationChecksCutsAndStamps) {
    setBranches(1);
    select(node(0));
    prj->Name->clear();
    EXPECT_TRUE(editor->ProjectEditPending());
    EXPECT_FALSE(editor->tree()->isEnabled());
    QTest::mouseClick(prj->Confirm->Ok, Qt::LeftButton);
    EXPECT_EQ(ui.messages(), QStringList("Please fill name"));
    EXPECT_EQ(QApplication::focusWidget(), prj->Name);
    EXPECT_TRUE(editor->ProjectEditPending());
    EXPECT_EQ(nameOf(project().Branches[0]), QStringLiteral("Branch 0"));

    prj->Name->setText(QString(40, u'p'));
    QTest::mouseClick(prj->Confirm->Ok, Qt::LeftButton);
    EXPECT_EQ(prj->Name->text(), QString(16, u'p'));
    EXPECT_EQ(DecodeInstrumentText(project().Header.Name, 16, 0), QString(16, u'p'));
    EXPECT_EQ(DecodeInstrumentText(project().Header.Last_Change, 16, 0),
              QStringLiteral("5.3.2024 14:07"));
    EXPECT_EQ(node(0)->text(0), "Project name: " + QString(16, u'p'));
    EXPECT_TRUE(state.Document.state().Modified);
    EXPECT_FALSE(editor->ProjectEditPending());
    EXPECT_TRUE(editor->tree()->isEnabled());

    state.Document.setModified(false);
    prj->Name->setText(QStringLiteral("Other"));
    QTest::mouseClick(prj->Confirm->Cancel, Qt::LeftButton);
    EXPECT_EQ(prj->Name->text(), QString(16, u'p'));
    EXPECT_FALSE(state.Document.state().Modified);
    EXPECT_FALSE(prj->Confirm->isVisible());

    // Escape cancels as well; Return confirms.
    prj->Name->setFocus();
    QTest::keyClicks(prj->Name, "q");
    QTest::keyClick(prj->Name, Qt::Key_Escape);
    EXPECT_FALSE(editor->ProjectEditPending());
    EXPECT_EQ(prj->Name->text(), QString(16, u'p'));
    prj->Name->setFocus();
    QTest::keyClick(prj->Name, Qt::Key_Backspace);
    QTest::keyClick(prj->Name, Qt::Key_Return);
    EXPECT_FALSE(editor->ProjectEditPending());
    EXPECT_EQ(DecodeInstrumentText(project().Header.Name, 16, 0), QString(15, u'p'));
}

// A typed name that the project file or the project's character table could not keep is refused
// with its reason, on the branch page and on the project page alike; one they keep is stored.
TEST_F(ProjectEditorTest, NamesThatCannotBeKeptAreRefusedWhereTyped) {
    setBranches(1);
    const struct {
        int table;
        QString name;
        QString message; // empty: accepted
    } cases[] = {
        {3, QStringLiteral("Pump </ 2"),
         QStringLiteral("A name cannot contain \"</\": a project file would cut it there.")},
        {3, QStringLiteral("Škola Čechy"),
         QStringLiteral("The project's character table cannot hold the characters \"Š Č\".")},
        {0, QStringLiteral("Насос"),
         QStringLiteral("The project's character table cannot hold the characters \"Н а с о\".")},
        {0, QStringLiteral("Škola Čechy"), QString()},
    };
    for (const auto& c : cases) {
        for (const bool projectPage : {false, true}) {
            SCOPED_TRACE(c.name.toStdString() +
                         (projectPage ? " on the project page" : " on the branch page"));
            changeProject([&](TProject& p) { p.NamesCodePage = c.table; });
            const QByteArray before(reinterpret_cast<const char*>(&project()),
                                    sizeof(TProjectHeader) + 78);
            ui.Log.clear();
            QLineEdit* edit = nullptr;
            QPushButton* ok = nullptr;
            if (projectPage) {
                select(node(0));
                edit = prj->Name;
                ok = prj->Confirm->Ok;
            } else {
                selectBranch(0);
                edit = br->Name;
                ok = br->Confirm->Ok;
            }
            edit->setText(c.name);
            QTest::mouseClick(ok, Qt::LeftButton);
            const std::uint8_t* field =
                projectPage ? project().Header.Name : project().Branches[0].Name;
            if (c.message.isEmpty()) {
                EXPECT_TRUE(ui.messages().isEmpty());
                EXPECT_EQ(NameText(project(), field), c.name);
                continue;
            }
            EXPECT_EQ(ui.messages(), QStringList{c.message});
            EXPECT_EQ(QApplication::focusWidget(), edit);
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&project()), sizeof(TProjectHeader) + 78),
                      before);
            QTest::mouseClick(projectPage ? prj->Confirm->Cancel : br->Confirm->Cancel, Qt::LeftButton);
        }
    }
}

TEST_F(ProjectEditorTest, AddInsertsAfterTheCurrentBranchAndCancelRemovesIt) {
    setBranches(3);
    select(node(0)); // the project node: CurrentBranch 0
    editor->AddBranch();
    EXPECT_EQ(project().branchCount(), 4);
    EXPECT_EQ(editor->currentBranch(), 1);
    EXPECT_EQ(names(), (QStringList{"Branch 0", "", "Branch 1", "Branch 2"}));
    EXPECT_TRUE(branchPageShown());
    EXPECT_TRUE(editor->NewBranchPending());
    EXPECT_TRUE(br->Confirm->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), br->Name);
    EXPECT_EQ(br->Manufacturer->currentText(), QStringLiteral("Alpha"));
    EXPECT_EQ(br->Type->currentText(), QStringLiteral("A1"));
    EXPECT_TRUE(state.Document.state().Modified);

    QTest::mouseClick(br->Confirm->Cancel, Qt::LeftButton);
    EXPECT_EQ(names(), (QStringList{"Branch 0", "Branch 1", "Branch 2"}));
    EXPECT_EQ(editor->currentBranch(), 0);
    EXPECT_FALSE(branchPageShown());
    EXPECT_FALSE(editor->NewBranchPending());
    EXPECT_EQ(root()->childCount(), 5);

    // In an empty project the new branch is branch 0; confirming it keeps it.
    setBranches(0);
    editor->AddBranch();
    EXPECT_EQ(editor->currentBranch(), 0);
    EXPECT_EQ(project().branchCount(), 1);
    br->Name->setText(QStringLiteral("First"));
    QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(names(), QStringList("First"));
    EXPECT_FALSE(editor->NewBranchPending());
    editor->AddBranch();
    QTest::mouseClick(br->Confirm->Cancel, Qt::LeftButton);
    EXPECT_EQ(names(), QStringList("First"));
}

TEST_F(ProjectEditorTest, AddRefusesTheBranchAfterTheLast) {
    setBranches(MaxBranches);
    selectBranch(MaxBranches - 1);
    state.Document.setModified(false);
    editor->AddBranch();
    EXPECT_EQ(ui.messages(), QStringList("Cannot add branch (maximum 1500 branches)"));
    EXPECT_EQ(project().branchCount(), MaxBranches);
    EXPECT_FALSE(state.Document.state().Modified);
    EXPECT_FALSE(editor->BranchEditPending());

    editor->MoveBranchDown();
    EXPECT_EQ(hooks.Status, QStringLiteral("Cannot move branch"));
    editor->MoveBranchUp();
    EXPECT_EQ(editor->currentBranch(), MaxBranches - 2);
    EXPECT_EQ(nameOf(project().Branches[MaxBranches - 2]), QStringLiteral("Branch 1499"));
    ui.Answers = {IUserInterface::Answer::Yes};
    editor->MoveBranchDown();
    editor->DeleteBranch();
    EXPECT_EQ(project().branchCount(), MaxBranches - 1);
    EXPECT_EQ(editor->currentBranch(), MaxBranches - 2);
    EXPECT_EQ(br->Name->text(), QStringLiteral("Branch 1498"));
}

TEST_F(ProjectEditorTest, DeleteAsksAndKeepsAValidBranchShown) {
    setBranches(5);
    selectBranch(4);
    ui.Answers = {IUserInterface::Answer::No};
    editor->DeleteBranch();
    EXPECT_EQ(ui.Log.last().Kind, QStringLiteral("ask"));
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Delete the branch"));
    EXPECT_EQ(ui.Log.last().Text, QStringLiteral("Branch 5 (Branch 4) will be deleted.\nDo you agree?"));
    EXPECT_TRUE(ui.Log.last().DefaultNo); // a stray Return must not delete
    EXPECT_EQ(project().branchCount(), 5);
    EXPECT_FALSE(state.Document.state().Modified);
    EXPECT_TRUE(branchPageShown());

    ui.Answers = {IUserInterface::Answer::Yes};
    editor->DeleteBranch();
    EXPECT_EQ(hooks.Status, QString()); // "Deleting the branch..." does not outlive the deletion
    EXPECT_EQ(project().branchCount(), 4);
    EXPECT_EQ(editor->currentBranch(), 3);
    EXPECT_EQ(br->Name->text(), QStringLiteral("Branch 3"));
    EXPECT_TRUE(state.Document.state().Modified);
    EXPECT_EQ(DecodeInstrumentText(project().Header.Last_Change, 16, 0),
              QStringLiteral("5.3.2024 14:07"));
    EXPECT_EQ(root()->childCount(), 2 + 4);

    setBranches(1, [](TProject& p) { p.Branches[0].Name[0] = 0; });
    selectBranch(0);
    ui.Answers = {IUserInterface::Answer::Yes};
    editor->DeleteBranch();
    EXPECT_EQ(ui.Log.last().Text, QStringLiteral("Branch 1 will be deleted.\nDo you agree?"));
    EXPECT_EQ(project().branchCount(), 0);
    EXPECT_EQ(editor->currentBranch(), 0);
    EXPECT_FALSE(branchPageShown());
}

TEST_F(ProjectEditorTest, MovesAtTheEdgesAndInTheMiddle) {
    setBranches(5);
    selectBranch(0);
    editor->MoveBranchUp();
    EXPECT_EQ(hooks.Status, QStringLiteral("Cannot move branch"));
    EXPECT_FALSE(state.Document.state().Modified);

    selectBranch(2);
    editor->MoveBranchDown();
    EXPECT_EQ(hooks.Status, QStringLiteral("Moving branch down"));
    EXPECT_EQ(editor->currentBranch(), 3);
    EXPECT_EQ(names(), (QStringList{"Branch 0", "Branch 1", "Branch 3", "Branch 2", "Branch 4"}));
    EXPECT_EQ(br->Name->text(), QStringLiteral("Branch 2"));
    EXPECT_TRUE(state.Document.state().Modified);
    EXPECT_EQ(node(5)->text(0), QStringLiteral("Branch: Branch 2"));
    // The moved branch keeps the user's selection.
    EXPECT_EQ(selectedLines(editor->tree()), QList<TreeLine>{node(5)});

    editor->MoveBranchUp();
    EXPECT_EQ(hooks.Status, QStringLiteral("Moving branch up"));
    EXPECT_EQ(editor->currentBranch(), 2);
    EXPECT_EQ(nameOf(project().Branches[2]), QStringLiteral("Branch 2"));

    selectBranch(4);
    editor->MoveBranchDown();
    EXPECT_EQ(hooks.Status, QStringLiteral("Cannot move branch"));
    EXPECT_EQ(editor->currentBranch(), 4);
}

TEST_F(ProjectEditorTest, LockedProjectDisablesInputsAndIgnoresTheTabStrip) {
    setBranches(2);
    changeProject([](TProject& p) { p.Header.State |= StateLocked; });
    hooks.UpdateWindowState();
    EXPECT_FALSE(prj->Name->isEnabled());
    EXPECT_FALSE(prj->Date->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(br->Name), static_cast<QWidget*>(br->Manufacturer),
                       static_cast<QWidget*>(br->Type), static_cast<QWidget*>(br->RequestedFlow.Edit),
                       static_cast<QWidget*>(br->FinalPresetting.Edit)})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(br->Confirm->Ok->isEnabled());

    QTabBar* strip = editor->pages()->findChild<QTabBar*>();
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(0).center());
    EXPECT_TRUE(ui.Log.isEmpty());
    EXPECT_EQ(project().branchCount(), 2);

    changeProject([](TProject& p) { p.Header.State &= ~StateLocked; });
    hooks.UpdateWindowState();
    EXPECT_TRUE(prj->Name->isEnabled());
    EXPECT_FALSE(prj->Date->isEnabled());
}

TEST_F(ProjectEditorTest, TabStripClickOnTheProjectPageOffersANewBranch) {
    setBranches(2);
    QTabBar* strip = editor->pages()->findChild<QTabBar*>();
    const QPoint onTab = strip->tabRect(strip->currentIndex()).center();

    QTest::mouseClick(strip, Qt::LeftButton, {}, onTab);
    ASSERT_EQ(ui.Log.size(), 1);
    EXPECT_EQ(ui.Log[0].Caption, QStringLiteral("Branches"));
    EXPECT_EQ(ui.Log[0].Text, QStringLiteral("Add new branch?"));
    EXPECT_EQ(project().branchCount(), 2);
    EXPECT_FALSE(branchPageShown());

    QTest::mouseClick(strip, Qt::RightButton, {}, onTab);
    EXPECT_EQ(ui.Log.size(), 1);

    prj->Name->setText(QStringLiteral("Pending"));
    QTest::mouseClick(strip, Qt::LeftButton, {}, onTab);
    EXPECT_EQ(ui.Log.size(), 1);
    QTest::mouseClick(prj->Confirm->Cancel, Qt::LeftButton);

    ui.Answers = {IUserInterface::Answer::Yes};
    QTest::mouseClick(strip, Qt::LeftButton, {}, onTab);
    EXPECT_EQ(project().branchCount(), 3);
    EXPECT_EQ(editor->currentBranch(), 1);
    EXPECT_TRUE(branchPageShown());
    EXPECT_TRUE(editor->NewBranchPending());
}

TEST_F(ProjectEditorTest, ChangeOfUnitsRedrawsTreeHintsAndEndsOnTheProjectPage) {
    setBranches(2);
    selectBranch(1);
    state.Units.FlowUnit = 2; // m3/h
    state.Units.PressureUnit = 5;
    editor->RefreshAfterUnits();
    EXPECT_EQ(node(3, 2)->text(0), "Requested flow[m3/h]: " + state.Units.FormatFlow(11));
    EXPECT_EQ(br->RequestedFlow.Caption->text(), QStringLiteral("Requested flow [m3/h]"));
    EXPECT_EQ(br->RequestedFlow.Hint->text(),
              "( " + state.Units.FormatFlow(0) + " to " + state.Units.FormatFlow(10000000) + " )");
    EXPECT_EQ(br->InitialPressure.Edit->text(), state.Units.FormatPressure(1000));
    EXPECT_FALSE(branchPageShown());
    EXPECT_EQ(editor->currentBranch(), 1);
}

} // namespace

// Values finer than the unit shows must survive a confirm that did not touch them: the page shows
// 1450 l/h as "0.0" m3/min, and reading that back would store 0.
TEST_F(ProjectEditorTest, ConfirmKeepsEveryValueTheUserDidNotChange) {
    state.Units.FlowUnit = 1; // m3/min, one decimal
    setBranches(1, [](TProject& p) {
        TBranch& stored = p.Branches[0];
        stored.Request_Flow = 1450;
        stored.Initial_Flow = 1580;
        stored.Final_Flow = 1460;
        stored.Initial_Presetting = 2.345; // finer than the two decimals shown
        stored.Final_Presetting = 7.999;
        stored.Initial_Pressure = 1234.56;
    });
    selectBranch(0);
    ASSERT_EQ(br->RequestedFlow.Edit->text(), QStringLiteral("0.0"));

    QTest::keyClick(br->Name, Qt::Key_End);
    QTest::keyClicks(br->Name, QStringLiteral("X"));
    QTest::keyClick(br->Name, Qt::Key_Return);

    EXPECT_TRUE(ui.messages().isEmpty());
    const TBranch& after = project().Branches[0];
    EXPECT_EQ(nameOf(after), QStringLiteral("Branch 0X"));
    EXPECT_EQ(double{after.Request_Flow}, 1450.0);
    EXPECT_EQ(double{after.Initial_Flow}, 1580.0);
    EXPECT_EQ(double{after.Final_Flow}, 1460.0);
    EXPECT_EQ(double{after.Initial_Presetting}, 2.345);
    EXPECT_EQ(double{after.Final_Presetting}, 7.999);
    EXPECT_EQ(double{after.Initial_Pressure}, 1234.56);

    // An edited field is read from its text; the others still keep their exact values.
    selectBranch(0);
    br->FinalFlow.Edit->setText(QStringLiteral("0.5"));
    QTest::keyClick(br->FinalFlow.Edit, Qt::Key_Return);
    EXPECT_NEAR(double{project().Branches[0].Final_Flow}, 30000.0, 0.01);
    EXPECT_EQ(double{project().Branches[0].Request_Flow}, 1450.0);
    EXPECT_EQ(double{project().Branches[0].Initial_Presetting}, 2.345);
}

TEST_F(ProjectEditorTest, TextThatIsNoNumberIsRefusedAndNamesStopAtTheInstrumentsLength) {
    setBranches(1);
    selectBranch(0);
    const TBranch before = project().Branches[0];
    br->RequestedFlow.Edit->setText(QStringLiteral("abc"));
    QTest::keyClick(br->RequestedFlow.Edit, Qt::Key_Return);
    EXPECT_EQ(ui.messages(), QStringList(QStringLiteral("Please fill valid flow")));
    EXPECT_EQ(QApplication::focusWidget(), br->RequestedFlow.Edit);
    EXPECT_EQ(std::memcmp(&before, &project().Branches[0], sizeof(TBranch)), 0);
    EXPECT_TRUE(editor->BranchEditPending());
    QTest::mouseClick(br->Confirm->Cancel, Qt::LeftButton);

    for (QLineEdit* name : {br->Name, prj->Name}) {
        name->clear();
        QTest::keyClicks(name, QStringLiteral("Riser north-east, second floor"));
        EXPECT_EQ(name->text(), QStringLiteral("Riser north-east"));
    }
}

TEST_F(ProjectEditorTest, ProjectNameConfirmedUnchangedKeepsItsBytes) {
    // Table D shows byte 165 as "Ą" but writes "Ą" as a plain "A".
    state.DeviceConfig.InstrumentCodePage = 7;
    setBranches(1, [](TProject& p) {
        p.NamesCodePage = 7;
        p.Header.Name[5] = 165;
    });
    const QByteArray name(reinterpret_cast<const char*>(project().Header.Name), 16);
    editor->ShowProjectPage();
    prj->Name->setText(prj->Name->text() + u'x');
    prj->Name->setText(prj->Name->text().chopped(1));
    QTest::keyClick(prj->Name, Qt::Key_Return);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(project().Header.Name), 16), name);
}

namespace {

// The project as a saved file holds it.
QByteArray savedBytes(const TProject& project) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.proj"));
    EXPECT_TRUE(SaveProjectFile(path, project));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

// Each kind of edit is undone to the very bytes the project had, last change included, and redone
// to the bytes the edit gave; the menu texts name the edit.
TEST_F(ProjectEditorTest, EveryEditIsUndoneAndRedoneByteForByte) {
    struct Edit {
        const char* What;
        std::function<void()> Do;
        const char* UndoText;
    };
    const std::vector<Edit> edits = {
        {"rename a branch",
         [&] {
             selectBranch(1);
             br->Name->setText(QStringLiteral("Riser 1"));
             QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
         },
         "Undo rename of branch Riser 1"},
        {"change a branch's flow",
         [&] {
             selectBranch(2);
             br->RequestedFlow.Edit->setText(QStringLiteral("450"));
             QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
         },
         "Undo change of branch Branch 2"},
        {"rename the project",
         [&] {
             select(root());
             prj->Name->setText(QStringLiteral("Plant 2"));
             QTest::mouseClick(prj->Confirm->Ok, Qt::LeftButton);
         },
         "Undo rename of project Plant 2"},
        {"add a branch",
         [&] {
             selectBranch(0);
             editor->AddBranch();
             br->Name->setText(QStringLiteral("New one"));
             QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
         },
         "Undo add of branch New one"},
        {"delete a branch",
         [&] {
             selectBranch(0);
             ui.Answers << IUserInterface::Answer::Yes;
             editor->DeleteBranch();
         },
         "Undo delete of branch Branch 0"},
        {"delete the last branch",
         [&] {
             selectBranch(3);
             ui.Answers << IUserInterface::Answer::Yes;
             editor->DeleteBranch();
         },
         "Undo delete of branch Branch 3"},
        {"move a branch up",
         [&] {
             selectBranch(2);
             editor->MoveBranchUp();
         },
         "Undo move of branch Branch 2"},
        {"move a branch down",
         [&] {
             selectBranch(0);
             editor->MoveBranchDown();
         },
         "Undo move of branch Branch 0"},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.What);
        setBranches(4);
        TProjectUndo& undo = editor->undo();
        undo.stack().clear();
        const QByteArray before = savedBytes(project());
        e.Do();
        ASSERT_TRUE(ui.messages().isEmpty());
        ASSERT_EQ(undo.stack().count(), 1) << "one edit, one command";
        const QByteArray after = savedBytes(project());
        EXPECT_NE(after, before);
        EXPECT_EQ(undo.undoText(state.Messages), QString::fromLatin1(e.UndoText));

        editor->Undo();
        EXPECT_EQ(savedBytes(project()), before);
        EXPECT_EQ(undo.redoText(state.Messages), QString::fromLatin1(e.UndoText).replace(0, 4, u"Redo"_qs));
        EXPECT_EQ(undo.undoText(state.Messages), QStringLiteral("Undo"));
        editor->Redo();
        EXPECT_EQ(savedBytes(project()), after);
        editor->Undo();
        EXPECT_EQ(savedBytes(project()), before);
        // The tree shows the project as it stands, node for node.
        EXPECT_EQ(root()->childCount(), 2 + 4);
        EXPECT_EQ(node(0)->text(0), QStringLiteral("Project name: Plant"));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(node(i + 2)->text(0), QStringLiteral("Branch: Branch %1").arg(i));
    }
}

// Modified follows the history: an edit sets it, undoing back to the saved point clears it, and
// redoing sets it again. A cancelled new branch leaves no trace in the history.
TEST_F(ProjectEditorTest, ModifiedFollowsTheSavedPointOfTheHistory) {
    setBranches(3);
    TProjectDocument& doc = state.Document;
    doc.markSavedToFile(QStringLiteral("/p/a.proj"));
    selectBranch(1);
    editor->MoveBranchDown();
    EXPECT_TRUE(doc.state().Modified);
    editor->Undo();
    EXPECT_FALSE(doc.state().Modified);
    editor->Redo();
    EXPECT_TRUE(doc.state().Modified);
    doc.markSavedToFile(QStringLiteral("/p/a.proj"));
    EXPECT_FALSE(doc.state().Modified);
    editor->Undo();
    EXPECT_TRUE(doc.state().Modified) << "before the save point is changed too";
    editor->Redo();
    EXPECT_FALSE(doc.state().Modified);

    editor->AddBranch();
    EXPECT_TRUE(doc.state().Modified);
    EXPECT_FALSE(editor->undo().stack().canRedo());
    QTest::mouseClick(br->Confirm->Cancel, Qt::LeftButton);
    EXPECT_FALSE(doc.state().Modified) << "the project is as it was saved";
    EXPECT_EQ(editor->undo().stack().count(), 1);
    EXPECT_EQ(editor->undo().undoText(state.Messages), QStringLiteral("Undo move of branch Branch 1"));

    // While a page waits for its confirmation, the history stays as it is.
    selectBranch(0);
    br->Name->setText(QStringLiteral("typing"));
    editor->Undo();
    EXPECT_EQ(editor->undo().stack().index(), 1);
}

// Replacing the project starts a fresh history; an imported project stays changed with nothing to undo.
TEST_F(ProjectEditorTest, AReplacedProjectStartsAFreshHistory) {
    struct Case {
        const char* What;
        std::function<void(TProjectDocument&, const TProject&)> Replace;
        bool Modified;
    };
    const std::vector<Case> cases = {
        {"new", [](TProjectDocument& d, const TProject&) { d.resetToNew(); }, false},
        {"open", [](TProjectDocument& d, const TProject& p) { d.replaceFromFile(p, QStringLiteral("/a.proj")); },
         false},
        {"read", [](TProjectDocument& d, const TProject& p) { d.replaceFromInstrument(p, QStringLiteral("ZRV")); },
         false},
        {"import",
         [](TProjectDocument& d, const TProject& p) { d.replaceFromWorkbook(p, QStringLiteral("/b.proj")); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        setBranches(3);
        const auto other = std::make_unique<TProject>(project());
        selectBranch(0);
        editor->MoveBranchDown();
        ASSERT_TRUE(editor->undo().stack().canUndo());
        c.Replace(state.Document, *other);
        EXPECT_EQ(editor->undo().stack().count(), 0);
        EXPECT_EQ(state.Document.state().Modified, c.Modified);
        EXPECT_EQ(editor->currentBranch(), 0);
        EXPECT_FALSE(branchPageShown());
        // An edit and its undo come back to the replaced project's own Modified.
        selectBranch(0);
        editor->MoveBranchDown();
        editor->Undo();
        EXPECT_EQ(state.Document.state().Modified, c.Modified);
    }
}

// Edits change only the nodes concerned: the selected line, the expanded nodes and the scroll
// position stay, and a moved branch takes its node, still selected, along.
TEST_F(ProjectEditorTest, TheTreeKeepsTheUsersPlace) {
    setBranches(60);
    QTreeView* tree = editor->tree();
    const TreeLine branch30 = node(32);
    const TreeLine branch5 = node(7);
    branch30->setExpanded(true);
    branch5->setExpanded(true);
    const TreeLine finalFlow = branch30->child(4);
    select(finalFlow);
    ASSERT_EQ(editor->currentBranch(), 30);
    tree->scrollTo(finalFlow.Index, QAbstractItemView::PositionAtCenter);
    const int scrolled = tree->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    auto placeKept = [&](const TreeLine& node, int branch) {
        EXPECT_EQ(currentLine(tree), finalFlow);
        EXPECT_TRUE(finalFlow->isSelected());
        EXPECT_EQ(finalFlow->parent(), node);
        EXPECT_EQ((TreeLine{tree, editor->treeModel().branchIndex(branch)}), node);
        EXPECT_TRUE(node->isExpanded());
        EXPECT_TRUE(branch5->isExpanded());
        EXPECT_EQ(editor->currentBranch(), branch);
    };

    br->RequestedFlow.Edit->setText(QStringLiteral("777"));
    QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
    placeKept(branch30, 30);
    EXPECT_EQ(tree->verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(branch30->child(2)->text(0), QStringLiteral("Requested flow[l/h]: 777.0"));
    EXPECT_EQ(node(7), branch5) << "the other nodes are the same items";

    editor->MoveBranchUp();
    placeKept(branch30, 29);
    EXPECT_EQ(editor->treeModel().branchOf(finalFlow.Index), 29);
    editor->MoveBranchDown();
    editor->MoveBranchDown();
    placeKept(branch30, 31);

    editor->Undo();
    placeKept(branch30, 30);
    editor->Undo();
    placeKept(branch30, 29);
    editor->Undo();
    editor->Undo();
    placeKept(branch30, 30);
    EXPECT_EQ(branch30->child(2)->text(0), QStringLiteral("Requested flow[l/h]: 301.0"));
    EXPECT_EQ(tree->verticalScrollBar()->value(), scrolled);
}

namespace {

// The branch page's remark is confirmed with the branch, is one edit with it, follows it through
// add, move, delete, undo and redo, and comes back from the file beside the project.
TEST_F(ProjectEditorTest, ARemarkIsConfirmedWithItsBranchAndFollowsItIntoTheFile) {
    setBranches(3);
    TProjectDocument& doc = state.Document;
    auto remarks = [&] {
        QStringList out;
        for (int i = 0; i < project().branchCount(); ++i)
            out << nameOf(project().Branches[i]) + u'=' + doc.branchRemark(i);
        return out;
    };
    QUndoStack& history = editor->undo().stack();

    selectBranch(1);
    QTest::keyClicks(br->Remark, "stiff");
    EXPECT_TRUE(br->Confirm->isVisible());
    br->RequestedFlow.Edit->setText(QStringLiteral("99"));
    QTest::keyClick(br->Remark, Qt::Key_Return);
    EXPECT_FALSE(br->Confirm->isVisible());
    EXPECT_EQ(history.count(), 1) << "fields and remark are one step";
    EXPECT_EQ(doc.branchRemark(1), QStringLiteral("stiff"));
    EXPECT_EQ(project().Branches[1].Request_Flow, 99);
    editor->Undo();
    EXPECT_EQ(doc.branchRemark(1), QString());
    EXPECT_EQ(project().Branches[1].Request_Flow, 11);
    EXPECT_EQ(br->Remark->text(), QString());
    editor->Redo();
    EXPECT_EQ(doc.branchRemark(1), QStringLiteral("stiff"));
    EXPECT_EQ(br->Remark->text(), QStringLiteral("stiff"));

    // A remark alone is not in the project file: its last change stays.
    selectBranch(2);
    const TProjectHeader header = project().Header;
    br->Remark->setText(QStringLiteral("noisy"));
    QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
    EXPECT_EQ(std::memcmp(&header, &project().Header, sizeof header), 0);
    EXPECT_EQ(doc.branchRemark(2), QStringLiteral("noisy"));

    editor->AddBranch();
    br->Name->setText(QStringLiteral("Added"));
    br->Remark->setText(QStringLiteral("new one"));
    QTest::mouseClick(br->Confirm->Ok, Qt::LeftButton);
    editor->MoveBranchUp();
    const QStringList edited{"Branch 0=", "Branch 1=stiff", "Added=new one", "Branch 2=noisy"};
    EXPECT_EQ(remarks(), edited);

    selectBranch(1);
    ui.Answers = {IUserInterface::Answer::Yes};
    editor->DeleteBranch();
    EXPECT_EQ(remarks(), QStringList({"Branch 0=", "Added=new one", "Branch 2=noisy"}));
    editor->Undo();
    EXPECT_EQ(remarks(), edited);
    editor->Redo();
    editor->Undo();
    EXPECT_EQ(remarks(), edited);
    editor->Undo(); // the move
    EXPECT_EQ(remarks(), QStringList({"Branch 0=", "Branch 1=stiff", "Branch 2=noisy", "Added=new one"}));
    editor->Redo();

    QTemporaryDir files;
    TProjectCommandContext context{doc, ui, state.Messages, 0, QLocale::c(), {}};
    ui.FilesToSave << files.filePath(QStringLiteral("plant.proj"));
    ASSERT_TRUE(SaveProjectAsCommand(context));
    doc.resetToNew();
    EXPECT_EQ(remarks(), QStringList());
    ASSERT_EQ(OpenProjectPathCommand(context, files.filePath(QStringLiteral("plant.proj"))),
              TOpenResult::Opened);
    EXPECT_EQ(remarks(), edited);
}

// The details dialog's edit: undone and redone whole, the project file untouched, Modified following
// the saved point as for every other edit.
TEST_F(ProjectEditorTest, TheDetailsAreOneEditThatLeavesTheProjectFileAsItWas) {
    setBranches(2);
    TProjectDocument& doc = state.Document;
    QTemporaryDir files;
    const QString file = files.filePath(QStringLiteral("plant.proj"));
    TProjectCommandContext context{doc, ui, state.Messages, 0, QLocale::c(), {}};
    ui.FilesToSave << file;
    ASSERT_TRUE(SaveProjectAsCommand(context));
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray withoutDetails = saved.readAll();
    saved.close();
    EXPECT_FALSE(doc.state().Modified);

    TCommissioningDetails details = doc.commissioning();
    details.Client = QStringLiteral("Hospital");
    details.Witness = QStringLiteral("J. Doe");
    editor->undo().push(new TChangeCommissioning(doc, details));
    EXPECT_EQ(doc.commissioning(), details);
    EXPECT_TRUE(doc.state().Modified);
    EXPECT_EQ(editor->undo().undoText(state.Messages),
              QStringLiteral("Undo change of the commissioning details"));
    editor->Undo();
    EXPECT_EQ(doc.commissioning().Client, QString());
    EXPECT_FALSE(doc.state().Modified);
    editor->Redo();
    EXPECT_EQ(doc.commissioning(), details);
    EXPECT_TRUE(doc.state().Modified);

    ASSERT_TRUE(SaveProjectCommand(context));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), withoutDetails);
    EXPECT_TRUE(QFile::exists(files.filePath(QStringLiteral("plant.commissioning.json"))));
}

} // namespace
