// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ProjectTreeBalance.h"

#include "localisation/Translator.h"
#include "mainwindow/ProjectTree.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/ProjectRecords.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidget>

namespace {

// The warning of a branch outside the tolerance; the tooltip comes from BranchBalanceTip when asked.
class TBalanceMarks {
public:
    TBalanceMarks(const QTreeWidget& tree, double tolerancePercent) : m_tree(tree), m_tolerance(tolerancePercent) {}

    void mark(QTreeWidgetItem* node, const TBranch& branch) const {
        const bool outside = BranchBalance(branch, m_tolerance).State == TBalanceState::Outside;
        // Every change of an item goes through the view's model; a node built a moment ago has no mark
        // to take away, and most branches are within the tolerance.
        if (outside) {
            // The style's icon is looked up only for a branch that needs it.
            if (m_warning.isNull())
                m_warning = m_tree.style()->standardIcon(QStyle::SP_MessageBoxWarning);
            node->setIcon(0, m_warning);
            node->setForeground(0, QBrush(Qt::red));
        } else if (node->data(0, Qt::DecorationRole).isValid()) {
            node->setIcon(0, QIcon());
            node->setForeground(0, QBrush());
        }
    }

private:
    const QTreeWidget& m_tree;
    double m_tolerance;
    mutable QIcon m_warning;
};

} // namespace

QString BranchBalanceTip(const TBranch& branch, double tolerancePercent, const QLocale& locale,
                         const ITranslator& translator) {
    const TBranchBalance balance = BranchBalance(branch, tolerancePercent);
    if (!balance.Deviation)
        return QString();
    return translator.Translate(QStringLiteral("Deviation")) + QStringLiteral(": ") +
           FormatDeviation(balance.Deviation, locale) + QStringLiteral(" %  (") +
           translator.Translate(QStringLiteral("Tolerance")) + QStringLiteral(": \u00B1") +
           locale.toString(tolerancePercent) + QStringLiteral(" %)");
}

void MarkBranchBalance(QTreeWidget& tree, const TProject& project, double tolerancePercent) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (!root)
        return;
    const TBalanceMarks marks(tree, tolerancePercent);
    // The branch nodes follow the project's lines in order; looking each node's branch up would
    // take a walk along the root's children per node.
    const int count = project.branchCount();
    for (int branch = 0; branch < count; ++branch) {
        QTreeWidgetItem* node = BranchNode(tree, branch);
        if (node == nullptr)
            break;
        marks.mark(node, project.Branches[static_cast<std::size_t>(branch)]);
    }
}

void MarkOneBranchBalance(QTreeWidget& tree, const TProject& project, int branch, double tolerancePercent) {
    QTreeWidgetItem* node = BranchNode(tree, branch);
    if (node == nullptr || branch >= project.branchCount())
        return;
    TBalanceMarks(tree, tolerancePercent).mark(node, project.Branches[static_cast<std::size_t>(branch)]);
}
