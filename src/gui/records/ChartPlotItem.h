// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/ChartZoom.h"

#include <QGraphicsItem>
#include <QImage>
#include <QList>
#include <QPen>
#include <QPointF>

// The line and the markers of a chart, drawn over its plot area. Qt Charts' own line series strokes
// its whole line into a hit-test shape on every change, which for a full record of 21000 points
// costs more than loading the record; this item only maps and draws the points in view.
class TChartPlotItem final : public QGraphicsItem {
public:
    // The marker is stamped centred on every point; its pixels should be opaque or transparent,
    // so that stamping it twice on one spot changes nothing.
    TChartPlotItem(const QPen& line, const QImage& marker, QGraphicsItem* parent = nullptr);

    // x ascending.
    void setPoints(QList<QPointF> points);
    const QList<QPointF>& points() const { return m_points; }
    // The plot area in the parent's coordinates and the axis limits it shows.
    void setFrame(const QRectF& plotArea, const TChartLimits& limits);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QPen m_line;
    QImage m_marker;
    QList<QPointF> m_points;
    QSizeF m_size;
    TChartLimits m_limits;
};
