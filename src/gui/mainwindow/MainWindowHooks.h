// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the editor asks of the main window around it.
class IMainWindowHooks {
public:
    virtual ~IMainWindowHooks() = default;
    // Switches the main menu's file, edit, print and options items while a confirm panel is open.
    virtual void EnableMainCommands(bool on) = 0;
    virtual void SetStatus(const QString& text) = 0;
};
