// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct TBranch;
struct TProject;

// The tolerance the final flow of a balanced branch may deviate from its requested flow, in per
// cent either way, when the settings file names none.
inline constexpr std::int32_t DefaultBalancingTolerance = 10;

// Below this requested flow (l/h) a branch counts as not measured.
inline constexpr double SmallestRequestedFlow = 0.001;

// A flow that was measured or entered: no marker, within the valid range (so never NaN).
bool IsMeasuredFlow(double litresPerHour);

enum class TBalanceState { NotMeasured, Within, Outside };

// The band a final flow may lie in around its requested flow: Lower per cent below it, Upper per cent
// above it, both given as positive numbers (-Lower, +Upper). Equal for the balancing summary.
struct TTolerance {
    double Lower = DefaultBalancingTolerance;
    double Upper = DefaultBalancingTolerance;

    static TTolerance symmetric(double percent) { return {percent, percent}; }
    bool isSymmetric() const { return Lower == Upper; }
};

// Where a deviation lies against a tolerance; the ends themselves are within.
enum class TToleranceSide { Below, Within, Above };

// (final - requested) / requested in per cent, always finite; none without a requested flow of at
// least SmallestRequestedFlow or a final flow (markers and values outside the valid range count as
// none).
std::optional<double> FlowDeviation(const TBranch& branch);
// Rated on the deviation as shown, to one decimal (see ShownDeviation).
TToleranceSide SideOfTolerance(double deviation, const TTolerance& tolerance);

// How far one branch's final flow lies from its requested flow.
struct TBranchBalance {
    // FlowDeviation; the state compares the deviation as shown, to one decimal.
    std::optional<double> Deviation;
    TBalanceState State = TBalanceState::NotMeasured;
};

// A deviation as it is shown, to one decimal with halves away from zero. The state is rated on
// this value: a branch shown at "+2.5" with a tolerance of 2.5 % is within it, even at 2.54 %.
double ShownDeviation(double deviation);

TBranchBalance BranchBalance(const TBranch& branch, double tolerancePercent);
TBranchBalance BranchBalance(const TBranch& branch, const TTolerance& tolerance);

// Every branch of the project in order, with the counts a commissioning check needs.
struct TBalancingSummary {
    // Tolerance.Upper; the summary's texts show one number while the tolerance is symmetric.
    double TolerancePercent = DefaultBalancingTolerance;
    TTolerance Tolerance;
    std::vector<TBranchBalance> Branches;
    int Within = 0;
    int Outside = 0;
    int NotMeasured = 0;

    // True when no measured branch lies outside the tolerance (also when none was measured).
    bool allWithin() const { return Outside == 0; }
    // Every branch measured; a project without branches has nothing to show for a commissioning.
    bool complete() const { return NotMeasured == 0 && !Branches.empty(); }
};

TBalancingSummary BalanceProject(const TProject& project, double tolerancePercent);
TBalancingSummary BalanceProject(const TProject& project, const TTolerance& tolerance);
