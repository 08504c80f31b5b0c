// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeUsbDriver.h"

#include "link/Fix64.h"
#include "link/Pause.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = PauseClock;

// A steady clock that moves only when slept on or told to; each sleep wakes `Late` after its deadline,
// or, with `WakeEarly`, first once before it (as a signal would).
class TFakeTimer final : public ISteadyTimer {
public:
    Clock::time_point now() const override { return Now; }
    void sleepUntil(Clock::time_point deadline) override {
        const bool first = Deadlines.empty() || Deadlines.back() != deadline;
        Deadlines.push_back(deadline);
        Now = WakeEarly && first ? deadline - 1ms : deadline + Late;
    }

    Clock::time_point Now{1000s};
    Clock::duration Late{};
    bool WakeEarly = false;
    std::vector<Clock::time_point> Deadlines;
};

// The instrument's side of the link on the fake clock: when each request arrived and each reply
// left. A request travels for half the exchange time, the reply for the other half.
class TTimedInstrument final : public IUsbDriver {
public:
    TTimedInstrument(TFakeTimer& timer, Clock::duration exchange) : m_timer(timer), m_exchange(exchange) {}

    std::uint32_t GetDeviceCount(const char*) override { return 1; }
    void* Open(std::uint32_t, const char*, const char*, std::uint32_t direction, std::uint32_t) override {
        return reinterpret_cast<void*>(std::uintptr_t(direction + 1));
    }
    std::uint32_t Write(void*, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t) override {
        std::memcpy(m_request.data(), data, 64);
        m_timer.Now += m_exchange / 2;
        Arrivals.push_back(m_timer.Now);
        *sent = length;
        return 1;
    }
    std::uint32_t Read(void*, void* data, std::uint32_t, std::uint32_t* received, std::uint32_t) override {
        const TFrame reply = TFakeUsbDriver::answer(m_request);
        std::memcpy(data, reply.data(), 64);
        m_timer.Now += m_exchange / 2;
        Replies.push_back(m_timer.Now);
        *received = 64;
        return 1;
    }
    std::uint32_t Close(void*) override { return 1; }

    std::vector<Clock::time_point> Arrivals;
    std::vector<Clock::time_point> Replies;

private:
    TFakeTimer& m_timer;
    Clock::duration m_exchange;
    TFrame m_request{};
};

} // namespace

// Measured at the instrument: between its reply and the next request lies at least the protocol's
// pause (5 ms after a read chunk; 5 after and 10 before a write chunk), however long the exchanges
// take and however late the sleeps wake; and no more than that plus one late wake-up, so the
// pauses stay precise.
TEST(ProtocolPauses, TheInstrumentGetsItsWholeQuietTimeAfterEveryReply) {
    struct Case {
        const char* Name;
        Clock::duration Exchange;
        Clock::duration Late;
        bool WakeEarly;
    };
    const Case cases[] = {
        {"exact sleeps, instant exchanges", 0us, 0us, false},
        {"slow exchanges", 300us, 0us, false},
        {"late wake-ups", 300us, 60us, false},
        {"woken early", 300us, 0us, true},
        {"exchanges longer than a pause", 7ms, 20us, false},
    };
    for (const Case& c : cases) {
        for (const bool write : {false, true}) {
            SCOPED_TRACE(std::string(c.Name) + (write ? ", write" : ", read"));
            TFakeTimer timer;
            timer.Late = c.Late;
            timer.WakeEarly = c.WakeEarly;
            TTimedInstrument instrument(timer, c.Exchange);
            TRealPause pause(&timer);
            TFix64 link(instrument, pause);
            link.OpenPipes(0);
            std::vector<std::uint8_t> buffer(52 * 40 + 7);
            link.Ping(); // the exchange before the transfer
            if (write)
                link.WriteMemory(4096, buffer.data(), std::uint32_t(buffer.size()));
            else
                link.ReadMemory(4096, buffer.data(), std::uint32_t(buffer.size()));

            ASSERT_EQ(instrument.Arrivals.size(), 42u);
            const Clock::duration mandated = write ? 15ms : 5ms;
            for (std::size_t i = 2; i < instrument.Arrivals.size(); ++i) {
                // The request's own travel is not quiet time: the instrument is busy receiving.
                const Clock::duration quiet =
                    instrument.Arrivals[i] - c.Exchange / 2 - instrument.Replies[i - 1];
                ASSERT_GE(quiet, mandated) << "request " << i;
                ASSERT_LE(quiet, mandated + c.Late) << "request " << i;
            }
            if (write) {
                ASSERT_GE(instrument.Arrivals[1] - c.Exchange / 2 - instrument.Replies[0], 10ms);
            }
        }
    }
}

TEST(ProtocolPauses, APauseWhoseQuietTimeHasPassedDoesNotSleep) {
    TFakeTimer timer;
    TRealPause pause(&timer);
    pause.exchangeEnded();
    timer.Now += 3s; // the user answered a question
    pause.pauseMs(10);
    EXPECT_TRUE(timer.Deadlines.empty());
    // Without an exchange before it, a pause counts from the moment it is asked for.
    TRealPause fresh(&timer);
    const Clock::time_point asked = timer.Now;
    fresh.pauseMs(5);
    EXPECT_EQ(timer.Now - asked, 5ms);
    fresh.pauseMs(0); // no pause asked: nothing slept
    EXPECT_EQ(timer.Deadlines.size(), 1u);
}
