// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Pause.h"

#include "files/Platform.h"

namespace {

class TSystemTimer final : public ISteadyTimer {
public:
    PauseClock::time_point now() const override { return PauseClock::now(); }
    void sleepUntil(PauseClock::time_point deadline) override { SleepUntil(deadline); }
};

} // namespace

ISteadyTimer& TRealPause::timer() const {
    static TSystemTimer system;
    return m_timer ? *m_timer : system;
}

void TRealPause::exchangeEnded() {
    m_quietSince = timer().now();
}

void TRealPause::pauseMs(int ms) {
    if (ms <= 0)
        return;
    ISteadyTimer& t = timer();
    const PauseClock::time_point deadline = m_quietSince.value_or(t.now()) + std::chrono::milliseconds(ms);
    // A sleep may end early (a signal); the frame must still not go out before its deadline.
    while (t.now() < deadline)
        t.sleepUntil(deadline);
    m_quietSince = deadline;
}
