// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/ChartZoom.h"

#include <QChartView>
#include <QColor>
#include <QList>
#include <QLocale>
#include <QPointF>
#include <QString>

#include <functional>
#include <vector>

class QCategoryAxis;
class QChart;
class QGraphicsRectItem;
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

// Another record drawn over the chart, in a colour of its own, named in the legend.
struct TChartOverlaySeries {
    QList<QPointF> Points; // x ascending
    QColor Colour;
    QString Name;
};

// One chart of the records window: a black line with a marker on every point, fixed value-axis
// limits, the points' labels along the horizontal axis and its own zoom.
class TRecordChart final : public QChartView {
    Q_OBJECT
public:
    explicit TRecordChart(const TChartMarker& marker, QWidget* parent = nullptr);
    // Another chart, never shown, with what `shown` shows (title, axis title, points, limits,
    // overlays), laid out for drawing at `size`.
    TRecordChart(const TRecordChart& shown, const QSize& size);
    const TChartMarker& marker() const { return m_marker; }

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
    // Shows other limits (wheel, rectangle, pan) as a zoom step that "Zoom 100%" undoes; limits
    // that are not finite or empty change nothing.
    void changeLimits(const TChartLimits& next);
    // The plot area in the view's scene (the view shows the scene 1:1).
    QRectF plotArea() const;
    // The label of the point at x = i (date and time); empty without one.
    QString labelAt(int x) const;
    // How the crosshair writes a value: number and unit in the user's format.
    using TValueText = std::function<QString(double)>;
    void setValueText(TValueText text) { m_valueText = std::move(text); }
    QString valueText(double value) const;
    // Back to the limits before the first zoom step; nothing when not zoomed.
    void zoom100();
    bool isZoomed() const { return m_zoom.isZoomed(); }
    // The shown limits.
    TChartLimits limits() const { return m_limits; }

    // The points drawn, x ascending.
    const QList<QPointF>& points() const;
    // The labels along the horizontal axis at the moment, with the x they stand at.
    QList<QPair<double, QString>> shownLabels() const;

    // Emitted whenever the shown limits change.
    Q_SIGNAL void limitsChanged();

    // Replaces the overlays; none hides the legend. The legend lies below the plot, where it covers
    // no curve, and names the shown record (setRecordName) before the overlays.
    void setOverlays(const QList<TChartOverlaySeries>& overlays);
    void setRecordName(const QString& name);
    const QString& recordName() const { return m_recordName; }
    const QList<TChartOverlaySeries>& overlays() const { return m_overlays; }
    // The legend's frame in the view's scene; empty without overlays.
    QRectF legendArea() const;
    // The overlay whose legend entry lies under a point of the view's scene; -1 for none (also on
    // the shown record's entry).
    int overlayAt(const QPointF& scenePos) const;

    // On screen the line is kept as a picture while only the crosshair moves over it; prints and
    // exports always draw the line itself.
    void setPlotCached(bool cached);

    // The chart alone (no toolbar, no frame), scaled to fit `target` with its proportions.
    void renderChart(QPainter& painter, const QRectF& target);

private:
    void build();
    void applyLimits(const TChartLimits& limits);
    void placeLabels();
    double plotWidth() const;

    void placeOverlays();

    TChartMarker m_marker;
    QChart* m_chart = nullptr;
    QList<TChartOverlaySeries> m_overlays;
    // The limits the record itself was given, before overlays widened them.
    TChartLimits m_baseLimits;
    std::vector<TChartPlotItem*> m_overlayPlots;
    QGraphicsRectItem* m_legend = nullptr;
    QList<QRectF> m_legendEntries;
    QString m_recordName;
    // The chart's margins without the legend's band.
    QMargins m_baseMargins;
    TChartPlotItem* m_plot = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QCategoryAxis* m_labelAxis = nullptr;
    // Until the first layout, the plot width the labels are placed for; 0 for none.
    double m_plannedPlotWidth = 0;
    int m_labelCount = 0;
    TLabels m_labels;
    TValueText m_valueText;
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
