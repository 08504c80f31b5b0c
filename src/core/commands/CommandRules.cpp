// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/CommandRules.h"

namespace {

bool conditionHolds(TCommandCondition condition, const TCommandState& s) {
    const bool selected = s.CurrentBranch >= 0 && s.CurrentBranch < s.BranchCount;
    switch (condition) {
    case TCommandCondition::Always:
        return true;
    case TCommandCondition::Never:
        return false;
    case TCommandCondition::ChangedWithFile:
        return s.Modified && s.HasFileName;
    case TCommandCondition::NotNewProject:
        return !s.IsNewProject;
    case TCommandCondition::NotLocked:
        return !s.Locked;
    case TCommandCondition::BranchSelected:
        return selected && !s.Locked;
    case TCommandCondition::BranchAbove:
        return selected && s.CurrentBranch > 0 && !s.Locked;
    case TCommandCondition::BranchBelow:
        return selected && s.CurrentBranch + 1 < s.BranchCount && !s.Locked;
    case TCommandCondition::CanUndo:
        return s.CanUndo;
    case TCommandCondition::CanRedo:
        return s.CanRedo;
    }
    return false;
}

} // namespace

bool IsCommandEnabled(const TCommandRule& rule, const TCommandState& state) {
    if (state.DeviceBusy || (rule.MainCommand && !state.MainCommandsOn))
        return false;
    return conditionHolds(rule.Condition, state);
}
