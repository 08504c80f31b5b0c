// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartNavigation.h"

#include <algorithm>
#include <cmath>

QPointF ChartValueAt(const QSizeF& area, const TChartLimits& l, const QPointF& pixel) {
    const double x = l.X.Min + pixel.x() / area.width() * (l.X.Max - l.X.Min);
    const double y = l.Y.Max - pixel.y() / area.height() * (l.Y.Max - l.Y.Min);
    return {x, y};
}

QPointF ChartPixelAt(const QSizeF& area, const TChartLimits& l, const QPointF& value) {
    const double x = (value.x() - l.X.Min) / (l.X.Max - l.X.Min) * area.width();
    const double y = (l.Y.Max - value.y()) / (l.Y.Max - l.Y.Min) * area.height();
    return {x, y};
}

namespace {

TAxisRange zoomAxis(const TAxisRange& r, double at, double factor) {
    return {at - (at - r.Min) * factor, at + (r.Max - at) * factor};
}

} // namespace

TChartLimits ZoomAbout(const TChartLimits& l, const QPointF& at, double factor) {
    return {zoomAxis(l.X, at.x(), factor), zoomAxis(l.Y, at.y(), factor)};
}

TChartLimits ZoomInto(const QPointF& a, const QPointF& b) {
    return {{std::min(a.x(), b.x()), std::max(a.x(), b.x())}, {std::min(a.y(), b.y()), std::max(a.y(), b.y())}};
}

TChartLimits PanBy(const TChartLimits& l, double dx, double dy) {
    return {{l.X.Min + dx, l.X.Max + dx}, {l.Y.Min + dy, l.Y.Max + dy}};
}

bool IsUsableView(const TChartLimits& l) {
    const auto usable = [](const TAxisRange& r) {
        // A span below what doubles resolve at that size would show one value across the axis.
        return std::isfinite(r.Min) && std::isfinite(r.Max) && r.Max > r.Min &&
               (r.Max - r.Min) > 1e-9 * std::max(std::fabs(r.Min), std::fabs(r.Max));
    };
    return usable(l.X) && usable(l.Y);
}

std::optional<qsizetype> NearestPoint(const QList<QPointF>& points, double x) {
    if (points.isEmpty() || !std::isfinite(x))
        return std::nullopt;
    const auto after =
        std::lower_bound(points.cbegin(), points.cend(), x, [](const QPointF& p, double v) { return p.x() < v; });
    if (after == points.cbegin())
        return 0;
    if (after == points.cend())
        return points.size() - 1;
    const auto before = after - 1;
    return (x - before->x() <= after->x() - x) ? before - points.cbegin() : after - points.cbegin();
}
