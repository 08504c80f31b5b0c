// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/RemarkEdit.h"

#include "document/ProjectDocument.h"
#include "model/Translator.h"

TChangeBranchRemark::TChangeBranchRemark(TProjectDocument& document, int index, const QString& remark,
                                         const QString& name)
    : TProjectEdit(document, nullptr, EnglishText("remark of branch %s"), name), m_index(index),
      m_before(document.branchRemark(index)), m_after(remark) {}

void TChangeBranchRemark::undo() {
    m_document.setBranchRemark(m_index, m_before);
}

void TChangeBranchRemark::redo() {
    m_document.setBranchRemark(m_index, m_after);
}
