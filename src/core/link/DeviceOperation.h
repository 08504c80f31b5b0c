// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class IDeviceEvents;
class IPause;
class ITransferProgress;
class IUsbDriver;
struct TLinkGuard;

// What every device operation runs with: the application object's guard and driver, the pauses and
// where its outcomes go (worded by the commands). Built by the caller; the operations keep no
// reference to it.
struct TDeviceOperationContext {
    TLinkGuard& Guard;
    IUsbDriver& Driver;
    IPause& Pause;
    IDeviceEvents& Events;
    // Told how far a long transfer has got and asked whether to stop; none: nothing shown, no stop.
    ITransferProgress* Progress = nullptr;
};

enum class TDeviceResult {
    Done,
    // The instrument answered but there was nothing to do: no project or record on it, or the user
    // said No or chose nothing.
    NothingDone,
    // The link failed, what the instrument holds was refused, or another device operation was
    // running; the status bar says which.
    Failed,
    // The user stopped the transfer between two chunks; the caller tells what that left behind.
    Cancelled,
};
