// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordStatistics.h"

#include "model/DisplayNumber.h"
#include "model/Markers.h"
#include "model/RecordModel.h"
#include "model/Units.h"
#include "records/RecordOverlay.h"
#include "records/SampleValue.h"

#include <QDate>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace {

// Welford's running mean and sum of squared deviations: no sum of squares that could lose the
// spread of large, close values, and nothing that overflows.
class TRunningFigures {
public:
    void add(double x, std::int32_t row) {
        ++m_figures.Count;
        if (m_figures.Count == 1) {
            m_figures.Min = m_figures.Max = x;
            m_figures.MinRow = m_figures.MaxRow = row;
        } else if (x < m_figures.Min) {
            m_figures.Min = x;
            m_figures.MinRow = row;
        } else if (x > m_figures.Max) {
            m_figures.Max = x;
            m_figures.MaxRow = row;
        }
        const double delta = x - m_mean;
        m_mean += delta / m_figures.Count;
        m_squares += delta * (x - m_mean);
    }

    std::optional<TQuantityFigures> figures() const {
        if (m_figures.Count == 0)
            return std::nullopt;
        TQuantityFigures f = m_figures;
        // Rounding must not put the mean outside the values it came from.
        f.Mean = std::clamp(m_mean, f.Min, f.Max);
        f.Std = f.Count > 1 ? std::sqrt(std::max(0.0, m_squares / f.Count)) : 0.0;
        return f;
    }

private:
    TQuantityFigures m_figures;
    double m_mean = 0.0;
    double m_squares = 0.0;
};

// What the charts plot: a value in the valid range that is not the empty cell.
bool plotted(double value, bool valid) {
    return valid && value != NoValue;
}

} // namespace

TRecordSamples::TRecordSamples(const TRecordStore& store, const QLocale& locale) : m_store(store) {
    const TDisplayNumberReader reader(locale);
    TSampleClock clock;
    const std::int32_t held = store.heldSamples();
    m_rows.reserve(static_cast<std::size_t>(held));
    for (std::int32_t i = 0; i < held; ++i) {
        const TZaznamData& s = store.Samples[static_cast<std::size_t>(i)];
        if (s.RecordIndex != store.CurrentRecord)
            continue;
        const double pressure = HeldSampleValue(s.Pressure, reader, locale);
        const double flow = HeldSampleValue(s.Flow, reader, locale);
        m_rows.push_back({i, clock.seconds(s), pressure, flow, plotted(pressure, IsValidPressure(pressure)),
                          plotted(flow, IsValidFlow(flow))});
    }
}

template <typename Includes>
TRecordStatistics TRecordSamples::over(std::int32_t first, std::int32_t last, Includes includes) const {
    TRecordStatistics result;
    first = std::max(first, 0);
    last = std::min(last, rows() - 1);
    TRunningFigures pressure;
    TRunningFigures flow;
    for (std::int32_t row = first; row <= last; ++row) {
        const TRow& r = m_rows[static_cast<std::size_t>(row)];
        if (!includes(r))
            continue;
        ++result.Count;
        if (!std::isnan(r.Seconds)) {
            if (result.FirstRow < 0 || r.Seconds < m_rows[static_cast<std::size_t>(result.FirstRow)].Seconds)
                result.FirstRow = row;
            if (result.LastRow < 0 || r.Seconds > m_rows[static_cast<std::size_t>(result.LastRow)].Seconds)
                result.LastRow = row;
        }
        if (r.HasPressure)
            pressure.add(r.Pressure, row);
        if (r.HasFlow)
            flow.add(r.Flow, row);
    }
    if (result.FirstRow >= 0)
        result.DurationSeconds = m_rows[static_cast<std::size_t>(result.LastRow)].Seconds -
                                 m_rows[static_cast<std::size_t>(result.FirstRow)].Seconds;
    result.Pressure = pressure.figures();
    result.Flow = flow.figures();
    return result;
}

TRecordStatistics TRecordSamples::whole() const {
    return rows(0, rows() - 1);
}

TRecordStatistics TRecordSamples::rows(std::int32_t first, std::int32_t last) const {
    return over(first, last, [](const TRow&) { return true; });
}

TRecordStatistics TRecordSamples::visible(double xMin, double xMax) const {
    if (std::isnan(xMin) || std::isnan(xMax))
        return rows(0, -1);
    // Clamped while still floating: a view far beyond the record must not overflow the row number.
    const double limit = double(rows()) + 1.0;
    const auto first = static_cast<std::int32_t>(std::ceil(std::clamp(xMin, -1.0, limit)));
    const auto last = static_cast<std::int32_t>(std::floor(std::clamp(xMax, -1.0, limit)));
    return rows(first, last);
}

TRecordStatistics TRecordSamples::between(std::optional<double> from, std::optional<double> to) const {
    return over(0, rows() - 1, [&](const TRow& r) {
        if (!from && !to)
            return true;
        // NaN compares false either way: an unreadable time lies in no bounded range.
        return (!from || r.Seconds >= *from) && (!to || r.Seconds <= *to);
    });
}

QString TRecordSamples::timeText(std::int32_t row) const {
    if (row < 0 || row >= rows())
        return {};
    const TZaznamData& s =
        m_store.Samples[static_cast<std::size_t>(m_rows[static_cast<std::size_t>(row)].Sample)];
    return s.Date + u' ' + s.Time;
}

QString TRecordSamples::isoTime(std::int32_t row) const {
    if (row < 0 || row >= rows() || std::isnan(m_rows[static_cast<std::size_t>(row)].Seconds))
        return {};
    const auto seconds = static_cast<qint64>(m_rows[static_cast<std::size_t>(row)].Seconds);
    const QDate date = QDate::fromJulianDay(seconds / 86400);
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds % 86400) * 1000);
    return date.toString(QStringLiteral("yyyy-MM-dd")) + u'T' + time.toString(QStringLiteral("HH:mm:ss"));
}

std::optional<double> RecordClockSeconds(const QString& isoText) {
    // Date and time apart: read as one local time, a time in the hour skipped at the change to
    // summer time would not exist.
    const QStringList parts = isoText.trimmed().split(u'T');
    if (parts.size() != 2)
        return std::nullopt;
    const QDate date = QDate::fromString(parts[0], QStringLiteral("yyyy-MM-dd"));
    QTime time = QTime::fromString(parts[1], QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(parts[1], QStringLiteral("HH:mm"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return double(date.toJulianDay()) * 86400.0 + double(time.msecsSinceStartOfDay() / 1000);
}
