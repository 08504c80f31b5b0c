// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/ChartZoom.h"

#include <optional>

// Grid lines of a value axis whose limits are fixed: at whole multiples of a round interval (1, 2
// or 5 times a power of ten), so that the labels read well whatever the limits are.
struct TAxisTicks {
    double Interval = 1.0;
    // Decimals that show the interval exactly.
    int Decimals = 0;
};

// At most `maxTicks` intervals across the range; nullopt for an empty or non-finite range.
std::optional<TAxisTicks> AxisTicks(const TAxisRange& range, int maxTicks);
