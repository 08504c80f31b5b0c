// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/ApplicationState.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <memory>

// A program folder of a test's own: the fake executable in bin/ with its settings file beside it, the
// cache files in cache/.
inline std::unique_ptr<TApplicationState> MakeProgramFolder(const QTemporaryDir& dir) {
    QDir(dir.path()).mkpath(QStringLiteral("bin"));
    QDir(dir.path()).mkpath(QStringLiteral("cache"));
    return std::make_unique<TApplicationState>(dir.filePath(QStringLiteral("bin/zrv10")),
                                               dir.filePath(QStringLiteral("cache")), QLocale::c());
}
