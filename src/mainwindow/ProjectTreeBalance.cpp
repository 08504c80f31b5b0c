#include "mainwindow/ProjectTreeBalance.h"

#include "localisation/Translator.h"
#include "mainwindow/ProjectTree.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/ProjectRecords.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidget>

void MarkBranchBalance(QTreeWidget& tree, const TProject& project, double tolerancePercent, const QLocale& locale,
                       const ITranslator& translator) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    if (!root)
        return;
    const QIcon warning = tree.style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QString deviationText = translator.Translate(QStringLiteral("Deviation")) + QStringLiteral(": ");
    const QString toleranceText = translator.Translate(QStringLiteral("Tolerance")) + QStringLiteral(": \u00B1");
    const QString toleranceShown = locale.toString(tolerancePercent) + QStringLiteral(" %");
    const int count = project.branchCount();
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem* node = root->child(i);
        const int branch = BranchOfNode(node);
        if (branch < 0 || branch >= count)
            continue;
        const TBranchBalance balance = BranchBalance(project.Branches[static_cast<std::size_t>(branch)], tolerancePercent);
        const bool outside = balance.State == TBalanceState::Outside;
        node->setIcon(0, outside ? warning : QIcon());
        node->setForeground(0, outside ? QBrush(Qt::red) : QBrush());
        node->setToolTip(0, balance.Deviation ? deviationText + FormatDeviation(balance.Deviation, locale) +
                                                    QStringLiteral(" %  (") + toleranceText + toleranceShown + u')'
                                              : QString());
    }
}
