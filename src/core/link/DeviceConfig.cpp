// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DeviceConfig.h"

void ApplyConfigLimits(TDeviceConfig& config) {
    if (config.ProjectCount > 1)
        config.ProjectCount = 1;
    if (config.ActiveProject != 0)
        config.ActiveProject = 0;
}
