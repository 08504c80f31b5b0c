// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DeviceEvents.h"

class IUserInterface;
class TMessageCatalogue;

// Shows what a device operation reports through the user-interface seam, in the current language:
// the window's status bar and message boxes, the companion's lines. The names question has No as
// its default button.
class TDeviceUserInterface final : public IDeviceEvents {
public:
    TDeviceUserInterface(IUserInterface& ui, const TMessageCatalogue& catalogue)
        : m_ui(ui), m_catalogue(catalogue) {}

    void status(const TDeviceStatus& status) override;
    void notice(const TDeviceNotice& notice) override;
    bool confirm(const TDeviceQuestion& question) override;
    void processPendingEvents() override;

private:
    IUserInterface& m_ui;
    const TMessageCatalogue& m_catalogue;
};
