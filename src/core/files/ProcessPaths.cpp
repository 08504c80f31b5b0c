// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProcessPaths.h"

#include "files/Settings.h"

#include <QCoreApplication>

TApplicationPaths ProcessApplicationPaths() {
    return ResolveApplicationPaths(QCoreApplication::applicationDirPath().toStdString(),
                                   TPathEnvironment::fromProcess());
}

QString ChosenDriverFile(const TApplicationPaths& paths) {
    return qtPath(DriverFileForSetting(paths, LoadSettings(qtPath(paths.SettingsFile)).Driver.toStdString()));
}
