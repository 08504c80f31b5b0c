// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/InstrumentText.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Two manufacturers with 3 and 2 types: global indices 0..2 and 3..4.
std::unique_ptr<TValveCatalogue> smallCatalogue() {
    auto c = std::make_unique<TValveCatalogue>();
    c->ManufacturerCount = 2;
    c->TypeCounts[0] = 3;
    c->TypeCounts[1] = 2;
    EncodeInstrumentText(QStringLiteral("Alpha"), c->ManufacturerNames[0], 16, 0);
    EncodeInstrumentText(QStringLiteral("Beta"), c->ManufacturerNames[1], 16, 0);
    for (int i = 0; i < 5; ++i) {
        EncodeInstrumentText(QStringLiteral("V%1").arg(i), c->Valves[i].Name, 16, 0);
        c->Valves[i].Kind = i == 4 ? 3 : 16;
        c->Valves[i].PresettingMin = 0.5f;
        c->Valves[i].PresettingMax = 7.0f;
    }
    EncodeInstrumentText(QStringLiteral("stale"), c->Valves[5].Name, 16, 0);
    return c;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(ValveCatalogue, GlobalIndexToManufacturerAndType) {
    const auto c = smallCatalogue();
    const struct {
        int index, manufacturer, type;
        bool known;
    } cases[] = {{0, 0, 0, true},     {2, 0, 2, true},      {3, 1, 0, true},
                 {4, 1, 1, true},     {5, 0, 0, false},     {999, 0, 0, false},
                 {1000, 0, 0, false}, {65535, 0, 0, false}, {-1, 0, 0, false}};
    for (const auto& k : cases) {
        EXPECT_EQ(ManufacturerOfValve(*c, k.index), k.manufacturer) << k.index;
        EXPECT_EQ(TypeOfValve(*c, k.index), k.type) << k.index;
        EXPECT_EQ(IsKnownValve(*c, k.index), k.known) << k.index;
    }
}

TEST(ValveCatalogue, SelectionNamesAndPresetting) {
    const auto c = smallCatalogue();
    TValveSelection sel;
    EXPECT_EQ(sel.SelectValve(*c, 1, 0), 3);
    EXPECT_EQ(sel.CurrentValve, 3);
    EXPECT_EQ(sel.ManufacturerName(*c, 0), QStringLiteral("Beta"));
    EXPECT_EQ(sel.ValveTypeName(*c, 0), QStringLiteral("V3"));
    EXPECT_TRUE(sel.HasPresetting(*c));

    // No selection in either list, or a type the manufacturer does not have: nothing changes.
    EXPECT_EQ(sel.SelectValve(*c, -1, 0), 0);
    EXPECT_EQ(sel.SelectValve(*c, 1, -1), 0);
    EXPECT_EQ(sel.SelectValve(*c, 1, 2), 0);
    EXPECT_EQ(sel.SelectValve(*c, 2, 0), 0);
    EXPECT_EQ(sel.CurrentValve, 3);

    sel.CurrentValve = 4;
    EXPECT_FALSE(sel.HasPresetting(*c)); // kind 3
    // Beyond the catalogue: never looked up in the table, whatever the slot holds.
    for (int index : {5, 1000, 40000}) {
        sel.CurrentValve = index;
        EXPECT_EQ(sel.ManufacturerName(*c, 0), QString());
        EXPECT_EQ(sel.ValveTypeName(*c, 0), QString());
        EXPECT_FALSE(sel.HasPresetting(*c));
    }
}

TEST(ValveCatalogue, KindsWithPresetting) {
    const int with[] = {0, 1, 4, 5, 6, 8, 10, 11, 12, 13, 15, 16};
    int found = 0;
    for (int kind = 0; kind < 256; ++kind) {
        const bool expected = std::find(std::begin(with), std::end(with), kind) != std::end(with);
        EXPECT_EQ(KindHasPresetting(static_cast<std::uint8_t>(kind)), expected) << kind;
        found += expected;
    }
    EXPECT_EQ(found, 12);
}

TEST(ValveCatalogue, HintAndRangeCheck) {
    TValve v{};
    v.PresettingMin = 0.5f;
    v.PresettingMax = 7.0f;
    EXPECT_EQ(PresettingHint(v), QStringLiteral("( 0.50 to 7.00 )"));
    EXPECT_TRUE(IsPresettingInRange(7.0, v));
    EXPECT_TRUE(IsPresettingInRange(0.5, v));
    EXPECT_FALSE(IsPresettingInRange(7.01, v));
    EXPECT_FALSE(IsPresettingInRange(0.49, v));
    // The widened binary32 limit counts; typed numbers are single precision too, so 0.3 still fits.
    v.PresettingMin = 0.3f;
    EXPECT_FALSE(IsPresettingInRange(0.3, v));
    EXPECT_TRUE(IsPresettingInRange(static_cast<double>(0.3f), v));
}

TEST(ValveCatalogue, CorruptCountsAreCutToTheTables) {
    auto c = std::make_unique<TValveCatalogue>();
    c->ManufacturerCount = 200;
    for (auto& n : c->TypeCounts)
        n = 255;
    EXPECT_EQ(ManufacturerCountOf(*c), 16);
    EXPECT_EQ(ValveCountOf(*c), 1000);
    EXPECT_EQ(TypeCountOf(*c, 3), 235); // 3 × 255 = 765 before it
    EXPECT_EQ(TypeCountOf(*c, 4), 0);
    TValveSelection sel;
    EXPECT_EQ(sel.SelectValve(*c, 4, 0), 0);
    EXPECT_EQ(sel.SelectValve(*c, 3, 234), 999);
    EXPECT_EQ(ManufacturerOfValve(*c, 999), 3);
    EXPECT_EQ(ManufacturerNameAt(*c, 16, 0), QString());
}

TEST(ValveCache, LoadsBothFilesAndKeepsWhatShortFilesLack) {
    QTemporaryDir dir;
    const auto source = smallCatalogue();
    const auto* raw = reinterpret_cast<const char*>(source.get());
    writeFile(dir.filePath("manufacturers.bin"), QByteArray(raw, ManufacturersFileSize));
    writeFile(dir.filePath("valves.bin"), QByteArray(raw + ManufacturersFileSize, ValvesFileSize));
    auto loaded = std::make_unique<TValveCatalogue>();
    ASSERT_TRUE(LoadValveCache(dir.path(), *loaded));
    EXPECT_EQ(std::memcmp(loaded.get(), source.get(), sizeof(TValveCatalogue)), 0);

    // A 10-byte manufacturers file: count and the first nine type counts; the rest keeps old values.
    QByteArray shortFile(10, '\0');
    shortFile[0] = 1;
    shortFile[1] = 4;
    writeFile(dir.filePath("manufacturers.bin"), shortFile);
    loaded->TypeCounts[12] = 9;
    ASSERT_TRUE(LoadValveCache(dir.path(), *loaded));
    EXPECT_EQ(loaded->ManufacturerCount, 1);
    EXPECT_EQ(loaded->TypeCounts[0], 4);
    EXPECT_EQ(loaded->TypeCounts[12], 9);
    EXPECT_EQ(DecodeInstrumentText(loaded->ManufacturerNames[0], 16, 0), QStringLiteral("Alpha"));
}

TEST(ValveCache, MissingFileLeavesTheCatalogueUnchanged) {
    QTemporaryDir dir;
    auto c = smallCatalogue();
    const auto before = std::make_unique<TValveCatalogue>(*c);
    EXPECT_FALSE(LoadValveCache(dir.path(), *c));
    writeFile(dir.filePath("manufacturers.bin"), QByteArray(289, '\0')); // valves.bin still missing
    EXPECT_FALSE(LoadValveCache(dir.path(), *c));
    EXPECT_EQ(std::memcmp(c.get(), before.get(), sizeof(TValveCatalogue)), 0);
}

TEST(ValveCache, WriterRoundTripsAndFailsWithoutTouchingOldFiles) {
    QTemporaryDir dir;
    const auto source = smallCatalogue();
    QString error;
    ASSERT_TRUE(SaveValveCache(dir.path(), *source, &error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(dir.filePath("manufacturers.bin")).size(), 289);
    EXPECT_EQ(QFileInfo(dir.filePath("valves.bin")).size(), 126000);
    auto loaded = std::make_unique<TValveCatalogue>();
    ASSERT_TRUE(LoadValveCache(dir.path(), *loaded));
    EXPECT_EQ(std::memcmp(loaded.get(), source.get(), sizeof(TValveCatalogue)), 0);

    // A directory where the second file should be: the write fails with a message, the old valves
    // file is not replaced by anything partial.
    QTemporaryDir blocked;
    writeFile(blocked.filePath("valves.bin"), QByteArray("old"));
    QFile::remove(blocked.filePath("valves.bin"));
    ASSERT_TRUE(QDir(blocked.path()).mkdir("valves.bin"));
    EXPECT_FALSE(SaveValveCache(blocked.path(), *source, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(blocked.filePath("valves.bin")).isDir());
}
