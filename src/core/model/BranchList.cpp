// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BranchList.h"

#include <algorithm>
#include <utility>

void InitBranch(TProject& project, int index) {
    if (index < 0 || index >= MaxBranches)
        return;
    InitBranchRecord(project.Branches[index]);
}

void InitBranchRecord(TBranch& b) {
    b.Name[0] = 0;
    b.Valve_Index = 0;
    b.Request_Flow = NoValue;
    b.Initial_Pressure = NoValue;
    b.Initial_Flow = NoValue;
    b.Final_Pressure = NoValue;
    b.Final_Flow = NoValue;
    b.Initial_Presetting = PresettingEmpty;
    b.Final_Presetting = PresettingEmpty;
}

int InsertBranchAfter(TProject& project, int position) {
    const int count = project.branchCount();
    if (count >= MaxBranches)
        return -1;
    const int slot = count == 0 ? 0 : std::clamp(position, -1, count - 1) + 1;
    for (int i = count - 1; i >= slot; --i)
        project.Branches[i + 1] = project.Branches[i];
    project.Header.Branch_Count = static_cast<std::int16_t>(count + 1);
    InitBranch(project, slot);
    return slot;
}

int DeleteBranch(TProject& project, int position) {
    const int count = project.branchCount();
    if (position < 0 || position >= count)
        return -1;
    for (int i = position + 1; i < count; ++i)
        project.Branches[i - 1] = project.Branches[i];
    project.Header.Branch_Count = static_cast<std::int16_t>(count - 1);
    return position;
}

static int swapWith(TProject& project, int position, int neighbour) {
    const int count = project.branchCount();
    if (position < 0 || position >= count || neighbour < 0 || neighbour >= count)
        return -1;
    std::swap(project.Branches[position], project.Branches[neighbour]);
    return neighbour;
}

int MoveBranchUp(TProject& project, int position) {
    return swapWith(project, position, position - 1);
}

int MoveBranchDown(TProject& project, int position) {
    return swapWith(project, position, position + 1);
}
