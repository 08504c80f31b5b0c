// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintGeometry.h"

#include "files/Settings.h"

#include <cmath>
#include <limits>

namespace {

constexpr double CentimetresPerInch = 0.3937007874;
constexpr double LinesPerPage = 0.013333333; // 1/75

// Toward zero like the printer arithmetic, but never undefined: a resolution of 0 or absurd margins
// from an edited settings file give NaN or huge values, which land at 0 or the int range's ends.
int truncated(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    if (value <= low)
        return std::numeric_limits<int>::min();
    if (value >= high)
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

} // namespace

TPrintGeometry ComputePrintGeometry(double dpiX, double dpiY, int pageHeightDots,
                                    const TPrintMargins& margins) {
    const double dX = dpiX * CentimetresPerInch;
    const double dY = dpiY * CentimetresPerInch;
    TPrintGeometry g;
    const double margin = (double(margins.Top) + double(margins.Bottom)) * dX * 0.1;
    g.LineStep = truncated((double(pageHeightDots) - margin) * LinesPerPage);
    g.FontPoints = truncated(double(g.LineStep) * 27.8 / dY);
    g.Top = truncated(double(margins.Top) * dX * 0.1);
    // The text starts at half the left margin.
    g.Left = truncated(double(margins.Left) * dY * 0.05);
    return g;
}
