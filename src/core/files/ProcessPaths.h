// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/ApplicationPaths.h"

#include <QString>

// The places of the running executable (program or companion), from its folder and the environment.
TApplicationPaths ProcessApplicationPaths();

inline QString qtPath(const std::string& path) { return QString::fromStdString(path); }

// The driver library the [Device] Driver key of the settings file chooses.
QString ChosenDriverFile(const TApplicationPaths& paths);
