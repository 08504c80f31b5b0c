// SPDX-License-Identifier: GPL-3.0-or-later
// A 1500-branch project written to and read from the simulated instrument through its driver library,
// with the protocol's real pauses. Each pause is a floor counted from the instrument's reply, so the
// floor of a transfer is its pauses plus the time its exchanges take (measured in the same run, around
// the driver's write and read calls). What the link adds on top is reported as overhead_pct and ratio
// (wall time over that floor; the goal is 1.01 at most on a quiet machine), also with a second process
// keeping a processor busy and for a write checked by reading it back. The write on the device worker
// has one frame that takes a second, as a real instrument's USB time-out does; it reports the longest
// gap between the ticks of a 5 ms timer on the starting thread (longest_tick_gap_ms, 50 at most).
#include "commands/DeviceUserInterface.h"
#include "link/DeviceConfig.h"
#include "link/DriverLibrary.h"
#include "link/LinkScope.h"
#include "link/Pause.h"
#include "link/ProjectTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "model/InstrumentText.h"
#include "model/ProjectRecords.h"
#include "commands/DeviceWorker.h"
#include "commands/ScriptedUserInterface.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace {

class TSummingPause final : public IPause {
public:
    explicit TSummingPause(bool sleep = true) : m_sleep(sleep) {}
    void pauseMs(int ms) override {
        TotalMs += ms;
        if (m_sleep)
            m_real.pauseMs(ms);
    }
    void exchangeEnded() override { m_real.exchangeEnded(); }
    long long TotalMs = 0;

private:
    bool m_sleep;
    TRealPause m_real;
};

// Hands every call to the driver it wraps; the benchmark's drivers change only what they measure.
class TForwardingDriver : public IUsbDriver {
public:
    explicit TForwardingDriver(IUsbDriver& inner) : m_inner(inner) {}
    std::uint32_t GetDeviceCount(const char* vidPid) override { return m_inner.GetDeviceCount(vidPid); }
    void* Open(std::uint32_t instance, const char* vidPid, const char* endpoint, std::uint32_t direction,
               std::uint32_t reserved) override {
        return m_inner.Open(instance, vidPid, endpoint, direction, reserved);
    }
    std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        return m_inner.Read(pipe, data, length, received, timeoutMs);
    }
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        return m_inner.Write(pipe, data, length, sent, timeoutMs);
    }
    std::uint32_t Close(void* pipe) override { return m_inner.Close(pipe); }
    TDriverFailure LastFailure() const override { return m_inner.LastFailure(); }

private:
    IUsbDriver& m_inner;
};

// Sums the time spent in the driver's frame writes and reads: the exchanges themselves.
class TTimedDriver final : public TForwardingDriver {
public:
    using TForwardingDriver::TForwardingDriver;
    std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        const auto start = std::chrono::steady_clock::now();
        const std::uint32_t result = TForwardingDriver::Read(pipe, data, length, received, timeoutMs);
        ExchangeMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        return result;
    }
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        const auto start = std::chrono::steady_clock::now();
        const std::uint32_t result = TForwardingDriver::Write(pipe, data, length, sent, timeoutMs);
        ExchangeMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        return result;
    }

    double ExchangeMs = 0;
};

// One frame write that takes a second before it goes out.
class TStallingDriver final : public TForwardingDriver {
public:
    TStallingDriver(IUsbDriver& inner, int stallAt) : TForwardingDriver(inner), m_stallAt(stallAt) {}
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        if (++m_writes == m_stallAt)
            QThread::msleep(1000);
        return TForwardingDriver::Write(pipe, data, length, sent, timeoutMs);
    }

private:
    int m_stallAt;
    int m_writes = 0;
};

// The worker hands its results to the starting thread's event loop.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_link";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// A copy of the built simulator library in a folder of its own, so its image file lands there and the
// build tree's image stays as it was.
struct TSimulatorCopy {
    QTemporaryDir Dir;
    std::unique_ptr<IUsbDriver> Driver;
    bool Ready = false;

    TSimulatorCopy() {
        const QString copy = Dir.filePath(QStringLiteral("libmpusbapi.so"));
        bool complete = false;
        if (QFile::copy(QStringLiteral(ZRV_SIMULATOR_DRIVER), copy))
            Driver = LoadDriver(copy, &complete);
        Ready = complete;
    }
};

// A child process spinning for as long as this lives: the machine is busy while the pauses run.
class TBusyChild {
public:
    TBusyChild() : m_pid(fork()) {
        if (m_pid == 0) {
            volatile unsigned long spin = 0;
            for (;;)
                spin = spin + 1;
        }
    }
    ~TBusyChild() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    TBusyChild(const TBusyChild&) = delete;
    TBusyChild& operator=(const TBusyChild&) = delete;

private:
    pid_t m_pid;
};

enum class TRun { Read, Write, WriteVerified };

std::unique_ptr<TProject> bigProject() {
    auto p = std::make_unique<TProject>();
    EncodeInstrumentText(QStringLiteral("Bench"), p->Header.Name, NameFieldSize, 0);
    p->Header.Branch_Count = MaxBranches;
    for (int i = 0; i < MaxBranches; ++i) {
        EncodeInstrumentText(QStringLiteral("B%1").arg(i), p->Branches[i].Name, NameFieldSize, 0);
        p->Branches[i].Request_Flow = i;
    }
    return p;
}

// The transfer's times per iteration, and what the link adds to its floor (the pauses, when it slept,
// plus the exchanges). Without sleeping, the wall time is what the exchanges and the link's own work cost.
void reportTransferTimes(benchmark::State& state, long long pausesMs, double wallMs, double exchangeMs, bool slept) {
    state.counters["pauses_ms"] =
        benchmark::Counter(static_cast<double>(pausesMs), benchmark::Counter::kAvgIterations);
    state.counters["wall_ms"] = benchmark::Counter(wallMs, benchmark::Counter::kAvgIterations);
    state.counters["exchange_ms"] = benchmark::Counter(exchangeMs, benchmark::Counter::kAvgIterations);
    const double floorMs = (slept ? static_cast<double>(pausesMs) : 0.0) + exchangeMs;
    state.counters["overhead_pct"] = 100.0 * (wallMs - floorMs) / floorMs;
    if (slept)
        state.counters["ratio"] = wallMs / floorMs;
}

void runTransfer(benchmark::State& state, TRun run, bool sleep = true, bool busy = false) {
    TSimulatorCopy simulator;
    if (!simulator.Ready) {
        state.SkipWithError("simulator driver library not found");
        return;
    }
    TScriptedUserInterface ui;
    TMessageCatalogue catalogue{QString()};
    TDeviceUserInterface events(ui, catalogue);
    TLinkGuard guard;
    TDeviceConfig config{};
    auto project = bigProject();
    {
        // The read needs a 1500-branch project on the instrument; not timed, not paused.
        TSummingPause setupPause(false);
        ui.Answers = {IUserInterface::Answer::Yes};
        SaveProjectToDevice({guard, *simulator.Driver, setupPause, events}, *project, config);
    }
    const std::unique_ptr<TBusyChild> load = busy ? std::make_unique<TBusyChild>() : nullptr;
    long long pausesMs = 0;
    double wallMs = 0;
    double exchangeMs = 0;
    for (auto _ : state) {
        TSummingPause pause(sleep);
        TTimedDriver driver(*simulator.Driver);
        ui.Answers = {IUserInterface::Answer::Yes};
        const TDeviceOperationContext context{guard, driver, pause, events};
        std::unique_ptr<TProject> read;
        const auto start = std::chrono::steady_clock::now();
        const TDeviceResult result =
            run == TRun::Read ? ReadProjectFromDevice(context, config, read)
                              : SaveProjectToDevice(context, *project, config, run == TRun::WriteVerified);
        wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        pausesMs += pause.TotalMs;
        exchangeMs += driver.ExchangeMs;
        if (result != TDeviceResult::Done) {
            state.SkipWithError("transfer failed");
            return;
        }
    }
    reportTransferTimes(state, pausesMs, wallMs, exchangeMs, sleep);
}

// The write as the window runs it: on the device worker, with this thread turning a 5 ms timer, and
// one frame in the middle of the branches stuck for a second.
void BM_WriteProject1500OnWorkerStalled(benchmark::State& state) {
    ensureApplication();
    TSimulatorCopy simulator;
    if (!simulator.Ready) {
        state.SkipWithError("simulator driver library not found");
        return;
    }
    TScriptedUserInterface ui;
    TMessageCatalogue catalogue{QString()};
    TLinkGuard guard;
    TDeviceConfig config{};
    auto project = bigProject();
    long long pausesMs = 0;
    double wallMs = 0;
    double exchangeMs = 0;
    double longestGapMs = 0;
    for (auto _ : state) {
        TSummingPause pause;
        TStallingDriver stalling(*simulator.Driver, 1000);
        TTimedDriver driver(stalling);
        TDeviceWorker worker(guard, driver, pause, ui, catalogue);
        QElapsedTimer sinceTick;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestGapMs = std::max(longestGapMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        ui.Answers = {IUserInterface::Answer::Yes};
        tick.start(5);
        sinceTick.start();
        const auto start = std::chrono::steady_clock::now();
        const TDeviceResult result = worker.run(
            [&](const TDeviceOperationContext& c) { return SaveProjectToDevice(c, *project, config); });
        wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        tick.stop();
        pausesMs += pause.TotalMs;
        exchangeMs += driver.ExchangeMs;
        if (result != TDeviceResult::Done) {
            state.SkipWithError("transfer failed");
            return;
        }
    }
    reportTransferTimes(state, pausesMs, wallMs, exchangeMs, true);
    // The longest time between two turns of the timer, its own 5 ms included.
    state.counters["longest_tick_gap_ms"] = longestGapMs;
}

void BM_WriteProject1500(benchmark::State& state) {
    runTransfer(state, TRun::Write);
}
void BM_ReadProject1500(benchmark::State& state) {
    runTransfer(state, TRun::Read);
}
void BM_WriteVerifiedProject1500(benchmark::State& state) {
    runTransfer(state, TRun::WriteVerified);
}
void BM_WriteProject1500Busy(benchmark::State& state) {
    runTransfer(state, TRun::Write, true, true);
}
void BM_ReadProject1500Busy(benchmark::State& state) {
    runTransfer(state, TRun::Read, true, true);
}
void BM_WriteVerifiedProject1500Busy(benchmark::State& state) {
    runTransfer(state, TRun::WriteVerified, true, true);
}

// The exchanges alone: the pauses are counted but not slept.
void BM_WriteProject1500Exchanges(benchmark::State& state) {
    runTransfer(state, TRun::Write, false);
}
void BM_ReadProject1500Exchanges(benchmark::State& state) {
    runTransfer(state, TRun::Read, false);
}

} // namespace

BENCHMARK(BM_WriteProject1500Exchanges)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProject1500Exchanges)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteProject1500OnWorkerStalled)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteProject1500)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProject1500)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteVerifiedProject1500)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteProject1500Busy)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProject1500Busy)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteVerifiedProject1500Busy)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
