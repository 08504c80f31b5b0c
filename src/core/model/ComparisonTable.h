// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectComparison.h"

#include <QString>
#include <QStringList>

class ITranslator;
struct TUnits;
struct TValveCatalogue;

// The columns of a project comparison as the window and the companion's text show them: the final
// flows and their change beside the name, where they stay in sight, then the rest old beside new.
enum TComparisonColumn {
    ComparisonColumnOldNumber,
    ComparisonColumnNewNumber,
    ComparisonColumnName,
    ComparisonColumnFoundIn,
    ComparisonColumnFinalOld,
    ComparisonColumnFinalNew,
    ComparisonColumnChange,
    ComparisonColumnMoved,
    ComparisonColumnRequestedOld,
    ComparisonColumnRequestedNew,
    ComparisonColumnPresettingOld,
    ComparisonColumnPresettingNew,
    ComparisonColumnPressureOld,
    ComparisonColumnPressureNew,
    ComparisonColumnValveChanged,
    ComparisonColumnValveOld,
    ComparisonColumnValveNew,
    ComparisonColumnCount
};

// The captions, flows and pressures with the user's units.
QStringList ComparisonCaptions(const TUnits& units, const ITranslator& translator);
// The text of one cell: numbers as in the balancing summary, the change with a sign and one decimal,
// "Yes" / "No" where a matched branch is rated, empty where a side or a value is missing.
QString ComparisonCell(const TComparedBranch& branch, int column, const TUnits& units,
                       const ITranslator& translator, const TValveCatalogue& catalogue, int codePage);
bool IsComparisonNumberColumn(int column);
// "both", "old only" or "new only", translated.
QString ComparedKindText(TComparedKind kind, const ITranslator& translator);
// "Manufacturer Type" of a valve the catalogue knows; empty otherwise.
QString ComparedValveName(const TValveCatalogue& catalogue, int valveIndex, int codePage);
// "Matched: 3     Only in the old project: 1 ..." with the tolerance the moves are rated by.
QString ComparisonCountsText(const TProjectComparison& comparison, const TUnits& units,
                             const ITranslator& translator);
