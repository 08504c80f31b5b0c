// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Balancing.h"

#include "model/ProjectRecords.h"
#include "model/Units.h"

#include <cmath>

namespace {

// Flows come back from the instrument and the editor rounded; a deviation that prints as exactly
// the tolerance must not count as outside.
constexpr double ToleranceSlack = 1e-9;

} // namespace

bool IsMeasuredFlow(double litresPerHour) {
    return litresPerHour != NoValue && IsValidFlow(litresPerHour);
}

double ShownDeviation(double deviation) {
    return std::round(deviation * 10.0) / 10.0;
}

std::optional<double> FlowDeviation(const TBranch& branch) {
    const double requested = branch.Request_Flow;
    const double final = branch.Final_Flow;
    // A requested flow too small to show is no requirement: a deviation from it would run to
    // thousands of digits of per cent.
    if (!IsMeasuredFlow(requested) || !(requested >= SmallestRequestedFlow) || !IsMeasuredFlow(final))
        return std::nullopt;
    // Multiplied first, so that 110 against 100 gives exactly 10.
    return (final - requested) * 100.0 / requested;
}

TToleranceSide SideOfTolerance(double deviation, const TTolerance& tolerance) {
    const double shown = ShownDeviation(deviation);
    if (shown < -(std::fabs(tolerance.Lower) + ToleranceSlack))
        return TToleranceSide::Below;
    if (shown > std::fabs(tolerance.Upper) + ToleranceSlack)
        return TToleranceSide::Above;
    return TToleranceSide::Within;
}

TBranchBalance BranchBalance(const TBranch& branch, const TTolerance& tolerance) {
    TBranchBalance balance;
    balance.Deviation = FlowDeviation(branch);
    if (balance.Deviation)
        balance.State = SideOfTolerance(*balance.Deviation, tolerance) == TToleranceSide::Within
                            ? TBalanceState::Within
                            : TBalanceState::Outside;
    return balance;
}

TBranchBalance BranchBalance(const TBranch& branch, double tolerancePercent) {
    return BranchBalance(branch, TTolerance::symmetric(tolerancePercent));
}

TBalancingSummary BalanceProject(const TProject& project, double tolerancePercent) {
    return BalanceProject(project, TTolerance::symmetric(tolerancePercent));
}

TBalancingSummary BalanceProject(const TProject& project, const TTolerance& tolerance) {
    TBalancingSummary summary;
    summary.TolerancePercent = tolerance.Upper;
    summary.Tolerance = tolerance;
    const int count = project.branchCount();
    summary.Branches.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TBranchBalance balance = BranchBalance(project.Branches[static_cast<std::size_t>(i)], tolerance);
        switch (balance.State) {
        case TBalanceState::Within:
            ++summary.Within;
            break;
        case TBalanceState::Outside:
            ++summary.Outside;
            break;
        case TBalanceState::NotMeasured:
            ++summary.NotMeasured;
            break;
        }
        summary.Branches.push_back(balance);
    }
    return summary;
}
