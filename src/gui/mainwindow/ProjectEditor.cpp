// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ProjectEditor.h"

#include "document/EditCommands.h"
#include "document/ProjectDocument.h"
#include "document/ProjectUndo.h"
#include "commands/ApplicationState.h"
#include "commands/BranchConfirmation.h"
#include "mainwindow/BranchPage.h"
#include "mainwindow/MainWindowHooks.h"
#include "mainwindow/ProjectPage.h"
#include "mainwindow/ProjectTree.h"
#include "mainwindow/ProjectTreeBalance.h"
#include "model/BranchList.h"
#include "model/ProjectNames.h"
#include "commands/UserInterface.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>

#include <cstring>
#include <memory>

namespace {
// Presses this close below the top of the page control fall on the tab strip.
constexpr int TabStripHeight = 30;
// The pressure range offered in the hints, in Pa, and the flow range, in l/h.
constexpr double PressureHintMin = -200000;
constexpr double PressureHintMax = 2000000;
constexpr double FlowHintMax = 10000000;
} // namespace

struct TProjectEditor::Impl {
    TProjectEditor& Q;
    TApplicationState& S;
    IUserInterface& Ui;
    IMainWindowHooks& Hooks;
    const IClock& Clock;
    TProjectDocument& Doc;
    TProjectUndo Undo;
    // The branch on the branch page; 0 while the project node is selected.
    int Current = 0;
    // The range hints of the value rows, made again only when the units or their locale change.
    struct TRangeHints {
        std::int32_t FlowUnit = -1;
        std::int32_t PressureUnit = -1;
        QLocale Locale;
        QString Flow;
        QString Pressure;
    } Hints;
    // The pages are being filled by the program: the edits' change notifications are not the user's.
    bool Filling = false;
    // Set while the program moves the tree's selection: the selection rule is for the user's clicks.
    bool Quiet = false;

    TProjectTreeModel* Model = nullptr;
    QPointer<QTreeView> Tree;
    QPointer<QTabWidget> Tabs;
    TProjectPage* Prj = nullptr;
    TBranchPage* Br = nullptr;

    bool ProjectEditPending = false;
    bool BranchEditPending = false;
    bool NewBranchPending = false;
    // The texts as the pages were last filled: what the user did not touch keeps its stored value.
    TBranchInput ShownBranch;
    QString ShownProjectName;

    Impl(TProjectEditor& q, TApplicationState& s, IUserInterface& ui, IMainWindowHooks& hooks,
         const IClock& clock)
        : Q(q), S(s), Ui(ui), Hooks(hooks), Clock(clock), Doc(s.Document), Undo(s.Document) {}

    const TMessageCatalogue& tr() const { return S.Messages; }
    const TProject& project() const { return Doc.project(); }
    int& current() { return Current; }

    // Runs f with the edits' change notifications ignored.
    template <typename F> void filling(F&& f) {
        const bool was = Filling;
        Filling = true;
        f();
        Filling = was;
    }

    QString decoded(const std::uint8_t* field) const { return NameText(project(), field); }

    // Read when a node's tooltip is shown, so that it follows the tolerance and the language.
    std::function<QString(const TBranch&)> branchTip() const {
        const TApplicationState* s = &S;
        return [s](const TBranch& b) {
            return BranchBalanceTip(b, s->Settings.BalancingTolerance, s->Units.Locale, s->Messages);
        };
    }

    TProjectTreeSource treeSource() const {
        const TApplicationState* s = &S;
        return {*S.Catalogue, S.Units, S.Messages, [s] { return s->codePage(); },
                [s] { return s->Settings.BalancingTolerance; }, branchTip()};
    }

    void connectDocument();

    // Where a build of the tree has always left the valve selection: on the last branch's valve.
    void leaveValveOnLastBranch() {
        const int count = project().branchCount();
        if (count > 0)
            S.Valve.CurrentValve = project().Branches[static_cast<std::size_t>(count - 1)].Valve_Index;
    }

    // Selects the branch's node (the root for -1) without the selection rule; a selected value line
    // of that branch stays selected.
    void selectQuietly(int branch) {
        const QModelIndex item = Tree->currentIndex();
        if (item.isValid() && Tree->selectionModel()->isSelected(item) && Model->branchOf(item) == branch)
            return;
        const QModelIndex node = branch >= 0 ? Model->branchIndex(branch) : Model->rootIndex();
        if (!node.isValid())
            return;
        const bool was = Quiet;
        Quiet = true;
        Tree->setCurrentIndex(node);
        Quiet = was;
    }

    // An undo (back) or redo, then the branch it concerned is selected and shown.
    void step(bool back) {
        const TProjectEdit* edit = back ? Undo.nextUndo() : Undo.nextRedo();
        if (edit == nullptr || ProjectEditPending || BranchEditPending)
            return;
        if (back)
            Undo.stack().undo();
        else
            Undo.stack().redo();
        selectQuietly(edit->shownBranch(back));
        selectionChanged();
    }

    void showOnly(QWidget* page) {
        const int prj = Tabs->indexOf(Prj);
        const int br = Tabs->indexOf(Br);
        Tabs->setTabVisible(page == Prj ? prj : br, true);
        Tabs->setCurrentWidget(page);
        Tabs->setTabVisible(page == Prj ? br : prj, false);
    }

    void focusTree() {
        if (Tree)
            Tree->setFocus();
    }

    void showRefusal(const TBranchRefusal& refusal) {
        Ui.showMessage(tr().Translate(QStringLiteral("Error")),
                       refusal.Argument.isEmpty() ? tr().Translate(refusal.Message)
                                                  : tr().TranslateFmt(refusal.Message, refusal.Argument));
    }

    void showMessage(const char* english) {
        Ui.showMessage(tr().Translate(QStringLiteral("Error")), tr().Translate(QString::fromLatin1(english)));
    }

    void showBranchPosition() {
        Hooks.SetStatus(QString::number(current()) + QStringLiteral(" / ") +
                        QString::number(project().branchCount()));
    }

    void beginProjectEdit() {
        ProjectEditPending = true;
        Prj->Confirm->setVisible(true);
        Tree->setEnabled(false);
        Hooks.EnableMainCommands(false);
    }

    void beginBranchEdit() {
        if (current() < 0)
            return;
        Hooks.EnableMainCommands(false);
        BranchEditPending = true;
        Br->Confirm->setVisible(true);
        Tree->setEnabled(false);
    }

    void fillTypeList(int manufacturer) {
        if (manufacturer < 0)
            return;
        const TValveCatalogue& c = *S.Catalogue;
        QStringList names;
        const int first = FirstValveOf(c, manufacturer);
        const int count = TypeCountOf(c, manufacturer);
        names.reserve(count);
        for (int i = first; i < first + count; ++i)
            names.append(ValveNameAt(c, i, S.codePage()));
        Br->Type->clear();
        Br->Type->addItems(names);
        Br->Type->setCurrentIndex(-1);
    }

    // The lists show the current valve: its manufacturer, that manufacturer's types and its type.
    void showValve(int valveIndex) {
        const TValveCatalogue& c = *S.Catalogue;
        S.Valve.CurrentValve = valveIndex;
        S.Valve.Copy = IsKnownValve(c, valveIndex) ? c.Valves[valveIndex] : TValve{};
        Br->Manufacturer->setCurrentIndex(ManufacturerOfValve(c, valveIndex));
        fillTypeList(Br->Manufacturer->currentIndex());
        Br->Type->setCurrentIndex(TypeOfValve(c, valveIndex));
        if (Br->Manufacturer->currentIndex() < 0 && Br->Manufacturer->count() > 0)
            Br->Manufacturer->setCurrentIndex(0);
    }

    void selectionChanged() {
        current() = 0;
        const QModelIndexList selected = Tree->selectionModel()->selectedIndexes();
        if (selected.isEmpty())
            return;
        const int branch = Model->branchOf(selected.first());
        if (branch >= 0 && branch < project().branchCount()) {
            current() = branch;
            Q.ShowBranchPage(branch);
        } else {
            Q.ShowProjectPage();
        }
        emit Q.currentBranchChanged();
        showBranchPosition();
    }

    void confirmProject() {
        if (Prj->Name->text().isEmpty()) {
            Prj->Name->setFocus();
            showMessage("Please fill name");
            return;
        }
        if (Prj->Name->text().size() > NameEditLength) {
            filling([this] { Prj->Name->setText(Prj->Name->text().left(NameEditLength)); });
        }
        TProjectHeader header = project().Header;
        // Re-encoding an unchanged name could lose characters the current table does not hold.
        if (Prj->Name->text() != ShownProjectName) {
            if (const std::optional<TBranchRefusal> r =
                    CheckTypedName(Prj->Name->text(), project().NamesCodePage)) {
                Prj->Name->setFocus();
                showRefusal(*r);
                return;
            }
            SetNameText(project(), Prj->Name->text(), header.Name);
        }
        Undo.push(new TChangeProject(Doc, Clock, header, decoded(header.Name)));
        Q.ShowProjectPage();
        Q.EndProjectEdit();
        focusTree();
    }

    QLineEdit* editOf(TBranchField field) const {
        switch (field) {
        case TBranchField::Name:
            return Br->Name;
        case TBranchField::InitialPressure:
            return Br->InitialPressure.Edit;
        case TBranchField::FinalPressure:
            return Br->FinalPressure.Edit;
        case TBranchField::RequestedFlow:
            return Br->RequestedFlow.Edit;
        case TBranchField::InitialFlow:
            return Br->InitialFlow.Edit;
        case TBranchField::FinalFlow:
            return Br->FinalFlow.Edit;
        case TBranchField::InitialPresetting:
            return Br->InitialPresetting.Edit;
        case TBranchField::FinalPresetting:
            return Br->FinalPresetting.Edit;
        case TBranchField::Manufacturer:
        case TBranchField::Type:
            break;
        }
        return nullptr;
    }

    TBranchInput branchInput() const {
        TBranchInput input;
        input.Name = Br->Name->text();
        input.Manufacturer = Br->Manufacturer->currentIndex();
        input.Type = Br->Type->currentIndex();
        input.InitialPressure = Br->InitialPressure.Edit->text();
        input.FinalPressure = Br->FinalPressure.Edit->text();
        input.RequestedFlow = Br->RequestedFlow.Edit->text();
        input.InitialFlow = Br->InitialFlow.Edit->text();
        input.FinalFlow = Br->FinalFlow.Edit->text();
        input.InitialPresetting = Br->InitialPresetting.Edit->text();
        input.FinalPresetting = Br->FinalPresetting.Edit->text();
        return input;
    }

    void confirmBranch() {
        const int i = current();
        if (i < 0 || i >= MaxBranches)
            return;
        const TBranchInput input = branchInput();
        const TBranchCheck check = CheckBranchInput(project().Branches[i], input, *S.Catalogue, S.Valve,
                                                    S.Units, project().NamesCodePage, &ShownBranch);
        if (check.EditName != input.Name)
            filling([&] { Br->Name->setText(check.EditName); });
        if (check.Refusal) {
            QWidget* field = editOf(check.Refusal->Field);
            if (check.Refusal->Field == TBranchField::Manufacturer)
                field = Br->Manufacturer;
            else if (check.Refusal->Field == TBranchField::Type)
                field = Br->Type;
            field->setFocus();
            showRefusal(*check.Refusal);
            return;
        }
        S.Valve = check.Valve;
        Q.UpdateHints();
        // The first confirmation of a new branch joins its add.
        Undo.push(
            new TChangeBranch(Doc, Clock, i, check.Branch, decoded(check.Branch.Name), Br->Remark->text()));
        Q.ShowBranchPage(i);
        Q.EndBranchEdit();
        focusTree();
    }

    void cancelBranch() {
        if (NewBranchPending && project().branchCount() > 0) {
            // The add is forgotten with its branch: the project is as it was before it.
            if (!Undo.dropPendingAdd())
                Doc.removeBranch(current());
            current() = 0;
            selectQuietly(-1);
            Q.EndBranchEdit();
            Q.ActivateProjectPage();
        } else {
            Q.ShowBranchPage(current());
            Q.EndBranchEdit();
            focusTree();
        }
    }

    // The press on the tab strip of the project page offers a new branch; answers whether the
    // press is used up.
    bool tabStripPressed(QObject* watched, QMouseEvent* event) {
        if (current() > 0 || Tabs->currentWidget() != Prj || event->button() != Qt::LeftButton ||
            project().isLocked())
            return false;
        const QPoint atTabs = static_cast<QWidget*>(watched)->mapTo(Tabs, event->position().toPoint());
        if (atTabs.y() >= TabStripHeight)
            return false;
        if (ProjectEditPending)
            return true;
        focusTree();
        if (Ui.ask(tr().Translate(QStringLiteral("Branches")),
                   tr().Translate(QStringLiteral("Add new branch?"))) != IUserInterface::Answer::Yes)
            return true;
        Q.AddBranch();
        return false;
    }

    void connectWidgets();

    // The page still shows the moved branch, now under its new index; its node stays selected.
    void moveBranch(int from, int to) {
        const QString name = decoded(project().Branches[static_cast<std::size_t>(from)].Name);
        Undo.push(new TMoveBranch(Doc, Clock, from, to, name));
        Current = to;
        emit Q.currentBranchChanged();
    }

    // The project page's fields follow the header, unless the user is changing them.
    void showHeader() {
        filling([this] {
            Prj->Date->setText(decoded(project().Header.Last_Change));
            if (!ProjectEditPending)
                Prj->Name->setText(decoded(project().Header.Name));
        });
        if (!ProjectEditPending)
            ShownProjectName = Prj->Name->text();
    }

    // A replaced project: no pending edit is left, the tree is built anew, the project page shown.
    void showReplacedProject() {
        Q.ResetPending();
        Current = 0;
        // The tree model has been built anew on the same announcement.
        leaveValveOnLastBranch();
        // A new project shows its prepared first slot, as an opened one shows its first branch.
        if (project().branchCount() > 0 || Doc.state().IsNewProject)
            Q.ShowBranchPage(0);
        Q.ShowProjectPage();
    }

    // Presses on the page control and its tab bar.
    class TTabStripFilter : public QObject {
    public:
        TTabStripFilter(Impl* impl, QObject* parent) : QObject(parent), m_impl(impl) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::MouseButtonPress)
                return m_impl->tabStripPressed(watched, static_cast<QMouseEvent*>(event));
            return QObject::eventFilter(watched, event);
        }

    private:
        Impl* m_impl;
    };
    TTabStripFilter* TabStrip = nullptr;
};

void TProjectEditor::Impl::connectDocument() {
    QObject::connect(&Doc, &TProjectDocument::projectReplaced, &Q, [this] { showReplacedProject(); });
    QObject::connect(&Doc, &TProjectDocument::headerChanged, &Q, [this] { showHeader(); });
    // A remark edited elsewhere (the summary window, an undo there) shows here unless the user is
    // typing on the page.
    QObject::connect(&Doc, &TProjectDocument::commissioningChanged, &Q, [this] {
        if (!BranchEditPending && current() >= 0 && current() < project().branchCount())
            filling([&] { Br->Remark->setText(Doc.branchRemark(current())); });
    });
}

void TProjectEditor::Impl::connectWidgets() {
    QObject::connect(Tree->selectionModel(), &QItemSelectionModel::selectionChanged, &Q, [this] {
        // The rows following the document and the program's own choice are not the user's click.
        if (!Quiet && !Model->updating())
            selectionChanged();
    });
    // Only the root is open after a new build.
    QObject::connect(Model, &QAbstractItemModel::modelReset, &Q,
                     [this] { Tree->expand(Model->rootIndex()); });

    auto projectChanged = [this] {
        if (!Filling)
            beginProjectEdit();
    };
    QObject::connect(Prj->Name, &QLineEdit::textChanged, &Q, projectChanged);
    QObject::connect(Prj->Date, &QLineEdit::textChanged, &Q, projectChanged);
    QObject::connect(Prj->Name, &QLineEdit::returnPressed, &Q, [this] {
        if (ProjectEditPending)
            confirmProject();
    });
    QObject::connect(Prj->Confirm->Ok, &QPushButton::clicked, &Q, [this] { confirmProject(); });
    QObject::connect(Prj->Confirm->Cancel, &QPushButton::clicked, &Q, [this] {
        Q.ShowProjectPage();
        Q.EndProjectEdit();
        focusTree();
    });

    auto branchChanged = [this] {
        if (!Filling)
            beginBranchEdit();
    };
    QList<QLineEdit*> edits = Br->valueEdits();
    edits.prepend(Br->Name);
    edits.append(Br->Remark);
    for (QLineEdit* edit : edits) {
        QObject::connect(edit, &QLineEdit::textChanged, &Q, branchChanged);
        QObject::connect(edit, &QLineEdit::returnPressed, &Q, [this] {
            if (BranchEditPending)
                confirmBranch();
        });
    }
    QObject::connect(Br->Manufacturer, &QComboBox::activated, &Q, [this](int position) {
        if (position < 0)
            return;
        fillTypeList(position);
        beginBranchEdit();
    });
    QObject::connect(Br->Type, &QComboBox::activated, &Q, [this](int position) {
        if (position < 0)
            return;
        S.Valve.SelectValve(*S.Catalogue, Br->Manufacturer->currentIndex(), position);
        Q.UpdateHints();
        beginBranchEdit();
    });
    QObject::connect(Br->Confirm->Ok, &QPushButton::clicked, &Q, [this] { confirmBranch(); });
    QObject::connect(Br->Confirm->Cancel, &QPushButton::clicked, &Q, [this] { cancelBranch(); });

    // Escape drops the pending changes of the page, as its Cancel button does.
    for (TConfirmPanel* panel : {Prj->Confirm, Br->Confirm}) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), panel->parentWidget(), nullptr, nullptr,
                                     Qt::WidgetWithChildrenShortcut);
        QObject::connect(escape, &QShortcut::activated, &Q, [panel] {
            if (panel->isVisible())
                panel->Cancel->click();
        });
    }
    TabStrip = new TTabStripFilter(this, &Q);
    Tabs->installEventFilter(TabStrip);
    Tabs->tabBar()->installEventFilter(TabStrip);
}

TProjectEditor::TProjectEditor(TApplicationState& state, IUserInterface& ui, IMainWindowHooks& hooks,
                               const IClock& clock, QObject* parent)
    : QObject(parent), d(new Impl(*this, state, ui, hooks, clock)) {
    d->Model = new TProjectTreeModel(state.Document, d->treeSource(), this);
    d->Tree = new QTreeView;
    d->Tree->setModel(d->Model);
    d->Tree->setObjectName(QStringLiteral("PrjTree"));
    d->Tree->setHeaderHidden(true);
    d->Tree->setIndentation(19);
    d->Tree->setMinimumWidth(300);
    d->Tree->setSelectionMode(QAbstractItemView::SingleSelection);
    d->Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->Tabs = new QTabWidget;
    d->Tabs->setObjectName(QStringLiteral("PageEdit"));
    d->Tabs->setMinimumSize(540, 480);
    d->Prj = new TProjectPage;
    d->Prj->setObjectName(QStringLiteral("TabPrj"));
    d->Br = new TBranchPage;
    d->Br->setObjectName(QStringLiteral("TabBranch"));
    d->Tabs->addTab(d->Prj, QStringLiteral("   -  Project  -   "));
    d->Tabs->addTab(d->Br, QStringLiteral("   -  Branch  -   "));
    d->showOnly(d->Prj);
    d->connectWidgets();
    d->connectDocument();
    ApplyTexts();
}

TProjectEditor::~TProjectEditor() {
    // The main window owns the widgets once it has placed them.
    if (d->Tree && d->Tree->parent() == nullptr)
        delete d->Tree;
    if (d->Tabs && d->Tabs->parent() == nullptr)
        delete d->Tabs;
    delete d;
}

QTreeView* TProjectEditor::tree() const {
    return d->Tree;
}

TProjectTreeModel& TProjectEditor::treeModel() const {
    return *d->Model;
}

QTabWidget* TProjectEditor::pages() const {
    return d->Tabs;
}

TProjectUndo& TProjectEditor::undo() const {
    return d->Undo;
}

int TProjectEditor::currentBranch() const {
    return d->Current;
}

void TProjectEditor::setCurrentBranch(int branch) {
    d->Current = branch;
}

void TProjectEditor::BuildProjectTree() {
    d->Model->rebuild();
    d->leaveValveOnLastBranch();
}

void TProjectEditor::ShowProjectPage() {
    const TProjectHeader& h = d->project().Header;
    d->filling([&] {
        d->Prj->Name->setText(NameText(d->project(), h.Name));
        d->Prj->Date->setText(NameText(d->project(), h.Last_Change));
        d->showOnly(d->Prj);
    });
    d->ShownProjectName = d->Prj->Name->text();
}

void TProjectEditor::ShowBranchPage(int index) {
    if (index < 0 || index >= MaxBranches)
        return;
    const TBranch& b = d->project().Branches[index];
    const TUnits& u = d->S.Units;
    const TMessageCatalogue& tr = d->S.Messages;
    TBranchPage& p = *d->Br;
    d->filling([&] {
        p.Name->setText(NameText(d->project(), b.Name));
        d->showValve(b.Valve_Index);
        UpdateHints();
        p.InitialPressure.Caption->setText(
            u.PressureCaption(tr.Translate(QStringLiteral("Initial pressure"))));
        p.InitialPressure.Edit->setText(u.FormatPressure(b.Initial_Pressure));
        p.FinalPressure.Caption->setText(u.PressureCaption(tr.Translate(QStringLiteral("Final pressure"))));
        p.FinalPressure.Edit->setText(u.FormatPressure(b.Final_Pressure));
        p.RequestedFlow.Caption->setText(u.FlowCaption(tr.Translate(QStringLiteral("Requested flow"))));
        p.RequestedFlow.Edit->setText(u.FormatFlow(b.Request_Flow));
        p.InitialFlow.Caption->setText(u.FlowCaption(tr.Translate(QStringLiteral("Initial flow"))));
        p.InitialFlow.Edit->setText(u.FormatFlow(b.Initial_Flow));
        p.FinalFlow.Caption->setText(u.FlowCaption(tr.Translate(QStringLiteral("Final flow"))));
        p.FinalFlow.Edit->setText(u.FormatFlow(b.Final_Flow));
        p.InitialPresetting.Edit->setText(u.FormatPresetting(b.Initial_Presetting, tr));
        p.FinalPresetting.Edit->setText(u.FormatPresetting(b.Final_Presetting, tr));
        p.Remark->setText(d->Doc.branchRemark(index));
        d->showOnly(d->Br);
    });
    d->ShownBranch = d->branchInput();
}

void TProjectEditor::UpdateHints() {
    const TValveCatalogue& c = *d->S.Catalogue;
    const TValveSelection& v = d->S.Valve;
    const TUnits& u = d->S.Units;
    TBranchPage& p = *d->Br;
    const bool hasPresetting = v.HasPresetting(c);
    const QString presettingHint = hasPresetting ? PresettingHint(c.Valves[v.CurrentValve]) : QString();
    p.InitialPresetting.Hint->setText(presettingHint);
    p.FinalPresetting.Hint->setText(presettingHint);
    p.InitialPresetting.setVisible(hasPresetting);
    p.FinalPresetting.setVisible(hasPresetting);
    Impl::TRangeHints& hints = d->Hints;
    if (hints.FlowUnit != u.FlowUnit || hints.PressureUnit != u.PressureUnit || hints.Locale != u.Locale) {
        hints = {u.FlowUnit, u.PressureUnit, u.Locale,
                 QStringLiteral("( ") + u.FormatFlow(0) + QStringLiteral(" to ") + u.FormatFlow(FlowHintMax) +
                     QStringLiteral(" )"),
                 QStringLiteral("( ") + u.FormatPressure(PressureHintMin) + QStringLiteral(" to ") +
                     u.FormatPressure(PressureHintMax) + QStringLiteral(" )")};
    }
    p.InitialPressure.Hint->setText(hints.Pressure);
    p.FinalPressure.Hint->setText(hints.Pressure);
    for (const TValueRow* row : {&p.RequestedFlow, &p.InitialFlow, &p.FinalFlow})
        row->Hint->setText(hints.Flow);
    d->Prj->Confirm->setVisible(d->ProjectEditPending);
    p.Confirm->setVisible(d->BranchEditPending);
}

void TProjectEditor::FillManufacturerList() {
    const TValveCatalogue& c = *d->S.Catalogue;
    QStringList names;
    for (int m = 0; m < ManufacturerCountOf(c); ++m)
        names.append(ManufacturerNameAt(c, m, d->S.codePage()));
    d->Br->Manufacturer->clear();
    d->Br->Manufacturer->addItems(names);
}

void TProjectEditor::EndProjectEdit() {
    d->ProjectEditPending = false;
    d->Prj->Confirm->setVisible(false);
    d->Tree->setEnabled(true);
    d->Hooks.EnableMainCommands(true);
}

void TProjectEditor::EndBranchEdit() {
    d->BranchEditPending = false;
    d->Br->Confirm->setVisible(false);
    d->Tree->setEnabled(true);
    d->NewBranchPending = false;
    d->Hooks.EnableMainCommands(true);
}

void TProjectEditor::ResetPending() {
    d->ProjectEditPending = false;
    d->BranchEditPending = false;
    EndBranchEdit();
    UpdateHints();
    d->NewBranchPending = false;
}

void TProjectEditor::SetInputsEnabled(bool enabled) {
    TBranchPage& p = *d->Br;
    d->Prj->Name->setEnabled(enabled);
    d->Prj->Date->setEnabled(false);
    p.Name->setEnabled(enabled);
    p.Manufacturer->setEnabled(enabled);
    p.Type->setEnabled(enabled);
    for (QLineEdit* edit : p.valueEdits())
        edit->setEnabled(enabled);
    p.Remark->setEnabled(enabled);
}

void TProjectEditor::ActivateProjectPage() {
    d->showOnly(d->Prj);
}

void TProjectEditor::AddBranch() {
    const TProject& project = d->project();
    const int count = project.branchCount();
    if (count >= MaxBranches) {
        d->showMessage("Cannot add branch (maximum 1500 branches)");
        return;
    }
    const int slot = count == 0 ? 0 : std::clamp(d->current(), -1, count - 1) + 1;
    // The slot's spare bytes stay those of the branch that moves up out of it, as they always did.
    TBranch branch = project.Branches[static_cast<std::size_t>(slot)];
    InitBranchRecord(branch);
    d->Undo.push(new TAddBranch(d->Doc, slot, branch));
    d->current() = slot;
    d->filling([&] {
        d->selectQuietly(slot);
        ShowBranchPage(slot);
        d->Br->Name->clear();
        d->beginBranchEdit();
        d->Br->Name->setFocus();
    });
    d->NewBranchPending = true;
}

void TProjectEditor::DeleteBranch() {
    int& current = d->current();
    if (current < 0 || current >= d->project().branchCount())
        return;
    const TMessageCatalogue& tr = d->tr();
    const QString name = d->decoded(d->project().Branches[static_cast<std::size_t>(current)].Name);
    // Named, so that a wrong selection shows before the branch is gone.
    const QString which = name.trimmed().isEmpty()
                              ? tr.Translate(QStringLiteral("Branch %1 will be deleted.")).arg(current + 1)
                              : tr.Translate(QStringLiteral("Branch %1 (%2) will be deleted."))
                                    .arg(QString::number(current + 1), name.trimmed());
    if (d->Ui.askDefaultNo(tr.Translate(QStringLiteral("Delete the branch")),
                           which + u'\n' + tr.Translate(QStringLiteral("Do you agree?"))) ==
        IUserInterface::Answer::Yes) {
        d->Hooks.SetStatus(tr.Translate(QStringLiteral("Deleting the branch...")));
        d->Undo.push(new TDeleteBranch(d->Doc, d->Clock, current, name));
        d->Hooks.SetStatus(QString());
    }
    const int count = d->project().branchCount();
    if (current >= count)
        current = std::max(count - 1, 0);
    ShowBranchPage(current);
    d->selectQuietly(count == 0 ? -1 : current);
    if (count == 0)
        ActivateProjectPage();
    emit currentBranchChanged();
}

void TProjectEditor::MoveBranchUp() {
    const int current = d->current();
    if (current <= 0 || current >= d->project().branchCount()) {
        d->Hooks.SetStatus(d->tr().Translate(QStringLiteral("Cannot move branch")));
        return;
    }
    d->Hooks.SetStatus(d->tr().Translate(QStringLiteral("Moving branch up")));
    d->moveBranch(current, current - 1);
}

void TProjectEditor::MoveBranchDown() {
    const int current = d->current();
    if (current < 0 || current + 1 >= d->project().branchCount()) {
        d->Hooks.SetStatus(d->tr().Translate(QStringLiteral("Cannot move branch")));
        return;
    }
    d->Hooks.SetStatus(d->tr().Translate(QStringLiteral("Moving branch down")));
    d->moveBranch(current, current + 1);
}

void TProjectEditor::Undo() {
    d->step(true);
}

void TProjectEditor::Redo() {
    d->step(false);
}

void TProjectEditor::RefreshAfterUnits() {
    BuildProjectTree();
    ShowBranchPage(d->current());
    ShowProjectPage();
}

void TProjectEditor::RefreshAfterLanguage() {
    ShowBranchPage(d->current());
    ShowProjectPage();
    BuildProjectTree();
}

void TProjectEditor::ApplyTexts() {
    const TMessageCatalogue& tr = d->tr();
    auto t = [&tr](const char* english) { return tr.Translate(QString::fromLatin1(english)); };
    TProjectPage& prj = *d->Prj;
    TBranchPage& br = *d->Br;
    prj.Heading->setText(t("Project properties"));
    br.Heading->setText(t("Branch properties"));
    prj.Confirm->Question->setText(t("Confirm changes ?"));
    br.Confirm->Question->setText(t("Confirm changes ?"));
    prj.NameCaption->setText(t("Project name"));
    prj.DateCaption->setText(t("Last change"));
    d->Tabs->setTabText(d->Tabs->indexOf(d->Prj), t("   -  Project  -   "));
    d->Tabs->setTabText(d->Tabs->indexOf(d->Br), t("   -  Branch  -   "));
    br.NameCaption->setText(t("Branch name"));
    br.ManufacturerCaption->setText(t("Manufacturer"));
    br.TypeCaption->setText(t("Type"));
    br.InitialPresetting.Caption->setText(t("Initial presetting"));
    br.FinalPresetting.Caption->setText(t("Final presetting"));
    br.RemarkCaption->setText(t("Remark"));
}

bool TProjectEditor::ProjectEditPending() const {
    return d->ProjectEditPending;
}

bool TProjectEditor::BranchEditPending() const {
    return d->BranchEditPending;
}

bool TProjectEditor::NewBranchPending() const {
    return d->NewBranchPending;
}
