// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;
class QWidget;

// Escape and Ctrl+W close `window`, through `closeAction` when there is one, so that the shortcut
// shows beside the menu item and runs what it runs.
void AddCloseShortcuts(QWidget& window, QAction* closeAction);

// Places `window` so that its centre lies on the centre of `over`, kept on the screen of `over`.
// Without `over` (or while it is hidden) the window stays where it is.
void CentreOver(QWidget& window, const QWidget* over);
