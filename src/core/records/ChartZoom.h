// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// The shown range of one chart axis.
struct TAxisRange {
    double Min = 0.0;
    double Max = 0.0;

    bool operator==(const TAxisRange&) const = default;
};

// Both axes of a chart.
struct TChartLimits {
    TAxisRange X;
    TAxisRange Y;

    bool operator==(const TChartLimits&) const = default;
};

// Percentages of the zoom buttons: in shrinks the range to 60 % of itself, out widens it to 133.3 %.
inline constexpr double ZoomInPercent = 120.0;
inline constexpr double ZoomOutPercent = 100.0 / 1.2;

// Both ends move towards the middle by (percent - 100) % of the range: a + d ... b - d with
// d = (b - a) * (percent - 100) * 0.01. Below 100 percent they move outwards.
TAxisRange ZoomRange(const TAxisRange& range, double percent);

// The zoom state of one chart: the limits before the first step, which "Zoom 100%" restores.
class TChartZoom {
public:
    // The limits after zooming the shown ones; the first step remembers the shown ones. An axis
    // whose range would no longer be finite stays as it was.
    TChartLimits zoom(const TChartLimits& shown, double percent);
    // Any other change of the shown limits (wheel, rectangle, pan): the first one remembers the
    // shown limits; limits that are not finite or empty leave the shown ones.
    TChartLimits change(const TChartLimits& shown, const TChartLimits& next);
    // The limits before the first step, ending the zoomed state; nullopt when not zoomed.
    std::optional<TChartLimits> undo();
    bool isZoomed() const { return m_original.has_value(); }

private:
    std::optional<TChartLimits> m_original;
};
