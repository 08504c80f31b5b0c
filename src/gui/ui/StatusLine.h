// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QMainWindow;

// Height of the one-line status bar of the program's windows.
inline constexpr int StatusLineHeight = 19;

// Gives the window its one-line status bar and returns the label that holds its text. A label
// rather than the bar's own message: menu hovers would wipe that.
QLabel* AddStatusLine(QMainWindow& window);
