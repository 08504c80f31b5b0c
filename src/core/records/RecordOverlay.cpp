// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordOverlay.h"

#include "records/RecordChartData.h"
#include "model/RecordModel.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <cmath>
#include <limits>

namespace {

constexpr double NoTime = std::numeric_limits<double>::quiet_NaN();

} // namespace

namespace {

// Two-digit fields at the given places, separated by `separator` ("dd.mm.yyyy", "hh:mm:ss"):
// the numbers, or none for text of another form. Read field by field: a format-driven parse of
// every sample's date and time took longer than loading the whole record file.
bool readFields(QStringView text, QChar separator, std::initializer_list<std::pair<int, int>> fields, int* out) {
    if (text.size() != fields.end()[-1].first + fields.end()[-1].second)
        return false;
    int previousEnd = 0;
    for (const auto& [at, length] : fields) {
        if (at != previousEnd && (at != previousEnd + 1 || text[previousEnd] != separator))
            return false;
        int value = 0;
        for (int i = at; i < at + length; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return false;
            value = value * 10 + (c - u'0');
        }
        *out++ = value;
        previousEnd = at + length;
    }
    return true;
}

} // namespace

// The instrument's clock keeps no zone: its times count as they read. Read as the PC's local time,
// a record across the change to summer time would shift by an hour and lose the samples of the
// skipped hour, and every sample would consult the zone data.
double SampleClockSeconds(const TZaznamData& s) {
    return TSampleClock().seconds(s);
}

double TSampleClock::seconds(const TZaznamData& s) {
    // A record's samples mostly share their date: it is read once per day.
    if (s.Date != m_date) {
        int d[3];
        const QDate date = readFields(s.Date, u'.', {{0, 2}, {3, 2}, {6, 4}}, d) ? QDate(d[2], d[1], d[0]) : QDate();
        m_date = s.Date;
        m_day = date.isValid() ? double(date.toJulianDay()) * 86400.0 : NoTime;
    }
    int t[3];
    if (std::isnan(m_day) || !readFields(s.Time, u':', {{0, 2}, {3, 2}, {6, 2}}, t) ||
        !QTime::isValid(t[0], t[1], t[2]))
        return NoTime;
    return m_day + double(t[0] * 3600 + t[1] * 60 + t[2]);
}

QString RecordLegendName(const TRecordStore& store) {
    // The name carries the start, so that two records of one description can be told apart.
    QString start;
    for (std::int32_t i = 0; i < store.heldSamples(); ++i) {
        const TZaznamData& s = store.Samples[static_cast<std::size_t>(i)];
        if (s.RecordIndex == store.CurrentRecord) {
            start = s.Date + u' ' + s.Time;
            break;
        }
    }
    const QString description = store.CurrentHeader.Description.trimmed();
    if (start.isEmpty())
        return description;
    return description.isEmpty() ? start : description + QStringLiteral(", ") + start;
}

std::vector<double> ElapsedSeconds(const TRecordStore& store) {
    std::vector<double> seconds;
    double first = NoTime;
    TSampleClock clock;
    const std::int32_t held = store.heldSamples();
    for (std::int32_t i = 0; i < held; ++i) {
        const TZaznamData& s = store.Samples[static_cast<std::size_t>(i)];
        if (s.RecordIndex != store.CurrentRecord)
            continue;
        const double at = clock.seconds(s);
        if (seconds.empty())
            first = at;
        // NaN when either does not read.
        seconds.push_back(at - first);
    }
    return seconds;
}

double AxisPositionOf(double t, const std::vector<double>& rows) {
    // Only rows with a time and in order serve as marks.
    std::vector<std::pair<double, double>> marks; // seconds, row
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (std::isfinite(rows[i]) && (marks.empty() || rows[i] > marks.back().first))
            marks.emplace_back(rows[i], double(i));
    if (marks.size() < 2)
        return (marks.empty() ? 0.0 : marks.front().second) + t - (marks.empty() ? 0.0 : marks.front().first);
    const auto after = std::lower_bound(marks.cbegin(), marks.cend(), t,
                                        [](const std::pair<double, double>& m, double v) { return m.first < v; });
    const auto a = after == marks.cbegin() ? marks.cbegin() : after == marks.cend() ? marks.cend() - 2 : after - 1;
    const auto b = a + 1;
    return a->second + (t - a->first) * (b->second - a->second) / (b->first - a->first);
}

TRecordOverlay BuildRecordOverlay(const TRecordStore& other, const std::vector<double>& shownSeconds,
                                  const TUnits& units, const ITranslator& translator) {
    TRecordOverlay overlay;
    const std::vector<double> own = ElapsedSeconds(other);
    overlay.Name = RecordLegendName(other);
    const TRecordChartData data = BuildRecordChartData(other, units, translator);
    const auto place = [&](const QList<QPointF>& points) {
        QList<QPointF> placed;
        placed.reserve(points.size());
        for (const QPointF& p : points) {
            const auto row = static_cast<std::size_t>(p.x());
            if (row < own.size() && std::isfinite(own[row]))
                placed.append(QPointF(AxisPositionOf(own[row], shownSeconds), p.y()));
        }
        // The chart draws x ascending.
        std::stable_sort(placed.begin(), placed.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
        return placed;
    };
    overlay.Pressure = place(data.Pressure.Points);
    overlay.Flow = place(data.Flow.Points);
    return overlay;
}
