// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>

class IPause;
class IUsbDriver;
class IUserInterface;
class TFix64;
class TMessageCatalogue;

// Held by the application object: at most one device operation at a time. Taken on the worker that
// runs the operation, read by the window for its enabling rules.
struct TLinkGuard {
    std::atomic<bool> Busy{false};
};

// The fixed sequence around every device operation: open the pipes, remember the device count, address
// any slave, clear the status bar, run the steps, close the pipes. A TProtocolError from the steps
// shows "Device is not responding!" (an instrument was counted) or "Device is not connected!" on the
// status bar, after a message box that says why and what to do wherever the driver or the device count
// tells (no driver library, no instrument, no permission, held by another program, unplugged). True
// when the steps ran to their end. Refuses to start while another scope of the same guard is open
// (status "Another device operation is running!"). Other exceptions pass through, with the pipes
// closed and the guard released.
bool RunInLinkScope(TLinkGuard& guard, IUsbDriver& driver, IPause& pause, IUserInterface& ui,
                    const TMessageCatalogue& catalogue, const std::function<void(TFix64& link)>& steps);
