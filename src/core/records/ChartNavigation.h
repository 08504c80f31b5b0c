// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/ChartZoom.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

// The arithmetic of working with a chart by mouse: where a pixel of the plot area lies in axis
// values, zooming about a point, into a rectangle, panning, and the sample nearest the pointer.
// Pixels count from the plot area's top left; values grow to the right and upwards.

QPointF ChartValueAt(const QSizeF& plotArea, const TChartLimits& limits, const QPointF& pixel);
QPointF ChartPixelAt(const QSizeF& plotArea, const TChartLimits& limits, const QPointF& value);

// factor < 1 zooms in, > 1 out; the value under `at` stays where it is.
TChartLimits ZoomAbout(const TChartLimits& limits, const QPointF& at, double factor);
// The limits the rectangle of values spans (corners in any order).
TChartLimits ZoomInto(const QPointF& corner1, const QPointF& corner2);
// Moves the view by a distance in values.
TChartLimits PanBy(const TChartLimits& limits, double dx, double dy);
// Limits that a finite, non-empty view can show: both axes finite with max above min.
bool IsUsableView(const TChartLimits& limits);

// The index of the point whose x lies nearest to x (ties to the earlier one); none for no points.
// The points are ascending in x.
std::optional<qsizetype> NearestPoint(const QList<QPointF>& points, double x);
