// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordChart.h"

#include "records/ChartPlotItem.h"
#include "records/ChartTicks.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

QFont boldFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// The marker drawn once and stamped on every point. Its pixels are opaque or transparent: no
// antialiasing, so that stamping it twice on one spot changes nothing.
QImage markerImage(const TChartMarker& marker) {
    // The outline lies around the filled area.
    const int side = marker.Size + 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(0, 0, side, side, marker.Outline);
    painter.fillRect(1, 1, marker.Size, marker.Size, marker.Fill);
    if (marker.Kind == TChartMarker::Round) {
        // The corners cut off.
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(side - 1, 0), QPoint(0, side - 1), QPoint(side - 1, side - 1)})
            painter.fillRect(QRect(corner, QSize(1, 1)), Qt::transparent);
    }
    return image;
}

// Room a vertical label takes along the axis: a little more than its height, so that the labels
// stay readable and few (Qt Charts lays each one out as a text document).
constexpr int LabelPitch = 32;
constexpr int MaxValueTicks = 10;

} // namespace

TRecordChart::TRecordChart(const TChartMarker& marker, QWidget* parent)
    : QChartView(parent), m_marker(marker) {
    build();
    applyLimits({{-0.5, -0.5}, {0.0, 1.0}});
    setChart(m_chart);
}

TRecordChart::TRecordChart(const TRecordChart& shown, const QSize& size) : m_marker(shown.m_marker) {
    setAttribute(Qt::WA_DontShowOnScreen);
    build();
    // The content while the chart was never laid out: its axes then take new ranges and labels
    // without laying the chart out for each, and the labels are placed for the plot width the
    // chart will have, whose margins follow from the value axis and not from the width.
    const QRectF area = shown.plotArea();
    if (!area.isEmpty())
        m_plannedPlotWidth = std::max(1.0, size.width() - (shown.m_chart->size().width() - area.width()));
    setTitle(shown.title());
    m_chart->setLocalizeNumbers(shown.m_chart->localizeNumbers());
    m_chart->setLocale(shown.m_chart->locale());
    setValueAxisTitle(shown.valueAxisTitle());
    m_valueText = shown.m_valueText;
    m_recordName = shown.m_recordName;
    // The overlays first: given after the limits, they would widen them to all they reach, and a
    // zoomed chart would export unzoomed.
    setOverlays(shown.m_overlays);
    setPoints(shown.points(), shown.m_labelCount, shown.m_labels, shown.m_limits);
    resize(size);
    setChart(m_chart);
    // Laid out now rather than at a paint that never comes; a second time only when the first
    // placed other labels than planned.
    for (int pass = 0; pass < 2; ++pass) {
        m_chart->resize(size);
        QCoreApplication::sendPostedEvents(m_chart, QEvent::LayoutRequest);
        m_chart->layout()->activate();
    }
    setSceneRect(QRectF(QPointF(0, 0), size));
}

void TRecordChart::build() {
    m_chart = new QChart;
    m_chart->legend()->hide();
    m_chart->setBackgroundBrush(Qt::white);
    m_chart->setBackgroundRoundness(0);
    m_chart->setTitleFont(boldFont(15));
    m_chart->setTitleBrush(Qt::black);
    m_baseMargins = m_chart->margins();

    m_valueAxis = new QValueAxis;
    m_valueAxis->setTitleFont(boldFont(13));
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);

    m_labelAxis = new QCategoryAxis;
    m_labelAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_labelAxis->setLabelsAngle(-90);
    m_labelAxis->setTruncateLabels(false);
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(11);
    m_labelAxis->setLabelsFont(labelFont);
    m_chart->addAxis(m_labelAxis, Qt::AlignBottom);

    m_plot = new TChartPlotItem(QPen(Qt::black, 0), markerImage(m_marker), m_chart);
    // Above the grid and the axes.
    m_plot->setZValue(100);

    setRenderHint(QPainter::Antialiasing, false);
    setFrameShape(QFrame::NoFrame);
    connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        m_plannedPlotWidth = 0;
        m_plot->setFrame(m_chart->plotArea(), m_limits);
        placeLabels();
        placeOverlays();
    });
}

void TRecordChart::setTitle(const QString& text) {
    m_chart->setTitle(text);
}

QString TRecordChart::title() const {
    return m_chart->title();
}

void TRecordChart::setNumberLocale(const QLocale& locale) {
    // As in the table: the user's decimal separator, but no thousands separator, which would make
    // "4,850" of one locale read as 4.85 in another.
    QLocale numbers = locale;
    numbers.setNumberOptions(numbers.numberOptions() | QLocale::OmitGroupSeparator);
    m_chart->setLocalizeNumbers(true);
    m_chart->setLocale(numbers);
}

void TRecordChart::setValueAxisTitle(const QString& text) {
    m_valueAxis->setTitleText(text);
}

QString TRecordChart::valueAxisTitle() const {
    return m_valueAxis->titleText();
}

const QList<QPointF>& TRecordChart::points() const {
    return m_plot->points();
}

void TRecordChart::clearPoints() {
    m_plot->setPoints({});
    m_labelCount = 0;
    m_labels = nullptr;
    m_placement.Step = -1;
    placeLabels();
}

void TRecordChart::setPoints(const QList<QPointF>& points, int labelCount, TLabels labels,
                             const TChartLimits& limits) {
    m_plot->setPoints(points);
    m_labelCount = labels ? labelCount : 0;
    m_labels = std::move(labels);
    m_placement.Step = -1;
    m_zoom.undo();
    m_baseLimits = limits;
    applyLimits(limits);
}

void TRecordChart::zoom(double percent) {
    applyLimits(m_zoom.zoom(m_limits, percent));
}

void TRecordChart::changeLimits(const TChartLimits& next) {
    applyLimits(m_zoom.change(m_limits, next));
}

QRectF TRecordChart::plotArea() const {
    return m_chart->plotArea();
}

QString TRecordChart::labelAt(int x) const {
    return m_labels && x >= 0 && x < m_labelCount ? m_labels(x) : QString();
}

QString TRecordChart::valueText(double value) const {
    return m_valueText ? m_valueText(value) : QString::number(value);
}

void TRecordChart::zoom100() {
    if (const auto original = m_zoom.undo())
        applyLimits(*original);
}

void TRecordChart::applyLimits(const TChartLimits& limits) {
    m_limits = limits;
    // Fixed ticks while the range changes: dynamic ticks with the interval of a much narrower range
    // (or the default of 0) would be countless.
    m_valueAxis->setTickType(QValueAxis::TicksFixed);
    m_valueAxis->setTickCount(2);
    m_valueAxis->setRange(limits.Y.Min, limits.Y.Max);
    if (const auto ticks = AxisTicks(limits.Y, MaxValueTicks)) {
        m_valueAxis->setTickAnchor(0.0);
        m_valueAxis->setTickInterval(ticks->Interval);
        m_valueAxis->setLabelFormat(QStringLiteral("%.") + QString::number(ticks->Decimals) + u'f');
        m_valueAxis->setTickType(QValueAxis::TicksDynamic);
    }
    m_labelAxis->setRange(limits.X.Min, limits.X.Max);
    m_plot->setFrame(m_chart->plotArea(), limits);
    placeLabels();
    placeOverlays();
    emit limitsChanged();
}

void TRecordChart::placeLabels() {
    const int count = m_labelCount;
    TLabelPlacement placement;
    // In doubles first: zoomed far out, the limits lie beyond any int.
    placement.First =
        static_cast<int>(std::clamp(std::ceil(m_limits.X.Min), 0.0, static_cast<double>(count)));
    placement.Last = static_cast<int>(std::clamp(std::floor(m_limits.X.Max), -1.0, count - 1.0));
    const int visible = placement.Last - placement.First + 1;
    if (visible > 0) {
        const int room = std::max(1, static_cast<int>(plotWidth()) / LabelPitch);
        placement.Step = std::max(1, (visible + room - 1) / room);
    }
    if (placement == m_placement)
        return;
    m_placement = placement;

    const QStringList old = m_labelAxis->categoriesLabels();
    for (const QString& label : old)
        m_labelAxis->remove(label);
    if (visible <= 0)
        return;
    m_labelAxis->setStartValue(placement.First - 0.5);
    // Every step-th point by its index, so that a label keeps its point while the user zooms.
    const int step = placement.Step;
    int first = (placement.First + step - 1) / step * step;
    for (int i = first; i <= placement.Last; i += step)
        m_labelAxis->append(m_labels(i), i); // an equal label already placed is skipped
}

double TRecordChart::plotWidth() const {
    return m_plannedPlotWidth > 0 ? m_plannedPlotWidth : m_chart->plotArea().width();
}

QList<QPair<double, QString>> TRecordChart::shownLabels() const {
    QList<QPair<double, QString>> shown;
    for (const QString& label : m_labelAxis->categoriesLabels())
        shown.append({m_labelAxis->endValue(label), label});
    return shown;
}

void TRecordChart::setOverlays(const QList<TChartOverlaySeries>& overlays) {
    for (TChartPlotItem* plot : m_overlayPlots)
        delete plot;
    m_overlayPlots.clear();
    m_overlays = overlays;
    for (const TChartOverlaySeries& overlay : m_overlays) {
        auto* plot = new TChartPlotItem(
            QPen(overlay.Colour, 0),
            markerImage(TChartMarker{TChartMarker::Square, 2, overlay.Colour, overlay.Colour}), m_chart);
        // Under the shown record's line, above the grid.
        plot->setZValue(90);
        plot->setPoints(overlay.Points);
        m_overlayPlots.push_back(plot);
    }
    // The record's own limits grow to take in what the overlays reach beyond them; that is then
    // what "Zoom 100%" returns to.
    TChartLimits wanted = m_baseLimits;
    for (const TChartOverlaySeries& overlay : m_overlays) {
        for (const QPointF& p : overlay.Points) {
            wanted.X.Min = std::min(wanted.X.Min, p.x() - 0.5);
            wanted.X.Max = std::max(wanted.X.Max, p.x() + 0.5);
            wanted.Y.Min = std::min(wanted.Y.Min, p.y());
            wanted.Y.Max = std::max(wanted.Y.Max, p.y());
        }
    }
    if (wanted != m_limits) {
        const double pad = (wanted.Y.Max - wanted.Y.Min) * 0.05;
        if (wanted.Y.Min < m_baseLimits.Y.Min)
            wanted.Y.Min -= pad;
        if (wanted.Y.Max > m_baseLimits.Y.Max)
            wanted.Y.Max += pad;
        m_zoom.undo();
        applyLimits(wanted);
        return;
    }
    placeOverlays();
}

int TRecordChart::overlayAt(const QPointF& scenePos) const {
    for (qsizetype i = 0; i < m_legendEntries.size(); ++i)
        if (m_legendEntries.at(i).contains(scenePos))
            return static_cast<int>(i);
    return -1;
}

void TRecordChart::setRecordName(const QString& name) {
    if (name == m_recordName)
        return;
    m_recordName = name;
    placeOverlays();
}

QRectF TRecordChart::legendArea() const {
    return m_legend ? m_chart->mapRectToScene(m_legend->rect()) : QRectF();
}

void TRecordChart::placeOverlays() {
    const QRectF area = m_chart->plotArea();
    for (TChartPlotItem* plot : m_overlayPlots)
        plot->setFrame(area, m_limits);
    delete m_legend;
    m_legend = nullptr;
    m_legendEntries.clear();
    if (m_overlays.isEmpty()) {
        if (m_chart->margins() != m_baseMargins)
            m_chart->setMargins(m_baseMargins);
        return;
    }
    // A band below the axis labels, the entries side by side in lines: a swatch and a name each,
    // the shown record's black line first.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    const QFontMetrics metrics(font);
    const int line = metrics.height() + 2;
    const int swatchRoom = 21;
    const int gap = 14;
    const qreal room = std::max<qreal>(80.0, m_chart->size().width() - m_baseMargins.left() - m_baseMargins.right());
    struct TEntry {
        QString Name;
        QColor Colour;
        int Overlay;
    };
    QList<TEntry> entries{{m_recordName, Qt::black, -1}};
    for (qsizetype i = 0; i < m_overlays.size(); ++i)
        entries.append({m_overlays.at(i).Name, m_overlays.at(i).Colour, static_cast<int>(i)});
    struct TPlaced {
        QRectF Box; // relative to the legend's top left
        QString Text;
    };
    QList<TPlaced> placed;
    qreal x = 0;
    qreal y = 0;
    qreal width = 0;
    for (const TEntry& entry : entries) {
        const QString text = metrics.elidedText(entry.Name, Qt::ElideRight, static_cast<int>(room) - swatchRoom - 8);
        const qreal w = swatchRoom + metrics.horizontalAdvance(text) + 6;
        if (x > 0 && x + gap + w > room) {
            x = 0;
            y += line;
        }
        if (x > 0)
            x += gap;
        placed.append({QRectF(x, y, w, line), text});
        x += w;
        width = std::max(width, x);
    }
    const qreal height = y + line + 6;
    // The band is taken from the chart's bottom margin; a change lays the chart out again, which
    // comes back here with the band in place.
    const QMargins wanted(m_baseMargins.left(), m_baseMargins.top(), m_baseMargins.right(),
                          m_baseMargins.bottom() + static_cast<int>(std::ceil(height)) + 4);
    if (m_chart->margins() != wanted)
        m_chart->setMargins(wanted);

    const qreal left = std::clamp(area.center().x() - (width + 8) / 2, 2.0,
                                  std::max(2.0, m_chart->size().width() - width - 10));
    const QRectF box(left, m_chart->size().height() - m_baseMargins.bottom() - height, width + 8, height);
    m_legend = new QGraphicsRectItem(box, m_chart);
    m_legend->setBrush(Qt::white);
    m_legend->setPen(QPen(Qt::gray, 0));
    m_legend->setZValue(150);
    for (qsizetype i = 0; i < placed.size(); ++i) {
        const QRectF entry = placed.at(i).Box.translated(box.left() + 4, box.top() + 3);
        auto* swatch = new QGraphicsRectItem(entry.left() + 3, entry.center().y() - 1.5, 12, 3, m_legend);
        swatch->setBrush(entries.at(i).Colour);
        swatch->setPen(Qt::NoPen);
        auto* text = new QGraphicsSimpleTextItem(placed.at(i).Text, m_legend);
        text->setFont(font);
        text->setPos(entry.left() + swatchRoom - 2, entry.top() + 1);
        if (entries.at(i).Overlay >= 0)
            m_legendEntries.append(m_chart->mapRectToScene(entry));
    }
}

void TRecordChart::setPlotCached(bool cached) {
    m_plot->setCacheMode(cached ? QGraphicsItem::DeviceCoordinateCache : QGraphicsItem::NoCache);
}

void TRecordChart::renderChart(QPainter& painter, const QRectF& target) {
    // A printer gets the line itself, not the screen's picture of it.
    const QGraphicsItem::CacheMode cache = m_plot->cacheMode();
    m_plot->setCacheMode(QGraphicsItem::NoCache);
    render(&painter, target, viewport()->rect(), Qt::KeepAspectRatio);
    m_plot->setCacheMode(cache);
}
