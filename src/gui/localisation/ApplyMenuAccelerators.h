// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenu;
class QMenuBar;

// Gives every title of the menu bar and every item of its menus (and their submenus) an accelerator
// chosen from its current text, unique among the titles and within each menu. Run after the texts
// of a language were applied; markers of an earlier run are replaced. Captions that only separate
// (items starting with '-') and separators get none.
void ApplyMenuAccelerators(QMenuBar* menuBar);
void ApplyMenuAccelerators(QMenu* menu);
