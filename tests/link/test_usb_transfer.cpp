// SPDX-License-Identifier: GPL-3.0-or-later
// The usb driver library as the program loads it, over a fake libusb with the simulated instrument
// behind it: what goes wrong on the wire, the driver must recover from, and the link must explain.
#include "FakeUsbDriver.h"
#include "fakeusb/FakeLibusb.h"

#include "link/DriverLibrary.h"
#include "link/Fix64.h"
#include "commands/DeviceUserInterface.h"
#include "link/LinkScope.h"
#include "localisation/MessageCatalogue.h"
#include "commands/ScriptedUserInterface.h"

#include <libusb.h>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr std::uint32_t BlockA = 4096;
constexpr std::uint32_t BlockB = 4096 + 52;

class UsbDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakeUsb();
        // Two neighbouring chunks that cannot be mistaken for each other.
        std::array<std::uint8_t, 104> marks{};
        for (std::size_t i = 0; i < marks.size(); ++i)
            marks[i] = static_cast<std::uint8_t>(i < 52 ? 0xA0 + i % 16 : 0x30 + i % 16);
        ASSERT_TRUE(FakeUsb().Instrument.writeConfig(BlockA, marks.data(), marks.size()));
        bool complete = false;
        m_driver = LoadDriver(QStringLiteral(ZRV_USB_DRIVER), &complete);
        ASSERT_TRUE(complete);
    }
    void TearDown() override {
        EXPECT_EQ(FakeUsb().OpenHandles, 0) << "a device handle left open";
        EXPECT_EQ(FakeUsb().ClaimedInterfaces, 0) << "an interface left claimed";
    }

    bool run(const std::function<void(TFix64&)>& steps) {
        m_ui.Log.clear();
        return RunInLinkScope(m_guard, *m_driver, m_pause, m_events, steps);
    }
    // Reads 52 bytes at the address in one operation; empty when it failed.
    std::vector<std::uint8_t> readChunk(std::uint32_t address) {
        std::vector<std::uint8_t> bytes(52);
        if (!run([&](TFix64& link) { link.ReadMemory(address, bytes.data(), 52); }))
            bytes.clear();
        return bytes;
    }
    std::vector<std::uint8_t> stored(std::uint32_t address) const {
        std::vector<std::uint8_t> bytes(52);
        FakeUsb().Instrument.readConfig(address, bytes.data(), 52);
        return bytes;
    }
    std::uint64_t nextRequest() const { return FakeUsb().Instrument.framesReceived() + 1; }

    std::unique_ptr<IUsbDriver> m_driver;
    TLinkLog m_log;
    TRecordingPause m_pause{m_log};
    TScriptedUserInterface m_ui;
    TMessageCatalogue m_catalogue{QStringLiteral("/nonexistent/language/")};
    TDeviceUserInterface m_events{m_ui, m_catalogue};
    TLinkGuard m_guard;
};

} // namespace

// Each fault fails its own operation with the status line alone, and leaves nothing behind: the next
// operation gets its own reply, not one late or stuck from before.
TEST_F(UsbDriverTest, AFaultOnTheWireFailsOnlyItsOwnOperation) {
    struct Case {
        const char* What;
        std::function<void(std::uint64_t request)> Arm;
    };
    const Case cases[] = {
        {"late reply", [](std::uint64_t r) { FakeUsb().LateReplyTo = r; }},
        {"stall", [](std::uint64_t r) { FakeUsb().StallAtReplyTo = r; }},
        {"time-out", [](std::uint64_t r) { FakeUsb().Instrument.injectFault(TReplyFault::NoReply, r); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        c.Arm(nextRequest());
        EXPECT_TRUE(readChunk(BlockA).empty());
        EXPECT_EQ(m_ui.Status, QStringLiteral("Device is not responding!"));
        EXPECT_TRUE(m_ui.messages().isEmpty()) << m_ui.messages().join(u'\n').toStdString();
        EXPECT_TRUE(FakeUsb().InQueue.empty()) << "read away after the failure";
        EXPECT_FALSE(FakeUsb().InHalted);

        EXPECT_EQ(readChunk(BlockB), stored(BlockB));
        EXPECT_EQ(m_ui.Status, QString());
    }
    EXPECT_GE(FakeUsb().ClearHalts, 1);
}

TEST_F(UsbDriverTest, WhatAnEarlierRunLeftInTheEndpointIsNotTakenAsAReply) {
    // The reply to a chunk-A read, still in the endpoint from a run that gave up on it.
    FakeUsb().Instrument.receive(BuildRequest(SlaveAny, CommandReadMemory, 52, 0, 0, BlockA, nullptr));
    FakeUsb().InQueue.push_back(*FakeUsb().Instrument.takeReply());

    EXPECT_EQ(readChunk(BlockB), stored(BlockB));
}

TEST_F(UsbDriverTest, UnplugInTheMiddleOfAWriteSaysTheConnectionWasLost) {
    const std::vector<std::uint8_t> before = stored(BlockB + 52 * 4);
    std::vector<std::uint8_t> block(1040, 0x5A);
    FakeUsb().Instrument.unplugAfter(3);
    EXPECT_FALSE(run([&](TFix64& link) { link.WriteMemory(BlockA, block.data(), 1040); }));
    EXPECT_EQ(m_ui.Status, QStringLiteral("Device is not responding!"));
    ASSERT_EQ(m_ui.messages().size(), 1);
    EXPECT_TRUE(
        m_ui.messages().constFirst().startsWith(QStringLiteral("The connection to the instrument was lost")));
    for (const auto& shown : m_ui.Log)
        if (shown.Kind == QStringLiteral("message"))
            EXPECT_EQ(shown.Caption, QStringLiteral("Error"));
    EXPECT_EQ(stored(BlockB + 52 * 4), before) << "nothing after the unplug arrived";

    ReplugFakeUsb();
    EXPECT_EQ(readChunk(BlockB), stored(BlockB));
}

TEST_F(UsbDriverTest, AnInstrumentThatCannotBeOpenedSaysWhyAndWhatToDo) {
    struct Case {
        const char* What;
        std::function<void()> Arm;
        QString Status;
        QStringList Hints; // pieces of the message box's text
    };
    const Case cases[] = {
        {"access denied",
         [] { FakeUsb().OpenError = LIBUSB_ERROR_ACCESS; },
         QStringLiteral("Device is not responding!"),
         {QStringLiteral("udev rule"), QStringLiteral("README")}},
        {"held by another program",
         [] { FakeUsb().ClaimError = LIBUSB_ERROR_BUSY; },
         QStringLiteral("Device is not responding!"),
         {QStringLiteral("another program")}},
        {"not attached",
         [] { FakeUsb().Instrument.setPresent(false); },
         QStringLiteral("Device is not connected!"),
         {QStringLiteral("No instrument was found")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        ResetFakeUsb();
        c.Arm();
        EXPECT_FALSE(run([](TFix64& link) { link.Ping(); }));
        EXPECT_EQ(m_ui.Status, c.Status);
        ASSERT_EQ(m_ui.messages().size(), 1);
        for (const QString& hint : c.Hints)
            EXPECT_TRUE(m_ui.messages().constFirst().contains(hint))
                << m_ui.messages().constFirst().toStdString();
        // The box comes before the status line's verdict, so that a terminal shows them in order.
        EXPECT_EQ(m_ui.Log.last().Kind, QStringLiteral("status"));
        EXPECT_EQ(FakeUsb().Instrument.framesReceived(), 0u);
    }
}
