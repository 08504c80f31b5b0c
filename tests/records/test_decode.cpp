// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedTranslator.h"
#include "RecordArea.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/ChooseDeviceRecord.h"
#include "records/RecordPresettings.h"
#include "model/DecodeInstrumentRecords.h"
#include "model/RecordModel.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TUnits unitsIn(const QLocale& locale) {
    TUnits units;
    units.Locale = locale;
    return units;
}

const TIdentityTranslator english;
const TUnits pointUnits = unitsIn(QLocale::c());

// A heap copy of exactly the area's bytes, so that a read past the end is caught by the sanitizers;
// the presettings worded as the record read does.
void decode(TRecordStore& store, const std::vector<std::uint8_t>& bytes, int codePage = 0,
            const TUnits& units = pointUnits, const ITranslator& translator = english) {
    auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    DecodeInstrumentRecords(store, exact.get(), bytes.size(), codePage);
    WordPresettings(store, units, translator);
}

TEST(DecodeInstrumentRecords, HeadersSamplesAndFillers) {
    TRecordArea area;
    area.filler(3).sample(1.0f, 1.0f); // before any header: never shown
    area.header("Riser A", "Maker\x10Type 15", 2.5f, 2012, 2, 65, 30);
    area.sample(1234.5f, 250.25f).filler(2).sample(-3.0f, 0.0f, 31, 12, 23, 59, 58).sample(0.0f, 0.0f);
    area.filler(1, 0).header("Riser B", "Plain", -1.0f, 2013, 7).sample(1.0f, 2.0f).sample(1, 2).sample(1, 2);

    TRecordStore store;
    decode(store, area.Bytes);

    ASSERT_EQ(store.RecordCount, 2);
    ASSERT_EQ(store.SampleCount, 7);
    const std::vector<int> owners = {-1, 0, 0, 0, 1, 1, 1};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(store.Samples[i].RecordIndex, owners[i]) << i;
    EXPECT_EQ(store.Samples[0].Date, QStringLiteral("05.03.0000"));

    const TZaznamData& first = store.Samples[1];
    EXPECT_EQ(first.Date, QStringLiteral("05.03.2012"));
    EXPECT_EQ(first.Time, QStringLiteral("07:04:09"));
    EXPECT_EQ(first.Pressure, QStringLiteral("1234.500000"));
    EXPECT_EQ(first.Flow, QStringLiteral("250.250000"));
    EXPECT_EQ(store.Samples[2].Date, QStringLiteral("31.12.2012"));
    EXPECT_EQ(store.Samples[2].Time, QStringLiteral("23:59:58"));
    EXPECT_EQ(store.Samples[2].Pressure, QStringLiteral("-3.000000"));
    EXPECT_EQ(store.Samples[4].Date, QStringLiteral("05.03.2013"));

    const TZaznam& a = store.RecordHeaders[0];
    EXPECT_EQ(a.Description, QStringLiteral("Riser A"));
    EXPECT_EQ(a.Valve_Manufacturer, QStringLiteral("Maker"));
    EXPECT_EQ(a.Valve_Type, QStringLiteral("Type 15"));
    EXPECT_EQ(a.Presetting, QStringLiteral("2.50"));
    EXPECT_EQ(a.Medium_Index, 2);
    EXPECT_EQ(a.Temperature, 65);
    EXPECT_EQ(a.Concentration, 30);

    const TZaznam& b = store.RecordHeaders[1];
    EXPECT_EQ(b.Valve_Manufacturer, QString());
    EXPECT_EQ(b.Valve_Type, QStringLiteral("Plain"));
    EXPECT_EQ(b.Medium_Index, 7);
    EXPECT_EQ(store.CurrentHeader, b);
}

TEST(DecodeInstrumentRecords, HeaderTexts) {
    struct Case {
        const char* name;
        std::string description;
        int table;
        int codePage;
        std::string valve;
        QString wantDescription;
        QString wantManufacturer;
        QString wantType;
    };
    const Case cases[] = {
        {"sixteen bytes, no terminator",
         "ABCDEFGHIJKLMNOP",
         0,
         0,
         "V",
         QStringLiteral("ABCDEFGHIJKLMNOP"),
         {},
         QStringLiteral("V")},
        {"description in its own table",
         "\xC8x",
         0,
         10,
         "\xC8",
         QStringLiteral("Čx"),
         {},
         QStringLiteral("È")},
        {"valve in the code page", "\xC8", 10, 0, "M\xC8\x10T", QStringLiteral("È"), QStringLiteral("MČ"),
         QStringLiteral("T")},
        {"split at the first mark only", "d", 0, 0,
         "A\x10"
         "B\x10"
         "C",
         QStringLiteral("d"), QStringLiteral("A"),
         QStringLiteral("B\x10"
                        "C")},
        {"32 valve bytes, no terminator",
         "d",
         0,
         0,
         std::string(32, 'v'),
         QStringLiteral("d"),
         {},
         QString(32, u'v')},
    };
    for (const Case& c : cases) {
        TRecordStore store;
        decode(store, TRecordArea().header(c.description, c.valve, 0, 2012, 0, 0, 0, c.table).Bytes,
               c.codePage);
        ASSERT_EQ(store.RecordCount, 1) << c.name;
        EXPECT_EQ(store.RecordHeaders[0].Description, c.wantDescription) << c.name;
        EXPECT_EQ(store.RecordHeaders[0].Valve_Manufacturer, c.wantManufacturer) << c.name;
        EXPECT_EQ(store.RecordHeaders[0].Valve_Type, c.wantType) << c.name;
    }
}

TEST(DecodeInstrumentRecords, PresettingTexts) {
    const TFixedTranslator german({{QStringLiteral("None"), QStringLiteral("Keine")}});
    const TUnits commaUnits = unitsIn(QLocale(QLocale::German, QLocale::Germany));
    const struct {
        float stored;
        QString shown;
    } cases[] = {{-1000.0f, QString()},
                 {-1.0f, QStringLiteral("Keine")},
                 {2.5f, QStringLiteral("2,50")},
                 {0.0f, QStringLiteral("0,00")}};
    for (const auto& c : cases) {
        TRecordStore store;
        decode(store, TRecordArea().header("d", "v", c.stored).Bytes, 0, commaUnits, german);
        // The decoder keeps the value; the text is the records' wording of it, in both copies.
        EXPECT_EQ(store.RecordHeaders[0].PresettingValue, static_cast<double>(c.stored));
        EXPECT_EQ(store.RecordHeaders[0].Presetting, c.shown) << c.stored;
        EXPECT_EQ(store.CurrentHeader.Presetting, c.shown) << c.stored;
    }
    // An area without records leaves the shown record's text as it was, e.g. one from a file.
    TRecordStore store;
    store.CurrentHeader.Presetting = QStringLiteral("2,50");
    decode(store, TRecordArea().filler(5).Bytes, 0, commaUnits, german);
    EXPECT_EQ(store.RecordCount, 0);
    EXPECT_EQ(store.CurrentHeader.Presetting, QStringLiteral("2,50"));
}

TEST(DecodeInstrumentRecords, BlocksCutOffByTheEndAreNotDecoded) {
    const std::vector<std::uint8_t> whole = TRecordArea().header("one", "v").sample(5, 6).Bytes;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int headers;
        int samples;
    };
    std::vector<std::uint8_t> cutSample = whole;
    cutSample.pop_back();
    std::vector<std::uint8_t> cutHeader =
        TRecordArea().header("one", "v").sample(5, 6).header("two", "v").Bytes;
    cutHeader.pop_back();
    const Case cases[] = {
        {"whole", whole, 1, 1},
        {"sample one byte short", cutSample, 1, 0},
        {"second header one byte short", cutHeader, 1, 1},
        {"a lone header marker", {30}, 0, 0},
        {"a lone sample marker", {31}, 0, 0},
        {"nothing", {}, 0, 0},
    };
    for (const Case& c : cases) {
        TRecordStore store;
        store.RecordCount = 9;
        store.SampleCount = 9;
        decode(store, c.bytes);
        EXPECT_EQ(store.RecordCount, c.headers) << c.name;
        EXPECT_EQ(store.SampleCount, c.samples) << c.name;
    }
}

TEST(DecodeInstrumentRecords, KeepsWithinTheTables) {
    TRecordArea manyHeaders;
    for (int i = 0; i < MaxRecordHeaders + 2; ++i)
        manyHeaders.header("h" + std::to_string(i), "v").sample(static_cast<float>(i), 0);
    TRecordStore store;
    decode(store, manyHeaders.Bytes);
    EXPECT_EQ(store.RecordCount, MaxRecordHeaders);
    // The samples of dropped headers are dropped too, not given to the last header kept.
    EXPECT_EQ(store.SampleCount, MaxRecordHeaders);
    EXPECT_EQ(store.Samples[MaxRecordHeaders - 1].RecordIndex, MaxRecordHeaders - 1);
    EXPECT_EQ(store.Samples[MaxRecordHeaders - 1].Pressure, QStringLiteral("2100.000000"));
    EXPECT_EQ(store.CurrentHeader.Description, QStringLiteral("h2100"));

    TRecordArea manySamples;
    manySamples.header("one", "v");
    for (int i = 0; i < MaxSamples + 5; ++i)
        manySamples.sample(static_cast<float>(i), 0);
    TRecordStore store2;
    decode(store2, manySamples.Bytes);
    EXPECT_EQ(store2.SampleCount, MaxSamples);
    EXPECT_EQ(store2.Samples[MaxSamples - 1].Pressure, QStringLiteral("21000.000000"));
}

TEST(ChooseDeviceRecord, ChoiceCancelAndAnswersOutsideTheList) {
    TRecordStore store;
    decode(store,
           TRecordArea().header("first", "M\x10T").header("second", "v", -1000).header("third", "v").Bytes);
    store.CurrentRecord = 2;
    const TZaznam before = store.CurrentHeader;

    QStringList offered;
    const auto answer = [&offered](std::optional<int> choice) {
        return [&offered, choice](const QStringList& captions) {
            offered = captions;
            return choice;
        };
    };
    for (const std::optional<int> refused :
         {std::optional<int>(), std::optional<int>(-1), std::optional<int>(3)}) {
        EXPECT_FALSE(ChooseDeviceRecord(store, answer(refused)));
        EXPECT_EQ(store.CurrentRecord, 2);
        EXPECT_EQ(store.CurrentHeader, before);
    }
    EXPECT_EQ(offered, (QStringList{"first", "second", "third"}));

    ASSERT_TRUE(ChooseDeviceRecord(store, answer(0)));
    EXPECT_EQ(store.CurrentRecord, 0);
    EXPECT_EQ(store.CurrentHeader, store.RecordHeaders[0]);
    EXPECT_EQ(store.CurrentHeader.Valve_Type, QStringLiteral("T"));
}

} // namespace
