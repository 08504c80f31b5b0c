// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeUsbDriver.h"

#include "commands/DeviceUserInterface.h"
#include "link/DeviceEvents.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "link/ProtocolError.h"
#include "localisation/MessageCatalogue.h"
#include "commands/ScriptedUserInterface.h"

#include <gtest/gtest.h>

namespace {

class LinkScopeTest : public ::testing::Test {
protected:
    bool run(const std::function<void(TFix64&)>& steps) {
        return RunInLinkScope(m_guard, m_driver, m_pause, m_events, steps);
    }

    TLinkLog m_log;
    TFakeUsbDriver m_driver{m_log};
    TRecordingPause m_pause{m_log};
    TScriptedUserInterface m_ui;
    TMessageCatalogue m_catalogue{QStringLiteral("/nonexistent/language/")}; // language 0: English
    TDeviceUserInterface m_events{m_ui, m_catalogue};
    TLinkGuard m_guard;
};

} // namespace

TEST_F(LinkScopeTest, FailureMessageFollowsTheDeviceCountAtTheStart) {
    struct Case {
        std::uint32_t Devices;
        bool Fails;
        QString Status;
        QStringList Messages;
    };
    const QString notFound = QStringLiteral(
        "No instrument was found. Connect the instrument with its USB cable and switch it on.");
    const Case cases[] = {
        {0, true, QStringLiteral("Device is not connected!"), {notFound}},
        {1, true, QStringLiteral("Device is not responding!"), {}},
        {2, true, QStringLiteral("Device is not responding!"), {}},
        {1, false, QString(), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Status.toStdString());
        m_driver.Devices = c.Devices;
        m_driver.FailReadAt = c.Fails ? 0 : -1;
        m_driver.restart();
        m_ui.Status = QStringLiteral("old text");
        bool afterPing = false;
        const bool completed = run([&](TFix64& link) {
            link.Ping();
            afterPing = true;
        });
        EXPECT_EQ(completed, !c.Fails);
        EXPECT_EQ(afterPing, !c.Fails);
        EXPECT_EQ(m_ui.Status, c.Status);
        EXPECT_EQ(m_ui.messages(), c.Messages);
        m_ui.Log.clear();
        EXPECT_FALSE(m_guard.Busy);
    }
}

TEST_F(LinkScopeTest, SequenceAroundTheSteps) {
    QString statusDuringSteps = QStringLiteral("unset");
    m_ui.Status = QStringLiteral("old text");
    EXPECT_TRUE(run([&](TFix64& link) {
        EXPECT_EQ(link.Slave(), SlaveAny);
        EXPECT_EQ(link.Timeout, 250);
        EXPECT_EQ(link.ReceivedCount, 0u);
        EXPECT_TRUE(m_guard.Busy);
        statusDuringSteps = m_ui.Status;
        link.Ping();
    }));
    EXPECT_TRUE(statusDuringSteps.isEmpty());
    EXPECT_EQ(Shape(m_log),
              (std::vector<std::string>{"open", "open", "count", "write", "read", "close", "close"}));
}

TEST_F(LinkScopeTest, NoOperationStartsWhileAnotherRuns) {
    bool innerRan = false;
    bool innerAnswer = true;
    EXPECT_TRUE(run([&](TFix64& link) {
        innerAnswer = run([&](TFix64&) { innerRan = true; });
        EXPECT_EQ(m_ui.Status, QStringLiteral("Another device operation is running!"));
        link.Ping(); // the running operation goes on unharmed
    }));
    EXPECT_FALSE(innerAnswer);
    EXPECT_FALSE(innerRan);
    // Only the outer operation touched the driver.
    int opens = 0;
    for (const auto& e : m_log)
        opens += e.Kind == "open";
    EXPECT_EQ(opens, 2);
    EXPECT_FALSE(m_guard.Busy);
}

TEST_F(LinkScopeTest, OtherErrorsPassThroughWithPipesClosedAndGuardReleased) {
    EXPECT_THROW(run([](TFix64&) { throw std::logic_error("not a link failure"); }), std::logic_error);
    EXPECT_FALSE(m_guard.Busy);
    EXPECT_EQ(Shape(m_log).back(), "close");
    EXPECT_TRUE(run([](TFix64& link) { link.Ping(); }));
}

namespace {

// The outcomes as the link reports them, before any words are made of them.
class TRecordingEvents final : public IDeviceEvents {
public:
    void status(const TDeviceStatus& status) override {
        Log.push_back("status " + std::to_string(int(status.Kind)));
    }
    void notice(const TDeviceNotice& notice) override {
        Log.push_back("notice " + std::to_string(int(notice.Kind)) + " " +
                      std::to_string(int(notice.Failure.Kind)));
    }
    bool confirm(const TDeviceQuestion&) override { return false; }
    void processPendingEvents() override {}
    std::vector<std::string> Log;
};

std::string statusOf(TDeviceStatusKind kind) {
    return "status " + std::to_string(int(kind));
}

} // namespace

TEST(LinkScopeOutcomes, AFailureIsReportedAsTheDriversKindThenTheVerdict) {
    TLinkLog log;
    TFakeUsbDriver driver(log);
    TRecordingPause pause(log);
    TRecordingEvents events;
    TLinkGuard guard;
    driver.Devices = 0;
    driver.FailReadAt = 0;
    EXPECT_FALSE(RunInLinkScope(guard, driver, pause, events, [](TFix64& link) { link.Ping(); }));
    const std::string notFound = "notice " + std::to_string(int(TDeviceNoticeKind::DriverFailure)) + " " +
                                 std::to_string(int(TDriverFailureKind::NotFound));
    EXPECT_EQ(events.Log, (std::vector<std::string>{statusOf(TDeviceStatusKind::Clear), notFound,
                                                    statusOf(TDeviceStatusKind::NotConnected)}));

    events.Log.clear();
    guard.Busy = true;
    EXPECT_FALSE(RunInLinkScope(guard, driver, pause, events, [](TFix64&) {}));
    EXPECT_EQ(events.Log, std::vector<std::string>{statusOf(TDeviceStatusKind::AnotherOperationRunning)});
}
