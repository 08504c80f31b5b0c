// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/BalancingTable.h"

#include <QStringList>

#include <vector>

class ITranslator;
struct TUnits;

struct TBalancingReportSource {
    QString ProjectName;
    QString LastChange;
    const TBalancingSummary& Summary;
    const std::vector<TBalancingRow>& Rows;
};

// The balancing report: under a header with the project, the page, the tolerance and the counts of
// branches within and outside it and not measured, one line per branch with its requested and final
// flow, final presetting, deviation and verdict; 60 branches to a page. Lines for the print preview.
QStringList BuildBalancingReport(const TBalancingReportSource& source, const TUnits& units,
                                 const ITranslator& translator);
