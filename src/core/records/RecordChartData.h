// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/ChartZoom.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <cstdint>

class ITranslator;
struct TRecordStore;
struct TUnits;

// One chart of the records window: its points in the display unit and its fixed value-axis limits.
struct TRecordChartSeries {
    // x = the sample's table row - 1, in ascending order; a value outside the valid range leaves a gap.
    QList<QPointF> Points;
    // Three times the data range, centred on it, with at least the smallest span below and above.
    TAxisRange ValueAxis;
    // "Pressure [Pa]", translated, with the unit.
    QString AxisTitle;
};

// Both charts of the current record, as the records window draws them.
struct TRecordChartData {
    TRecordChartSeries Pressure;
    TRecordChartSeries Flow;
    // The label of the point at x = i: date, a blank, time; one per shown sample.
    QStringList Labels;
    // -0.5 ... ShownRows - 0.5.
    TAxisRange XAxis;
    std::int32_t ShownRows = 0;
    // False when the store holds no sample at all: the charts are cleared but keep their limits.
    bool SetsLimits = false;
};

// The points and limits of both charts from the samples of CurrentRecord, in the user's units.
TRecordChartData BuildRecordChartData(const TRecordStore& store, const TUnits& units,
                                      const ITranslator& translator);
