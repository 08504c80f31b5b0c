// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class ITranslator;
class IUserInterface;
class QAction;
class QMenu;
class QString;
class TRecentFiles;

// A submenu of `parent`, placed before `before`, that lists the recent files newest first when it
// opens. Choosing one runs `open` with it; one that no longer exists is dropped from the list with
// a message instead, and `changed` runs so that the caller keeps the shorter list. The entries are
// enabled like `follows` (the menu's own Open item), so that the list opens nothing while Open
// cannot. The submenu's title is set by the window's texts through its action's object name.
QMenu* AddRecentFilesMenu(QMenu& parent, QAction* before, const char* objectName, TRecentFiles& files,
                          const QAction* follows, IUserInterface& ui, const ITranslator& translator,
                          std::function<void()> changed, std::function<void(const QString&)> open);
