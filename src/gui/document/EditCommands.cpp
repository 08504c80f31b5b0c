// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/EditCommands.h"

#include "document/ProjectDocument.h"
#include "localisation/MessageCatalogue.h"
#include "model/Translator.h"
#include "model/LastChangeStamp.h"

#include <algorithm>
#include <cstring>

namespace {
// Merges a branch's first confirmation into the add that created it.
constexpr int BranchEditId = 1;
} // namespace

TProjectEdit::TProjectEdit(TProjectDocument& document, const IClock* stamped, const char* english,
                           QString name)
    : m_document(document), m_headerBefore(document.project().Header), m_headerAfter(m_headerBefore),
      m_english(english), m_name(std::move(name)) {
    setText(QString::fromLatin1(english).replace(QStringLiteral("%s"), m_name));
    if (stamped)
        StampLastChange(m_headerAfter, *stamped);
}

QString TProjectEdit::describe(const TMessageCatalogue& messages) const {
    return messages.TranslateFmt(QString::fromLatin1(m_english), m_name);
}

TChangeProject::TChangeProject(TProjectDocument& document, const IClock& clock, const TProjectHeader& header,
                               const QString& name)
    : TProjectEdit(document, &clock, EnglishText("rename of project %s"), name) {
    std::memcpy(m_headerAfter.Name, header.Name, sizeof m_headerAfter.Name);
}

void TChangeProject::undo() {
    m_document.setHeader(m_headerBefore);
}

void TChangeProject::redo() {
    m_document.setHeader(m_headerAfter);
}

namespace {
bool sameBranch(const TBranch& a, const TBranch& b) {
    return std::memcmp(&a, &b, sizeof(TBranch)) == 0;
}
} // namespace

TChangeBranch::TChangeBranch(TProjectDocument& document, const IClock& clock, int index,
                             const TBranch& branch, const QString& name, const std::optional<QString>& remark)
    : TProjectEdit(document,
                   sameBranch(document.project().Branches[static_cast<std::size_t>(index)], branch) &&
                           remark && document.branchRemark(index) != *remark
                       ? nullptr
                       : &clock,
                   std::memcmp(document.project().Branches[static_cast<std::size_t>(index)].Name, branch.Name,
                               sizeof branch.Name) != 0
                       ? EnglishText("rename of branch %s")
                       : EnglishText("change of branch %s"),
                   name),
      m_index(index), m_before(document.project().Branches[static_cast<std::size_t>(index)]), m_after(branch),
      m_remarkBefore(document.branchRemark(index)), m_remarkAfter(remark.value_or(m_remarkBefore)) {}

void TChangeBranch::undo() {
    m_document.setBranch(m_index, m_before);
    if (m_remarkBefore != m_remarkAfter)
        m_document.setBranchRemark(m_index, m_remarkBefore);
    m_document.setHeader(m_headerBefore);
}

void TChangeBranch::redo() {
    m_document.setBranch(m_index, m_after);
    if (m_remarkBefore != m_remarkAfter)
        m_document.setBranchRemark(m_index, m_remarkAfter);
    m_document.setHeader(m_headerAfter);
}

int TChangeBranch::id() const {
    return BranchEditId;
}

TAddBranch::TAddBranch(TProjectDocument& document, int index, const TBranch& branch)
    : TProjectEdit(document, nullptr, EnglishText("add of branch %s"), QString()), m_index(index),
      m_branch(branch) {}

void TAddBranch::undo() {
    m_document.removeBranch(m_index);
    m_document.setHeader(m_headerBefore);
    // Only a cancelled new branch is undone while pending: the stack then forgets it.
    if (m_pending)
        setObsolete(true);
}

void TAddBranch::redo() {
    m_document.insertBranch(m_index, m_branch, m_remark);
    if (!m_pending)
        m_document.setHeader(m_headerAfter);
}

int TAddBranch::id() const {
    return BranchEditId;
}

bool TAddBranch::mergeWith(const QUndoCommand* other) {
    const auto* confirmed = dynamic_cast<const TChangeBranch*>(other);
    if (!m_pending || confirmed == nullptr || confirmed->m_index != m_index)
        return false;
    // The confirmation has already been applied; the add now stands for its result.
    m_pending = false;
    m_branch = confirmed->m_after;
    m_remark = confirmed->m_remarkAfter;
    m_headerAfter = confirmed->m_headerAfter;
    m_name = confirmed->m_name;
    setText(QString::fromLatin1(m_english).replace(QStringLiteral("%s"), m_name));
    return true;
}

TDeleteBranch::TDeleteBranch(TProjectDocument& document, const IClock& clock, int index, const QString& name)
    : TProjectEdit(document, &clock, EnglishText("delete of branch %s"), name), m_index(index),
      m_branch(document.project().Branches[static_cast<std::size_t>(index)]),
      m_remark(document.branchRemark(index)) {}

void TDeleteBranch::undo() {
    m_document.insertBranch(m_index, m_branch, m_remark);
    m_document.setHeader(m_headerBefore);
}

void TDeleteBranch::redo() {
    m_document.removeBranch(m_index);
    m_document.setHeader(m_headerAfter);
}

int TDeleteBranch::shownBranch(bool afterUndo) const {
    if (afterUndo)
        return m_index;
    const int count = m_document.project().branchCount();
    return count == 0 ? -1 : std::min(m_index, count - 1);
}

TMoveBranch::TMoveBranch(TProjectDocument& document, const IClock& clock, int from, int to,
                         const QString& name)
    : TProjectEdit(document, &clock, EnglishText("move of branch %s"), name), m_from(from), m_to(to) {}

void TMoveBranch::undo() {
    m_document.moveBranch(m_to, m_from);
    m_document.setHeader(m_headerBefore);
}

void TMoveBranch::redo() {
    m_document.moveBranch(m_from, m_to);
    m_document.setHeader(m_headerAfter);
}

TChangeCommissioning::TChangeCommissioning(TProjectDocument& document, const TCommissioningDetails& details)
    : TProjectEdit(document, nullptr, EnglishText("change of the commissioning details"), QString()),
      m_before(document.commissioning()), m_after(details) {}

void TChangeCommissioning::undo() {
    m_document.setCommissioning(m_before);
}

void TChangeCommissioning::redo() {
    m_document.setCommissioning(m_after);
}
