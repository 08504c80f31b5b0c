// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Balancing.h"

#include "model/ProjectRecords.h"
#include "model/Units.h"

#include <cmath>

namespace {

bool isMeasuredFlow(double litresPerHour) {
    return litresPerHour != NoValue && IsValidFlow(litresPerHour);
}

// Flows come back from the instrument and the editor rounded; a deviation that prints as exactly
// the tolerance must not count as outside.
constexpr double ToleranceSlack = 1e-9;

} // namespace

double ShownDeviation(double deviation) {
    return std::round(deviation * 10.0) / 10.0;
}

TBranchBalance BranchBalance(const TBranch& branch, double tolerancePercent) {
    TBranchBalance balance;
    const double requested = branch.Request_Flow;
    const double final = branch.Final_Flow;
    // A requested flow too small to show is no requirement: a deviation from it would run to
    // thousands of digits of per cent.
    if (!isMeasuredFlow(requested) || !(requested >= SmallestRequestedFlow) || !isMeasuredFlow(final))
        return balance;
    // Multiplied first, so that 110 against 100 gives exactly 10.
    balance.Deviation = (final - requested) * 100.0 / requested;
    balance.State = std::fabs(ShownDeviation(*balance.Deviation)) <= std::fabs(tolerancePercent) + ToleranceSlack
                        ? TBalanceState::Within
                        : TBalanceState::Outside;
    return balance;
}

TBalancingSummary BalanceProject(const TProject& project, double tolerancePercent) {
    TBalancingSummary summary;
    summary.TolerancePercent = tolerancePercent;
    const int count = project.branchCount();
    summary.Branches.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TBranchBalance balance = BranchBalance(project.Branches[static_cast<std::size_t>(i)], tolerancePercent);
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
