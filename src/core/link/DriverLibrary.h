// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/UsbDriver.h"

#include <QString>

#include <memory>

// Opens a driver library with QLibrary and resolves its nine entry points in their fixed order, stopping
// at the first one missing. The library stays loaded for the life of the process: a driver may keep
// threads or handles that outlive one operation.
// The answer is never null. When the library or any entry point is missing it fails every call
// (no instrument, no pipe, no transfer), calls nothing in the library and gives the reason as its
// LastFailure(); *complete says whether it is usable.
std::unique_ptr<IUsbDriver> LoadDriver(const QString& libraryPath, bool* complete = nullptr);

// The one place a driver library is looked for: beside the executable.
QString DefaultDriverPath(const QString& executableDir);
