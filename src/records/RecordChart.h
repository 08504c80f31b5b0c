#pragma once

#include "records/ChartZoom.h"

#include <QChartView>
#include <QColor>
#include <QList>
#include <QLocale>
#include <QPointF>
#include <QString>

#include <functional>

class QCategoryAxis;
class QPainter;
class QValueAxis;
class TChartPlotItem;

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
    // The decimal separator of the value-axis labels.
    void setNumberLocale(const QLocale& locale);
    void setValueAxisTitle(const QString& text);
    QString valueAxisTitle() const;

    // Removes every point; the limits stay.
    void clearPoints();
    // The label of the point at x = i.
    using TLabels = std::function<QString(int)>;
    // New points (x ascending) and the labels of x = 0 ... labelCount - 1; ends any zoom and shows
    // the given limits.
    void setPoints(const QList<QPointF>& points, int labelCount, TLabels labels, const TChartLimits& limits);

    void zoom(double percent);
    // Back to the limits before the first zoom step; nothing when not zoomed.
    void zoom100();
    bool isZoomed() const { return m_zoom.isZoomed(); }
    // The shown limits.
    TChartLimits limits() const { return m_limits; }

    // The points drawn, x ascending.
    const QList<QPointF>& points() const;
    // The labels along the horizontal axis at the moment, with the x they stand at.
    QList<QPair<double, QString>> shownLabels() const;

    // The chart alone (no toolbar, no frame), scaled to fit `target` with its proportions.
    void renderChart(QPainter& painter, const QRectF& target);

private:
    void applyLimits(const TChartLimits& limits);
    void placeLabels();

    TChartPlotItem* m_plot = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QCategoryAxis* m_labelAxis = nullptr;
    int m_labelCount = 0;
    TLabels m_labels;
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
