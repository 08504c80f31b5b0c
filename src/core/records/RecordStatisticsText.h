// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class ITranslator;
class TRecordSamples;
struct TRecordStatistics;
struct TUnits;

// "h:mm:ss", hours beyond a day counted on ("50:00:00").
QString DurationText(double seconds);

// The statistics as the records window and the printed report show them: the sample times as the
// table shows them, values in the user's units with the readout's digits; empty where a range has no
// figure.
struct TQuantityCells {
    QString Min;
    QString MinTime;
    QString Max;
    QString MaxTime;
    QString Mean;
    QString Std;
};
struct TStatisticsCells {
    QString Samples;
    QString First;
    QString Last;
    QString Duration;
    TQuantityCells Pressure;
    TQuantityCells Flow;
};
TStatisticsCells StatisticsCells(const TRecordStatistics& statistics, const TRecordSamples& samples,
                                 const TUnits& units);

// {"count", "first", "last", "duration_seconds", "pressure": {...}, "flow": {...}} with "min",
// "min_time", "max", "max_time", "mean", "std" in Pa and l/h and ISO times; null where there is no
// figure.
QJsonObject RecordStatisticsJson(const TRecordStatistics& statistics, const TRecordSamples& samples);

// One line per quantity in the given units, full precision, with a header line.
QByteArray RecordStatisticsCsv(const TRecordStatistics& statistics, const TRecordSamples& samples,
                               const TUnits& units);

// A readable summary: the times, then a line per quantity in the given units.
QString RecordStatisticsText(const TRecordStatistics& statistics, const TRecordSamples& samples,
                             const TUnits& units, const ITranslator& translator);

// The printed block beside the record header of the report with charts: each quantity over the range
// its chart shows, one column each, as lines of a fixed-pitch text.
QStringList ChartedRangeLines(const TRecordStatistics& pressureRange, const TRecordStatistics& flowRange,
                              const TRecordSamples& samples, const TUnits& units,
                              const ITranslator& translator);
