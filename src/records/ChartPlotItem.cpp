#include "records/ChartPlotItem.h"

#include <QPainter>

#include <algorithm>
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
    painter->setClipRect(boundingRect());
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(m_line);
    painter->drawPolyline(shown.constData(), static_cast<int>(shown.size()));

    // Where many points share a pixel, one stamp draws what all of them would.
    const QPointF half(m_marker.width() / 2.0, m_marker.height() / 2.0);
    QPoint previous(INT_MIN, INT_MIN);
    for (const QPointF& p : shown) {
        const QPointF corner = p - half;
        if (std::fabs(corner.x()) > 1e6 || std::fabs(corner.y()) > 1e6)
            continue;
        const QPoint at(static_cast<int>(std::lround(corner.x())), static_cast<int>(std::lround(corner.y())));
        if (at == previous)
            continue;
        painter->drawImage(at, m_marker);
        previous = at;
    }
    painter->restore();
}
