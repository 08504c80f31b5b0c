// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/XlsHelperProcess.h"

#include "files/Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

THelperRun RunHelper(const QString& program, const QStringList& arguments, const QByteArray& input,
                     const THelperLimits& limits) {
    THelperRun run;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    LimitChildProcess(process, limits.CpuSeconds, limits.MemoryBytes);
    process.start();
    if (!process.waitForStarted(limits.WallMilliseconds))
        return run;
    run.Started = true;
    process.write(input);
    process.closeWriteChannel();
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        run.Output += process.readAllStandardOutput();
        if (run.Output.size() > limits.OutputBytes || clock.elapsed() > limits.WallMilliseconds) {
            process.kill();
            process.waitForFinished(-1);
            run.Output.clear();
            return run;
        }
    }
    run.Output += process.readAllStandardOutput();
    run.Finished = process.exitStatus() == QProcess::NormalExit && run.Output.size() <= limits.OutputBytes;
    run.ExitCode = process.exitCode();
    return run;
}

QString XlsHelperProgram() {
    const QString name = QStringLiteral("zrv10-xls-cells");
    if (QCoreApplication::instance()) {
        const QString beside = QCoreApplication::applicationDirPath() + u'/' + name;
        if (QFileInfo(beside).isExecutable())
            return beside;
    }
#ifdef ZRV_XLS_HELPER_BUILD_PATH
    if (QFileInfo(QStringLiteral(ZRV_XLS_HELPER_BUILD_PATH)).isExecutable())
        return QStringLiteral(ZRV_XLS_HELPER_BUILD_PATH);
#endif
    return name;
}
