#include "link/Pause.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = TPauseSchedule::Clock;

// A steady clock that moves only when slept on or told to; each sleep wakes `Late` after its deadline,
// or, with `WakeEarly`, first once before it (as a signal would).
class TFakeTimer final : public ISteadyTimer {
public:
    Clock::time_point now() const override { return Now; }
    void sleepUntil(Clock::time_point deadline) override {
        Deadlines.push_back(deadline);
        const bool first = Deadlines.size() < 2 || Deadlines[Deadlines.size() - 2] != deadline;
        Now = WakeEarly && first ? deadline - 1ms : deadline + Late;
    }

    Clock::time_point Now{1000s};
    Clock::duration Late{};
    bool WakeEarly = false;
    std::vector<Clock::time_point> Deadlines;
};

} // namespace

TEST(PauseSchedule, LateWakeUpsDoNotAddUpAndNoPauseEndsBeforeItsDeadline) {
    struct Case {
        const char* Name;
        Clock::duration Exchange; // time between two pauses
        Clock::duration Late;
        bool WakeEarly;
        Clock::duration Elapsed; // for 1000 pauses of 5 ms
    };
    const Case cases[] = {
        {"exact sleeps", 0us, 0us, false, 5000ms},
        // Only the last late wake-up shows; the others were taken out of the pause after them.
        {"late wake-ups and exchanges", 100us, 300us, false, 5000ms + 300us},
        {"woken early", 100us, 0us, true, 5000ms},
        // An exchange longer than a pause: the schedule starts afresh, and each pause is whole.
        {"busy machine", 6ms, 0us, false, 1000 * 11ms - 6ms},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeTimer timer;
        timer.Late = c.Late;
        timer.WakeEarly = c.WakeEarly;
        TRealPause pause(&timer);
        const Clock::time_point start = timer.Now;
        Clock::time_point lastDeadline{};
        for (int i = 0; i < 1000; ++i) {
            if (i > 0)
                timer.Now += c.Exchange;
            pause.pauseMs(5);
            const Clock::time_point deadline = timer.Deadlines.back();
            EXPECT_GE(timer.Now, deadline);
            if (i > 0) {
                ASSERT_GE(deadline - lastDeadline, 5ms) << "pause " << i;
            }
            lastDeadline = deadline;
        }
        EXPECT_EQ(timer.Now - start, c.Elapsed);
    }
}

TEST(PauseSchedule, ANewOperationAfterAWhileGetsAWholeFirstPause) {
    TFakeTimer timer;
    TRealPause pause(&timer);
    pause.pauseMs(10);
    timer.Now += 3s; // the user answered a question
    const Clock::time_point asked = timer.Now;
    pause.pauseMs(5);
    EXPECT_EQ(timer.Now - asked, 5ms);
    pause.pauseMs(0); // no pause asked: nothing slept
    EXPECT_EQ(timer.Deadlines.size(), 2u);
}
