// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/EditCommands.h"

#include <QString>

// A branch's remark for the commissioning report changed. The project file holds no remarks, so
// the project's last change stays as it was.
class TChangeBranchRemark final : public TProjectEdit {
public:
    // name: the branch's name as the window shows it.
    TChangeBranchRemark(TProjectDocument& document, int index, const QString& remark, const QString& name);
    void undo() override;
    void redo() override;
    int shownBranch(bool) const override { return m_index; }

private:
    int m_index;
    QString m_before;
    QString m_after;
};
