// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// What the enabling of the main window's commands depends on: the project and the window's state,
// taken apart from the widgets so that the rules run in tests without a display.
struct TCommandState {
    int BranchCount = 0;
    // The branch on the branch page; a branch counts as selected when 0 <= CurrentBranch < BranchCount.
    int CurrentBranch = 0;
    bool Locked = false;
    bool Modified = false;
    bool HasFileName = false;
    bool IsNewProject = false;
    // False while a confirm panel is open.
    bool MainCommandsOn = true;
    // A device operation runs: the window repaints between blocks, but no command may change the
    // project under it.
    bool DeviceBusy = false;
    bool CanUndo = false;
    bool CanRedo = false;
};

enum class TCommandCondition : std::uint8_t {
    Always,
    Never,           // the separator captions
    ChangedWithFile, // Save: something to save, and a file to save it to
    NotNewProject,
    NotLocked,
    BranchSelected, // and not locked
    BranchAbove,    // a selected branch with one above it, not locked
    BranchBelow,    // a selected branch with one below it, not locked
    CanUndo,
    CanRedo,
};

struct TCommandRule {
    TCommandCondition Condition = TCommandCondition::Always;
    // An item of the main menu that a confirm panel switches off (file, edit, print and options);
    // the instrument and workbook items and the tree's pop-up menu stay as their condition says.
    bool MainCommand = false;
};

bool IsCommandEnabled(const TCommandRule& rule, const TCommandState& state);
