// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeUsbDriver.h"

#include "link/Fix64.h"
#include "link/ProtocolError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Shape_t = std::vector<std::string>;

std::uint32_t addressOf(const TFrame& f) {
    std::uint32_t a = 0;
    std::memcpy(&a, f.data() + FrameAddressOffset, 4);
    return a;
}

class Fix64Test : public ::testing::Test {
protected:
    TLinkLog m_log;
    TFakeUsbDriver m_driver{m_log};
    TRecordingPause m_pause{m_log};

    // A link with its pipes open, the log starting after the opening.
    TFix64& openLink() {
        m_link.OpenPipes(0);
        m_log.clear();
        m_driver.restart();
        return m_link;
    }

    template <typename F> std::string errorOf(F&& f) {
        try {
            f();
        } catch (const TProtocolError& e) {
            return e.what();
        }
        return "no error";
    }

private:
    TFix64 m_link{m_driver, m_pause};
};

} // namespace

TEST_F(Fix64Test, PingSendsOneFrameAndReadsItsReply) {
    TFix64& link = openLink();
    EXPECT_TRUE(link.Ping());
    ASSERT_EQ(Shape(m_log), (Shape_t{"write", "read"}));
    EXPECT_EQ(m_log[0].Frame, BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr));
    EXPECT_EQ(m_log[0].Frame[63], 0x56);
    EXPECT_EQ(m_log[0].Pipe, m_driver.WritePipe);
    EXPECT_EQ(m_log[1].Pipe, m_driver.ReadPipe);
    EXPECT_EQ(m_log[0].Value, 250u);
    EXPECT_EQ(m_log[1].Value, 250u);
    EXPECT_EQ(link.Reply()[2], 9);
}

TEST_F(Fix64Test, FailuresReachTheCallerUnchanged) {
    TFix64& link = openLink();
    m_driver.FailReadAt = 0;
    EXPECT_EQ(errorOf([&] { link.Ping(); }), "Device not reply");
    m_driver.FailReadAt = -1;
    m_driver.Corrupt = [](int, TFrame& r) { r[63] ^= 1; };
    EXPECT_EQ(errorOf([&] { link.Ping(); }), "Error CRC");
}

TEST_F(Fix64Test, ReplyWithoutBytesIsNotTakenForThePreviousOne) {
    TFix64& link = openLink();
    ASSERT_TRUE(link.Ping());
    m_driver.EmptyReads = true;
    EXPECT_EQ(errorOf([&] { link.Ping(); }), "Error command number");
}

TEST_F(Fix64Test, NoReplySlaveSendsWithoutReading) {
    TFix64& link = openLink();
    m_driver.Devices = 0;
    m_driver.FailReadAt = 0;
    link.SetSlave(SlaveNoReply);
    EXPECT_TRUE(link.Ping());
    std::uint8_t buffer[60] = {};
    EXPECT_TRUE(link.WriteMemory(256, buffer, 60));
    for (const auto& e : m_log)
        EXPECT_NE(e.Kind, "read");
    EXPECT_EQ(WrittenFrames(m_log).size(), 3u);
    EXPECT_EQ(WrittenFrames(m_log)[0][2], SlaveNoReply);
}

TEST_F(Fix64Test, ChunksAndPausesOfEachTransfer) {
    struct Case {
        const char* Name;
        std::uint8_t Command;
        Shape_t Expected;
    };
    const std::vector<Case> cases = {
        {"ReadMemory", CommandReadMemory, {"write", "read", "pause5", "write", "read", "pause5"}},
        {"ReadData", CommandReadData, {"write", "read", "write", "read"}},
        {"WriteMemory",
         CommandWriteMemory,
         {"pause10", "write", "read", "pause5", "pause10", "write", "read", "pause5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFix64& link = openLink();
        // Exactly 53 bytes: a chunk that read or copied past them shows under the sanitizers.
        std::vector<std::uint8_t> buffer(53);
        for (std::size_t i = 0; i < buffer.size(); ++i)
            buffer[i] = static_cast<std::uint8_t>(0xC0 + i);
        const std::uint32_t start = 0x158600;
        if (c.Command == CommandReadMemory)
            EXPECT_TRUE(link.ReadMemory(start, buffer.data(), 53));
        else if (c.Command == CommandReadData)
            EXPECT_TRUE(link.ReadData(start, buffer.data(), 53));
        else
            EXPECT_TRUE(link.WriteMemory(start, buffer.data(), 53));

        EXPECT_EQ(Shape(m_log), c.Expected);
        const auto frames = WrittenFrames(m_log);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0], BuildRequest(SlaveAny, c.Command, 52, 0, 0, start,
                                          c.Command == CommandWriteMemory ? buffer.data() : nullptr));
        EXPECT_EQ(frames[1][3], c.Command);
        EXPECT_EQ(frames[1][4], 1);
        EXPECT_EQ(addressOf(frames[1]), start + 52);
        if (c.Command == CommandWriteMemory) {
            EXPECT_EQ(frames[1][11], 0xC0 + 52);
            for (int i = 12; i < 63; ++i)
                EXPECT_EQ(frames[1][i], 0) << i;
        } else {
            // The fake answers byte (address + i); the last chunk brings one byte only.
            for (std::uint32_t i = 0; i < 53; ++i)
                EXPECT_EQ(buffer[i], static_cast<std::uint8_t>(start + i)) << i;
        }
    }
}

TEST_F(Fix64Test, CountZeroSendsNothing) {
    TFix64& link = openLink();
    std::uint8_t buffer[1] = {0x77};
    EXPECT_TRUE(link.ReadMemory(256, buffer, 0));
    EXPECT_TRUE(link.ReadData(256, buffer, 0));
    EXPECT_TRUE(link.WriteMemory(256, buffer, 0));
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(buffer[0], 0x77);
}

TEST_F(Fix64Test, CountsBeyondSixteenBits) {
    TFix64& link = openLink();
    const std::uint32_t count = 1500 * 78; // a full slot of branches
    std::vector<std::uint8_t> buffer(count, 0xEE);
    EXPECT_TRUE(link.WriteMemory(4140, buffer.data(), count));
    const auto frames = WrittenFrames(m_log);
    ASSERT_EQ(frames.size(), (count + 51) / 52);
    EXPECT_EQ(addressOf(frames.back()), 4140 + 52 * (frames.size() - 1));
    EXPECT_EQ(frames.back()[4], count - 52 * (frames.size() - 1));
}

TEST_F(Fix64Test, BrokenTransferKeepsWhatArrivedAndSendsNoMore) {
    TFix64& link = openLink();
    std::vector<std::uint8_t> buffer(150, 0xEE);
    m_driver.FailReadAt = 1;
    EXPECT_EQ(errorOf([&] { link.ReadMemory(0, buffer.data(), 150); }), "Device not reply");
    EXPECT_EQ(buffer[51], 51);
    EXPECT_EQ(buffer[52], 0xEE);
    EXPECT_EQ(buffer[149], 0xEE);
    EXPECT_EQ(WrittenFrames(m_log).size(), 2u);
    // No pause after the failing chunk either.
    EXPECT_EQ(Shape(m_log).back(), "read");

    openLink();
    m_driver.FailReadAt = -1;
    m_driver.Corrupt = [](int index, TFrame& r) {
        if (index == 1)
            r[1] = 0;
    };
    EXPECT_EQ(errorOf([&] { link.WriteMemory(0, buffer.data(), 150); }), "Error master adr");
    EXPECT_EQ(WrittenFrames(m_log).size(), 2u);
}

TEST_F(Fix64Test, PipesOpenReadThenWriteAndCloseOnce) {
    TLinkLog log;
    TFakeUsbDriver driver(log);
    TRecordingPause pause(log);
    {
        TFix64 link(driver, pause);
        EXPECT_FALSE(link.OpenPipes(10));
        EXPECT_FALSE(link.OpenPipes(-1));
        EXPECT_TRUE(log.empty());

        EXPECT_TRUE(link.OpenPipes(0));
        ASSERT_EQ(Shape(log), (Shape_t{"open", "open"}));
        EXPECT_EQ(log[0].Value, PipeDirectionRead);
        EXPECT_EQ(log[1].Value, PipeDirectionWrite);
        EXPECT_EQ(driver.LastVidPid, "vid_04d8&pid_000c");
        EXPECT_EQ(driver.LastEndpoint, "\\MCHP_EP1");
        EXPECT_EQ(driver.LastInstance, 0u);
        EXPECT_EQ(driver.LastReserved, 0u);

        log.clear();
        link.ClosePipes(0);
        link.ClosePipes(0);
        ASSERT_EQ(Shape(log), (Shape_t{"close", "close"}));
        EXPECT_EQ(log[0].Pipe, driver.ReadPipe);
        EXPECT_EQ(log[1].Pipe, driver.WritePipe);

        // Pipes left open are closed with the link.
        log.clear();
        link.OpenPipes(3);
    }
    EXPECT_EQ(Shape(log), (Shape_t{"open", "open", "close", "close"}));
}

TEST_F(Fix64Test, FailedPipesAreNotClosedAndExchangesFail) {
    TLinkLog log;
    TFakeUsbDriver driver(log);
    TRecordingPause pause(log);
    driver.OpenFails = true;
    driver.FailReadAt = 0; // what a driver does with a pipe it never opened
    {
        TFix64 link(driver, pause);
        EXPECT_FALSE(link.OpenPipes(0));
        EXPECT_EQ(errorOf([&] { link.Ping(); }), "Device not reply");
        link.ClosePipes(0);
    }
    for (const auto& e : log)
        EXPECT_NE(e.Kind, "close");
}
