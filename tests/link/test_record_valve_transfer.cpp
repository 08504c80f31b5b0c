// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingProgress.h"
#include "SimulatorDriver.h"

#include "commands/DeviceRecordRead.h"
#include "commands/DeviceUserInterface.h"
#include "link/Frame.h"
#include "link/LinkScope.h"
#include "link/MemoryMap.h"
#include "link/Pause.h"
#include "link/ValveTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "model/Units.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"
#include "model/RecordModel.h"
#include "simulator/DemoContent.h"
#include "commands/ScriptedUserInterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class TNoPause final : public IPause {
public:
    void pauseMs(int) override {}
};

struct TBench {
    TSimulatedInstrument Instrument;
    TSimulatorDriver Driver{Instrument};
    TNoPause Pause;
    TScriptedUserInterface Ui;
    TMessageCatalogue Catalogue{QString()};
    TDeviceUserInterface Events{Ui, Catalogue};
    TLinkGuard Guard;
    TUnits Units;

    TDeviceOperationContext context(ITransferProgress* progress = nullptr) {
        TDeviceOperationContext c{Guard, Driver, Pause, Events};
        c.Progress = progress;
        return c;
    }
    std::vector<std::uint32_t> addresses() const {
        std::vector<std::uint32_t> out;
        for (const auto& r : Instrument.requests()) {
            std::uint32_t address = 0;
            std::memcpy(&address, r.Frame.data() + FrameAddressOffset, 4);
            out.push_back(address);
        }
        return out;
    }
};

// One demo record with `samples` samples: 68 + 14 × samples bytes of record area.
std::vector<std::uint8_t> recordArea(int samples) {
    TDemoRecord record = DemoRecords().front();
    const auto pattern = record.Samples;
    record.Samples.clear();
    for (int i = 0; i < samples; ++i)
        record.Samples.push_back(pattern[static_cast<std::size_t>(i) % pattern.size()]);
    return EncodeRecordArea({record});
}

TRecordChooser choose(std::optional<int> answer, QStringList* seen) {
    return [answer, seen](const QStringList& captions) {
        *seen = captions;
        return answer;
    };
}

std::vector<TDemoManufacturer> catalogueWithTypes(std::initializer_list<int> counts) {
    std::vector<TDemoManufacturer> out;
    int n = 0;
    for (const int count : counts) {
        TDemoManufacturer m{"Maker " + std::to_string(out.size()), {}};
        for (int i = 0; i < count; ++i, ++n)
            m.Valves.push_back({"Valve " + std::to_string(n), static_cast<std::uint8_t>(n % 2 ? 3 : 16), 0.5f,
                                static_cast<float>(n)});
        out.push_back(m);
    }
    return out;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(RecordTransfer, ReadsUpToTheEndMarkAndOffersTheRecords) {
    struct Case {
        const char* Name;
        std::vector<std::uint8_t> Area;
        int Steps;   // record steps read before the end mark
        int Records; // decoded
        int Samples;
    };
    const std::vector<std::uint8_t> demo = EncodeRecordArea(DemoRecords());
    const Case cases[] = {
        {"empty", {}, 0, 0, 0},
        // 516 bytes: the end mark is the step at 0x180000 + 52 × 10, so 520 bytes are decoded.
        {"end mark at step 10", recordArea(32), 10, 1, 32},
        {"demo", demo, static_cast<int>((demo.size() + 51) / 52), static_cast<int>(DemoRecords().size()), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TBench bench;
        ASSERT_TRUE(WriteRecordArea(bench.Instrument, c.Area));
        auto store = std::make_unique<TRecordStore>();
        QStringList captions;
        int shown = 0;
        const TDeviceResult result = ReadRecordsFromDevice(bench.context(), *store, 0, bench.Units, bench.Catalogue,
                                                           choose(0, &captions), [&] { ++shown; });
        const auto addresses = bench.addresses();
        ASSERT_EQ(addresses.size(), static_cast<std::size_t>(c.Steps + 1));
        EXPECT_EQ(addresses.back(), RecordAreaStart + 52u * static_cast<std::uint32_t>(c.Steps));
        EXPECT_EQ(store->RecordCount, c.Records);
        if (c.Samples >= 0)
            EXPECT_EQ(store->SampleCount, c.Samples);
        if (c.Records == 0) {
            EXPECT_EQ(result, TDeviceResult::NothingDone);
            EXPECT_EQ(bench.Ui.messages(), QStringList{QStringLiteral("There are no records in device")});
            EXPECT_TRUE(captions.isEmpty());
            EXPECT_EQ(bench.Ui.Status, QString());
        } else {
            EXPECT_EQ(result, TDeviceResult::Done);
            EXPECT_EQ(captions.size(), c.Records);
            EXPECT_EQ(bench.Ui.Status, QStringLiteral("The record was successfully read"));
            EXPECT_EQ(shown, 1);
        }
    }
}

TEST(RecordTransfer, AreaWithoutEndMarkStopsAtTheBoundAndCancelChoosesNothing) {
    TBench bench;
    auto memory = bench.Instrument.dataMemory();
    std::fill(memory.begin() + (RecordAreaStart - TSimulatedInstrument::DataMemoryBase), memory.end(), 0);
    auto store = std::make_unique<TRecordStore>();
    QStringList captions;
    EXPECT_EQ(ReadRecordsFromDevice(bench.context(), *store, 0, bench.Units, bench.Catalogue, choose(0, &captions)),
              TDeviceResult::NothingDone);
    const auto addresses = bench.addresses();
    ASSERT_EQ(addresses.size(), MaxRecordSteps);
    EXPECT_EQ(addresses.back(), 0x1CFFE4u);

    TBench demo;
    WriteRecordArea(demo.Instrument, EncodeRecordArea(DemoRecords()));
    int shown = 0;
    EXPECT_EQ(ReadRecordsFromDevice(demo.context(), *store, 0, demo.Units, demo.Catalogue, choose(std::nullopt, &captions),
                                    [&] { ++shown; }),
              TDeviceResult::NothingDone);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(demo.Ui.Status, QString()); // no "Reading records..." left after the cancelled choice
}

TEST(RecordTransfer, EveryFaultAtFirstMiddleAndLastFrameKeepsTheTables) {
    const std::vector<std::uint8_t> area = EncodeRecordArea(DemoRecords());
    const std::uint64_t total = (area.size() + 51) / 52 + 1;
    for (const TReplyFault fault : {TReplyFault::NoReply, TReplyFault::WrongCommand, TReplyFault::WrongMaster,
                                    TReplyFault::BadCheckValue})
        for (const std::uint64_t frame : {std::uint64_t{1}, total / 2, total}) {
            SCOPED_TRACE(testing::Message() << "fault " << static_cast<int>(fault) << " at frame " << frame);
            TBench bench;
            WriteRecordArea(bench.Instrument, area);
            bench.Instrument.injectFault(fault, frame);
            auto store = std::make_unique<TRecordStore>();
            store->RecordCount = 1;
            store->SampleCount = 3;
            store->RecordHeaders[0].Description = QStringLiteral("kept");
            QStringList captions;
            EXPECT_EQ(ReadRecordsFromDevice(bench.context(), *store, 0, bench.Units, bench.Catalogue, choose(0, &captions)),
                      TDeviceResult::Failed);
            EXPECT_EQ(bench.Ui.Status, QStringLiteral("Device is not responding!"));
            EXPECT_EQ(store->RecordCount, 1);
            EXPECT_EQ(store->SampleCount, 3);
            EXPECT_EQ(store->RecordHeaders[0].Description, QStringLiteral("kept"));
            EXPECT_TRUE(captions.isEmpty());
            EXPECT_EQ(bench.Instrument.framesReceived(), frame);
        }
}

TEST(ValveTransfer, ReadsTheCatalogueAndWritesBothCacheFiles) {
    struct Case {
        std::initializer_list<int> Types;
        int Valves;
    };
    for (const Case c : {Case{{3, 0, 5}, 8}, Case{{}, 0}, Case{{255, 255, 255, 235}, 1000}}) {
        SCOPED_TRACE(c.Valves);
        TBench bench;
        ASSERT_TRUE(WriteCatalogue(bench.Instrument, catalogueWithTypes(c.Types)));
        QTemporaryDir dir;
        auto catalogue = std::make_unique<TValveCatalogue>();
        std::memset(catalogue->ManufacturerNames[16], 'k', 16);
        std::memset(&catalogue->Valves[999], 0x5C, sizeof(TValve));
        const auto before = std::make_unique<TValveCatalogue>(*catalogue);
        int filled = 0;
        QString cacheError = QStringLiteral("stale");
        ASSERT_EQ(
            ReadValvesFromDevice(bench.context(), *catalogue, dir.path(), &cacheError, [&] { ++filled; }),
            TDeviceResult::Done);
        EXPECT_TRUE(cacheError.isEmpty());
        EXPECT_EQ(filled, 1);

        const int manufacturers = static_cast<int>(c.Types.size());
        EXPECT_EQ(catalogue->ManufacturerCount, manufacturers);
        std::vector<std::uint8_t> expected(static_cast<std::size_t>(c.Valves) * 126);
        bench.Instrument.readData(ValvesAddress, expected.data(),
                                  static_cast<std::uint32_t>(expected.size()));
        if (!expected.empty())
            EXPECT_EQ(std::memcmp(catalogue->Valves, expected.data(), expected.size()), 0);
        // Slots beyond the counts keep what they held.
        EXPECT_EQ(std::memcmp(catalogue->ManufacturerNames[16], before->ManufacturerNames[16], 16), 0);
        if (c.Valves < 1000)
            EXPECT_EQ(std::memcmp(&catalogue->Valves[999], &before->Valves[999], sizeof(TValve)), 0);

        // Header, names, then three frames per valve, the last valve ending right before
        // 0x158840 + 126 × V.
        const auto addresses = bench.addresses();
        ASSERT_EQ(addresses.size(), 1u + (manufacturers * 16 + 51) / 52 + 3u * c.Valves);
        if (c.Valves > 0)
            EXPECT_EQ(addresses.back() + 22, ValvesAddress + 126u * static_cast<std::uint32_t>(c.Valves));
        if (c.Valves == 8)
            EXPECT_EQ(addresses.back() + 21, 1412143u);
        EXPECT_EQ(bench.Ui.Status, c.Valves > 0
                                       ? QStringLiteral(" Reading Valves from device %1/%1").arg(c.Valves)
                                       : QStringLiteral("Reading valves..."));

        EXPECT_EQ(QFileInfo(dir.filePath("manufacturers.bin")).size(), 289);
        EXPECT_EQ(QFileInfo(dir.filePath("valves.bin")).size(), 126000);
        auto loaded = std::make_unique<TValveCatalogue>();
        ASSERT_TRUE(LoadValveCache(dir.path(), *loaded));
        EXPECT_EQ(std::memcmp(loaded.get(), catalogue.get(), sizeof(TValveCatalogue)), 0);
    }
}

// What a failed or refused read leaves: the catalogue in memory and both old cache files.
struct TOldCatalogue {
    QTemporaryDir Dir;
    std::unique_ptr<TValveCatalogue> Catalogue = std::make_unique<TValveCatalogue>();
    TOldCatalogue() {
        Catalogue->ManufacturerCount = 1;
        Catalogue->TypeCounts[0] = 2;
        std::memset(Catalogue->Valves, 0x33, 2 * sizeof(TValve));
        SaveValveCache(Dir.path(), *Catalogue);
    }
    void expectUntouched(const TValveCatalogue& now) const {
        EXPECT_EQ(std::memcmp(&now, Catalogue.get(), sizeof(TValveCatalogue)), 0);
        const QByteArray raw(reinterpret_cast<const char*>(Catalogue.get()), sizeof(TValveCatalogue));
        EXPECT_EQ(fileBytes(Dir.filePath("manufacturers.bin")), raw.left(289));
        EXPECT_EQ(fileBytes(Dir.filePath("valves.bin")), raw.mid(289));
    }
};

TEST(ValveTransfer, RefusesCataloguesBeyondTheTablesBeforeStoringAnything) {
    struct Case {
        const char* Name;
        std::vector<std::uint8_t> Header;
    };
    std::vector<std::uint8_t> seventeen(17, 1);
    seventeen[0] = 17;
    std::vector<std::uint8_t> tooManyValves(17, 0);
    tooManyValves[0] = 4;
    tooManyValves[1] = tooManyValves[2] = tooManyValves[3] = 255;
    tooManyValves[4] = 236; // 1001
    for (const Case& c : {Case{"17 manufacturers", seventeen}, Case{"1001 valves", tooManyValves}}) {
        SCOPED_TRACE(c.Name);
        TBench bench;
        ASSERT_TRUE(bench.Instrument.writeData(ManufacturerHeaderAddress, c.Header.data(), 17));
        TOldCatalogue old;
        auto catalogue = std::make_unique<TValveCatalogue>(*old.Catalogue);
        EXPECT_EQ(ReadValvesFromDevice(bench.context(), *catalogue, old.Dir.path()), TDeviceResult::Failed);
        EXPECT_EQ(bench.Ui.Status, QStringLiteral("The valve catalogue in the device is too large!"));
        EXPECT_EQ(bench.addresses().size(), 1u) << "only the header is read";
        old.expectUntouched(*catalogue);
    }
}

TEST(ValveTransfer, EveryFaultAtFirstMiddleAndLastFrameKeepsCatalogueAndFiles) {
    // 3, 0, 5 types: 1 header frame, 1 names frame, 24 valve frames.
    const std::uint64_t total = 26;
    for (const TReplyFault fault : {TReplyFault::NoReply, TReplyFault::WrongCommand, TReplyFault::WrongMaster,
                                    TReplyFault::BadCheckValue})
        for (const std::uint64_t frame : {std::uint64_t{1}, total / 2, total}) {
            SCOPED_TRACE(testing::Message() << "fault " << static_cast<int>(fault) << " at frame " << frame);
            TBench bench;
            ASSERT_TRUE(WriteCatalogue(bench.Instrument, catalogueWithTypes({3, 0, 5})));
            bench.Instrument.injectFault(fault, frame);
            TOldCatalogue old;
            auto catalogue = std::make_unique<TValveCatalogue>(*old.Catalogue);
            int filled = 0;
            EXPECT_EQ(
                ReadValvesFromDevice(bench.context(), *catalogue, old.Dir.path(), nullptr, [&] { ++filled; }),
                TDeviceResult::Failed);
            EXPECT_EQ(bench.Ui.Status, QStringLiteral("Device is not responding!"));
            EXPECT_EQ(filled, 0);
            old.expectUntouched(*catalogue);
        }

    TBench absent;
    absent.Instrument.setPresent(false);
    TOldCatalogue old;
    auto catalogue = std::make_unique<TValveCatalogue>(*old.Catalogue);
    EXPECT_EQ(ReadValvesFromDevice(absent.context(), *catalogue, old.Dir.path()), TDeviceResult::Failed);
    EXPECT_EQ(absent.Ui.Status, QStringLiteral("Device is not connected!"));
    old.expectUntouched(*catalogue);
}

TEST(ValveTransfer, CacheFilesThatCannotBeWrittenDoNotFailTheRead) {
    TBench bench;
    ASSERT_TRUE(WriteCatalogue(bench.Instrument, catalogueWithTypes({2})));
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("manufacturers.bin"));
    auto catalogue = std::make_unique<TValveCatalogue>();
    QString cacheError;
    EXPECT_EQ(ReadValvesFromDevice(bench.context(), *catalogue, dir.path(), &cacheError),
              TDeviceResult::Done);
    EXPECT_FALSE(cacheError.isEmpty());
    EXPECT_EQ(catalogue->ManufacturerCount, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("valves.bin")));
}

// A cancelled read hands nothing on: the record tables and the valve catalogue with its cache files
// stay as they were.
TEST(RecordAndValveTransfer, CancelLeavesTablesCatalogueAndFilesAsTheyWere) {
    {
        TBench bench;
        ASSERT_TRUE(WriteRecordArea(bench.Instrument, EncodeRecordArea(DemoRecords())));
        auto store = std::make_unique<TRecordStore>();
        QStringList captions;
        ASSERT_EQ(ReadRecordsFromDevice(bench.context(), *store, 0, bench.Units, bench.Catalogue, choose(0, &captions)),
                  TDeviceResult::Done);
        const int records = store->RecordCount;
        const int samples = store->SampleCount;
        ASSERT_TRUE(WriteRecordArea(bench.Instrument, recordArea(32)));
        bench.Ui.Log.clear();
        bench.Instrument.clearRequests();
        captions.clear();
        TRecordingProgress progress;
        progress.StopWhen = TRecordingProgress::afterChunks(3);
        EXPECT_EQ(
            ReadRecordsFromDevice(bench.context(&progress), *store, 0, bench.Units, bench.Catalogue, choose(0, &captions)),
            TDeviceResult::Cancelled);
        EXPECT_EQ(bench.addresses().size(), 3u);
        EXPECT_EQ(progress.Reports.back(),
                  (TRecordingProgress::Report{TTransferOperation::ReadRecords, 3 * 52, MaxRecordSteps * 52}));
        EXPECT_EQ(store->RecordCount, records);
        EXPECT_EQ(store->SampleCount, samples);
        EXPECT_TRUE(captions.isEmpty());
        EXPECT_TRUE(bench.Ui.messages().isEmpty());
    }
    {
        TBench bench;
        ASSERT_TRUE(WriteCatalogue(bench.Instrument, catalogueWithTypes({3, 0, 5})));
        TOldCatalogue old;
        auto catalogue = std::make_unique<TValveCatalogue>(*old.Catalogue);
        TRecordingProgress progress;
        progress.StopWhen = TRecordingProgress::afterChunks(4);
        int filled = 0;
        EXPECT_EQ(ReadValvesFromDevice(bench.context(&progress), *catalogue, old.Dir.path(), nullptr,
                                       [&] { ++filled; }),
                  TDeviceResult::Cancelled);
        EXPECT_EQ(progress.Reports.back(),
                  (TRecordingProgress::Report{TTransferOperation::ReadValves, 4 * 126, 8 * 126}));
        EXPECT_EQ(filled, 0);
        old.expectUntouched(*catalogue);
    }
}
