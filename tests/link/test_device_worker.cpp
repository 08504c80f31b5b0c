// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoPause.h"
#include "SimulatorDriver.h"

#include "commands/DeviceWorker.h"
#include "commands/ScriptedUserInterface.h"
#include "link/DeviceConfig.h"
#include "link/LinkScope.h"
#include "link/ProjectTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "model/InstrumentText.h"
#include "model/ProjectRecords.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The instrument stops answering on one frame, as a real one's USB time-out does, until the test lets
// it go (or five seconds passed).
class TStuckDriver final : public TSimulatorDriver {
public:
    using TSimulatorDriver::TSimulatorDriver;
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        if (++m_writes == StuckAt) {
            Stuck = true;
            Released = Gate.tryAcquire(1, 5000);
            Stuck = false;
        }
        return TSimulatorDriver::Write(pipe, data, length, sent, timeoutMs);
    }
    int StuckAt = 0;
    std::atomic<bool> Stuck{false};
    QSemaphore Gate;
    bool Released = false;

private:
    int m_writes = 0;
};

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "test_device_worker";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return app ? *app : *QCoreApplication::instance();
}

// A 100-branch write whose link hangs on one frame in the middle of the branches: the starting thread
// keeps turning its timer all the while, gets every progress report on its own thread, and the result
// arrives as a signal once the instrument answers again; the instrument then holds the project.
TEST(DeviceWorker, TheStartingThreadGoesOnWhileTheDriverHangsAndTheResultStillArrives) {
    application();
    TSimulatedInstrument instrument;
    TStuckDriver driver(instrument);
    driver.StuckAt = 80;
    NoPause pause;
    TScriptedUserInterface ui;
    TMessageCatalogue catalogue{QString()};
    TLinkGuard guard;
    auto project = std::make_unique<TProject>();
    project->Header.Branch_Count = 100;
    for (int i = 0; i < 100; ++i)
        EncodeInstrumentText(QStringLiteral("B%1").arg(i), project->Branches[i].Name, NameFieldSize, 0);
    TDeviceConfig config{};

    TDeviceWorker worker(guard, driver, pause, ui, catalogue);
    QThread* const here = QThread::currentThread();
    int reports = 0;
    quint64 lastDone = 0;
    QObject::connect(&worker, &TDeviceWorker::progressed, &worker,
                     [&](TTransferOperation, quint64 done, quint64) {
                         EXPECT_EQ(QThread::currentThread(), here);
                         ++reports;
                         lastDone = done;
                     });
    int ticksWhileStuck = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (driver.Stuck && ++ticksWhileStuck == 5)
            driver.Gate.release();
    });
    timer.start(2);

    std::optional<TDeviceResult> result;
    QEventLoop loop;
    QObject::connect(&worker, &TDeviceWorker::finished, &worker, [&](TDeviceResult r) {
        EXPECT_EQ(QThread::currentThread(), here);
        result = r;
        loop.quit();
    });
    ui.Answers = {IUserInterface::Answer::Yes};
    ASSERT_TRUE(worker.start(
        [&](const TDeviceOperationContext& c) { return SaveProjectToDevice(c, *project, config); }));
    EXPECT_TRUE(worker.running());
    loop.exec();

    EXPECT_TRUE(driver.Released) << "the timer ran while the link hung";
    EXPECT_GE(ticksWhileStuck, 5);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, TDeviceResult::Done);
    EXPECT_FALSE(worker.running());
    EXPECT_FALSE(guard.Busy);
    EXPECT_EQ(ui.Status, QStringLiteral("The project was successfully written"));
    EXPECT_GT(reports, 2);
    EXPECT_EQ(lastDone, 100 * sizeof(TBranch));
    std::vector<std::uint8_t> written(100 * sizeof(TBranch));
    instrument.readConfig(BranchesAddress, written.data(), static_cast<std::uint32_t>(written.size()));
    EXPECT_EQ(std::memcmp(written.data(), project->Branches.data(), written.size()), 0);
}

// The program quits while the worker waits for an answer: leaving the worker drops its question
// unanswered instead of waiting for it for ever, and the write then does nothing.
TEST(DeviceWorker, LeftBeforeItsResultCameItDropsItsQuestionsAndEnds) {
    application();
    TSimulatedInstrument instrument;
    TSimulatorDriver driver(instrument);
    NoPause pause;
    TScriptedUserInterface ui;
    TMessageCatalogue catalogue{QString()};
    TLinkGuard guard;
    auto project = std::make_unique<TProject>();
    project->Header.Branch_Count = 3;
    TDeviceConfig config{};
    std::vector<std::uint8_t> before(sizeof(TProjectHeader));
    instrument.readConfig(ProjectHeaderAddress, before.data(), static_cast<std::uint32_t>(before.size()));

    std::optional<TDeviceResult> result;
    ui.Answers = {IUserInterface::Answer::Yes};
    {
        TDeviceWorker worker(guard, driver, pause, ui, catalogue);
        ASSERT_TRUE(worker.start([&](const TDeviceOperationContext& c) {
            result = SaveProjectToDevice(c, *project, config);
            return *result;
        }));
        // No event loop turns here: the overwrite question waits for this thread.
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, TDeviceResult::NothingDone);
    EXPECT_TRUE(ui.Log.isEmpty()) << "nothing reached the user";
    EXPECT_FALSE(guard.Busy);
    std::vector<std::uint8_t> after(before.size());
    instrument.readConfig(ProjectHeaderAddress, after.data(), static_cast<std::uint32_t>(after.size()));
    EXPECT_EQ(after, before);
}

} // namespace
