// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CommissioningDetails.h"
#include "model/ProjectRecords.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Where the open project came from and whether it was changed since.
struct TDocumentState {
    // The project file's path; after an exchange with the instrument "ZRV 10: " and the project name.
    QString ProjectFileName;
    // Created by New and not saved, opened, read or exchanged since.
    bool IsNewProject = false;
    // Changed since it was last opened, saved or transferred.
    bool Modified = false;
    // Read from (or written as a new project to) the instrument; closing asks to write it back.
    bool LinkedToInstrument = false;
    // ProjectFileName names a file on disk.
    bool HasFileName = false;

    bool operator==(const TDocumentState&) const = default;
};

// The open project: the one TProject of the program (on the heap, at one address for the whole run),
// its name and its flags. Every change is announced, so that the windows follow it instead of being
// told; edits come from the undo commands, replacements from the file, workbook and instrument
// commands.
class TProjectDocument : public QObject {
    Q_OBJECT
public:
    explicit TProjectDocument(QObject* parent = nullptr);
    ~TProjectDocument() override;

    // The only view of the project from outside: every change goes through the operations below.
    const TProject& project() const { return *m_project; }
    const TDocumentState& state() const { return m_state; }
    // What the certificate says beyond the measurements; BranchRemarks holds one entry per branch.
    const TCommissioningDetails& commissioning() const { return m_commissioning; }
    // Empty beyond the list.
    QString branchRemark(int index) const;

    // Replacements: the whole project changes, and with it the undo history.
    // New: no name, no branches, unlocked; branch slot 0 prepared for a first branch. The names keep
    // their table, or take namesCodePage.
    void resetToNew();
    void resetToNew(int namesCodePage);
    // The details come from the file beside the project; none when it has none.
    void replaceFromFile(const TProject& project, const QString& path,
                         const TCommissioningDetails& details = {});
    // Read from the instrument; `title` names it in the window's title.
    void replaceFromInstrument(const TProject& project, const QString& title);
    // Imported from a workbook: locked, changed, named after the workbook (fileName).
    void replaceFromWorkbook(const TProject& project, const QString& fileName);

    // State changes that leave the project as it is.
    void markSavedToFile(const QString& path);
    // The window's title becomes `title` unless the project has a file of its own, which it keeps.
    void markWrittenToInstrument(const QString& title);
    // Results exported into a workbook; hasFileName: the project keeps (or has) a file of its own.
    void markExportedToWorkbook(bool hasFileName);
    void setModified(bool modified);
    // Every flag at once: a state saved before, or a test's starting point.
    void setState(const TDocumentState& state);

    // Edits, for the undo commands. Each checks its positions and answers whether it changed anything.
    // A branch's remark travels with it through insert, remove and move.
    void setHeader(const TProjectHeader& header);
    bool setBranch(int index, const TBranch& branch);
    // Puts the branch at index; the branches from index on move one slot up.
    bool insertBranch(int index, const TBranch& branch, const QString& remark = QString());
    bool removeBranch(int index);
    // Takes the branch out at `from` and puts it back at `to`; the ones between close up.
    bool moveBranch(int from, int to);
    // The remarks list is fitted to the branches: cut or filled with empty remarks.
    void setCommissioning(const TCommissioningDetails& details);
    bool setBranchRemark(int index, const QString& remark);

signals:
    void projectReplaced();
    // Name, last change, lock or any other header field (not announced for the count alone).
    void headerChanged();
    void branchChanged(int index);
    // Before and after: an item model must announce rows while its old ones still hold.
    void aboutToInsertBranches(int first, int count);
    void branchesInserted(int first, int count);
    // Before the branches go, so that a listener can still read them.
    void aboutToRemoveBranches(int first, int count);
    void branchesRemoved(int first, int count);
    void aboutToMoveBranch(int from, int to);
    void branchMoved(int from, int to);
    void stateChanged();
    // Any commissioning detail, a branch's remark included; not sent for replacements.
    void commissioningChanged();

private:
    void replace(const TProject& project, const TDocumentState& state,
                 const TCommissioningDetails& details = {});
    void fitRemarks();

    std::unique_ptr<TProject> m_project;
    TDocumentState m_state;
    TCommissioningDetails m_commissioning;
};

// Calls `changed` after every change of the project or its commissioning details while `context` lives:
// for windows that show the whole project and refresh it at once.
void FollowProjectChanges(const TProjectDocument& document, const QObject* context,
                          const std::function<void()>& changed);
