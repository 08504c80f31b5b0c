// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Platform.h"

#include <QFile>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

void limit(int resource, rlim_t value) {
    const rlimit l{value, value};
    ::setrlimit(resource, &l);
}

} // namespace

QString SyncToDisk(int fileHandle) {
    return ::fsync(fileHandle) == 0 ? QString() : systemReason();
}

QString SyncFileToDisk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const QString reason = fd >= 0 ? SyncToDisk(fd) : systemReason();
    if (fd >= 0)
        ::close(fd);
    return reason;
}

void LimitChildProcess(QProcess& process, qint64 cpuSeconds, qint64 memoryBytes) {
    process.setChildProcessModifier([cpuSeconds, memoryBytes] {
        // In the child between fork and exec: only async-signal-safe calls.
        limit(RLIMIT_CORE, 0);
        limit(RLIMIT_CPU, rlim_t(cpuSeconds));
#if !defined(__SANITIZE_ADDRESS__)
        limit(RLIMIT_AS, rlim_t(memoryBytes));
#else
        (void)memoryBytes;
#endif
    });
}

void SleepUntil(std::chrono::steady_clock::time_point deadline) {
    // The steady clock is CLOCK_MONOTONIC; an absolute deadline does not drift by the time the call
    // itself takes. The default slack of 50 us would lengthen every pause by up to that.
    constexpr unsigned long SleepSlackNs = 1000;
    const auto since = deadline.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    const timespec until{static_cast<time_t>(seconds.count()),
                         static_cast<long>(std::chrono::nanoseconds(since - seconds).count())};
    const int oldSlack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    ::prctl(PR_SET_TIMERSLACK, SleepSlackNs, 0, 0, 0);
    ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
    if (oldSlack > 0)
        ::prctl(PR_SET_TIMERSLACK, oldSlack, 0, 0, 0);
}
