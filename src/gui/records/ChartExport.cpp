// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartExport.h"

#include "files/SafeFileWriter.h"
#include "model/Units.h"
#include "records/ChartTitle.h"
#include "records/PngEncoder.h"
#include "records/RecordChartData.h"
#include "model/RecordModel.h"
#include "records/RecordRows.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <algorithm>
#include <memory>

TChartMarker PressureChartMarker() {
    return TChartMarker{TChartMarker::Square, 2, QColor(0, 0, 255), QColor(81, 81, 255)};
}

TChartMarker FlowChartMarker() {
    return TChartMarker{TChartMarker::Round, 3, QColor(0, 128, 0), QColor(0, 168, 0)};
}

void ShowChartSeries(TRecordChart& chart, const TRecordChartData& data, bool pressure, const TUnits& units,
                     TRecordChart::TLabels labels) {
    const TRecordChartSeries& series = pressure ? data.Pressure : data.Flow;
    chart.setNumberLocale(units.Locale);
    chart.setValueAxisTitle(series.AxisTitle);
    const QString unit = pressure ? units.PressureUnitName() : units.FlowUnitName();
    const int decimals = pressure ? PressureDecimals(units.PressureUnit) : FlowDecimals(units.FlowUnit);
    chart.setValueText([locale = units.Locale, unit, decimals](double value) {
        return FormatReadout(value, decimals, locale) + u' ' + unit;
    });
    if (data.SetsLimits)
        chart.setPoints(series.Points, data.ShownRows, std::move(labels), {data.XAxis, series.ValueAxis});
    else
        chart.clearPoints();
}

namespace {

// A chart of its own at the wanted size, never shown, with the content of the one on screen.
std::unique_ptr<TRecordChart> chartAtSize(const TRecordChart& shown, const QSize& size) {
    return std::make_unique<TRecordChart>(shown, size);
}

void draw(TRecordChart& chart, QPaintDevice& device, const QSize& size) {
    QPainter painter(&device);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    chart.scene()->render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
}

} // namespace

std::unique_ptr<TRecordChart> MakeRecordChart(const TRecordStore& store, const TUnits& units,
                                              const ITranslator& translator, bool pressure) {
    auto chart = std::make_unique<TRecordChart>(pressure ? PressureChartMarker() : FlowChartMarker());
    chart->setAttribute(Qt::WA_DontShowOnScreen);
    const TRecordChartData data = BuildRecordChartData(store, units, translator);
    chart->setTitle(TidyTitle(store.CurrentHeader.Description));
    // The labels as the records window's table rows give them.
    auto rows = std::make_shared<const TRecordRows>(store, units, translator);
    ShowChartSeries(*chart, data, pressure, units, [rows](int x) { return rows->label(x); });
    return chart;
}

void DrawChart(const TRecordChart& shown, QPainter& painter, const QRectF& target) {
    if (!(target.width() > 0) || !(target.height() > 0))
        return;
    const QSize size(
        DefaultChartExportSize.width(),
        std::max(16, static_cast<int>(DefaultChartExportSize.width() * target.height() / target.width())));
    const std::unique_ptr<TRecordChart> chart = chartAtSize(shown, size);
    chart->scene()->render(&painter, target, QRectF(QPointF(0, 0), size));
}

QImage ChartImage(const TRecordChart& shown, const QSize& size) {
    const std::unique_ptr<TRecordChart> chart = chartAtSize(shown, size);
    QImage image(size, QImage::Format_RGB32);
    draw(*chart, image, size);
    return image;
}

bool WriteChartPng(const TRecordChart& chart, const QSize& size, const QString& path, QString* error) {
    const QByteArray bytes = EncodePng(ChartImage(chart, size));
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: the picture could not be made").arg(path);
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}

bool WriteChartSvg(const TRecordChart& shown, const QSize& size, const QString& path, QString* error) {
    const std::unique_ptr<TRecordChart> chart = chartAtSize(shown, size);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(shown.title());
        draw(*chart, svg, size);
    }
    return writeFileAtomically(path, bytes, error);
}

bool IsChartPictureName(const QString& path) {
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

bool WriteChartPicture(const TRecordChart& chart, const QSize& size, const QString& path, QString* error) {
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return WriteChartSvg(chart, size, path, error);
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return WriteChartPng(chart, size, path, error);
    if (error)
        *error = QStringLiteral("Cannot write %1: a chart is saved as a .png or .svg picture").arg(path);
    return false;
}

std::optional<QSize> ParseChartSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w < 16 || h < 16 || w > 20000 || h > 20000)
        return std::nullopt;
    return QSize(w, h);
}
