// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/BalancingTable.h"

#include <QByteArray>
#include <QString>

#include <vector>

class ITranslator;
struct TUnits;

// The balancing summary of a project for people (aligned text in the user's units) and for other
// programs (UTF-8 CSV and JSON with the flows in l/h in full precision).
struct TBalancingReportInput {
    QString ProjectName;
    const TBalancingSummary& Summary;
    const std::vector<TBalancingRow>& Rows;
};

QString BalancingSummaryText(const TBalancingReportInput& input, const TUnits& units, const ITranslator& translator);
QByteArray BalancingSummaryCsv(const TBalancingReportInput& input);
QByteArray BalancingSummaryJson(const TBalancingReportInput& input);
// "within", "outside" or "not measured": the state as other programs read it, never translated.
QString BalanceStateKey(TBalanceState state);
