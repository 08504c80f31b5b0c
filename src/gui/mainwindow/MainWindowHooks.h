// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the editor asks of the main window around it.
class IMainWindowHooks {
public:
    virtual ~IMainWindowHooks() = default;
    // Enabling rules, caption and the lock of the inputs, from the flags and the project.
    virtual void UpdateWindowState() = 0;
    // Switches the main menu's file, edit, print and options items while a confirm panel is open.
    virtual void EnableMainCommands(bool on) = 0;
    virtual void SetStatus(const QString& text) = 0;
};
