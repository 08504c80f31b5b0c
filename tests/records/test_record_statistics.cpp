// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DisplayNumber.h"
#include "model/RecordModel.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "records/RecordStatistics.h"
#include "records/RecordStatisticsText.h"
#include "records/SampleValue.h"

#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

namespace {

struct TSample {
    const char* time;
    const char* pressure;
    const char* flow;
};

// The shown record (index 1) between samples of other records, on 05.03.2012.
std::unique_ptr<TRecordStore> storeWith(std::initializer_list<TSample> samples) {
    auto store = std::make_unique<TRecordStore>();
    store->CurrentRecord = 1;
    auto add = [&](std::int32_t record, const TSample& s) {
        store->Samples[static_cast<std::size_t>(store->SampleCount++)] = {
            record, QStringLiteral("05.03.2012"), QString::fromLatin1(s.time),
            QString::fromLatin1(s.pressure), QString::fromLatin1(s.flow)};
    };
    add(0, {"06:00:00", "99999.000000", "99999.000000"});
    for (const TSample& s : samples)
        add(1, s);
    add(2, {"23:00:00", "-5.000000", "0.000000"});
    return store;
}

double at(const char* time) {
    return *RecordClockSeconds(QStringLiteral("2012-03-05T") + QLatin1String(time));
}

TEST(RecordStatistics, FiguresOfATableOfCases) {
    const auto fiveSamples = [] {
        return storeWith({{"07:00:00", "1000.000000", "200.000000"},
                          {"07:00:10", "3000.000000", "100.000000"},
                          {"07:00:20", "2000.000000", "300.000000"},
                          {"07:00:30", "3000.000000", "100.000000"},
                          {"07:00:40", "1000.000000", "300.000000"}});
    };
    const struct {
        const char* name;
        std::unique_ptr<TRecordStore> store;
        std::optional<double> from, to;
        std::int32_t count;
        std::optional<TQuantityFigures> pressure;
        std::optional<TQuantityFigures> flow;
        double duration;
    } cases[] = {
        {"whole record",
         fiveSamples(),
         {},
         {},
         5,
         TQuantityFigures{5, 1000, 3000, 2000, std::sqrt(800000.0), 0, 1},
         TQuantityFigures{5, 100, 300, 200, std::sqrt(8000.0), 1, 2},
         40},
        {"both ends inclusive", fiveSamples(), at("07:00:10"), at("07:00:30"), 3,
         TQuantityFigures{3, 2000, 3000, 8000.0 / 3, std::sqrt(2.0 / 9) * 1000, 2, 1},
         TQuantityFigures{3, 100, 300, 500.0 / 3, std::sqrt(8.0 / 9) * 100, 1, 2}, 20},
        {"open start",
         fiveSamples(),
         {},
         at("07:00:00"),
         1,
         TQuantityFigures{1, 1000, 1000, 1000, 0, 0, 0},
         TQuantityFigures{1, 200, 200, 200, 0, 0, 0},
         0},
        {"empty range", fiveSamples(), at("07:00:01"), at("07:00:09"), 0, {}, {}, 0},
        {"range before the record", fiveSamples(), at("06:00:00"), at("06:59:59"), 0, {}, {}, 0},
        {"no samples", storeWith({}), {}, {}, 0, {}, {}, 0},
        // The empty cell and values out of range are no values, but the samples count.
        {"markers",
         storeWith({{"07:00:00", "-9999999.000000", "-9999999.000000"},
                    {"07:00:01", "-250000.000000", "50.000000"},
                    {"07:00:02", "4000.000000", "20000000.000000"}}),
         {},
         {},
         3,
         TQuantityFigures{1, 4000, 4000, 4000, 0, 2, 2},
         TQuantityFigures{1, 50, 50, 50, 0, 1, 1},
         2},
        {"only markers",
         storeWith({{"07:00:00", "-9999999.000000", "-9999999.000000"}}),
         {},
         {},
         1,
         {},
         {},
         0},
        // Large, close values: a sum of squares would lose the spread.
        {"huge values",
         storeWith({{"07:00:00", "1999999.000000", "9999999.000000"},
                    {"07:00:01", "2000000.000000", "10000000.000000"},
                    {"07:00:02", "1999999.000000", "9999999.000000"},
                    {"07:00:03", "2000000.000000", "10000000.000000"}}),
         {},
         {},
         4,
         TQuantityFigures{4, 1999999, 2000000, 1999999.5, 0.5, 0, 1},
         TQuantityFigures{4, 9999999, 10000000, 9999999.5, 0.5, 0, 1},
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TRecordSamples samples(*c.store, QLocale::c());
        const TRecordStatistics s = samples.between(c.from, c.to);
        EXPECT_EQ(s.Count, c.count);
        EXPECT_DOUBLE_EQ(s.DurationSeconds, c.duration);
        EXPECT_EQ(s.FirstRow < 0, c.count == 0);
        for (const auto& [got, want] : {std::pair(s.Pressure, c.pressure), std::pair(s.Flow, c.flow)}) {
            ASSERT_EQ(got.has_value(), want.has_value());
            if (!want)
                continue;
            EXPECT_EQ(got->Count, want->Count);
            EXPECT_DOUBLE_EQ(got->Min, want->Min);
            EXPECT_DOUBLE_EQ(got->Max, want->Max);
            EXPECT_NEAR(got->Mean, want->Mean, 1e-9);
            EXPECT_NEAR(got->Std, want->Std, 1e-9);
            EXPECT_EQ(got->MinRow, want->MinRow);
            EXPECT_EQ(got->MaxRow, want->MaxRow);
        }
    }
}

TEST(RecordStatistics, RowRangesAreClampedAndInclusive) {
    const auto store = storeWith({{"07:00:00", "1.000000", "1.000000"},
                                  {"07:00:10", "2.000000", "2.000000"},
                                  {"07:00:20", "3.000000", "3.000000"}});
    const TRecordSamples samples(*store, QLocale::c());
    EXPECT_EQ(samples.rows(), 3);
    EXPECT_EQ(samples.rows(1, 2).Count, 2);
    EXPECT_DOUBLE_EQ(samples.rows(1, 2).Flow->Mean, 2.5);
    EXPECT_EQ(samples.rows(-100, 100).Count, 3);
    EXPECT_EQ(samples.rows(2, 1).Count, 0);
    EXPECT_FALSE(samples.rows(5, 9).Pressure.has_value());
    EXPECT_EQ(samples.whole().Count, 3);
    // A chart's view: the points within it, however far it was panned or zoomed out.
    EXPECT_EQ(samples.visible(0.5, 2.5).Count, 2);
    EXPECT_EQ(samples.visible(-0.5, 2.5).Count, 3);
    EXPECT_EQ(samples.visible(1.2, 1.8).Count, 0);
    EXPECT_EQ(samples.visible(-1e300, 1e300).Count, 3);
    EXPECT_EQ(samples.visible(1e300, 2e300).Count, 0);
    EXPECT_EQ(samples.visible(std::nan(""), 2.0).Count, 0);
    EXPECT_EQ(samples.timeText(1), QStringLiteral("05.03.2012 07:00:10"));
    EXPECT_EQ(samples.isoTime(2), QStringLiteral("2012-03-05T07:00:20"));
    EXPECT_TRUE(samples.isoTime(3).isEmpty());
}

TEST(RecordStatistics, TimesOutOfOrderOrUnreadable) {
    // A clock set back during the record: first and last are the earliest and latest times; a time
    // that does not read counts in the whole record but lies in no bounded range.
    const auto store = storeWith({{"08:00:00", "1.000000", "1.000000"},
                                  {"07:00:00", "2.000000", "2.000000"},
                                  {"xx", "3.000000", "3.000000"},
                                  {"09:30:00", "4.000000", "4.000000"}});
    const TRecordSamples samples(*store, QLocale::c());
    const TRecordStatistics whole = samples.whole();
    EXPECT_EQ(whole.Count, 4);
    EXPECT_EQ(whole.FirstRow, 1);
    EXPECT_EQ(whole.LastRow, 3);
    EXPECT_DOUBLE_EQ(whole.DurationSeconds, 9000.0);
    EXPECT_EQ(samples.between(at("00:00:00"), at("23:59:59")).Count, 3);
}

TEST(RecordStatistics, ReadsSampleTextsInFullPrecisionAsTheAnalysisExport) {
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German)}) {
        const TDisplayNumberReader reader(locale);
        EXPECT_EQ(HeldSampleValue(QStringLiteral("1234.567871"), reader, locale), 1234.567871);
        EXPECT_EQ(HeldSampleValue(QStringLiteral("1234,567"), reader, locale), 1234.567);
        EXPECT_EQ(HeldSampleValue(QStringLiteral("-0.500000"), reader, locale), -0.5);
        // What the table shows as 0 is 0 here too.
        for (const char* text : {"abc", "", "nan", "1e308", "-inf"})
            EXPECT_EQ(HeldSampleValue(QString::fromLatin1(text), reader, locale), 0.0) << text;
    }
}

TEST(RecordStatistics, ReadsIsoTimesOnTheRecordsClock) {
    EXPECT_DOUBLE_EQ(*RecordClockSeconds(QStringLiteral("2012-03-05T07:05:00")) -
                         *RecordClockSeconds(QStringLiteral("2012-03-04T07:05")),
                     86400.0);
    // The hour skipped at the change to summer time in Europe exists on the instrument's clock.
    EXPECT_TRUE(RecordClockSeconds(QStringLiteral("2012-03-25T02:30:00")).has_value());
    for (const char* bad : {"", "2012-03-05", "05.03.2012 07:05:00", "2012-13-05T07:05:00",
                            "2012-03-05T25:00:00", "2012-03-05T07:05:00Z", "tomorrow"})
        EXPECT_FALSE(RecordClockSeconds(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST(RecordStatistics, JsonHasNullsForAnEmptyRangeAndFiguresInPaAndLitresPerHour) {
    const auto store = storeWith({{"07:00:00", "1000.000000", "250.500000"}});
    const TRecordSamples samples(*store, QLocale::c());
    const QJsonObject empty = RecordStatisticsJson(samples.rows(1, 0), samples);
    EXPECT_EQ(empty.value(QStringLiteral("count")).toInt(-1), 0);
    for (const char* key : {"first", "last", "duration_seconds", "pressure", "flow"})
        EXPECT_TRUE(empty.value(QLatin1String(key)).isNull()) << key;

    const QJsonObject one = RecordStatisticsJson(samples.whole(), samples);
    EXPECT_EQ(one.value(QStringLiteral("first")).toString(), QStringLiteral("2012-03-05T07:00:00"));
    const QJsonObject flow = one.value(QStringLiteral("flow")).toObject();
    EXPECT_DOUBLE_EQ(flow.value(QStringLiteral("mean")).toDouble(), 250.5);
    EXPECT_DOUBLE_EQ(flow.value(QStringLiteral("std")).toDouble(-1), 0.0);
    EXPECT_EQ(flow.value(QStringLiteral("max_time")).toString(), QStringLiteral("2012-03-05T07:00:00"));
}

TEST(RecordStatistics, TextsInTheUsersUnits) {
    const auto store = storeWith(
        {{"07:00:00", "150000.000000", "1000.000000"}, {"09:00:05", "250000.000000", "3000.000000"}});
    const TRecordSamples samples(*store, QLocale::c());
    TUnits units;
    units.PressureUnit = 2; // kPa
    units.FlowUnit = 2;     // m3/h
    units.Locale = QLocale(QLocale::German, QLocale::Germany);
    const TStatisticsCells cells = StatisticsCells(samples.whole(), samples, units);
    EXPECT_EQ(cells.Duration, QStringLiteral("2:00:05"));
    EXPECT_EQ(cells.Pressure.Mean, QStringLiteral("200,0"));
    EXPECT_EQ(cells.Flow.Max, QStringLiteral("3,00"));
    EXPECT_EQ(cells.Flow.MaxTime, QStringLiteral("05.03.2012 09:00:05"));
    EXPECT_EQ(DurationText(50 * 3600 + 61), QStringLiteral("50:01:01"));

    const QString csv = QString::fromUtf8(RecordStatisticsCsv(samples.whole(), samples, units));
    EXPECT_TRUE(csv.contains(
        QStringLiteral("\r\npressure,kPa,2,2012-03-05T07:00:00,2012-03-05T09:00:05,7205,2,150,")))
        << qPrintable(csv);
    const QString text = RecordStatisticsText(samples.whole(), samples, units, EnglishOnly());
    EXPECT_TRUE(text.contains(QStringLiteral("Pressure [kPa]"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Duration:"))) << qPrintable(text);
}

TEST(RecordStatistics, PrintedLinesGiveEachQuantityItsChartsRange) {
    const auto store = storeWith({{"07:00:00", "1000.000000", "10.000000"},
                                  {"07:00:10", "2000.000000", "20.000000"},
                                  {"07:00:20", "6000.000000", "90.000000"}});
    const TRecordSamples samples(*store, QLocale::c());
    TUnits units;
    units.PressureUnit = 0;
    units.FlowUnit = 5;
    units.Locale = QLocale::c();
    const QStringList lines =
        ChartedRangeLines(samples.whole(), samples.visible(0.5, 1.5), samples, units, EnglishOnly());
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], QStringLiteral("Statistics of the charted range"));
    EXPECT_EQ(lines[1].simplified(), QStringLiteral("Pressure [Pa] Flow [l/h]"));
    EXPECT_EQ(lines[2].simplified(), QStringLiteral("Samples 3 1"));
    EXPECT_EQ(lines[4].simplified(), QStringLiteral("Last 05.03.2012 07:00:20 05.03.2012 07:00:10"));
    EXPECT_EQ(lines[8].simplified(), QStringLiteral("Mean 3000 20.0"));
    // The columns line up.
    EXPECT_EQ(lines[2].indexOf(u'3'), lines[1].indexOf(QStringLiteral("Pressure")));
}

} // namespace
