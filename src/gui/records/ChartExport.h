// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/RecordChart.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class QPainter;
struct TRecordChartData;
struct TRecordChartSeries;
struct TUnits;

// The markers of the two charts of the records window.
TChartMarker PressureChartMarker();
TChartMarker FlowChartMarker();

// Puts one series of a record into a chart as the records window shows it: axis title, numbers in
// the user's format, points, labels, limits, and the crosshair's value text with the unit.
// `pressure` selects the pressure series' unit for the value text.
void ShowChartSeries(TRecordChart& chart, const TRecordChartData& data, bool pressure, const TUnits& units,
                     TRecordChart::TLabels labels);

// A chart of a record as the records window would show it, for drawing without the window.
class ITranslator;
struct TRecordStore;
std::unique_ptr<TRecordChart> MakeRecordChart(const TRecordStore& store, const TUnits& units,
                                              const ITranslator& translator, bool pressure);

// The chart as it shows now drawn into `target` of any device, laid out as a picture of
// DefaultChartExportSize's width with the target's proportions.
void DrawChart(const TRecordChart& chart, QPainter& painter, const QRectF& target);

// The chart as it shows now (title, points, zoom) drawn at another size.
inline constexpr QSize DefaultChartExportSize(1600, 1000);
QImage ChartImage(const TRecordChart& chart, const QSize& size);
// PNG or SVG picture files, written through a temporary file: on failure the old file stays and
// *error says why.
bool WriteChartPng(const TRecordChart& chart, const QSize& size, const QString& path, QString* error);
bool WriteChartSvg(const TRecordChart& chart, const QSize& size, const QString& path, QString* error);
// A name ending in ".png" or ".svg" (case ignored): the two kinds of picture written.
bool IsChartPictureName(const QString& path);
// By the file's extension: ".svg" is SVG, ".png" PNG; any other name is refused, so that no file
// carries bytes its name does not promise.
bool WriteChartPicture(const TRecordChart& chart, const QSize& size, const QString& path, QString* error);
// "1600x1000" as a size; none for anything else or a side outside 16..20000.
std::optional<QSize> ParseChartSize(const QString& text);
