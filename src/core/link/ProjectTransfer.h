// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DeviceOperation.h"

#include <QString>

#include <memory>
#include <optional>

struct TDeviceConfig;
struct TProject;

// Opens project slot 0 of the instrument into a fresh project, unlocked, handed back in `read` only
// when every block arrived (Done); the status then says so. The caller puts it in place of its
// project. The configuration copy is replaced once it was read whole, except when the user cancels:
// a cancelled read leaves everything as it was.
TDeviceResult ReadProjectFromDevice(const TDeviceOperationContext& context, TDeviceConfig& config,
                                    std::unique_ptr<TProject>& read);

// Overwrites slot 0 of the instrument after asking: configuration, then header, then branches, with
// Branch_Count brought into 0..1500 on the way out. With `verify` the header and branches are read
// back and compared byte for byte; a difference is a failed write, told in a message box naming the
// first differing branch. Cancelled: stopped after a block, the instrument holds an incomplete
// project. A cancelled check after a complete write is Done. The caller marks its project as saved.
// The names go out in the instrument's character table; when it cannot hold some of them, the user
// is asked first, with the names listed. sendTable: the table the names go out in instead of the
// instrument's (the companion's --code-page).
TDeviceResult SaveProjectToDevice(const TDeviceOperationContext& context, const TProject& project,
                                  TDeviceConfig& config, bool verify = false,
                                  std::optional<int> sendTable = std::nullopt);

// Reads the instrument's configuration block alone, e.g. to learn its character table before names
// are encoded for it.
TDeviceResult ReadConfigFromDevice(const TDeviceOperationContext& context, TDeviceConfig& config);

// One exchange with the instrument.
TDeviceResult TestDeviceConnection(const TDeviceOperationContext& context);
