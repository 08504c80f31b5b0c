// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Balancing.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct TProject;

// Two states of one installation side by side: the project handed over (old) and the one measured
// at a later check (new). Branches are paired by their names, not by their places, so that branches
// added, removed or moved in between still meet their own past.

enum class TComparedKind { Matched, OnlyOld, OnlyNew };

// One branch's stored values, markers as stored.
struct TComparedSide {
    int Branch = -1; // index in its project; -1: the branch is not in that project
    std::uint16_t Valve_Index = 0;
    std::uint16_t Valve_Chksm = 0;
    double Request_Flow = 0.0;
    double Final_Presetting = 0.0;
    double Final_Pressure = 0.0;
    double Final_Flow = 0.0;

    bool present() const { return Branch >= 0; }
};

struct TComparedBranch {
    TComparedKind Kind = TComparedKind::Matched;
    QString Name;
    TComparedSide Old;
    TComparedSide New;
    // (new - old) / old of the final flows in per cent; none unless both were measured and the old
    // one is large enough to be a base (see FinalFlowChange).
    std::optional<double> FlowChange;
    // Another valve (index or catalogue checksum); only for matched branches.
    bool ValveChanged = false;
    // A matched branch whose final flow was measured both times: Moved says whether it moved.
    bool Rated = false;
    // The final flow lies beyond the tolerance from the old one.
    bool Moved = false;
};

struct TProjectComparison {
    double TolerancePercent = DefaultBalancingTolerance;
    // Matched in the new project's order, then the ones only in the old project in its order, then
    // the ones only in the new project in its order.
    std::vector<TComparedBranch> Branches;
    int Matched = 0;
    int OnlyOld = 0;
    int OnlyNew = 0;
    int Moved = 0;
};

// The change of a final flow, as FlowDeviation rates a final flow against its requested one: none
// when either was not measured, or when the old one is too small to divide by. A flow that fell to
// nothing is a change of -100 %.
std::optional<double> FinalFlowChange(double oldLitresPerHour, double newLitresPerHour);

// Whether a matched branch's final flow moved by more than the tolerance (per cent either way),
// rated on the change as shown, to one decimal, as the balancing summary rates its deviations.
// A flow that rose from nothing has no change in per cent but has moved.
bool FinalFlowMoved(double oldLitresPerHour, double newLitresPerHour, double tolerancePercent);

// Each branch of `newer` takes the first branch of `older` with the same name (decoded in each
// project's own table) that no earlier one took.
TProjectComparison CompareProjects(const TProject& older, const TProject& newer, double tolerancePercent);
