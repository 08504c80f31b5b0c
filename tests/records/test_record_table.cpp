// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedTranslator.h"
#include "model/Units.h"
#include "records/RecordHeaderView.h"
#include "model/RecordModel.h"
#include "records/RecordTable.h"

#include <gtest/gtest.h>

namespace {

const TFixedTranslator german({{"Date", "Datum"},
                               {"Time", "Zeit"},
                               {"Pressure", "Druck"},
                               {"Flow", "Durchfluss"},
                               {"Water", "Wasser"},
                               {"Propylenglykol", "Propylenglykol (de)"}});

TUnits germanKpaAndLitres() {
    TUnits units;
    units.FlowUnit = 5;     // l/h
    units.PressureUnit = 2; // kPa
    units.Locale = QLocale(QLocale::German, QLocale::Germany);
    return units;
}

TZaznamData sampleOf(int record, const char* date, const char* pressure, const char* flow) {
    return {record, QString::fromLatin1(date), QStringLiteral("07:04:09"), QString::fromLatin1(pressure),
            QString::fromLatin1(flow)};
}

QStringList rowOf(const TTextTable& table, int row) {
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c)
        cells << table.cell(c, row);
    return cells;
}

TEST(RecordTable, ShowsOnlyTheCurrentRecordInDisplayUnits) {
    TRecordStore store;
    store.Samples[0] = sampleOf(0, "01.01.2012", "1.000000", "1.000000");
    store.Samples[1] = sampleOf(1, "02.01.2012", "1500.000000", "120.000000");
    store.Samples[2] = sampleOf(-1, "03.01.2012", "1.000000", "1.000000");
    store.Samples[3] = sampleOf(1, "04.01.2012", "3000000.000000", "2.500000"); // pressure out of range
    store.Samples[4] = sampleOf(1, "05.01.2012", "0.000000", "0.000000");       // beyond SampleCount
    store.SampleCount = 4;
    store.CurrentRecord = 1;

    std::int32_t shown = -1;
    const TTextTable table = BuildRecordTable(store, germanKpaAndLitres(), german, &shown);
    EXPECT_EQ(shown, 2);
    ASSERT_EQ(table.rowCount(), 3);
    ASSERT_EQ(table.columnCount(), 4);
    EXPECT_EQ(rowOf(table, 0), (QStringList{"Datum", "Zeit", "Druck [kPa]", "Durchfluss [l/h]"}));
    EXPECT_EQ(rowOf(table, 1), (QStringList{"02.01.2012", "07:04:09", "1,5", "120,0"}));
    EXPECT_EQ(rowOf(table, 2), (QStringList{"04.01.2012", "07:04:09", "-----", "2,5"}));
}

TEST(RecordTable, WithoutSamplesOfTheCurrentRecordOneEmptyRow) {
    TRecordStore none;
    TRecordStore others;
    others.Samples[0] = sampleOf(0, "01.01.2012", "1.000000", "1.000000");
    others.SampleCount = 1;
    others.CurrentRecord = 3;
    // A count no table can hold must not be trusted.
    TRecordStore corrupt;
    corrupt.SampleCount = MaxSamples + 100;
    corrupt.CurrentRecord = 7;
    for (const TRecordStore* store : {&none, &others, &corrupt}) {
        std::int32_t shown = -1;
        const TTextTable table = BuildRecordTable(*store, germanKpaAndLitres(), german, &shown);
        EXPECT_EQ(shown, 0);
        ASSERT_EQ(table.rowCount(), 2);
        EXPECT_EQ(table.cell(0, 0), QStringLiteral("Datum"));
        EXPECT_EQ(rowOf(table, 1), (QStringList{"", "", "", ""}));
    }
}

TEST(RecordHeaderView, GlycolShowsConcentrationAndTemperature) {
    TZaznam header{"Riser", "Maker", "Type", "2,50", 0, 30, 65};
    const auto water = RecordHeaderFields(header, german);
    ASSERT_EQ(water.size(), 5);
    EXPECT_EQ(water[4].Value, QStringLiteral("Wasser"));
    EXPECT_EQ(water[1].Value, QStringLiteral("Maker"));
    EXPECT_EQ(water[2].Value, QStringLiteral("Type"));

    header.Medium_Index = 2;
    const auto glycol = RecordHeaderFields(header, german);
    ASSERT_EQ(glycol.size(), 7);
    EXPECT_EQ(glycol[4].Value, QStringLiteral("Propylenglykol (de)"));
    EXPECT_EQ(glycol[5].Value, QStringLiteral("30"));
    EXPECT_EQ(glycol[6].Value, QStringLiteral("65"));

    header.Medium_Index = 9;
    EXPECT_EQ(RecordHeaderFields(header, german)[4].Value, QStringLiteral("Wasser"));
}

} // namespace
