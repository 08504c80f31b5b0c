#pragma once

#include <chrono>
#include <optional>

// The protocol's pauses between frames. Injectable so that tests record them instead of sleeping.
class IPause {
public:
    virtual ~IPause() = default;
    virtual void pauseMs(int ms) = 0;
};

// Where each pause ends. The ends lie on a schedule of absolute deadlines, each one the mandated pause
// after the one before, so the time an exchange takes and a sleep that wakes late are taken out of the
// next pause instead of adding up over thousands of frames. Running behind by a whole pause (a busy
// machine, a question on screen, a new operation) starts the schedule afresh with a full pause.
class TPauseSchedule {
public:
    using Clock = std::chrono::steady_clock;

    // The deadline of a pause of `ms` asked for at `now`; never earlier than `ms` after the last one.
    Clock::time_point next(Clock::time_point now, int ms);

private:
    std::optional<Clock::time_point> m_last;
};

// The steady clock and the sleep under TRealPause; tests put a fake in its place.
class ISteadyTimer {
public:
    virtual ~ISteadyTimer() = default;
    virtual TPauseSchedule::Clock::time_point now() const = 0;
    virtual void sleepUntil(TPauseSchedule::Clock::time_point deadline) = 0;
};

class TRealPause final : public IPause {
public:
    // Without a timer, the system's steady clock.
    explicit TRealPause(ISteadyTimer* timer = nullptr) : m_timer(timer) {}
    void pauseMs(int ms) override;

private:
    ISteadyTimer* m_timer;
    TPauseSchedule m_schedule;
};
