#include "records/RecordChart.h"

#include "records/ChartPlotItem.h"
#include "records/ChartTicks.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFont>
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

TRecordChart::TRecordChart(const TChartMarker& marker, QWidget* parent) : QChartView(parent) {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setTitleFont(boldFont(15));
    chart->setTitleBrush(Qt::black);

    m_valueAxis = new QValueAxis;
    m_valueAxis->setTitleFont(boldFont(13));
    chart->addAxis(m_valueAxis, Qt::AlignLeft);

    m_labelAxis = new QCategoryAxis;
    m_labelAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_labelAxis->setLabelsAngle(-90);
    m_labelAxis->setTruncateLabels(false);
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(11);
    m_labelAxis->setLabelsFont(labelFont);
    chart->addAxis(m_labelAxis, Qt::AlignBottom);

    m_plot = new TChartPlotItem(QPen(Qt::black, 0), markerImage(marker), chart);
    // Above the grid and the axes.
    m_plot->setZValue(100);

    setChart(chart);
    setRenderHint(QPainter::Antialiasing, false);
    setFrameShape(QFrame::NoFrame);
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        m_plot->setFrame(this->chart()->plotArea(), m_limits);
        placeLabels();
    });

    applyLimits({{-0.5, -0.5}, {0.0, 1.0}});
}

void TRecordChart::setTitle(const QString& text) {
    chart()->setTitle(text);
}

QString TRecordChart::title() const {
    return chart()->title();
}

void TRecordChart::setNumberLocale(const QLocale& locale) {
    // As in the table: the user's decimal separator, but no thousands separator, which would make
    // "4,850" of one locale read as 4.85 in another.
    QLocale numbers = locale;
    numbers.setNumberOptions(numbers.numberOptions() | QLocale::OmitGroupSeparator);
    chart()->setLocalizeNumbers(true);
    chart()->setLocale(numbers);
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
    applyLimits(limits);
}

void TRecordChart::zoom(double percent) {
    applyLimits(m_zoom.zoom(m_limits, percent));
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
    m_plot->setFrame(chart()->plotArea(), limits);
    placeLabels();
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
        const int room = std::max(1, static_cast<int>(chart()->plotArea().width()) / LabelPitch);
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

QList<QPair<double, QString>> TRecordChart::shownLabels() const {
    QList<QPair<double, QString>> shown;
    for (const QString& label : m_labelAxis->categoriesLabels())
        shown.append({m_labelAxis->endValue(label), label});
    return shown;
}

void TRecordChart::renderChart(QPainter& painter, const QRectF& target) {
    render(&painter, target, viewport()->rect(), Qt::KeepAspectRatio);
}
