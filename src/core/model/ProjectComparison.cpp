// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ProjectComparison.h"

#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"

#include <QHash>

namespace {

TComparedSide sideOf(const TProject& project, int index) {
    const TBranch& b = project.Branches[static_cast<std::size_t>(index)];
    TComparedSide side;
    side.Branch = index;
    side.Valve_Index = b.Valve_Index;
    side.Valve_Chksm = b.Valve_Chksm;
    side.Request_Flow = b.Request_Flow;
    side.Final_Presetting = b.Final_Presetting;
    side.Final_Pressure = b.Final_Pressure;
    side.Final_Flow = b.Final_Flow;
    return side;
}

QString nameOf(const TProject& project, int index) {
    return NameText(project, project.Branches[static_cast<std::size_t>(index)].Name);
}

} // namespace

std::optional<double> FinalFlowChange(double oldLitresPerHour, double newLitresPerHour) {
    if (!IsMeasuredFlow(oldLitresPerHour) || !(oldLitresPerHour >= SmallestRequestedFlow) ||
        !IsMeasuredFlow(newLitresPerHour))
        return std::nullopt;
    // Multiplied first, so that 110 against 100 gives exactly 10.
    return (newLitresPerHour - oldLitresPerHour) * 100.0 / oldLitresPerHour;
}

bool FinalFlowMoved(double oldLitresPerHour, double newLitresPerHour, double tolerancePercent) {
    if (const std::optional<double> change = FinalFlowChange(oldLitresPerHour, newLitresPerHour))
        return SideOfTolerance(*change, TTolerance::symmetric(tolerancePercent)) != TToleranceSide::Within;
    // A branch shut at the first check and flowing at the second: no per cent to show, but a drift.
    return IsMeasuredFlow(oldLitresPerHour) && IsMeasuredFlow(newLitresPerHour) &&
           !(oldLitresPerHour >= SmallestRequestedFlow) && newLitresPerHour >= SmallestRequestedFlow;
}

TProjectComparison CompareProjects(const TProject& older, const TProject& newer, double tolerancePercent) {
    TProjectComparison result;
    result.TolerancePercent = tolerancePercent;
    const int oldCount = older.branchCount();
    const int newCount = newer.branchCount();

    // For each name the first old branch not yet taken; nextSame chains the later ones in order.
    QHash<QString, int> firstFree;
    firstFree.reserve(oldCount);
    std::vector<int> nextSame(static_cast<std::size_t>(oldCount), -1);
    std::vector<QString> oldNames(static_cast<std::size_t>(oldCount));
    for (int i = oldCount - 1; i >= 0; --i) {
        QString name = nameOf(older, i);
        auto at = firstFree.find(name);
        if (at == firstFree.end()) {
            firstFree.insert(name, i);
        } else {
            nextSame[static_cast<std::size_t>(i)] = at.value();
            at.value() = i;
        }
        oldNames[static_cast<std::size_t>(i)] = std::move(name);
    }

    std::vector<bool> oldTaken(static_cast<std::size_t>(oldCount), false);
    std::vector<int> onlyNew;
    result.Branches.reserve(static_cast<std::size_t>(oldCount + newCount));
    for (int n = 0; n < newCount; ++n) {
        QString name = nameOf(newer, n);
        const auto at = firstFree.find(name);
        if (at == firstFree.end() || at.value() < 0) {
            onlyNew.push_back(n);
            continue;
        }
        const int o = at.value();
        at.value() = nextSame[static_cast<std::size_t>(o)];
        oldTaken[static_cast<std::size_t>(o)] = true;

        TComparedBranch branch;
        branch.Kind = TComparedKind::Matched;
        branch.Name = std::move(name);
        branch.Old = sideOf(older, o);
        branch.New = sideOf(newer, n);
        branch.FlowChange = FinalFlowChange(branch.Old.Final_Flow, branch.New.Final_Flow);
        branch.ValveChanged = branch.Old.Valve_Index != branch.New.Valve_Index ||
                              branch.Old.Valve_Chksm != branch.New.Valve_Chksm;
        branch.Rated = IsMeasuredFlow(branch.Old.Final_Flow) && IsMeasuredFlow(branch.New.Final_Flow);
        branch.Moved = FinalFlowMoved(branch.Old.Final_Flow, branch.New.Final_Flow, tolerancePercent);
        ++result.Matched;
        if (branch.Moved)
            ++result.Moved;
        result.Branches.push_back(std::move(branch));
    }
    for (int o = 0; o < oldCount; ++o) {
        if (oldTaken[static_cast<std::size_t>(o)])
            continue;
        TComparedBranch branch;
        branch.Kind = TComparedKind::OnlyOld;
        branch.Name = std::move(oldNames[static_cast<std::size_t>(o)]);
        branch.Old = sideOf(older, o);
        ++result.OnlyOld;
        result.Branches.push_back(std::move(branch));
    }
    for (const int n : onlyNew) {
        TComparedBranch branch;
        branch.Kind = TComparedKind::OnlyNew;
        branch.Name = nameOf(newer, n);
        branch.New = sideOf(newer, n);
        ++result.OnlyNew;
        result.Branches.push_back(std::move(branch));
    }
    return result;
}
