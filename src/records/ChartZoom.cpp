#include "records/ChartZoom.h"

TAxisRange ZoomRange(const TAxisRange& range, double percent) {
    const double d = (range.Max - range.Min) * (percent - 100.0) * 0.01;
    return {range.Min + d, range.Max - d};
}

TChartLimits TChartZoom::zoom(const TChartLimits& shown, double percent) {
    if (!m_original)
        m_original = shown;
    return {ZoomRange(shown.X, percent), ZoomRange(shown.Y, percent)};
}

std::optional<TChartLimits> TChartZoom::undo() {
    std::optional<TChartLimits> original = m_original;
    m_original.reset();
    return original;
}
