// A 1500-branch project written to and read from the simulated instrument through its driver library,
// with the protocol's real pauses. The pauses are the floor; what the link adds on top is reported as
// overhead_pct (wall time over the sum of the pauses it asked for).
#include "link/DeviceConfig.h"
#include "link/DriverLibrary.h"
#include "link/LinkScope.h"
#include "link/Pause.h"
#include "link/ProjectTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "mainwindow/MainState.h"
#include "model/InstrumentText.h"
#include "model/ProjectRecords.h"
#include "ui/ScriptedUserInterface.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

class TSummingPause final : public IPause {
public:
    explicit TSummingPause(bool sleep = true) : m_sleep(sleep) {}
    void pauseMs(int ms) override {
        TotalMs += ms;
        if (m_sleep)
            m_real.pauseMs(ms);
    }
    long long TotalMs = 0;

private:
    bool m_sleep;
    TRealPause m_real;
};

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

void runTransfer(benchmark::State& state, bool write, bool sleep = true) {
    TSimulatorCopy simulator;
    if (!simulator.Ready) {
        state.SkipWithError("simulator driver library not found");
        return;
    }
    TScriptedUserInterface ui;
    TMessageCatalogue catalogue{QString()};
    TLinkGuard guard;
    TDeviceConfig config{};
    TMainState mainState;
    auto project = bigProject();
    {
        // The read needs a 1500-branch project on the instrument; not timed, not paused.
        TSummingPause setupPause(false);
        ui.Answers = {IUserInterface::Answer::Yes};
        SaveProjectToDevice({guard, *simulator.Driver, setupPause, ui, catalogue}, *project, mainState,
                            config);
    }
    long long pausesMs = 0;
    double wallMs = 0;
    for (auto _ : state) {
        TSummingPause pause(sleep);
        ui.Answers = {IUserInterface::Answer::Yes};
        const TDeviceOperationContext context{guard, *simulator.Driver, pause, ui, catalogue};
        const auto start = std::chrono::steady_clock::now();
        const TDeviceResult result = write ? SaveProjectToDevice(context, *project, mainState, config)
                                           : ReadProjectFromDevice(context, *project, mainState, config);
        wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        pausesMs += pause.TotalMs;
        if (result != TDeviceResult::Done) {
            state.SkipWithError("transfer failed");
            return;
        }
    }
    state.counters["pauses_ms"] =
        benchmark::Counter(static_cast<double>(pausesMs), benchmark::Counter::kAvgIterations);
    state.counters["wall_ms"] = benchmark::Counter(wallMs, benchmark::Counter::kAvgIterations);
    // Without sleeping, the wall time is what the exchanges alone cost, shown against the pauses.
    const double slept = sleep ? static_cast<double>(pausesMs) : 0.0;
    state.counters["overhead_pct"] = 100.0 * (wallMs - slept) / static_cast<double>(pausesMs);
}

void BM_WriteProject1500(benchmark::State& state) {
    runTransfer(state, true);
}
void BM_ReadProject1500(benchmark::State& state) {
    runTransfer(state, false);
}

// The exchanges alone: the pauses are counted but not slept.
void BM_WriteProject1500Exchanges(benchmark::State& state) {
    runTransfer(state, true, false);
}
void BM_ReadProject1500Exchanges(benchmark::State& state) {
    runTransfer(state, false, false);
}

} // namespace

BENCHMARK(BM_WriteProject1500Exchanges)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProject1500Exchanges)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteProject1500)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProject1500)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
