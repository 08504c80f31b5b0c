// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/LinkScope.h"

#include "link/DeviceEvents.h"
#include "link/Fix64.h"
#include "link/ProtocolError.h"

namespace {
// Gives back the guard taken before it, whichever way the steps end.
class TGuardHold {
public:
    explicit TGuardHold(TLinkGuard& guard) : m_guard(guard) {}
    ~TGuardHold() { m_guard.Busy = false; }
    TGuardHold(const TGuardHold&) = delete;
    TGuardHold& operator=(const TGuardHold&) = delete;

private:
    TLinkGuard& m_guard;
};
} // namespace

bool RunInLinkScope(TLinkGuard& guard, IUsbDriver& driver, IPause& pause, IDeviceEvents& events,
                    const std::function<void(TFix64& link)>& steps) {
    bool wasFree = false;
    if (!guard.Busy.compare_exchange_strong(wasFree, true)) {
        events.status({TDeviceStatusKind::AnotherOperationRunning});
        return false;
    }
    TGuardHold hold(guard);
    TFix64 link(driver, pause);
    // Not examined: a pipe that failed shows as the first exchange failing.
    link.OpenPipes(0);
    const std::uint32_t deviceCount = link.DeviceCount();
    link.SetSlave(SlaveAny);
    link.Timeout = 250;
    link.ReceivedCount = 0;
    events.status({TDeviceStatusKind::Clear});
    bool completed = true;
    try {
        steps(link);
    } catch (const TProtocolError& error) {
        completed = false;
        // Why, with what to do about it, before the status line's short verdict.
        TDeviceNotice why{TDeviceNoticeKind::DriverFailure, error.Failure};
        if (!why.Failure && deviceCount == 0)
            why.Failure.Kind = TDriverFailureKind::NotFound;
        events.notice(why);
        events.status(
            {deviceCount != 0 ? TDeviceStatusKind::NotResponding : TDeviceStatusKind::NotConnected});
    }
    link.ClosePipes(0);
    return completed;
}
