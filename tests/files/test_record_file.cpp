// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RecordFile.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/RecordModel.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

namespace {

class TNoneTranslator final : public ITranslator {
public:
    QString Translate(const QString& key) const override {
        return key == QLatin1String("None") ? QStringLiteral("Keine") : key;
    }
};

const TNoneTranslator translator;

TUnits unitsIn(const QLocale& locale) {
    TUnits units;
    units.Locale = locale;
    return units;
}

const TUnits pointUnits = unitsIn(QLocale::c());
const TUnits commaUnits = unitsIn(QLocale(QLocale::German, QLocale::Germany));

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A record file in the dialect: byte order mark, declaration, then the given lines.
QByteArray recordFileBytes(const QStringList& lines) {
    const QString text =
        QStringLiteral("<?xml version = \"1.0\" encoding = \"UNICODE\" standalone = \"yes\"?>\n") +
        lines.join(u'\n') + u'\n';
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QStringList itemLines(const QStringList& inner) {
    QStringList lines = {"\t\t<Item>"};
    for (const QString& l : inner)
        lines << "\t\t\t" + l;
    return lines << "\t\t</Item>";
}

QStringList recordLines(const QStringList& headerLines, const QStringList& items) {
    QStringList lines = {"<Record>"};
    for (const QString& l : headerLines)
        lines << "\t" + l;
    return lines << "\t<Items>" << items << "\t</Items>"
                 << "</Record>";
}

TZaznamData sampleOf(int record, const char* date, const char* time, const char* pressure, const char* flow) {
    return {record, date, time, pressure, flow};
}

// The record of the small fixture, with a sample of another record between its own.
TRecordStore smallRecord() {
    TRecordStore store;
    store.CurrentHeader = {"Riser 1", "", "Type 15", "2.50", 2, 30, -5};
    store.Samples[0] = sampleOf(0, "05.03.2012", "07:04:09", "1234.500000", "250.250000");
    store.Samples[1] = sampleOf(1, "01.01.2000", "00:00:00", "9.000000", "9.000000");
    store.Samples[2] = sampleOf(0, "06.03.2012", "08:00:00", "-3.000000", "0.000000");
    store.SampleCount = 3;
    store.CurrentRecord = 0;
    return store;
}

// A store that already shows something else, to see what a load replaces and what it keeps.
TRecordStore busyStore() {
    TRecordStore store;
    store.CurrentHeader = {"Old", "Old maker", "Old type", "9,99", 1, 40, 80};
    store.RecordHeaders[0] = store.CurrentHeader;
    store.RecordCount = 1;
    for (int i = 0; i < 4; ++i)
        store.Samples[i] = sampleOf(3, "31.12.1999", "23:59:59", "7.000000", "8.000000");
    store.SampleCount = 4;
    store.CurrentRecord = 3;
    return store;
}

bool sameStore(const TRecordStore& a, const TRecordStore& b) {
    return a.CurrentHeader == b.CurrentHeader && a.RecordHeaders == b.RecordHeaders &&
           a.Samples == b.Samples && a.RecordCount == b.RecordCount && a.SampleCount == b.SampleCount &&
           a.CurrentRecord == b.CurrentRecord;
}

class RecordFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(RecordFile, SaveWritesExactlyTheCurrentRecord) {
    QString error;
    ASSERT_TRUE(SaveRecordFile(smallRecord(), path("small.r9q4"), &error)) << error.toStdString();
    EXPECT_EQ(readAll(path("small.r9q4")), readAll(ZRV_FIXTURES "/records/small.r9q4"));
}

TEST_F(RecordFile, RoundTripReplacesOnlyTheShownRecord) {
    const TRecordStore saved = smallRecord();
    ASSERT_TRUE(SaveRecordFile(saved, path("r.r9q4")));
    TRecordStore store = busyStore();
    const TRecordStore before = store;
    QString error;
    ASSERT_TRUE(LoadRecordFile(store, path("r.r9q4"), pointUnits, translator, &error)) << error.toStdString();

    EXPECT_EQ(store.CurrentHeader, saved.CurrentHeader);
    EXPECT_EQ(store.CurrentRecord, 0);
    ASSERT_EQ(store.SampleCount, 2);
    EXPECT_EQ(store.Samples[0], saved.Samples[0]);
    EXPECT_EQ(store.Samples[1], saved.Samples[2]);
    EXPECT_EQ(store.RecordCount, before.RecordCount);
    EXPECT_EQ(store.RecordHeaders, before.RecordHeaders);

    // Saving what was loaded gives the same bytes again.
    ASSERT_TRUE(SaveRecordFile(store, path("again.r9q4")));
    EXPECT_EQ(readAll(path("again.r9q4")), readAll(path("r.r9q4")));
}

TEST_F(RecordFile, PresettingShowsWhatTheFileStores) {
    const struct {
        const char* stored;
        const TUnits* units;
        const char* shown;
    } cases[] = {
        {"2.50", &pointUnits, "2.50"}, {"2,50", &commaUnits, "2,50"},   {"2.5", &commaUnits, "2,50"},
        {"0", &pointUnits, "0.00"},    {"Keine", &pointUnits, "Keine"}, {"None", &commaUnits, "None"},
        {"", &pointUnits, ""},         {"-1", &pointUnits, "Keine"},    {"-1000", &pointUnits, ""},
    };
    for (const auto& c : cases) {
        writeAll(path("p.r9q4"), recordFileBytes(recordLines(
                                     {QStringLiteral("<Presetting>%1</Presetting>").arg(c.stored)}, {})));
        TRecordStore store = busyStore();
        ASSERT_TRUE(LoadRecordFile(store, path("p.r9q4"), *c.units, translator)) << c.stored;
        EXPECT_EQ(store.CurrentHeader.Presetting, QString::fromUtf8(c.shown)) << c.stored;
    }
}

TEST_F(RecordFile, WhatTheFileLeavesOut) {
    // An element before the first Item, an Item without Time and one without anything.
    const QStringList items = QStringList{"\t\t\t<Date>ignored</Date>"} +
                              itemLines({"<Date>01.02.2013</Date>", "<Pressure>1.000000</Pressure>",
                                         "<Flow>2.000000</Flow>", "<Unknown>x</Unknown>"}) +
                              itemLines({});
    writeAll(path("gaps.r9q4"), recordFileBytes(recordLines({"<Valve_Type>New type</Valve_Type>"}, items)));
    TRecordStore store = busyStore();
    ASSERT_TRUE(LoadRecordFile(store, path("gaps.r9q4"), pointUnits, translator));

    ASSERT_EQ(store.SampleCount, 2);
    EXPECT_EQ(store.Samples[0], sampleOf(0, "01.02.2013", "", "1.000000", "2.000000"));
    EXPECT_EQ(store.Samples[1], sampleOf(0, "", "", "", ""));
    // Description and presetting come from the file only; the other header fields keep their values.
    const TZaznam expected{"", "Old maker", "New type", "", 1, 40, 80};
    EXPECT_EQ(store.CurrentHeader, expected);
}

TEST_F(RecordFile, LoadsAtMostTheSampleLimit) {
    TRecordStore full;
    for (int i = 0; i < MaxSamples; ++i)
        full.Samples[i] =
            sampleOf(0, "05.03.2012", "07:04:09", "1.000000", QByteArray::number(i).constData());
    full.SampleCount = MaxSamples;
    ASSERT_TRUE(SaveRecordFile(full, path("full.r9q4")));

    TRecordStore store;
    ASSERT_TRUE(LoadRecordFile(store, path("full.r9q4"), pointUnits, translator));
    EXPECT_EQ(store.SampleCount, MaxFileSamples);
    EXPECT_EQ(store.Samples[MaxFileSamples - 1].Flow, QString::number(MaxFileSamples - 1));
}

TEST_F(RecordFile, WhitespaceBeforeTheRecordIsSkipped) {
    QByteArray bytes = readAll(ZRV_FIXTURES "/records/small.r9q4");
    const int declarationEnd = bytes.indexOf(QByteArray("\n\0", 2)) + 2;
    bytes.insert(declarationEnd, QByteArray("\n\0\t\0\r\0", 6));
    writeAll(path("blank.r9q4"), bytes);
    TRecordStore store = busyStore();
    ASSERT_TRUE(LoadRecordFile(store, path("blank.r9q4"), pointUnits, translator));
    EXPECT_EQ(store.SampleCount, 2);
    EXPECT_EQ(store.CurrentHeader.Description, QStringLiteral("Riser 1"));
}

TEST_F(RecordFile, BadFilesChangeNothing) {
    const QByteArray whole = readAll(ZRV_FIXTURES "/records/small.r9q4");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* inError;
    } cases[] = {
        {"cut inside an item", whole.left(whole.indexOf(QByteArray("F\0l\0o\0w\0", 8))), "ends before"},
        {"cut after the last item", whole.left(whole.size() - 22), "ends before"},
        {"declaration only", recordFileBytes({}), "no record"},
        {"not an integer", recordFileBytes(recordLines({"<Temperature>1.5</Temperature>"}, {})),
         "Temperature"},
        {"empty integer", recordFileBytes(recordLines({"<Medium_Index></Medium_Index>"}, {})),
         "Medium_Index"},
        {"8-bit text", QByteArray("<?xml version = \"1.0\"?>\n<Record>\n</Record>\n"), "xml"},
        {"empty file", QByteArray(), "xml"},
    };
    for (const auto& c : cases) {
        writeAll(path("bad.r9q4"), c.bytes);
        TRecordStore store = busyStore();
        QString error;
        EXPECT_FALSE(LoadRecordFile(store, path("bad.r9q4"), pointUnits, translator, &error)) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.inError))) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(sameStore(store, busyStore())) << c.name;
    }

    TRecordStore store = busyStore();
    QString error;
    EXPECT_FALSE(LoadRecordFile(store, path("missing.r9q4"), pointUnits, translator, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(sameStore(store, busyStore()));
}

TEST_F(RecordFile, FailedSaveLeavesTheOldFile) {
    writeAll(path("kept.r9q4"), "old");
    QString error;
    EXPECT_FALSE(SaveRecordFile(smallRecord(), path("missing/x.r9q4"), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.r9q4"));
    EXPECT_FALSE(SaveRecordFile(smallRecord(), path("folder.r9q4"), &error));
    EXPECT_EQ(readAll(path("kept.r9q4")), QByteArray("old"));
}

} // namespace
