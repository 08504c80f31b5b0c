// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>

// The protocol's pauses between frames. Injectable so that tests record them instead of sleeping.
class IPause {
public:
    virtual ~IPause() = default;
    // Quiet time on the link: `ms` from the end of the last exchange, or of the pause before when
    // no exchange came between them.
    virtual void pauseMs(int ms) = 0;
    // The link calls this when an exchange is over (its reply arrived, or it failed); the next
    // pause counts from here.
    virtual void exchangeEnded() {}
};

using PauseClock = std::chrono::steady_clock;

// The steady clock and the sleep under TRealPause; tests put a fake in its place.
class ISteadyTimer {
public:
    virtual ~ISteadyTimer() = default;
    virtual PauseClock::time_point now() const = 0;
    // May return early (a signal); the caller checks the clock.
    virtual void sleepUntil(PauseClock::time_point deadline) = 0;
};

// Each pause ends at an absolute deadline: its length after the moment the instrument last
// answered, so the instrument always gets at least the quiet time the protocol promises it, and a
// late wake-up is never taken out of the next pause. Two pauses with no exchange between them
// (after one write chunk, before the next) follow each other deadline to deadline. A pause whose
// quiet time has already passed (the user answered a question) does not sleep.
class TRealPause final : public IPause {
public:
    // Without a timer, the system's monotonic clock, slept on with a small timer slack.
    explicit TRealPause(ISteadyTimer* timer = nullptr) : m_timer(timer) {}
    void pauseMs(int ms) override;
    void exchangeEnded() override;

private:
    ISteadyTimer& timer() const;

    ISteadyTimer* m_timer;
    std::optional<PauseClock::time_point> m_quietSince;
};
