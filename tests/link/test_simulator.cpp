// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimulatorDriver.h"
#include "link/Fix64.h"
#include "link/Frame.h"
#include "link/Pause.h"
#include "link/ProtocolError.h"

#include "simulator/SimulatedInstrument.h"
#include "simulator/SimulatorFrame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t Own = TSimulatedInstrument::DefaultSlaveAddress;

// A clock the fake pauses move forward, so the request log shows the protocol's pauses.
struct TFakeTime {
    std::chrono::microseconds Now{0};
    TSimClock clock() {
        return [this] { return Now; };
    }
};

class TAdvancingPause final : public IPause {
public:
    explicit TAdvancingPause(TFakeTime& time) : m_time(time) {}
    void pauseMs(int ms) override { m_time.Now += std::chrono::milliseconds(ms); }

private:
    TFakeTime& m_time;
};

// The instrument with its pipes open, exchanging single frames.
struct SimulatorTest : ::testing::Test {
    TFakeTime time;
    TSimulatedInstrument instrument{time.clock()};
    TSimulatorDriver driver{instrument};
    void* readPipe = driver.Open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionRead, 0);
    void* writePipe = driver.Open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionWrite, 0);

    // The reply to one request, or nothing when the instrument stayed silent.
    std::optional<TFrame> exchange(const TFrame& request) {
        std::uint32_t sent = 0;
        if (driver.Write(writePipe, request.data(), 64, &sent, 250) == 0)
            return std::nullopt;
        TFrame reply{};
        std::uint32_t received = 0;
        if (driver.Read(readPipe, reply.data(), 64, &received, 250) == 0)
            return std::nullopt;
        EXPECT_EQ(received, 64u);
        return reply;
    }
};

TFrame withCrc(TFrame frame) {
    frame[63] = SimFrameCrc(frame);
    return frame;
}

TEST(SimFrameCrc, WorkedValuesAndAgreementWithTheLink) {
    EXPECT_EQ(SimFrameCrc(BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr)), 0x56);
    EXPECT_EQ(SimFrameCrc(BuildRequest(SlaveAny, CommandReadMemory, 52, 0, 0, 256, nullptr)), 0x80);
    TFrame frame{};
    for (int round = 0; round < 200; ++round) {
        for (std::size_t i = 0; i < frame.size(); ++i)
            frame[i] = static_cast<std::uint8_t>((i * 37 + round * 101 + (i * round) % 13) & 0xFF);
        EXPECT_EQ(SimFrameCrc(frame), FrameCrc(frame)) << round;
    }
}

// Each command's reply byte for byte: start mark, the master address echoed, the instrument's own
// slave address, the request's command, parameters and address, the data read at 11.., check value.
TEST_F(SimulatorTest, RepliesOfEachCommandByteForByte) {
    const std::uint8_t config[5] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(instrument.writeConfig(256, config, 5));
    const std::uint8_t data[3] = {9, 8, 7};
    ASSERT_TRUE(instrument.writeData(0x158600, data, 3));
    const std::uint8_t written[4] = {0xDE, 0xAD, 0xBE, 0xEF};

    struct Case {
        const char* name;
        TFrame request;
        std::vector<std::uint8_t> replyData;
    };
    const Case cases[] = {
        {"ping", BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr), {}},
        {"read memory", BuildRequest(SlaveAny, CommandReadMemory, 5, 0, 0, 256, nullptr), {1, 2, 3, 4, 5}},
        {"read memory to own address", BuildRequest(Own, CommandReadMemory, 2, 0, 0, 259, nullptr), {4, 5}},
        {"read data", BuildRequest(SlaveAny, CommandReadData, 4, 0, 0, 0x158600, nullptr), {9, 8, 7, 0xFF}},
        {"write memory", BuildRequest(SlaveAny, CommandWriteMemory, 4, 0, 0, 300, written, 4), {}},
    };
    for (const Case& c : cases) {
        const auto reply = exchange(c.request);
        ASSERT_TRUE(reply) << c.name;
        TFrame expected{};
        expected[0] = 0xA5;
        expected[1] = 0xFF;
        expected[2] = Own;
        std::copy(c.request.begin() + 3, c.request.begin() + 11, expected.begin() + 3);
        std::copy(c.replyData.begin(), c.replyData.end(), expected.begin() + 11);
        expected[63] = FrameCrc(expected);
        EXPECT_EQ(*reply, expected) << c.name;
        EXPECT_NO_THROW(ValidateReply(c.request, *reply)) << c.name;
    }
    std::uint8_t stored[4];
    ASSERT_TRUE(instrument.readConfig(300, stored, 4));
    EXPECT_EQ(0, std::memcmp(stored, written, 4));
}

// A request the instrument cannot or must not carry out gets no reply and changes nothing.
TEST_F(SimulatorTest, IgnoresRequestsItCannotServe) {
    const std::uint8_t bytes[52] = {7, 7, 7};
    TFrame badStart = BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr);
    badStart[0] = 0x5A;
    TFrame badCrc = BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr);
    badCrc[63] ^= 1;
    TFrame oversized = BuildRequest(SlaveAny, CommandWriteMemory, 53, 0, 0, 256, bytes);
    struct Case {
        const char* name;
        TFrame request;
    };
    const Case cases[] = {
        {"start mark", withCrc(badStart)},
        {"check value", badCrc},
        {"another slave", BuildRequest(Own + 1, CommandPing, 0, 0, 0, 0, nullptr)},
        {"unknown command", BuildRequest(SlaveAny, 9, 0, 0, 0, 0, nullptr)},
        {"more than a frame's data", BuildRequest(SlaveAny, CommandReadMemory, 53, 0, 0, 256, nullptr)},
        {"write of more than a frame's data", withCrc(oversized)},
        {"read past the configuration memory",
         BuildRequest(SlaveAny, CommandReadMemory, 52, 0, 0, 0x20000 - 51, nullptr)},
        {"read wrapping at 4 GiB", BuildRequest(SlaveAny, CommandReadMemory, 52, 0, 0, 0xFFFFFFF0u, nullptr)},
        {"read below the data memory", BuildRequest(SlaveAny, CommandReadData, 52, 0, 0, 0x157FF0, nullptr)},
        {"read past the data memory", BuildRequest(SlaveAny, CommandReadData, 52, 0, 0, 0x1D7FE0, nullptr)},
        {"write past the configuration memory",
         BuildRequest(SlaveAny, CommandWriteMemory, 52, 0, 0, 0x1FFF0, bytes)},
        {"write wrapping at 4 GiB", BuildRequest(SlaveAny, CommandWriteMemory, 52, 0, 0, 0xFFFFFFFFu, bytes)},
    };
    const TSimulatedInstrument before;
    for (const Case& c : cases) {
        EXPECT_FALSE(exchange(c.request)) << c.name;
        EXPECT_TRUE(std::ranges::equal(instrument.configMemory(), before.configMemory())) << c.name;
    }
    // The last bytes of each memory are reachable.
    EXPECT_TRUE(exchange(BuildRequest(SlaveAny, CommandReadMemory, 52, 0, 0, 0x20000 - 52, nullptr)));
    EXPECT_TRUE(exchange(BuildRequest(SlaveAny, CommandReadData, 52, 0, 0, 0x1D8000 - 52, nullptr)));
}

TEST_F(SimulatorTest, BroadcastWithoutReplyIsCarriedOutSilently) {
    const std::uint8_t bytes[2] = {0x12, 0x34};
    EXPECT_FALSE(exchange(BuildRequest(SlaveNoReply, CommandWriteMemory, 2, 0, 0, 4096, bytes, 2)));
    std::uint8_t stored[2];
    ASSERT_TRUE(instrument.readConfig(4096, stored, 2));
    EXPECT_EQ(stored[0], 0x12);
    EXPECT_EQ(stored[1], 0x34);
    // Nothing stale waits for the next request's read either.
    EXPECT_TRUE(exchange(BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr)));
}

TEST_F(SimulatorTest, WriteThatCannotBeKeptIsUndoneAndNotAcknowledged) {
    const std::uint8_t first[3] = {1, 2, 3};
    ASSERT_TRUE(exchange(BuildRequest(SlaveAny, CommandWriteMemory, 3, 0, 0, 4096, first, 3)));
    instrument.setWriteHook([] { return false; });
    const std::uint8_t second[3] = {4, 5, 6};
    EXPECT_FALSE(exchange(BuildRequest(SlaveAny, CommandWriteMemory, 3, 0, 0, 4095, second, 3)));
    std::uint8_t stored[4];
    ASSERT_TRUE(instrument.readConfig(4095, stored, 4));
    EXPECT_EQ(stored[0], 0);
    EXPECT_EQ(stored[1], 1);
    EXPECT_EQ(stored[2], 2);
    EXPECT_EQ(stored[3], 3);
}

TEST_F(SimulatorTest, PipesTakeOnlyWholeFramesOnTheirOwnDirection) {
    const TFrame ping = BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr);
    std::uint32_t count = 99;
    EXPECT_EQ(driver.Write(readPipe, ping.data(), 64, &count, 250), 0u);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(driver.Write(writePipe, ping.data(), 63, &count, 250), 0u);
    EXPECT_EQ(driver.Write(writePipe, nullptr, 64, &count, 250), 0u);
    ASSERT_EQ(driver.Write(writePipe, ping.data(), 64, &count, 250), 1u);
    TFrame reply{};
    EXPECT_EQ(driver.Read(writePipe, reply.data(), 64, &count, 250), 0u);
    EXPECT_EQ(driver.Read(readPipe, reply.data(), 63, &count, 250), 0u);
    EXPECT_EQ(driver.Read(readPipe, reply.data(), 64, &count, 250), 1u);
    EXPECT_EQ(driver.Read(readPipe, reply.data(), 64, &count, 250), 0u) << "a reply is handed out once";

    EXPECT_EQ(driver.Close(readPipe), 1u);
    EXPECT_EQ(driver.Close(readPipe), 0u);
    EXPECT_EQ(driver.Close(InvalidPipe()), 0u);
    EXPECT_EQ(driver.Write(writePipe, ping.data(), 64, &count, 250), 1u);
    EXPECT_EQ(driver.Read(readPipe, reply.data(), 64, &count, 250), 0u) << "closed";

    EXPECT_EQ(driver.Open(1, InstrumentVidPid, InstrumentEndpoint, PipeDirectionRead, 0), InvalidPipe());
    EXPECT_EQ(driver.Open(0, "vid_04d8&pid_000d", InstrumentEndpoint, PipeDirectionRead, 0), InvalidPipe());
    EXPECT_EQ(driver.Open(0, InstrumentVidPid, "\\MCHP_EP2", PipeDirectionRead, 0), InvalidPipe());
    EXPECT_EQ(driver.Open(0, InstrumentVidPid, InstrumentEndpoint, 2, 0), InvalidPipe());
    EXPECT_EQ(driver.Open(0, nullptr, InstrumentEndpoint, PipeDirectionRead, 0), InvalidPipe());
    EXPECT_EQ(driver.GetDeviceCount(InstrumentVidPid), 1u);
    EXPECT_EQ(driver.GetDeviceCount("VID_04D8&PID_000C"), 1u);
    EXPECT_EQ(driver.GetDeviceCount("vid_04d8&pid_000d"), 0u);
}

// Each fault at the first, a middle and the last chunk of a three-chunk read through the link:
// the link's own message, the chunks before it delivered, nothing after it asked for.
TEST_F(SimulatorTest, EachReplyFaultShowsAsItsLinkError) {
    struct Case {
        TReplyFault fault;
        const char* message;
    };
    const Case cases[] = {
        {TReplyFault::NoReply, "Device not reply"},     {TReplyFault::WrongCommand, "Error command number"},
        {TReplyFault::WrongMaster, "Error master adr"}, {TReplyFault::WrongSlave, "Error slave adr"},
        {TReplyFault::BadCheckValue, "Error CRC"},
    };
    std::vector<std::uint8_t> content(150);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_TRUE(instrument.writeConfig(4096, content.data(), 150));

    TAdvancingPause pause(time);
    for (const Case& c : cases) {
        for (const std::uint64_t chunk : {1, 2, 3}) {
            TFix64 link(driver, pause);
            ASSERT_TRUE(link.OpenPipes(0));
            link.SetSlave(Own); // a wrong slave address shows only to a request for one slave
            const std::uint64_t first = instrument.framesReceived() + 1;
            instrument.clearFaults();
            instrument.injectFault(c.fault, first + chunk - 1);
            std::vector<std::uint8_t> destination(150, 0);
            try {
                link.ReadMemory(4096, destination.data(), 150);
                ADD_FAILURE() << c.message << " at chunk " << chunk << " not raised";
            } catch (const TProtocolError& error) {
                EXPECT_EQ(std::string(error.what()), c.message) << chunk;
            }
            EXPECT_EQ(instrument.framesReceived(), first + chunk - 1) << c.message << " " << chunk;
            const std::size_t delivered = (chunk - 1) * 52;
            EXPECT_TRUE(std::equal(content.begin(), content.begin() + delivered, destination.begin()));
            EXPECT_TRUE(std::all_of(destination.begin() + delivered, destination.end(),
                                    [](auto b) { return b == 0; }));
        }
    }
    // Only the frame named is disturbed.
    instrument.clearFaults();
    instrument.injectFault(TReplyFault::BadCheckValue, instrument.framesReceived() + 2);
    TFix64 link(driver, pause);
    ASSERT_TRUE(link.OpenPipes(0));
    EXPECT_TRUE(link.Ping());
    EXPECT_THROW(link.Ping(), TProtocolError);
    EXPECT_TRUE(link.Ping());
}

// A lost request is not carried out; a corrupted reply belongs to a write that was.
TEST_F(SimulatorTest, LostWritesAreNotStoredCorruptedRepliesAre) {
    const std::uint8_t bytes[2] = {0xAB, 0xCD};
    for (const TReplyFault fault :
         {TReplyFault::NoReply, TReplyFault::WrongCommand, TReplyFault::BadCheckValue}) {
        const std::uint8_t zero[2] = {0, 0};
        ASSERT_TRUE(instrument.writeConfig(4096, zero, 2));
        instrument.injectFault(fault, instrument.framesReceived() + 1);
        const auto reply = exchange(BuildRequest(SlaveAny, CommandWriteMemory, 2, 0, 0, 4096, bytes, 2));
        std::uint8_t stored[2];
        ASSERT_TRUE(instrument.readConfig(4096, stored, 2));
        EXPECT_EQ(stored[0], fault == TReplyFault::NoReply ? 0 : 0xAB);
        EXPECT_EQ(reply.has_value(), fault != TReplyFault::NoReply);
    }
}

TEST_F(SimulatorTest, StandingFaultLastsUntilCleared) {
    instrument.injectFaultFrom(TReplyFault::WrongMaster, instrument.framesReceived() + 2);
    const TFrame ping = BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr);
    EXPECT_NO_THROW(ValidateReply(ping, exchange(ping).value()));
    for (int i = 0; i < 3; ++i)
        EXPECT_THROW(ValidateReply(ping, exchange(ping).value()), TProtocolError);
    instrument.clearFaults();
    EXPECT_NO_THROW(ValidateReply(ping, exchange(ping).value()));
}

TEST_F(SimulatorTest, UnpluggedAfterNFramesAndNoInstrumentAtAll) {
    const TFrame ping = BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr);
    instrument.unplugAfter(2);
    EXPECT_TRUE(exchange(ping));
    EXPECT_EQ(driver.GetDeviceCount(InstrumentVidPid), 1u);
    EXPECT_TRUE(exchange(ping));
    EXPECT_EQ(driver.GetDeviceCount(InstrumentVidPid), 0u);
    std::uint32_t sent = 7;
    EXPECT_EQ(driver.Write(writePipe, ping.data(), 64, &sent, 250), 0u);
    EXPECT_EQ(sent, 0u);
    EXPECT_FALSE(exchange(ping));
    EXPECT_EQ(driver.Open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionRead, 0), InvalidPipe());
    EXPECT_EQ(instrument.framesReceived(), 2u);

    instrument.setPresent(true);
    EXPECT_TRUE(exchange(ping)) << "plugged in again";

    TSimulatedInstrument absent;
    absent.setPresent(false);
    TSimulatorDriver none(absent);
    EXPECT_EQ(none.GetDeviceCount(InstrumentVidPid), 0u);
    EXPECT_EQ(none.Open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionWrite, 0), InvalidPipe());
    TAdvancingPause pause(time);
    TFix64 link(none, pause);
    EXPECT_FALSE(link.OpenPipes(0));
    EXPECT_EQ(link.DeviceCount(), 0u);
    EXPECT_THROW(link.Ping(), TProtocolError);
}

// The log holds each request as sent, stamped by the injected clock: here the write's 10 ms before
// and 5 ms after each chunk.
TEST_F(SimulatorTest, RecordsEachRequestWithItsTime) {
    TAdvancingPause pause(time);
    TFix64 link(driver, pause);
    ASSERT_TRUE(link.OpenPipes(0));
    std::vector<std::uint8_t> source(53, 0x11);
    ASSERT_TRUE(link.WriteMemory(4096, source.data(), 53));
    const auto& log = instrument.requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Time, 10ms);
    EXPECT_EQ(log[1].Time, 25ms);
    EXPECT_EQ(log[0].Frame, BuildRequest(SlaveAny, CommandWriteMemory, 52, 0, 0, 4096, source.data()));
    EXPECT_EQ(log[1].Frame, BuildRequest(SlaveAny, CommandWriteMemory, 1, 0, 0, 4148, source.data() + 52, 1));
    instrument.clearRequests();
    EXPECT_TRUE(instrument.requests().empty());
    EXPECT_EQ(instrument.framesReceived(), 2u);
}

} // namespace
