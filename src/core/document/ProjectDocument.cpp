// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ProjectDocument.h"

#include "model/BranchList.h"

#include <algorithm>

TProjectDocument::TProjectDocument(QObject* parent)
    : QObject(parent), m_project(std::make_unique<TProject>()) {}

TProjectDocument::~TProjectDocument() = default;

void TProjectDocument::replace(const TProject& project, const TDocumentState& state,
                               const TCommissioningDetails& details) {
    // resetToNew prepares the project where it stands.
    if (&project != m_project.get())
        *m_project = project;
    m_state = state;
    m_commissioning = details;
    fitRemarks();
    emit projectReplaced();
    emit stateChanged();
}

void TProjectDocument::setState(const TDocumentState& state) {
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged();
}

void TProjectDocument::resetToNew(int namesCodePage) {
    m_project->NamesCodePage = namesCodePage;
    resetToNew();
}

void TProjectDocument::resetToNew() {
    TProjectHeader& header = m_project->Header;
    // The other state bits and the bytes after each text's end are the instrument's: kept.
    header.State = static_cast<std::uint16_t>(header.State & ~StateLocked);
    header.Branch_Count = 0;
    header.Name[0] = 0;
    header.Last_Change[0] = 0;
    InitBranch(*m_project, 0);
    TDocumentState fresh;
    fresh.IsNewProject = true;
    replace(*m_project, fresh);
}

void TProjectDocument::replaceFromFile(const TProject& project, const QString& path,
                                       const TCommissioningDetails& details) {
    TDocumentState opened;
    opened.ProjectFileName = path;
    opened.HasFileName = true;
    replace(project, opened, details);
}

void TProjectDocument::replaceFromInstrument(const TProject& project, const QString& title) {
    TDocumentState read;
    read.ProjectFileName = title;
    read.LinkedToInstrument = true;
    // An imported project's lock is the workbook's; the instrument's copy is the user's to edit.
    if (&project != m_project.get())
        *m_project = project;
    m_project->Header.State = static_cast<std::uint16_t>(m_project->Header.State & ~StateLocked);
    replace(*m_project, read);
}

void TProjectDocument::replaceFromWorkbook(const TProject& project, const QString& fileName) {
    TDocumentState imported;
    imported.ProjectFileName = fileName;
    imported.Modified = true;
    imported.HasFileName = true;
    replace(project, imported);
}

void TProjectDocument::markSavedToFile(const QString& path) {
    TDocumentState saved = m_state;
    saved.ProjectFileName = path;
    saved.IsNewProject = false;
    saved.HasFileName = true;
    saved.Modified = false;
    setState(saved);
}

void TProjectDocument::markWrittenToInstrument(const QString& title) {
    TDocumentState written = m_state;
    // A project with a file keeps it: Save must go on writing there, not to a file named after the
    // instrument.
    if (!written.HasFileName)
        written.ProjectFileName = title;
    written.Modified = false;
    setState(written);
}

void TProjectDocument::markExportedToWorkbook(bool hasFileName) {
    TDocumentState exported = m_state;
    exported.IsNewProject = false;
    exported.Modified = true;
    exported.LinkedToInstrument = false;
    exported.HasFileName = hasFileName;
    setState(exported);
}

void TProjectDocument::setModified(bool modified) {
    TDocumentState changed = m_state;
    changed.Modified = modified;
    setState(changed);
}

void TProjectDocument::setHeader(const TProjectHeader& header) {
    // The count belongs to the branch list: a header from before an insert or removal must not undo it.
    TProjectHeader next = header;
    next.Branch_Count = m_project->Header.Branch_Count;
    m_project->Header = next;
    emit headerChanged();
}

bool TProjectDocument::setBranch(int index, const TBranch& branch) {
    if (index < 0 || index >= m_project->branchCount())
        return false;
    m_project->Branches[static_cast<std::size_t>(index)] = branch;
    emit branchChanged(index);
    return true;
}

QString TProjectDocument::branchRemark(int index) const {
    return m_commissioning.BranchRemarks.value(index);
}

void TProjectDocument::fitRemarks() {
    QStringList& remarks = m_commissioning.BranchRemarks;
    const int count = m_project->branchCount();
    if (remarks.size() > count)
        remarks.resize(count);
    while (remarks.size() < count)
        remarks.append(QString());
}

void TProjectDocument::setCommissioning(const TCommissioningDetails& details) {
    m_commissioning = details;
    fitRemarks();
    emit commissioningChanged();
}

bool TProjectDocument::setBranchRemark(int index, const QString& remark) {
    if (index < 0 || index >= m_project->branchCount())
        return false;
    fitRemarks();
    m_commissioning.BranchRemarks[index] = remark;
    emit commissioningChanged();
    return true;
}

bool TProjectDocument::insertBranch(int index, const TBranch& branch, const QString& remark) {
    const int count = m_project->branchCount();
    if (count >= MaxBranches || index < 0 || index > count)
        return false;
    emit aboutToInsertBranches(index, 1);
    auto& b = m_project->Branches;
    std::copy_backward(b.begin() + index, b.begin() + count, b.begin() + count + 1);
    b[static_cast<std::size_t>(index)] = branch;
    m_project->Header.Branch_Count = static_cast<std::int16_t>(count + 1);
    fitRemarks();
    m_commissioning.BranchRemarks.insert(index, remark);
    m_commissioning.BranchRemarks.removeLast();
    emit branchesInserted(index, 1);
    return true;
}

bool TProjectDocument::removeBranch(int index) {
    if (index < 0 || index >= m_project->branchCount())
        return false;
    emit aboutToRemoveBranches(index, 1);
    DeleteBranch(*m_project, index);
    if (index < m_commissioning.BranchRemarks.size())
        m_commissioning.BranchRemarks.removeAt(index);
    fitRemarks();
    emit branchesRemoved(index, 1);
    return true;
}

bool TProjectDocument::moveBranch(int from, int to) {
    const int count = m_project->branchCount();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return false;
    emit aboutToMoveBranch(from, to);
    auto& b = m_project->Branches;
    if (from < to)
        std::rotate(b.begin() + from, b.begin() + from + 1, b.begin() + to + 1);
    else
        std::rotate(b.begin() + to, b.begin() + from, b.begin() + from + 1);
    fitRemarks();
    m_commissioning.BranchRemarks.move(from, to);
    emit branchMoved(from, to);
    return true;
}

void FollowProjectChanges(const TProjectDocument& document, const QObject* context,
                          const std::function<void()>& changed) {
    const TProjectDocument* d = &document;
    QObject::connect(d, &TProjectDocument::projectReplaced, context, changed);
    QObject::connect(d, &TProjectDocument::headerChanged, context, changed);
    QObject::connect(d, &TProjectDocument::branchChanged, context, changed);
    QObject::connect(d, &TProjectDocument::branchesInserted, context, changed);
    QObject::connect(d, &TProjectDocument::branchesRemoved, context, changed);
    QObject::connect(d, &TProjectDocument::branchMoved, context, changed);
    QObject::connect(d, &TProjectDocument::commissioningChanged, context, changed);
}
