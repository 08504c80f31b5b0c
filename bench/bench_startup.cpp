// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from starting the process to the first paint of its main window, for the program in a
// program folder of its own with a valve catalogue in place (so it starts without asking for the
// instrument), beside a bare Qt main window with a menu bar and a tree. Both processes carry the same
// preloaded probe, which reports the first paint event of a main window through a pipe. The two are
// started alternately; "ratio" is the median of the program's times over the median of the bare
// window's. The platform is the one the environment gives (xcb with DISPLAY set, e.g. an Xvfb), else
// offscreen; the label says which. ZRV_STARTUP_PROGRAM names another build of the program to measure
// (a before/after comparison).

#include "model/InstrumentText.h"
#include "files/ValveCache.h"
#include "simulator/DemoContent.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <spawn.h>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The simulated instrument's catalogue: five makers, nineteen valves.
void writeCatalogue(const QString& folder) {
    auto catalogue = std::make_unique<TValveCatalogue>();
    std::memset(catalogue.get(), 0, sizeof(TValveCatalogue));
    int valve = 0;
    for (const TDemoManufacturer& maker : DemoCatalogue()) {
        const int m = catalogue->ManufacturerCount++;
        catalogue->TypeCounts[m] = static_cast<std::uint8_t>(maker.Valves.size());
        EncodeInstrumentText(QString::fromStdString(maker.Name), catalogue->ManufacturerNames[m], 16, 0);
        for (const TDemoValve& v : maker.Valves) {
            TValve& record = catalogue->Valves[valve++];
            EncodeInstrumentText(QString::fromStdString(v.Name), record.Name, 16, 0);
            record.Kind = v.Kind;
            record.PresettingMin = v.PresettingMin;
            record.PresettingMax = v.PresettingMax;
        }
    }
    if (!SaveValveCache(folder, *catalogue))
        std::abort();
}

// The program as a portable folder: the executable in bin/ with the language folder, the settings
// file's place and the valve cache files beside it.
class ProgramFolder {
public:
    ProgramFolder() {
        const QString bin = m_dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        m_program = bin + QStringLiteral("/zrv10");
        // A copy: the program finds its folder through its own resolved path.
        const QByteArray other = qgetenv("ZRV_STARTUP_PROGRAM");
        const QString program = other.isEmpty() ? QStringLiteral(ZRV_PROGRAM) : QString::fromLocal8Bit(other);
        if (!QFile::copy(program, m_program) ||
            !QFile::link(QStringLiteral(ZRV_LANGUAGE_DIR), bin + QStringLiteral("/language")))
            std::abort();
        writeCatalogue(bin);
    }
    std::string program() const { return m_program.toStdString(); }

private:
    QTemporaryDir m_dir;
    QString m_program;
};

// Starts `program` with the probe preloaded and waits for its first paint; the process is then
// killed. The seconds from the spawn to the report.
double secondsToFirstPaint(const std::string& program) {
    int fds[2];
    if (::pipe(fds) != 0)
        std::abort();
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("LD_PRELOAD=", 0) != 0 && entry.rfind("ZRV_FIRST_PAINT_FD=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back(std::string("LD_PRELOAD=") + ZRV_FIRST_PAINT_PROBE);
    env.push_back("ZRV_FIRST_PAINT_FD=" + std::to_string(fds[1]));
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0)
        std::abort();
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);

    pollfd wait{fds[0], POLLIN, 0};
    char line[16] = {};
    ssize_t got = 0;
    if (::poll(&wait, 1, 30000) == 1)
        got = ::read(fds[0], line, sizeof line);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ::close(fds[0]);
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (got <= 0) {
        std::fprintf(stderr, "%s: no first paint reported\n", program.c_str());
        std::abort();
    }
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", display && *display ? "xcb" : "offscreen", 1);
    const std::string platform = std::getenv("QT_QPA_PLATFORM");
    const ProgramFolder folder;
    const std::string program = folder.program();
    const std::string bare = ZRV_BARE_WINDOW;
    // Caches (fonts, libraries) warm for both.
    secondsToFirstPaint(bare);
    secondsToFirstPaint(program);

    std::vector<double> bareTimes;
    std::vector<double> programTimes;
    for (auto _ : state) {
        const double b = secondsToFirstPaint(bare);
        const double p = secondsToFirstPaint(program);
        bareTimes.push_back(b);
        programTimes.push_back(p);
        state.SetIterationTime(p);
    }
    const double bareMedian = median(bareTimes);
    const double programMedian = median(programTimes);
    state.counters["bare_ms"] = bareMedian * 1000;
    state.counters["program_ms"] = programMedian * 1000;
    state.counters["ratio"] = programMedian / bareMedian;
    state.SetLabel(platform == "xcb" ? "xcb on " + std::string(display) : platform);
}

} // namespace

BENCHMARK(BM_StartupAgainstBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(25);

BENCHMARK_MAIN();
