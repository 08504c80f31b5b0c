// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct TRecordStore;

// The figures of one measured quantity over a range, in l/h or Pa. The standard deviation is the
// population one (divided by the count): the range is the whole of what is described, so one
// sample gives 0.
struct TQuantityFigures {
    std::int32_t Count = 0;
    double Min = 0.0;
    double Max = 0.0;
    double Mean = 0.0;
    double Std = 0.0;
    // Rows of the shown record (0 = its first sample) where the minimum and maximum first occur.
    std::int32_t MinRow = -1;
    std::int32_t MaxRow = -1;
};

// Statistics of the shown record over a range of its samples. What the charts leave out (the empty
// cell, values out of range) is no value; a quantity without a single value in the range has no figures.
struct TRecordStatistics {
    std::int32_t Count = 0;
    // Rows of the earliest and latest sample time; -1 when no time in the range reads.
    std::int32_t FirstRow = -1;
    std::int32_t LastRow = -1;
    double DurationSeconds = 0.0;
    std::optional<TQuantityFigures> Pressure;
    std::optional<TQuantityFigures> Flow;
};

// The samples of the shown record read once, in full precision as the analysis export writes them,
// so that the figures of any range are quick to compute (the records window recomputes them at every
// zoom step). It reads the store's date and time texts when asked for them: the store must outlive
// it unchanged.
class TRecordSamples {
public:
    TRecordSamples(const TRecordStore& store, const QLocale& locale);

    std::int32_t rows() const { return static_cast<std::int32_t>(m_rows.size()); }
    TRecordStatistics whole() const;
    // Rows first ... last, both included and clamped to the record; none when last < first.
    TRecordStatistics rows(std::int32_t first, std::int32_t last) const;
    // The rows a chart shows between xMin and xMax (the point of row r stands at x = r).
    TRecordStatistics visible(double xMin, double xMax) const;
    // Samples whose time lies within from ... to (seconds on the record's clock as
    // RecordClockSeconds gives them, both included; an end not given is open). A sample whose time
    // does not read lies in no bounded range.
    TRecordStatistics between(std::optional<double> from, std::optional<double> to) const;

    // The row's date and time as the table shows them ("05.03.2012 07:04:09"), and as
    // "2012-03-05T07:04:09"; empty for a row outside the record.
    QString timeText(std::int32_t row) const;
    QString isoTime(std::int32_t row) const;

private:
    struct TRow {
        std::int32_t Sample; // in the store's samples, for the date and time texts
        double Seconds;      // NaN when the time does not read
        double Pressure;
        double Flow;
        bool HasPressure;
        bool HasFlow;
    };
    template <typename Includes>
    TRecordStatistics over(std::int32_t first, std::int32_t last, Includes includes) const;

    const TRecordStore& m_store;
    std::vector<TRow> m_rows;
};

// "2012-03-05T07:05:00" (or without seconds) as seconds on a record's clock; none for any other text.
std::optional<double> RecordClockSeconds(const QString& isoText);
