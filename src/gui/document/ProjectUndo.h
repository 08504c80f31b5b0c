// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QUndoStack>

class TMessageCatalogue;
class TProjectDocument;
class TProjectEdit;

// The undo history of the open project. A replaced project starts a fresh one; the document's
// Modified follows the history's clean state both ways: a save marks the current edit clean, and
// undoing or redoing back to it clears Modified.
class TProjectUndo : public QObject {
    Q_OBJECT
public:
    explicit TProjectUndo(TProjectDocument& document, QObject* parent = nullptr);
    ~TProjectUndo() override;

    QUndoStack& stack() { return m_stack; }
    const QUndoStack& stack() const { return m_stack; }
    // Applies the edit and keeps it.
    void push(TProjectEdit* edit);
    // The top edit when it is a new branch not confirmed yet: taken back and forgotten. False when
    // there is none.
    bool dropPendingAdd();
    // The edit the next undo (redo) would take back (do again); null when there is none.
    const TProjectEdit* nextUndo() const;
    const TProjectEdit* nextRedo() const;
    // "Undo rename of branch Riser 1", or "Undo" alone when there is nothing to undo.
    QString undoText(const TMessageCatalogue& messages) const;
    QString redoText(const TMessageCatalogue& messages) const;

private:
    void followDocument();
    void restart();

    TProjectDocument& m_document;
    QUndoStack m_stack;
    // Set while the history itself is being reset, when its clean signals say nothing of the project.
    bool m_resetting = false;
};
