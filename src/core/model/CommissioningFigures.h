// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Balancing.h"

#include <QString>

#include <optional>
#include <vector>

class ITranslator;
struct TBranch;
struct TProject;

// The figures a commissioning certificate states for each branch and over the project.

// Below this measured differential pressure (Pa) the instrument's flow is an estimate only.
inline constexpr double DefaultMinDifferentialPressure = 3000.0;

enum class TCommissioningStatus { NotMeasured, Within, Below, Above };

// One state of a branch (initial or final): the differential pressure as stored, the Kv it gives.
struct TStateFigures {
    std::optional<double> Pressure; // Pa; none when not measured
    // Q / sqrt(dp) with Q in m3/h and dp in bar (water), to two decimals; none without a flow or
    // without a differential pressure above zero.
    std::optional<double> Kv;
    // A flow measured at a differential pressure below the minimum.
    bool Uncertain = false;
};

struct TBranchFigures {
    // Final flow in per cent of the requested flow; none when not measured.
    std::optional<double> PercentOfDesign;
    TCommissioningStatus Status = TCommissioningStatus::NotMeasured;
    TStateFigures Initial;
    TStateFigures Final;
};

enum class TCommissioningResult { Pass, Fail, Incomplete };

struct TCommissioningSummary {
    TTolerance Tolerance;
    std::vector<TBranchFigures> Branches;
    int Within = 0;
    int Below = 0;
    int Above = 0;
    int NotMeasured = 0;

    int outside() const { return Below + Above; }
    // Every branch measured; a project without branches has nothing to certify.
    bool complete() const { return NotMeasured == 0 && !Branches.empty(); }
    TCommissioningResult result() const;
};

std::optional<double> KvValue(double litresPerHour, double pascal);
TStateFigures StateFigures(double litresPerHour, double pascal, double minPressure);
TBranchFigures BranchFigures(const TBranch& branch, const TTolerance& tolerance, double minPressure);
TCommissioningSummary CommissioningSummary(const TProject& project, const TTolerance& tolerance,
                                           double minPressure = DefaultMinDifferentialPressure);

// "within", "below", "above" or "not measured", translated.
QString CommissioningStatusText(TCommissioningStatus status, const ITranslator& translator);
// "PASS", "FAIL" or "INCOMPLETE", translated.
QString CommissioningResultText(TCommissioningResult result, const ITranslator& translator);
