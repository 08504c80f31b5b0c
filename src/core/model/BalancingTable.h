// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Balancing.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class ITranslator;
struct TProject;
struct TUnits;
struct TValveCatalogue;

// One branch of the balancing summary as the window, the report and the companion show it: texts
// in the user's units and language, and the values they were made from for sorting and analysis.
struct TBalancingRow {
    int Branch = 0; // index in the project
    QString Name;
    QString Valve;
    double RequestFlow = 0.0; // l/h, markers as stored
    double InitialFlow = 0.0;
    double FinalFlow = 0.0;
    double InitialPresetting = 0.0;
    double FinalPresetting = 0.0;
    TBranchBalance Balance;
};

enum TBalancingColumn {
    BalancingColumnNumber,
    BalancingColumnName,
    BalancingColumnValve,
    BalancingColumnRequested,
    BalancingColumnInitial,
    BalancingColumnFinal,
    BalancingColumnInitialPresetting,
    BalancingColumnFinalPresetting,
    BalancingColumnDeviation,
    BalancingColumnWithin,
    BalancingColumnCount
};

struct TBalancingSource {
    const TProject& Project;
    const TValveCatalogue& Catalogue;
    int CodePage = 0;
};

std::vector<TBalancingRow> BuildBalancingRows(const TBalancingSource& source, const TBalancingSummary& summary);

// The captions of the columns, flows with the user's unit.
QStringList BalancingCaptions(const TUnits& units, const ITranslator& translator);
// The text of one cell: flows as readouts (at least three significant digits), presettings as
// everywhere in the program, the deviation with a sign and one decimal, within tolerance "Yes" / "No" (empty when not measured).
QString BalancingCell(const TBalancingRow& row, int column, const TUnits& units, const ITranslator& translator);
// Numbers are right-aligned in every table and report of the summary.
bool IsNumberColumn(int column);
QString FormatDeviation(const std::optional<double>& deviation, const QLocale& locale);
// "Yes", "No" or "Not measured", translated.
QString BalanceStateText(TBalanceState state, const ITranslator& translator);
