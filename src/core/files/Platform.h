// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The core's calls into the operating system, each behind one function: a port to another system
// changes this header's .cpp and nothing else of the core.

#include <QString>

#include <chrono>

class QProcess;

// Flushes an open file's bytes to the disk. Answers the system's reason on failure, else empty.
QString SyncToDisk(int fileHandle);

// The same for a closed file, named by its path.
QString SyncFileToDisk(const QString& path);

// Limits the process that `process` starts, from its start on: no core file, at most `cpuSeconds`
// of processor time and `memoryBytes` of address space (the latter not under the address sanitizer,
// which reserves terabytes up front).
void LimitChildProcess(QProcess& process, qint64 cpuSeconds, qint64 memoryBytes);

// Sleeps until the steady clock reaches `deadline`, without drifting by the call's own time and with
// the system's timer slack narrowed for the sleep.
void SleepUntil(std::chrono::steady_clock::time_point deadline);
