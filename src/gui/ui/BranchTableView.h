// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QTableView;

// The tables of branches beside the main window (balancing summary, comparison) look and answer alike.

// Whole rows selected one at a time, one line per row, columns the user can widen and sort.
void SetUpBranchTable(QTableView& view);
// Return and Enter do what a double click does; Qt's "activated" would also fire on a single click where
// the desktop activates that way.
void OnEnterInTable(QTableView& view, const std::function<void()>& activate);
// Columns fitted to their contents, none wider than a few words. Measured in the font the window is
// shown in, so called once it is visible.
void FitTableColumns(QTableView& view);
