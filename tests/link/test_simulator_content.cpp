// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DeviceConfig.h"
#include "model/Translator.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "model/DecodeInstrumentRecords.h"
#include "records/RecordPresettings.h"
#include "model/RecordModel.h"

#include "simulator/DemoContent.h"
#include "simulator/SimulatedInstrument.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// A fresh instrument as the driver library creates it, read back through the program's own records.
struct DemoContentTest : ::testing::Test {
    TSimulatedInstrument instrument;
    DemoContentTest() { WriteDemoContent(instrument); }

    std::unique_ptr<TValveCatalogue> catalogue() const {
        auto result = std::make_unique<TValveCatalogue>();
        std::memset(result.get(), 0, sizeof(TValveCatalogue));
        EXPECT_TRUE(instrument.readData(ManufacturerHeaderAddress, result.get(), 17));
        const int m = result->ManufacturerCount;
        EXPECT_TRUE(instrument.readData(ManufacturerNamesAddress, result->ManufacturerNames, m * 16));
        int v = 0;
        for (int i = 0; i < m && i < 16; ++i)
            v += result->TypeCounts[i];
        EXPECT_TRUE(instrument.readData(ValvesAddress, result->Valves, v * 126));
        return result;
    }

    // The record bytes as the program collects them: 52-byte steps up to the first end mark.
    std::vector<std::uint8_t> recordArea() const {
        std::vector<std::uint8_t> bytes;
        for (std::uint32_t address = RecordAreaStart; address < RecordAreaEnd; address += RecordStep) {
            std::uint8_t step[RecordStep];
            EXPECT_TRUE(instrument.readData(address, step, RecordStep));
            if (std::all_of(step, step + RecordEndMarkBytes, [](std::uint8_t b) { return b == 0xFF; }))
                break;
            bytes.insert(bytes.end(), step, step + RecordStep);
        }
        return bytes;
    }
};

TEST_F(DemoContentTest, ConfigurationHoldsOneProjectInCodePage3) {
    TDeviceConfig config;
    ASSERT_TRUE(instrument.readConfig(ConfigAddress, &config, sizeof config));
    EXPECT_EQ(int{config.InstrumentCodePage}, 3);
    EXPECT_EQ(int{config.ActiveProject}, 0);
    EXPECT_EQ(int{config.ProjectCount}, 1);
}

TEST_F(DemoContentTest, CatalogueHasManufacturersWithAndWithoutPresetting) {
    const auto read = catalogue();
    const auto demo = DemoCatalogue();
    ASSERT_GE(ManufacturerCountOf(*read), 4);
    ASSERT_EQ(ManufacturerCountOf(*read), static_cast<int>(demo.size()));
    int withPresetting = 0;
    int without = 0;
    for (int m = 0; m < ManufacturerCountOf(*read); ++m) {
        EXPECT_EQ(ManufacturerNameAt(*read, m, 3), QString::fromStdString(demo[m].Name).left(16));
        ASSERT_EQ(TypeCountOf(*read, m), static_cast<int>(demo[m].Valves.size()));
        EXPECT_GE(TypeCountOf(*read, m), 2);
        for (int t = 0; t < TypeCountOf(*read, m); ++t) {
            const TValve& valve = read->Valves[FirstValveOf(*read, m) + t];
            EXPECT_EQ(ValveNameAt(*read, FirstValveOf(*read, m) + t, 3),
                      QString::fromStdString(demo[m].Valves[t].Name));
            if (KindHasPresetting(valve.Kind)) {
                ++withPresetting;
                EXPECT_LT(float{valve.PresettingMin}, float{valve.PresettingMax});
            } else {
                ++without;
            }
        }
    }
    EXPECT_GT(withPresetting, 0);
    EXPECT_GE(without, 3);
}

TEST_F(DemoContentTest, ProjectNamesCatalogueValvesWithPlausibleValues) {
    TProjectHeader header;
    ASSERT_TRUE(instrument.readConfig(ProjectHeaderAddress, &header, sizeof header));
    const int count = header.Branch_Count;
    ASSERT_EQ(count, 12);
    EXPECT_STREQ(reinterpret_cast<const char*>(header.Name), "Demo school");
    std::vector<TBranch> branches(count);
    ASSERT_TRUE(instrument.readConfig(BranchesAddress, branches.data(), count * 78));

    const auto read = catalogue();
    int unmeasured = 0;
    for (const TBranch& branch : branches) {
        const int valveIndex = branch.Valve_Index;
        ASSERT_TRUE(IsKnownValve(*read, valveIndex));
        const TValve& valve = read->Valves[valveIndex];
        std::vector<std::uint8_t> record(reinterpret_cast<const std::uint8_t*>(&valve),
                                         reinterpret_cast<const std::uint8_t*>(&valve) + 126);
        EXPECT_EQ(int{branch.Valve_Chksm}, ValveCheckValue(record));
        EXPECT_GT(double{branch.Request_Flow}, 0.0);
        for (const double presetting : {double{branch.Initial_Presetting}, double{branch.Final_Presetting}}) {
            if (!KindHasPresetting(valve.Kind))
                EXPECT_EQ(presetting, PresettingNone);
            else if (presetting != PresettingEmpty)
                EXPECT_TRUE(IsPresettingInRange(presetting, valve)) << presetting;
        }
        for (const double flow : {double{branch.Initial_Flow}, double{branch.Final_Flow}})
            EXPECT_TRUE(flow == NoValue || IsValidFlow(flow));
        for (const double pressure : {double{branch.Initial_Pressure}, double{branch.Final_Pressure}})
            EXPECT_TRUE(pressure == NoValue || IsValidPressure(pressure));
        unmeasured += double{branch.Final_Flow} == NoValue ? 1 : 0;
    }
    EXPECT_GT(unmeasured, 0);
}

// The record area decodes, through the program's decoder, into exactly the records the demo means.
TEST_F(DemoContentTest, RecordAreaDecodesIntoTheDemoRecords) {
    const auto bytes = recordArea();
    ASSERT_FALSE(bytes.empty());
    TRecordStore store;
    TUnits units;
    units.Locale = QLocale::c();
    const TIdentityTranslator english;
    DecodeInstrumentRecords(store, bytes.data(), bytes.size(), 3);
    WordPresettings(store, units, english);

    const auto demo = DemoRecords();
    ASSERT_GE(demo.size(), 3u);
    ASSERT_EQ(store.RecordCount, static_cast<int>(demo.size()));
    int sample = 0;
    for (int r = 0; r < store.RecordCount; ++r) {
        const TDemoRecord& want = demo[r];
        const TZaznam& got = store.RecordHeaders[r];
        EXPECT_EQ(got.Description, QString::fromStdString(want.Description));
        EXPECT_EQ(got.Valve_Manufacturer, QString::fromStdString(want.Manufacturer));
        EXPECT_EQ(got.Valve_Type, QString::fromStdString(want.Type));
        EXPECT_EQ(got.Presetting, units.FormatPresetting(want.Presetting, english));
        EXPECT_EQ(got.Medium_Index, want.Medium);
        EXPECT_EQ(got.Temperature, want.Temperature);
        EXPECT_EQ(got.Concentration, want.Concentration);
        ASSERT_GE(want.Samples.size(), 8u);
        const TDemoSample& firstSample = want.Samples.front();
        const TDemoSample& lastSample = want.Samples.back();
        EXPECT_GE((lastSample.Hour * 60 + lastSample.Minute) - (firstSample.Hour * 60 + firstSample.Minute),
                  120)
            << "a few hours of samples";
        for (const TDemoSample& s : want.Samples) {
            ASSERT_LT(sample, store.SampleCount);
            const TZaznamData& d = store.Samples[sample++];
            EXPECT_EQ(d.RecordIndex, r);
            EXPECT_EQ(d.Date, QString::asprintf("%02i.%02i.%04i", s.Day, s.Month, want.Year));
            EXPECT_EQ(d.Time, QString::asprintf("%02i:%02i:%02i", s.Hour, s.Minute, s.Second));
            EXPECT_EQ(d.Pressure, QString::asprintf("%f", double{s.Pressure}));
            EXPECT_EQ(d.Flow, QString::asprintf("%f", double{s.Flow}));
        }
    }
    EXPECT_EQ(store.SampleCount, sample);
}

// Content that does not fit the instrument is refused whole.
TEST(DemoContentWriters, RefuseWhatDoesNotFit) {
    TSimulatedInstrument instrument;
    const TSimulatedInstrument before;
    const TDemoValve valve{"V", 0, 0.0f, 1.0f};
    std::vector<TDemoManufacturer> tooMany(17, TDemoManufacturer{"M", {valve}});
    EXPECT_FALSE(WriteCatalogue(instrument, tooMany));
    std::vector<TDemoManufacturer> tooManyValves(4,
                                                 TDemoManufacturer{"M", std::vector<TDemoValve>(251, valve)});
    EXPECT_FALSE(WriteCatalogue(instrument, tooManyValves));
    EXPECT_FALSE(WriteCatalogue(instrument, {TDemoManufacturer{"M", std::vector<TDemoValve>(256, valve)}}));
    EXPECT_FALSE(WriteProject(instrument, {"P", "", {TDemoBranch{"B", 1, 0, 0, 0, 0, 0, 0, 0}}},
                              {TDemoManufacturer{"M", {valve}}}));
    EXPECT_FALSE(WriteProject(instrument,
                              {"P", "", std::vector<TDemoBranch>(1501, {"B", 0, 0, 0, 0, 0, 0, 0, 0})},
                              {TDemoManufacturer{"M", {valve}}}));
    EXPECT_FALSE(WriteRecordArea(instrument, std::vector<std::uint8_t>(6301 * 52 + 1, 0)));
    EXPECT_TRUE(std::ranges::equal(instrument.configMemory(), before.configMemory()));
    EXPECT_TRUE(std::ranges::equal(instrument.dataMemory(), before.dataMemory()));

    // The largest catalogue and record area still fit, the area's end mark within the steps read.
    EXPECT_TRUE(WriteCatalogue(
        instrument,
        std::vector<TDemoManufacturer>(16, TDemoManufacturer{"M", std::vector<TDemoValve>(62, valve)})));
    ASSERT_TRUE(WriteRecordArea(instrument, std::vector<std::uint8_t>(6301 * 52, 0)));
    std::uint8_t step[52];
    ASSERT_TRUE(instrument.readData(RecordAreaStart + 6301 * 52, step, 52));
    EXPECT_EQ(step[0], 0xFF);
    EXPECT_EQ(step[5], 0xFF);
}

} // namespace
