// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ProjectRecords.h"

#include <algorithm>
#include <cstring>

int TProject::branchCount() const {
    return std::clamp<int>(Header.Branch_Count, 0, MaxBranches);
}

void ResetProjectHeader(TProjectHeader& header) {
    std::memset(&header, 0, sizeof header);
}
