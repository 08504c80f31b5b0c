// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectRecords.h"

// Prepares a slot for a new branch; Reserved and Valve_Chksm keep their bytes, and so do the name's
// characters after the first.
void InitBranch(TProject& project, int index);
// The same for a branch record outside a project.
void InitBranchRecord(TBranch& branch);

// Each returns the position of the branch afterwards, or -1 when the project is left unchanged
// (a full project, a position outside the list, no neighbour to swap with).
int InsertBranchAfter(TProject& project, int position);
int DeleteBranch(TProject& project, int position);
int MoveBranchUp(TProject& project, int position);
int MoveBranchDown(TProject& project, int position);
