// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartZoom.h"

#include "records/ChartNavigation.h"

#include <cmath>

TAxisRange ZoomRange(const TAxisRange& range, double percent) {
    const double d = (range.Max - range.Min) * (percent - 100.0) * 0.01;
    return {range.Min + d, range.Max - d};
}

namespace {

// Thousands of steps one way overflow the range; such a step leaves the axis as it was.
TAxisRange zoomedOrShown(const TAxisRange& shown, double percent) {
    const TAxisRange zoomed = ZoomRange(shown, percent);
    return std::isfinite(zoomed.Min) && std::isfinite(zoomed.Max) ? zoomed : shown;
}

} // namespace

TChartLimits TChartZoom::zoom(const TChartLimits& shown, double percent) {
    if (!m_original)
        m_original = shown;
    return {zoomedOrShown(shown.X, percent), zoomedOrShown(shown.Y, percent)};
}

TChartLimits TChartZoom::change(const TChartLimits& shown, const TChartLimits& next) {
    if (!IsUsableView(next))
        return shown;
    if (!m_original)
        m_original = shown;
    return next;
}

std::optional<TChartLimits> TChartZoom::undo() {
    std::optional<TChartLimits> original = m_original;
    m_original.reset();
    return original;
}
