#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct TBranch;
struct TProject;

// The tolerance the final flow of a balanced branch may deviate from its requested flow, in per
// cent either way, when the settings file names none.
inline constexpr std::int32_t DefaultBalancingTolerance = 10;

enum class TBalanceState { NotMeasured, Within, Outside };

// How far one branch's final flow lies from its requested flow.
struct TBranchBalance {
    // (final - requested) / requested in per cent; none without a requested flow above zero or a
    // final flow (markers and values outside the valid range count as none).
    std::optional<double> Deviation;
    TBalanceState State = TBalanceState::NotMeasured;
};

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
