// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartTicks.h"

#include <algorithm>
#include <cmath>

std::optional<TAxisTicks> AxisTicks(const TAxisRange& range, int maxTicks) {
    const double width = range.Max - range.Min;
    if (!std::isfinite(width) || width <= 0.0 || maxTicks < 1)
        return std::nullopt;
    const double rough = width / maxTicks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    if (power <= 0.0 || !std::isfinite(power))
        return std::nullopt;
    double interval = 10.0 * power;
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * power >= rough) {
            interval = step * power;
            break;
        }
    }
    // Rounding in pow and log10 may leave the interval a hair below the rough one.
    while (width / interval > maxTicks)
        interval *= 2.0;
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(interval) + 1e-9)), 0, 15);
    return TAxisTicks{interval, decimals};
}
