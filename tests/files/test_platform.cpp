// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Platform.h"
#include "spreadsheet/XlsHelperProcess.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Platform, SyncsAFileOrGivesTheSystemsReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bytes.bin"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("payload");
    ASSERT_TRUE(file.flush());
    EXPECT_EQ(SyncToDisk(file.handle()), QString());
    file.close();
    EXPECT_EQ(SyncFileToDisk(path), QString());
    EXPECT_FALSE(SyncFileToDisk(dir.filePath(QStringLiteral("missing.bin"))).isEmpty());
    EXPECT_FALSE(SyncToDisk(-1).isEmpty());
}

// The limits the .xls helper runs under reach the process it starts, and only that process.
TEST(Platform, TheHelpersLimitsReachTheChild) {
    THelperLimits limits;
    limits.CpuSeconds = 7;
    limits.MemoryBytes = qint64(300) << 20;
    const THelperRun run = RunHelper(QStringLiteral("/bin/sh"),
                                     {QStringLiteral("-c"), QStringLiteral("ulimit -c; ulimit -t; ulimit -v")},
                                     {}, limits);
    ASSERT_TRUE(run.Finished);
    const QList<QByteArray> lines = run.Output.split('\n');
    ASSERT_GE(lines.size(), 3) << run.Output.constData();
    EXPECT_EQ(lines[0], "0") << "no core file";
    EXPECT_EQ(lines[1], "7") << "processor seconds";
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(lines[2], QByteArray::number((qint64(300) << 20) / 1024)) << "address space in KiB";
#endif
}
