// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Balancing.h"

#include <QString>

#include <optional>

class ITranslator;
struct TProject;
struct TUnits;
struct TValveCatalogue;

// The companion's "project check": the balancing summary of a project as text, CSV or JSON, and
// the exit status a script reads.
enum class TProjectCheckFormat { Text, Csv, Json };

// Exit status when some measured branch lies outside the tolerance; 0 when none does.
inline constexpr int OutsideToleranceStatus = 3;
// Exit status with RequireComplete when no branch lies outside but some was not measured.
inline constexpr int IncompleteStatus = 4;

struct TProjectCheckResult {
    QString Output;
    int ExitStatus = 0;
};

struct TProjectCheckInput {
    const TProject& Project;
    const TValveCatalogue& Catalogue;
    int CodePage = 0;
    TTolerance Tolerance;
    // Unmeasured branches fail the check (IncompleteStatus), and so does a project without branches.
    bool RequireComplete = false;
};

// "P" (either way; "2,5" is 2.5) or "-L,+H" (below, above, with a point for decimals); per cent from 0
// to 1000 each.
std::optional<TTolerance> ParseToleranceOption(const QString& text);

TProjectCheckResult CheckProject(const TProjectCheckInput& input, TProjectCheckFormat format, const TUnits& units,
                                 const ITranslator& translator);
