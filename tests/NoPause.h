// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/Pause.h"

// The protocol's pauses cost nothing in tests.
class NoPause final : public IPause {
public:
    void pauseMs(int) override {}
};
