// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ITranslator;
struct TProject;
struct TUnits;
struct TValveCatalogue;

// The companion's "project check": the balancing summary of a project as text, CSV or JSON, and
// the exit status a script reads.
enum class TProjectCheckFormat { Text, Csv, Json };

// Exit status when some measured branch lies outside the tolerance; 0 when none does.
inline constexpr int OutsideToleranceStatus = 3;

struct TProjectCheckResult {
    QString Output;
    int ExitStatus = 0;
};

struct TProjectCheckInput {
    const TProject& Project;
    const TValveCatalogue& Catalogue;
    int CodePage = 0;
    double TolerancePercent = 0.0;
};

TProjectCheckResult CheckProject(const TProjectCheckInput& input, TProjectCheckFormat format, const TUnits& units,
                                 const ITranslator& translator);
