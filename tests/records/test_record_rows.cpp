// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedTranslator.h"
#include "model/Units.h"
#include "model/RecordModel.h"
#include "records/RecordRows.h"
#include "records/RecordTable.h"

#include <gtest/gtest.h>

namespace {

TZaznamData sampleOf(int record, const char* time, const char* pressure, const char* flow) {
    return {record, QStringLiteral("05.03.2012"), QString::fromLatin1(time), QString::fromLatin1(pressure),
            QString::fromLatin1(flow)};
}

bool sameCells(const TTextTable& a, const TTextTable& b) {
    if (a.rowCount() != b.rowCount() || a.columnCount() != b.columnCount())
        return false;
    for (int r = 0; r < a.rowCount(); ++r)
        for (int c = 0; c < a.columnCount(); ++c)
            if (a.cell(c, r) != b.cell(c, r))
                return false;
    return true;
}

TUnits unitsOf(int flowUnit, int pressureUnit, const QLocale& locale) {
    TUnits units;
    units.FlowUnit = flowUnit;
    units.PressureUnit = pressureUnit;
    units.Locale = locale;
    return units;
}

// The rows a view asks for one by one are the cells of the records table, whatever the units,
// the locale and the values.
TEST(RecordRows, CellForCellTheRecordsTable) {
    TRecordStore store;
    store.Samples[0] = sampleOf(1, "07:00:00", "1234.500000", "250.125000");
    store.Samples[1] = sampleOf(0, "07:00:01", "1.000000", "1.000000");
    store.Samples[2] = sampleOf(1, "07:00:02", "3000000.000000", "-5.000000"); // out of range
    store.Samples[3] = sampleOf(1, "07:00:03", "-9999999.000000", "0.000000"); // no value
    store.Samples[4] = sampleOf(1, "07:00:04", "12,5", "text");                // a comma, no number
    store.Samples[5] = sampleOf(-1, "07:00:05", "7.000000", "7.000000");
    store.SampleCount = 6;
    store.CurrentRecord = 1;
    TRecordStore none;
    TRecordStore others = store;
    others.CurrentRecord = 4;

    const TFixedTranslator german({{"Date", "Datum"}, {"Pressure", "Druck"}});
    const TIdentityTranslator english;
    const QLocale de(QLocale::German, QLocale::Germany);
    const struct {
        const TRecordStore* store;
        TUnits units;
        const ITranslator* translator;
    } cases[] = {
        {&store, unitsOf(5, 0, QLocale::c()), &english}, {&store, unitsOf(2, 2, de), &german},
        {&store, unitsOf(8, 10, de), &english},          {&none, unitsOf(5, 0, QLocale::c()), &german},
        {&others, unitsOf(1, 5, de), &english},
    };
    for (const auto& c : cases) {
        std::int32_t shown = -1;
        const TTextTable table = BuildRecordTable(*c.store, c.units, *c.translator, &shown);
        const TRecordRows rows(*c.store, c.units, *c.translator);
        EXPECT_EQ(rows.sampleRows(), shown);
        EXPECT_EQ(rows.rowCount(), table.rowCount());
        EXPECT_EQ(rows.columnCount(), table.columnCount());
        EXPECT_TRUE(sameCells(rows.toTextTable(), table)) << c.units.FlowUnit << ' ' << c.units.PressureUnit;
        EXPECT_EQ(rows.cell(4, 1), QString());
        EXPECT_EQ(rows.cell(0, rows.rowCount()), QString());
    }
}

TEST(RecordRows, KeepTheSamplesOfTheirDisplay) {
    TRecordStore store;
    store.Samples[0] = sampleOf(0, "07:00:00", "1000.000000", "20.000000");
    store.Samples[1] = sampleOf(0, "07:00:09", "2000.000000", "40.000000");
    store.SampleCount = 2;
    TUnits units = unitsOf(5, 0, QLocale::c());
    const TRecordRows rows(store, units, TIdentityTranslator());

    store.Samples[0].Pressure = QStringLiteral("5.000000");
    store.SampleCount = 0;
    units.PressureUnit = 2;
    EXPECT_EQ(rows.cell(2, 0), QStringLiteral("Pressure [Pa]"));
    EXPECT_EQ(rows.cell(2, 1), QStringLiteral("1000"));
    EXPECT_EQ(rows.label(1), QStringLiteral("05.03.2012 07:00:09"));
    EXPECT_EQ(rows.label(2), QString());

    const TRecordRows empty;
    EXPECT_EQ(empty.rowCount(), 2);
    EXPECT_EQ(empty.cell(0, 0), QStringLiteral("Date"));
    EXPECT_EQ(empty.cell(0, 1), QString());
}

} // namespace
