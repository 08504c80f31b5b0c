// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedTranslator.h"
#include "model/Units.h"
#include "records/ChartTicks.h"
#include "records/ChartTitle.h"
#include "records/ChartZoom.h"
#include "records/RecordChartData.h"
#include "model/RecordModel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TidyTitle, CutsTrailingBlanksAndHalvesInnerRuns) {
    const struct {
        const char* text;
        const char* title;
    } cases[] = {
        {"Riser 1   ", "Riser 1"},
        {"a  b", "a b"},
        {"a   b", "a  b"},
        {"a    b", "a  b"},
        {"a     b", "a   b"},
        {"  lead", " lead"},
        {"   ", "  "}, // blanks only: not cut, but halved
        {"", ""},
        {"x", "x"},
        {"a\tb ", "a\tb"}, // only blanks count
    };
    for (const auto& c : cases)
        EXPECT_EQ(TidyTitle(QString::fromLatin1(c.text)), QString::fromLatin1(c.title))
            << '"' << c.text << '"';
}

TEST(ChartZoom, MovesBothEndsByThePercentOfTheRange) {
    const TAxisRange in = ZoomRange({0.0, 100.0}, ZoomInPercent);
    EXPECT_DOUBLE_EQ(in.Min, 20.0);
    EXPECT_DOUBLE_EQ(in.Max, 80.0);
    const TAxisRange out = ZoomRange(in, ZoomOutPercent);
    EXPECT_DOUBLE_EQ(out.Min, 10.0);
    EXPECT_DOUBLE_EQ(out.Max, 90.0);
    // A range below zero and an empty one.
    EXPECT_DOUBLE_EQ(ZoomRange({-1000.0, 2000.0}, ZoomInPercent).Min, -400.0);
    EXPECT_EQ(ZoomRange({-0.5, -0.5}, ZoomInPercent), (TAxisRange{-0.5, -0.5}));
}

TEST(ChartZoom, UndoGivesTheLimitsBeforeTheFirstStep) {
    TChartZoom zoom;
    EXPECT_FALSE(zoom.undo().has_value());
    const TChartLimits shown{{-0.5, 9.5}, {0.0, 100.0}};
    TChartLimits limits = zoom.zoom(shown, ZoomInPercent);
    EXPECT_DOUBLE_EQ(limits.X.Min, 1.5);
    EXPECT_DOUBLE_EQ(limits.X.Max, 7.5);
    limits = zoom.zoom(limits, ZoomInPercent);
    EXPECT_TRUE(zoom.isZoomed());
    EXPECT_EQ(zoom.undo(), shown);
    EXPECT_FALSE(zoom.isZoomed());
    EXPECT_FALSE(zoom.undo().has_value());

    // Zoomed out until the range would overflow, then in again: always finite, min below max.
    limits = shown;
    for (int i = 0; i < 3000; ++i)
        limits = zoom.zoom(limits, ZoomOutPercent);
    for (int i = 0; i < 3000; ++i)
        limits = zoom.zoom(limits, ZoomInPercent);
    for (const TAxisRange& axis : {limits.X, limits.Y}) {
        EXPECT_TRUE(std::isfinite(axis.Min) && std::isfinite(axis.Max));
        EXPECT_LE(axis.Min, axis.Max);
    }
    EXPECT_EQ(zoom.undo(), shown);
}

TEST(ChartTicks, RoundIntervalsWithinTheTickCount) {
    const struct {
        TAxisRange range;
        double interval;
        int decimals;
    } cases[] = {
        {{0, 3000}, 500, 0},      {{-1000, 2000}, 500, 0}, {{4000, 6000}, 200, 0},  {{0, 60}, 10, 0},
        {{0, 1}, 0.1, 1},         {{-1, 2}, 0.5, 1},       {{0.3, 0.33}, 0.005, 3}, {{1e6, 1e6 + 7}, 1, 0},
        {{-0.02, 0.04}, 0.01, 2}, {{0, 2.5e7}, 5e6, 0},
    };
    for (const auto& c : cases) {
        const auto ticks = AxisTicks(c.range, 10);
        ASSERT_TRUE(ticks.has_value()) << c.range.Min << ' ' << c.range.Max;
        EXPECT_DOUBLE_EQ(ticks->Interval, c.interval) << c.range.Min << ' ' << c.range.Max;
        EXPECT_EQ(ticks->Decimals, c.decimals) << c.range.Min << ' ' << c.range.Max;
        EXPECT_LE((c.range.Max - c.range.Min) / ticks->Interval, 10.0);
    }
    // Nothing to divide: the caller keeps the two ends only.
    for (const TAxisRange empty : {TAxisRange{-0.5, -0.5}, TAxisRange{2, 1}, TAxisRange{0, qInf()}})
        EXPECT_FALSE(AxisTicks(empty, 10).has_value());
}

TZaznamData sample(int record, const char* pressure, const char* flow, const char* time = "07:04:09") {
    return {record, QStringLiteral("05.03.2012"), QString::fromLatin1(time), QString::fromLatin1(pressure),
            QString::fromLatin1(flow)};
}

TUnits unitsOf(int flowUnit, int pressureUnit) {
    TUnits units;
    units.FlowUnit = flowUnit;
    units.PressureUnit = pressureUnit;
    units.Locale = QLocale(QLocale::German, QLocale::Germany);
    return units;
}

const TUnits litresAndPascal = unitsOf(5, 0);
const TFixedTranslator german({{"Pressure", "Druck"}, {"Flow", "Durchfluss"}});

TEST(RecordChartData, OnlyTheCurrentRecordFromXZero) {
    TRecordStore store;
    store.Samples[0] = sample(0, "100.000000", "1.000000");
    store.Samples[1] = sample(1, "1000.000000", "20.000000", "08:00:00");
    store.Samples[2] = sample(0, "300.000000", "3.000000");
    store.Samples[3] = sample(1, "2000.000000", "40.000000", "08:00:10");
    store.Samples[4] = sample(1, "9000.000000", "90.000000"); // beyond SampleCount
    store.SampleCount = 4;
    store.CurrentRecord = 1;

    const TRecordChartData data = BuildRecordChartData(store, litresAndPascal, german);
    EXPECT_TRUE(data.SetsLimits);
    EXPECT_EQ(data.ShownRows, 2);
    EXPECT_EQ(data.Pressure.Points, (QList<QPointF>{{0, 1000}, {1, 2000}}));
    EXPECT_EQ(data.Flow.Points, (QList<QPointF>{{0, 20}, {1, 40}}));
    EXPECT_EQ(data.XAxis, (TAxisRange{-0.5, 1.5}));
    // Three times the data range, centred on it.
    EXPECT_EQ(data.Pressure.ValueAxis, (TAxisRange{0.0, 3000.0}));
    EXPECT_EQ(data.Flow.ValueAxis, (TAxisRange{0.0, 60.0}));
    EXPECT_EQ(data.Pressure.AxisTitle, QStringLiteral("Druck [Pa]"));
    EXPECT_EQ(data.Flow.AxisTitle, QStringLiteral("Durchfluss [l/h]"));
}

TEST(RecordChartData, EmptyStoreKeepsTheLimitsOtherwiseTheSmallestSpans) {
    TRecordStore empty;
    const TRecordChartData none = BuildRecordChartData(empty, litresAndPascal, german);
    EXPECT_FALSE(none.SetsLimits);
    EXPECT_TRUE(none.Pressure.Points.isEmpty());
    EXPECT_EQ(none.Pressure.AxisTitle, QStringLiteral("Druck [Pa]"));

    TRecordStore others;
    others.Samples[0] = sample(1, "5000.000000", "50.000000");
    others.SampleCount = 1;
    others.CurrentRecord = 0;
    const struct {
        TUnits units;
        TAxisRange pressure;
        TAxisRange flow;
    } cases[] = {
        {litresAndPascal, {-1000.0, 2000.0}, {-10.0, 20.0}},
        // kPa and m3/h: the same spans converted.
        {unitsOf(2, 2),
         {-1000.0 * PressureFactor(2), 2000.0 * PressureFactor(2)},
         {-10.0 * FlowFactor(2), 20.0 * FlowFactor(2)}},
    };
    for (const auto& c : cases) {
        const TRecordChartData data = BuildRecordChartData(others, c.units, german);
        EXPECT_TRUE(data.SetsLimits);
        EXPECT_EQ(data.ShownRows, 0);
        EXPECT_TRUE(data.Flow.Points.isEmpty());
        EXPECT_EQ(data.XAxis, (TAxisRange{-0.5, -0.5}));
        EXPECT_DOUBLE_EQ(data.Pressure.ValueAxis.Min, c.pressure.Min);
        EXPECT_DOUBLE_EQ(data.Pressure.ValueAxis.Max, c.pressure.Max);
        EXPECT_DOUBLE_EQ(data.Flow.ValueAxis.Min, c.flow.Min);
        EXPECT_DOUBLE_EQ(data.Flow.ValueAxis.Max, c.flow.Max);
    }
}

TEST(RecordChartData, ValuesWithoutPointStillTakeTheirX) {
    TRecordStore store;
    store.Samples[0] = sample(0, "5000.000000", "50.000000");
    store.Samples[1] = sample(0, "3000000.000000", "-5.000000");  // both outside the valid range
    store.Samples[2] = sample(0, "-9999999.000000", "50.000000"); // no value measured: an empty cell
    store.Samples[3] = sample(0, "5000.000000", "50,000000");     // a comma reads too
    store.SampleCount = 4;

    const TRecordChartData data = BuildRecordChartData(store, litresAndPascal, german);
    EXPECT_EQ(data.ShownRows, 4);
    EXPECT_EQ(data.Pressure.Points, (QList<QPointF>{{0, 5000}, {3, 5000}}));
    EXPECT_EQ(data.Flow.Points, (QList<QPointF>{{0, 50}, {2, 50}, {3, 50}}));
    // Equal values: the smallest span either side.
    EXPECT_EQ(data.Pressure.ValueAxis, (TAxisRange{4000.0, 6000.0}));
    EXPECT_EQ(data.Flow.ValueAxis, (TAxisRange{40.0, 60.0}));
    EXPECT_EQ(data.XAxis, (TAxisRange{-0.5, 3.5}));
}

TEST(RecordChartData, PointsInTheDisplayUnitAsSinglePrecisionValues) {
    TRecordStore store;
    store.Samples[0] = sample(0, "1234.500000", "0.100000");
    store.SampleCount = 1;
    const TRecordChartData data = BuildRecordChartData(store, unitsOf(2, 2), german); // m3/h, kPa
    ASSERT_EQ(data.Pressure.Points.size(), 1);
    EXPECT_DOUBLE_EQ(data.Pressure.Points[0].y(), 1234.5 * PressureFactor(2));
    EXPECT_DOUBLE_EQ(data.Flow.Points[0].y(), static_cast<double>(0.1f) * FlowFactor(2));
}

TEST(RecordChartData, CountersBeyondTheTableAreClamped) {
    TRecordStore store;
    store.Samples.back() = sample(0, "100.000000", "1.000000");
    store.SampleCount = MaxSamples + 50;
    const TRecordChartData data = BuildRecordChartData(store, litresAndPascal, german);
    EXPECT_EQ(data.ShownRows, 1);
    EXPECT_EQ(data.Pressure.Points, (QList<QPointF>{{0, 100}}));
}

} // namespace
