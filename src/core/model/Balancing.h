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

enum class TBalanceState { NotMeasured, Within, Outside };

// How far one branch's final flow lies from its requested flow.
struct TBranchBalance {
    // (final - requested) / requested in per cent, always finite; none without a requested flow of
    // at least SmallestRequestedFlow or a final flow (markers and values outside the valid range
    // count as none). The state compares the deviation as shown, to one decimal.
    std::optional<double> Deviation;
    TBalanceState State = TBalanceState::NotMeasured;
};

// A deviation as it is shown, to one decimal with halves away from zero. The state is rated on
// this value: a branch shown at "+2.5" with a tolerance of 2.5 % is within it, even at 2.54 %.
double ShownDeviation(double deviation);

TBranchBalance BranchBalance(const TBranch& branch, double tolerancePercent);

// Every branch of the project in order, with the counts a commissioning check needs.
struct TBalancingSummary {
    double TolerancePercent = DefaultBalancingTolerance;
    std::vector<TBranchBalance> Branches;
    int Within = 0;
    int Outside = 0;
    int NotMeasured = 0;

    // True when no measured branch lies outside the tolerance (also when none was measured).
    bool allWithin() const { return Outside == 0; }
};

TBalancingSummary BalanceProject(const TProject& project, double tolerancePercent);
