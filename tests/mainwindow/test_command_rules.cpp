// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/CommandRules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using C = TCommandCondition;

struct NamedRule {
    const char* Name;
    TCommandRule Rule;
};

// The rules the main window's items use: "2" marks the tree's pop-up items, which a confirm panel
// leaves alone, "free" the instrument and workbook items.
const NamedRule Rules[] = {
    {"main", {C::Always, true}},
    {"free", {C::Always, false}},
    {"never", {C::Never, true}},
    {"save", {C::ChangedWithFile, true}},
    {"notNew", {C::NotNewProject, false}},
    {"add", {C::NotLocked, true}},
    {"add2", {C::NotLocked, false}},
    {"delete", {C::BranchSelected, true}},
    {"delete2", {C::BranchSelected, false}},
    {"up", {C::BranchAbove, true}},
    {"up2", {C::BranchAbove, false}},
    {"down", {C::BranchBelow, true}},
    {"down2", {C::BranchBelow, false}},
    {"undo", {C::CanUndo, true}},
    {"redo", {C::CanRedo, true}},
};

TCommandState branches(int count, int current) {
    TCommandState s;
    s.BranchCount = count;
    s.CurrentBranch = current;
    return s;
}

template <typename Change> TCommandState with(TCommandState s, Change change) {
    change(s);
    return s;
}

struct Case {
    const char* Name;
    TCommandState State;
    std::set<std::string> Enabled;
};

const std::set<std::string> AllBranchItems = {"add", "add2", "delete", "delete2",
                                              "up",  "up2",  "down",   "down2"};

std::set<std::string> plus(std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

TEST(CommandRules, EnableTheItemsTheStateAllows) {
    const TCommandState middle = branches(3, 1);
    const Case cases[] = {
        {"new, empty project",
         with(branches(0, 0), [](auto& s) { s.IsNewProject = true; }),
         {"main", "free", "add", "add2"}},
        {"new project, changed: nothing to save to",
         with(branches(0, 0),
              [](auto& s) {
                  s.IsNewProject = true;
                  s.Modified = true;
              }),
         {"main", "free", "add", "add2"}},
        {"opened, changed, middle of three",
         with(middle,
              [](auto& s) {
                  s.Modified = true;
                  s.HasFileName = true;
              }),
         plus({"main", "free", "save", "notNew"}, AllBranchItems)},
        {"read from the instrument, changed: no file to save to",
         with(middle, [](auto& s) { s.Modified = true; }), plus({"main", "free", "notNew"}, AllBranchItems)},
        {"first of three",
         branches(3, 0),
         {"main", "free", "notNew", "add", "add2", "delete", "delete2", "down", "down2"}},
        {"last of three",
         branches(3, 2),
         {"main", "free", "notNew", "add", "add2", "delete", "delete2", "up", "up2"}},
        {"only branch", branches(1, 0), {"main", "free", "notNew", "add", "add2", "delete", "delete2"}},
        {"index past the end", branches(3, 3), {"main", "free", "notNew", "add", "add2"}},
        {"negative index", branches(3, -1), {"main", "free", "notNew", "add", "add2"}},
        {"locked", with(middle, [](auto& s) { s.Locked = true; }), {"main", "free", "notNew"}},
        {"confirm panel open: only the pop-up and the free items",
         with(middle,
              [](auto& s) {
                  s.MainCommandsOn = false;
                  s.Modified = s.HasFileName = s.CanUndo = s.CanRedo = true;
              }),
         {"free", "notNew", "add2", "delete2", "up2", "down2"}},
        {"undo and redo", with(middle, [](auto& s) { s.CanUndo = s.CanRedo = true; }),
         plus({"main", "free", "notNew", "undo", "redo"}, AllBranchItems)},
        {"only undo",
         with(branches(0, 0), [](auto& s) { s.CanUndo = true; }),
         {"main", "free", "notNew", "add", "add2", "undo"}},
        {"device operation running: nothing",
         with(middle,
              [](auto& s) {
                  s.DeviceBusy = true;
                  s.Modified = s.HasFileName = s.CanUndo = s.CanRedo = true;
              }),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        for (const NamedRule& rule : Rules)
            EXPECT_EQ(IsCommandEnabled(rule.Rule, c.State), c.Enabled.count(rule.Name) == 1) << rule.Name;
    }
}

} // namespace
