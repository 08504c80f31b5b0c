// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs a helper program over bytes on its standard input, under limits of memory, processor
// time, wall-clock time and output, and hands back what it wrote. For the legacy workbook reader,
// whose library must not run inside the program.
struct THelperLimits {
    qint64 MemoryBytes = qint64(1) << 30;
    int CpuSeconds = 30;
    int WallMilliseconds = 60000;
    // Room for every cell a worksheet may hand back (MaxXlsCells of them, XlsCellDump.h) with
    // ordinary texts; what reads it stays far below 100 MB.
    qint64 OutputBytes = qint64(16) << 20;
};

struct THelperRun {
    bool Started = false;
    bool Finished = false; // exited normally, within every limit
    int ExitCode = -1;
    QByteArray Output;
};

THelperRun RunHelper(const QString& program, const QStringList& arguments, const QByteArray& input,
                     const THelperLimits& limits);

// The reading helper beside the running program, or the build tree's when there is none.
QString XlsHelperProgram();
