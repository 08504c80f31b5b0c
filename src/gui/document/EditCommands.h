// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CommissioningDetails.h"
#include "model/ProjectRecords.h"

#include <QString>
#include <QUndoCommand>

#include <optional>

class IClock;
class TMessageCatalogue;
class TProjectDocument;

// One edit of the open project on the undo stack. Each stamps the last change once, when it is
// made, and undo puts the previous stamp back, so that undoing every edit restores the project
// byte for byte.
class TProjectEdit : public QUndoCommand {
public:
    // "rename of branch Riser 1", in the current language.
    QString describe(const TMessageCatalogue& messages) const;
    // The branch the user should see after an undo or redo of this edit; -1 for the project node.
    virtual int shownBranch(bool afterUndo) const = 0;

protected:
    // stamped: the header after the edit carries the clock's time as its last change.
    TProjectEdit(TProjectDocument& document, const IClock* stamped, const char* english, QString name);
    TProjectDocument& m_document;
    TProjectHeader m_headerBefore;
    TProjectHeader m_headerAfter;

private:
    const char* m_english;
    QString m_name;
    friend class TAddBranch;
};

// The project page confirmed: the header with its new name.
class TChangeProject final : public TProjectEdit {
public:
    // name: the new name as the page shows it.
    TChangeProject(TProjectDocument& document, const IClock& clock, const TProjectHeader& header,
                   const QString& name);
    void undo() override;
    void redo() override;
    int shownBranch(bool) const override { return -1; }
};

// A branch page confirmed, its remark with it (none: the remark stays). A confirm that changes the remark
// alone leaves the last change as it was: the remark is not in the project file.
class TChangeBranch final : public TProjectEdit {
public:
    TChangeBranch(TProjectDocument& document, const IClock& clock, int index, const TBranch& branch,
                  const QString& name, const std::optional<QString>& remark = std::nullopt);
    void undo() override;
    void redo() override;
    int id() const override;
    int shownBranch(bool) const override { return m_index; }

private:
    friend class TAddBranch;
    int m_index;
    TBranch m_before;
    TBranch m_after;
    QString m_remarkBefore;
    QString m_remarkAfter;
};

// A new, empty branch at index, awaiting its first confirmation; that confirmation merges into it,
// so the stack holds one "add" with the branch as confirmed. Dropping it while pending leaves no
// trace (see TProjectUndo::dropPendingAdd).
class TAddBranch final : public TProjectEdit {
public:
    TAddBranch(TProjectDocument& document, int index, const TBranch& branch);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    int shownBranch(bool afterUndo) const override { return afterUndo ? -1 : m_index; }
    bool pending() const { return m_pending; }
    int index() const { return m_index; }

private:
    int m_index;
    TBranch m_branch;
    QString m_remark;
    bool m_pending = true;
};

class TDeleteBranch final : public TProjectEdit {
public:
    TDeleteBranch(TProjectDocument& document, const IClock& clock, int index, const QString& name);
    void undo() override;
    void redo() override;
    int shownBranch(bool afterUndo) const override;

private:
    int m_index;
    TBranch m_branch;
    QString m_remark;
};

// Move up or down: the branch at `from` goes to `to`.
class TMoveBranch final : public TProjectEdit {
public:
    TMoveBranch(TProjectDocument& document, const IClock& clock, int from, int to, const QString& name);
    void undo() override;
    void redo() override;
    int shownBranch(bool afterUndo) const override { return afterUndo ? m_from : m_to; }

private:
    int m_from;
    int m_to;
};

// The commissioning details as the dialog confirmed them. They live beside the project file, so the
// project's last change stays as it was.
class TChangeCommissioning final : public TProjectEdit {
public:
    TChangeCommissioning(TProjectDocument& document, const TCommissioningDetails& details);
    void undo() override;
    void redo() override;
    int shownBranch(bool) const override { return -1; }

private:
    TCommissioningDetails m_before;
    TCommissioningDetails m_after;
};
