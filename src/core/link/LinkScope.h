// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>

class IDeviceEvents;
class IPause;
class IUsbDriver;
class TFix64;

// Held by the application object: at most one device operation at a time. Taken on the worker that
// runs the operation, read by the window for its enabling rules.
struct TLinkGuard {
    std::atomic<bool> Busy{false};
};

// The fixed sequence around every device operation: open the pipes, remember the device count, address
// any slave, clear the status bar, run the steps, close the pipes. A TProtocolError from the steps
// reports the driver's failure (NotFound when no instrument was counted), then the status NotResponding
// (an instrument was counted) or NotConnected. True when the steps ran to their end. Refuses to start
// while another scope of the same guard is open (status AnotherOperationRunning). Other exceptions
// pass through, with the pipes closed and the guard released.
bool RunInLinkScope(TLinkGuard& guard, IUsbDriver& driver, IPause& pause, IDeviceEvents& events,
                    const std::function<void(TFix64& link)>& steps);
