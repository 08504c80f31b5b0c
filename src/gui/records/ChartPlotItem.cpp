// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartPlotItem.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

TChartPlotItem::TChartPlotItem(const QPen& line, const QImage& marker, QGraphicsItem* parent)
    : QGraphicsItem(parent), m_line(line), m_marker(marker) {
    setFlag(ItemClipsToShape);
}

void TChartPlotItem::setPoints(QList<QPointF> points) {
    m_points = std::move(points);
    update();
}

void TChartPlotItem::setFrame(const QRectF& plotArea, const TChartLimits& limits) {
    if (plotArea.size() != m_size)
        prepareGeometryChange();
    setPos(plotArea.topLeft());
    m_size = plotArea.size();
    m_limits = limits;
    update();
}

QRectF TChartPlotItem::boundingRect() const {
    return QRectF(QPointF(0, 0), m_size);
}

namespace {

// The part of the segment a-b inside `box` (Liang-Barsky), in doubles: after deep zooming the
// far points lie too far out for the paint engine's fixed-point arithmetic.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& box) {
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return false;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF from = a;
    a = QPointF(from.x() + t0 * dx, from.y() + t0 * dy);
    b = QPointF(from.x() + t1 * dx, from.y() + t1 * dy);
    return true;
}

} // namespace

void TChartPlotItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const double xSpan = m_limits.X.Max - m_limits.X.Min;
    const double ySpan = m_limits.Y.Max - m_limits.Y.Min;
    if (m_points.isEmpty() || !(xSpan > 0) || !(ySpan > 0) || m_size.isEmpty())
        return;
    const double xScale = m_size.width() / xSpan;
    const double yScale = m_size.height() / ySpan;

    // The points in view and one either side, so that the line leaves the area where it should.
    const auto byX = [](const QPointF& p, double x) { return p.x() < x; };
    auto first = std::lower_bound(m_points.cbegin(), m_points.cend(), m_limits.X.Min, byX);
    auto last = std::lower_bound(first, m_points.cend(), m_limits.X.Max, byX);
    if (first != m_points.cbegin())
        --first;
    if (last != m_points.cend())
        ++last;

    QList<QPointF> shown;
    shown.reserve(last - first);
    for (auto p = first; p != last; ++p)
        shown.append(QPointF((p->x() - m_limits.X.Min) * xScale,
                             m_size.height() - (p->y() - m_limits.Y.Min) * yScale));

    painter->save();
    const QRectF area = boundingRect();
    // Clipped here as well as by the painter: not every paint device honours a clip (an SVG file
    // shows the whole line over the axes).
    painter->setClipRect(area);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(m_line);
    const bool allInside = std::all_of(shown.cbegin(), shown.cend(), [&area](const QPointF& p) {
        return p.x() >= area.left() && p.x() <= area.right() && p.y() >= area.top() && p.y() <= area.bottom();
    });
    if (allInside) {
        painter->drawPolyline(shown.constData(), static_cast<int>(shown.size()));
    } else {
        QList<QLineF> pieces;
        for (qsizetype i = 1; i < shown.size(); ++i) {
            QPointF a = shown[i - 1];
            QPointF b = shown[i];
            if (clipSegment(a, b, area))
                pieces.append(QLineF(a, b));
        }
        painter->drawLines(pieces);
    }

    // Where many points share a pixel, one stamp draws what all of them would. A marker on the
    // edge shows its part inside the area.
    const QPointF half(m_marker.width() / 2.0, m_marker.height() / 2.0);
    const QRectF markerRect(QPointF(0, 0), QSizeF(m_marker.size()));
    QPoint previous(INT_MIN, INT_MIN);
    for (const QPointF& p : shown) {
        const QPointF corner = p - half;
        if (!(std::fabs(corner.x()) <= 1e5 && std::fabs(corner.y()) <= 1e5))
            continue;
        const QPoint at(static_cast<int>(std::lround(corner.x())), static_cast<int>(std::lround(corner.y())));
        if (at == previous)
            continue;
        previous = at;
        const QRectF target = markerRect.translated(at).intersected(area);
        if (target.isEmpty())
            continue;
        if (target.size() == markerRect.size())
            painter->drawImage(at, m_marker);
        else
            painter->drawImage(target, m_marker, target.translated(-QPointF(at)));
    }
    painter->restore();
}
