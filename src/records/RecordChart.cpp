#include "records/RecordChart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QImage>
#include <QLineSeries>
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

// The marker drawn once; the series stamps the image on every point, far cheaper than shapes.
QImage markerImage(const TChartMarker& marker) {
    // The outline lies around the filled area.
    const int side = marker.Size + 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (marker.Kind == TChartMarker::Square) {
        painter.fillRect(0, 0, side, side, marker.Outline);
        painter.fillRect(1, 1, marker.Size, marker.Size, marker.Fill);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(marker.Outline, 1.0));
        painter.setBrush(marker.Fill);
        painter.drawEllipse(QRectF(0.5, 0.5, side - 1.0, side - 1.0));
    }
    return image;
}

// Room a vertical label needs along the axis.
constexpr int LabelPitch = 18;

} // namespace

TRecordChart::TRecordChart(const TChartMarker& marker, QWidget* parent) : QChartView(parent) {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setTitleFont(boldFont(15));
    chart->setTitleBrush(Qt::black);

    m_series = new QLineSeries;
    m_series->setPen(QPen(Qt::black, 1.0));
    const QImage image = markerImage(marker);
    m_series->setLightMarker(image);
    m_series->setMarkerSize(image.width());
    m_series->setPointsVisible(true);
    chart->addSeries(m_series);

    m_valueAxis = new QValueAxis;
    m_valueAxis->setTitleFont(boldFont(13));
    m_valueAxis->setTickCount(9);
    m_valueAxis->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(m_valueAxis, Qt::AlignLeft);
    m_series->attachAxis(m_valueAxis);

    m_labelAxis = new QCategoryAxis;
    m_labelAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_labelAxis->setLabelsAngle(-90);
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(11);
    m_labelAxis->setLabelsFont(labelFont);
    chart->addAxis(m_labelAxis, Qt::AlignBottom);
    m_series->attachAxis(m_labelAxis);

    setChart(chart);
    setRenderHint(QPainter::Antialiasing, false);
    setFrameShape(QFrame::NoFrame);
    connect(chart, &QChart::plotAreaChanged, this, [this] { placeLabels(); });

    applyLimits({{-0.5, -0.5}, {0.0, 1.0}});
}

void TRecordChart::setTitle(const QString& text) {
    chart()->setTitle(text);
}

QString TRecordChart::title() const {
    return chart()->title();
}

void TRecordChart::setValueAxisTitle(const QString& text) {
    m_valueAxis->setTitleText(text);
}

QString TRecordChart::valueAxisTitle() const {
    return m_valueAxis->titleText();
}

void TRecordChart::clearPoints() {
    m_series->clear();
    m_labels.clear();
    m_placement.Step = -1;
    placeLabels();
}

void TRecordChart::setPoints(const QList<QPointF>& points, const QStringList& labels,
                             const TChartLimits& limits) {
    m_series->replace(points);
    m_labels = labels;
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
    m_valueAxis->setRange(limits.Y.Min, limits.Y.Max);
    m_labelAxis->setRange(limits.X.Min, limits.X.Max);
    placeLabels();
}

void TRecordChart::placeLabels() {
    const int count = static_cast<int>(m_labels.size());
    TLabelPlacement placement;
    placement.First = std::max(0, static_cast<int>(std::ceil(m_limits.X.Min)));
    placement.Last = std::min(count - 1, static_cast<int>(std::floor(m_limits.X.Max)));
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
        m_labelAxis->append(m_labels.at(i), i); // an equal label already placed is skipped
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
