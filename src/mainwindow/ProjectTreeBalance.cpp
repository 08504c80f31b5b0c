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

// The mark's parts that are the same for every branch.
struct TBalanceMarks {
    TBalanceMarks(const QTreeWidget& tree, double tolerancePercent, const QLocale& locale,
                  const ITranslator& translator)
        : Tree(tree), DeviationText(translator.Translate(QStringLiteral("Deviation")) + QStringLiteral(": ")),
          ToleranceText(translator.Translate(QStringLiteral("Tolerance")) + QStringLiteral(": \u00B1") +
                        locale.toString(tolerancePercent) + QStringLiteral(" %")),
          Tolerance(tolerancePercent), Locale(locale) {}

    void mark(QTreeWidgetItem* node, const TBranch& branch) const {
        const TBranchBalance balance = BranchBalance(branch, Tolerance);
        const bool outside = balance.State == TBalanceState::Outside;
        // Every change of an item goes through the view's model; a node built a moment ago has no mark
        // to take away, and most branches are within the tolerance.
        if (outside) {
            // The style's icon is looked up only for a branch that needs it.
            if (Warning.isNull())
                Warning = Tree.style()->standardIcon(QStyle::SP_MessageBoxWarning);
            node->setIcon(0, Warning);
            node->setForeground(0, QBrush(Qt::red));
        } else if (node->data(0, Qt::DecorationRole).isValid()) {
            node->setIcon(0, QIcon());
            node->setForeground(0, QBrush());
        }
        const QString tip = balance.Deviation ? DeviationText + FormatDeviation(balance.Deviation, Locale) +
                                                    QStringLiteral(" %  (") + ToleranceText + u')'
                                              : QString();
        if (tip != node->toolTip(0))
            node->setToolTip(0, tip);
    }

    const QTreeWidget& Tree;
    mutable QIcon Warning;
    QString DeviationText;
    QString ToleranceText;
    double Tolerance;
    const QLocale& Locale;
};

} // namespace

void MarkBranchBalance(QTreeWidget& tree, const TProject& project, double tolerancePercent,
                       const QLocale& locale, const ITranslator& translator) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (!root)
        return;
    const TBalanceMarks marks(tree, tolerancePercent, locale, translator);
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

void MarkOneBranchBalance(QTreeWidget& tree, const TProject& project, int branch, double tolerancePercent,
                          const QLocale& locale, const ITranslator& translator) {
    QTreeWidgetItem* node = BranchNode(tree, branch);
    if (node == nullptr || branch >= project.branchCount())
        return;
    TBalanceMarks(tree, tolerancePercent, locale, translator)
        .mark(node, project.Branches[static_cast<std::size_t>(branch)]);
}
