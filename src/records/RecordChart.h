#pragma once

#include "records/ChartZoom.h"

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QStringList>

class QCategoryAxis;
class QLineSeries;
class QPainter;
class QValueAxis;

// How the points of a chart are marked.
struct TChartMarker {
    enum Shape { Square, Round };
    Shape Kind = Square;
    int Size = 2;
    QColor Fill;
    QColor Outline;
};

// One chart of the records window: a black line with a marker on every point, fixed value-axis
// limits, the points' labels along the horizontal axis and its own zoom.
class TRecordChart final : public QChartView {
    Q_OBJECT
public:
    explicit TRecordChart(const TChartMarker& marker, QWidget* parent = nullptr);

    // The title as its only line.
    void setTitle(const QString& text);
    QString title() const;
    void setValueAxisTitle(const QString& text);
    QString valueAxisTitle() const;

    // Removes every point; the limits stay.
    void clearPoints();
    // New points (x ascending) and their labels (the one of x = i at i); ends any zoom and shows
    // the given limits.
    void setPoints(const QList<QPointF>& points, const QStringList& labels, const TChartLimits& limits);

    void zoom(double percent);
    // Back to the limits before the first zoom step; nothing when not zoomed.
    void zoom100();
    bool isZoomed() const { return m_zoom.isZoomed(); }
    // The shown limits.
    TChartLimits limits() const { return m_limits; }

    QLineSeries* series() const { return m_series; }
    // The labels along the horizontal axis at the moment, with the x they stand at.
    QList<QPair<double, QString>> shownLabels() const;

    // The chart alone (no toolbar, no frame), scaled to fit `target` with its proportions.
    void renderChart(QPainter& painter, const QRectF& target);

private:
    void applyLimits(const TChartLimits& limits);
    void placeLabels();

    QLineSeries* m_series = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QCategoryAxis* m_labelAxis = nullptr;
    QStringList m_labels;
    TChartLimits m_limits;
    TChartZoom m_zoom;
    // What the labels were last placed for, so that a relayout they cause does not place them again.
    struct TLabelPlacement {
        int First = 0;
        int Last = -1;
        int Step = 0;
        bool operator==(const TLabelPlacement&) const = default;
    } m_placement;
};
