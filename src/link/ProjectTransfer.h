#pragma once

#include "link/DeviceOperation.h"

#include <QString>

#include <functional>

struct TDeviceConfig;
struct TMainState;
struct TProject;

// The main window's parts that follow a transfer; any left empty is skipped.
struct TProjectViewHooks {
    std::function<void()> BuildProjectTree;
    std::function<void(int branch)> ShowBranchPage;
    std::function<void()> ShowProjectPage;
    std::function<void()> UpdateWindowState;
};

// "ZRV 10: " and the project name, the title of a project that came from or went to the instrument.
QString DeviceProjectTitle(const TProject& project, int codePage);

// Opens project slot 0 of the instrument. The project is read into a fresh one and replaces the
// project in memory, with the flags and the title, only when every block arrived; a broken-off read
// leaves them as they were. The configuration copy is replaced once it was read whole.
TDeviceResult ReadProjectFromDevice(const TDeviceOperationContext& context, TProject& project,
                                    TMainState& state, TDeviceConfig& config,
                                    const TProjectViewHooks& hooks = {});

// Overwrites slot 0 of the instrument after asking: configuration, then header, then branches.
// Branch_Count is brought into 0..1500 before the header goes out. The tree and the window state are
// rebuilt afterwards whatever the outcome.
TDeviceResult SaveProjectToDevice(const TDeviceOperationContext& context, TProject& project,
                                  TMainState& state, TDeviceConfig& config,
                                  const TProjectViewHooks& hooks = {});

// Reads the instrument's configuration block alone, e.g. to learn its character table before names
// are encoded for it.
TDeviceResult ReadConfigFromDevice(const TDeviceOperationContext& context, TDeviceConfig& config);

// One exchange with the instrument.
TDeviceResult TestDeviceConnection(const TDeviceOperationContext& context);
