// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ProjectUndo.h"

#include "document/EditCommands.h"
#include "document/ProjectDocument.h"
#include "localisation/MessageCatalogue.h"
#include "model/Translator.h"

TProjectUndo::TProjectUndo(TProjectDocument& document, QObject* parent)
    : QObject(parent), m_document(document) {
    connect(&m_document, &TProjectDocument::projectReplaced, this, &TProjectUndo::restart);
    connect(&m_document, &TProjectDocument::stateChanged, this, &TProjectUndo::followDocument);
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!m_resetting)
            m_document.setModified(!clean);
    });
    restart();
}

TProjectUndo::~TProjectUndo() {
    // The stack's clearing in its destructor must not reach windows already half gone.
    m_stack.blockSignals(true);
}

void TProjectUndo::restart() {
    m_resetting = true;
    m_stack.clear();
    m_resetting = false;
    followDocument();
}

void TProjectUndo::followDocument() {
    // A project that is changed where no edit of ours made it so (an import, an export, a branch
    // just added) has no clean point in this history; a saved one is clean where it stands.
    const bool modified = m_document.state().Modified;
    m_resetting = true;
    if (modified && m_stack.isClean())
        m_stack.resetClean();
    else if (!modified && !m_stack.isClean())
        m_stack.setClean();
    m_resetting = false;
}

void TProjectUndo::push(TProjectEdit* edit) {
    m_stack.push(edit);
}

bool TProjectUndo::dropPendingAdd() {
    const auto* add = dynamic_cast<const TAddBranch*>(nextUndo());
    if (add == nullptr || !add->pending())
        return false;
    m_stack.undo();
    return true;
}

const TProjectEdit* TProjectUndo::nextUndo() const {
    const int index = m_stack.index();
    return index > 0 ? static_cast<const TProjectEdit*>(m_stack.command(index - 1)) : nullptr;
}

const TProjectEdit* TProjectUndo::nextRedo() const {
    const int index = m_stack.index();
    return index < m_stack.count() ? static_cast<const TProjectEdit*>(m_stack.command(index)) : nullptr;
}

QString TProjectUndo::undoText(const TMessageCatalogue& messages) const {
    const TProjectEdit* edit = nextUndo();
    return edit ? messages.TranslateFmt(QStringLiteral("Undo %s"), edit->describe(messages))
                : messages.Translate(QStringLiteral("Undo"));
}

QString TProjectUndo::redoText(const TMessageCatalogue& messages) const {
    const TProjectEdit* edit = nextRedo();
    return edit ? messages.TranslateFmt(QStringLiteral("Redo %s"), edit->describe(messages))
                : messages.Translate(QStringLiteral("Redo"));
}
