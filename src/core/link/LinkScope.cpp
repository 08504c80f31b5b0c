// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/LinkScope.h"

#include "link/DriverFailureText.h"
#include "link/Fix64.h"
#include "link/ProtocolError.h"
#include "localisation/MessageCatalogue.h"
#include "commands/UserInterface.h"

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

bool RunInLinkScope(TLinkGuard& guard, IUsbDriver& driver, IPause& pause, IUserInterface& ui,
                    const TMessageCatalogue& catalogue, const std::function<void(TFix64& link)>& steps) {
    bool wasFree = false;
    if (!guard.Busy.compare_exchange_strong(wasFree, true)) {
        ui.setStatus(catalogue.TranslateExclaim(QStringLiteral("Another device operation is running")));
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
    ui.setStatus(QString());
    bool completed = true;
    try {
        steps(link);
    } catch (const TProtocolError& error) {
        completed = false;
        // Why, with what to do about it, before the status line's short verdict.
        TDriverFailure failure = error.Failure;
        if (!failure && deviceCount == 0)
            failure.Kind = TDriverFailureKind::NotFound;
        const QString reason = DriverFailureMessage(failure, catalogue);
        if (!reason.isEmpty()) {
            // The progress text is over while the box is up; a terminal then prints box and verdict in order.
            ui.setStatus(QString());
            ui.showMessage(catalogue.Translate(QStringLiteral("Error")), reason);
        }
        ui.setStatus(deviceCount != 0
                         ? catalogue.TranslateExclaim(QStringLiteral("Device is not responding"))
                         : catalogue.TranslateExclaim(QStringLiteral("Device is not connected")));
    }
    link.ClosePipes(0);
    return completed;
}
