// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class IClock;
class IMainWindowHooks;
class IUserInterface;
class QTabWidget;
class QTreeView;
class TProjectTreeModel;
class TProjectUndo;
struct TApplicationState;

// The project tree and the two editor pages (project, branch) with their staged editing, and the
// branch list commands. The main window places tree() and pages() and calls the operations from its
// menus; everything else of the editing lives here. Every edit goes as a command onto undo(); the
// tree (a model over the document) and the pages follow the document's announcements, so the user
// keeps their place.
class TProjectEditor : public QObject {
    Q_OBJECT
public:
    TProjectEditor(TApplicationState& state, IUserInterface& ui, IMainWindowHooks& hooks, const IClock& clock,
                   QObject* parent = nullptr);
    ~TProjectEditor() override;

    QTreeView* tree() const;
    TProjectTreeModel& treeModel() const;
    QTabWidget* pages() const;
    TProjectUndo& undo() const;

    // The branch on the branch page; 0 while the project node is selected.
    int currentBranch() const;
    void setCurrentBranch(int branch);

    void BuildProjectTree();
    void ShowProjectPage();
    void ShowBranchPage(int index);
    void UpdateHints();
    void FillManufacturerList();
    void EndProjectEdit();
    void EndBranchEdit();
    // Start-up: no confirm panel, no new branch pending.
    void ResetPending();
    // Inputs of both pages follow the project's lock (the date edit stays disabled).
    void SetInputsEnabled(bool enabled);
    void ActivateProjectPage();

    void AddBranch();
    void DeleteBranch();
    void MoveBranchUp();
    void MoveBranchDown();
    // Take back (do again) the last edit and show the branch it concerned. Nothing while a page has
    // changes to confirm.
    void Undo();
    void Redo();

    // After a change of units / of language: tree and both pages again, ending on the project page.
    void RefreshAfterUnits();
    void RefreshAfterLanguage();
    // The fixed captions of both pages in the current language.
    void ApplyTexts();

    bool ProjectEditPending() const;
    bool BranchEditPending() const;
    bool NewBranchPending() const;

signals:
    // The branch the commands act on changed (a selection, a move, a delete): the window's
    // enabling rules follow it.
    void currentBranchChanged();

private:
    struct Impl;
    Impl* d;
};
