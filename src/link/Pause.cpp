// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Pause.h"

#include <cerrno>
#include <ctime>

#include <sys/prctl.h>

namespace {

class TSystemTimer final : public ISteadyTimer {
public:
    PauseClock::time_point now() const override { return PauseClock::now(); }
    void sleepUntil(PauseClock::time_point deadline) override {
        // The steady clock is CLOCK_MONOTONIC; an absolute deadline does not drift by the time the
        // call itself takes. The default slack of 50 us would lengthen every pause by up to that.
        const auto since = deadline.time_since_epoch();
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
        const timespec until{static_cast<time_t>(seconds.count()),
                             static_cast<long>(std::chrono::nanoseconds(since - seconds).count())};
        const int oldSlack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
        ::prctl(PR_SET_TIMERSLACK, SleepSlackNs, 0, 0, 0);
        ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        if (oldSlack > 0)
            ::prctl(PR_SET_TIMERSLACK, oldSlack, 0, 0, 0);
    }

private:
    static constexpr unsigned long SleepSlackNs = 1000;
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
