#include "link/Pause.h"

#include <thread>

namespace {

class TSystemTimer final : public ISteadyTimer {
public:
    TPauseSchedule::Clock::time_point now() const override { return TPauseSchedule::Clock::now(); }
    void sleepUntil(TPauseSchedule::Clock::time_point deadline) override {
        std::this_thread::sleep_until(deadline);
    }
};

} // namespace

TPauseSchedule::Clock::time_point TPauseSchedule::next(Clock::time_point now, int ms) {
    const auto pause = std::chrono::milliseconds(ms);
    Clock::time_point deadline = now + pause;
    if (m_last && now < *m_last + pause)
        deadline = *m_last + pause;
    m_last = deadline;
    return deadline;
}

void TRealPause::pauseMs(int ms) {
    if (ms <= 0)
        return;
    static TSystemTimer system;
    ISteadyTimer& timer = m_timer ? *m_timer : system;
    const auto deadline = m_schedule.next(timer.now(), ms);
    // A sleep may end early (a signal); the frame must still not go out before its deadline.
    while (timer.now() < deadline)
        timer.sleepUntil(deadline);
}
