// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ProjectTreeBalance.h"

#include "model/Translator.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/ProjectRecords.h"

#include <QLocale>

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
