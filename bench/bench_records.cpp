// SPDX-License-Identifier: GPL-3.0-or-later
// Records: loading a record file of 21000 samples (with libxml2 parsing the same bytes into a tree
// beside it as the yardstick), decoding a full instrument record area, and the three table exports
// of a 21001-row table.

#include "files/RecordFile.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/DecodeInstrumentRecords.h"
#include "model/RecordModel.h"
#include "records/RecordPresettings.h"
#include "records/RecordStatistics.h"
#include "records/RecordTable.h"
#include "model/SampleText.h"
#include "records/TableExport.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include "Libxml2Baseline.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const TIdentityTranslator translator;

TUnits benchUnits() {
    TUnits units;
    units.Locale = QLocale(QLocale::German, QLocale::Germany);
    return units;
}

std::unique_ptr<TRecordStore> fullRecord(int samples) {
    auto store = std::make_unique<TRecordStore>();
    store->CurrentHeader = {QStringLiteral("Riser 12 floor 3"),
                            QStringLiteral("Maker"),
                            QStringLiteral("Type 15"),
                            QStringLiteral("2,50"),
                            2,
                            30,
                            65};
    for (int i = 0; i < samples; ++i) {
        TZaznamData& s = store->Samples[i];
        s.RecordIndex = 0;
        s.Date = SampleDate(1 + i % 28, 1 + i % 12, 2012);
        s.Time = SampleTime(i / 3600 % 24, i / 60 % 60, i % 60);
        s.Pressure = SampleNumber(static_cast<float>(10000.25 + i * 0.5));
        s.Flow = SampleNumber(static_cast<float>(98.125 + i * 0.25));
    }
    store->SampleCount = samples;
    return store;
}

struct TFileFixture {
    QTemporaryDir Dir;
    QString Path = Dir.filePath(QStringLiteral("full.r9q4"));
    QByteArray Bytes;

    TFileFixture() {
        QString error;
        if (!SaveRecordFile(*fullRecord(MaxFileSamples), Path, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
        QFile file(Path);
        if (!file.open(QIODevice::ReadOnly))
            std::exit(1);
        Bytes = file.readAll();
    }
};

void BM_SaveRecordFile(benchmark::State& state) {
    const TFileFixture f;
    const auto store = fullRecord(MaxFileSamples);
    const QString path = f.Dir.filePath(QStringLiteral("saved.r9q4"));
    for (auto _ : state) {
        QString error;
        if (!SaveRecordFile(*store, path, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.SetBytesProcessed(state.iterations() * f.Bytes.size());
}

void BM_LoadRecordFile(benchmark::State& state) {
    const TFileFixture f;
    auto store = std::make_unique<TRecordStore>();
    const TUnits units = benchUnits();
    for (auto _ : state) {
        QString error;
        if (!LoadRecordFile(*store, f.Path, units, translator, &error) ||
            store->SampleCount != MaxFileSamples)
            state.SkipWithError("the record file did not load");
        benchmark::DoNotOptimize(store->SampleCount);
    }
    state.SetBytesProcessed(state.iterations() * f.Bytes.size());
}

// A record as the instrument logs it: a sample every ten seconds from 05.03.2012 07:00:00, 21000
// of them over two and a half days.
std::unique_ptr<TRecordStore> loggedRecord() {
    auto store = fullRecord(MaxFileSamples);
    const QDateTime start(QDate(2012, 3, 5), QTime(7, 0), Qt::UTC);
    for (int i = 0; i < MaxFileSamples; ++i) {
        const QDateTime at = start.addSecs(10LL * i);
        store->Samples[i].Date = at.toString(QStringLiteral("dd.MM.yyyy"));
        store->Samples[i].Time = at.toString(QStringLiteral("HH:mm:ss"));
    }
    return store;
}

// Loading that record's file, the yardstick of the statistics.
void BM_LoadLoggedRecordFile(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logged.r9q4"));
    QString error;
    if (!SaveRecordFile(*loggedRecord(), path, &error))
        state.SkipWithError(qPrintable(error));
    auto store = std::make_unique<TRecordStore>();
    const TUnits units = benchUnits();
    for (auto _ : state) {
        if (!LoadRecordFile(*store, path, units, translator, &error) || store->SampleCount != MaxFileSamples)
            state.SkipWithError("the record file did not load");
        benchmark::DoNotOptimize(store->SampleCount);
    }
}

// The statistics of the whole record as the records window first shows them, from the texts the
// samples are held as: at most a tenth of BM_LoadLoggedRecordFile.
void BM_RecordStatistics(benchmark::State& state) {
    const auto store = loggedRecord();
    const TUnits units = benchUnits();
    for (auto _ : state) {
        const TRecordSamples samples(*store, units.Locale);
        const TRecordStatistics statistics = samples.whole();
        if (statistics.Count != MaxFileSamples || statistics.DurationSeconds != 10.0 * (MaxFileSamples - 1))
            state.SkipWithError("not every sample counted");
        benchmark::DoNotOptimize(statistics.Flow->Std);
    }
}

// A step of the records window's zoom: the figures of a range of the samples already read.
void BM_RecordStatisticsOfRange(benchmark::State& state) {
    const auto store = loggedRecord();
    const TRecordSamples samples(*store, benchUnits().Locale);
    for (auto _ : state)
        benchmark::DoNotOptimize(samples.rows(1000, 20000).Pressure->Mean);
}

// The same bytes, already in memory, parsed into a tree.
void BM_Libxml2ParseRecordFile(benchmark::State& state) {
    const TFileFixture f;
    ParseWithLibxml2(state, f.Bytes, "full.r9q4");
}

// The whole record area the instrument can hold: 6302 reads of 52 bytes, one header and then
// sample blocks up to the end.
std::vector<std::uint8_t> fullRecordArea() {
    std::vector<std::uint8_t> bytes(6302 * 52, 255);
    std::uint8_t* p = bytes.data();
    p[0] = RecordHeaderMarker;
    p[1] = 0;
    std::memcpy(p + 2, "Riser 12", 8);
    std::memcpy(p + 18, "Maker\x10Type 15", 13);
    qToLittleEndian<quint32>(std::bit_cast<quint32>(2.5f), p + 54);
    qToLittleEndian<quint16>(2012, p + 58);
    std::size_t at = RecordHeaderBlockSize;
    for (int i = 0; at + SampleBlockSize <= bytes.size(); ++i, at += SampleBlockSize) {
        std::uint8_t* s = p + at;
        s[0] = SampleMarker;
        s[1] = static_cast<std::uint8_t>(1 + i % 12);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(10000.25f + static_cast<float>(i)), s + 2);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(98.125f + static_cast<float>(i)), s + 6);
        s[10] = static_cast<std::uint8_t>(1 + i % 28);
        s[11] = static_cast<std::uint8_t>(i / 3600 % 24);
        s[12] = static_cast<std::uint8_t>(i / 60 % 60);
        s[13] = static_cast<std::uint8_t>(i % 60);
    }
    return bytes;
}

void BM_DecodeInstrumentRecords(benchmark::State& state) {
    const std::vector<std::uint8_t> area = fullRecordArea();
    auto store = std::make_unique<TRecordStore>();
    const TUnits units = benchUnits();
    for (auto _ : state) {
        DecodeInstrumentRecords(*store, area.data(), area.size(), 0);
        WordPresettings(*store, units, translator);
        benchmark::DoNotOptimize(store->SampleCount);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(area.size()));
    state.counters["samples"] = store->SampleCount;
}

void BM_BuildRecordTable(benchmark::State& state) {
    const auto store = fullRecord(MaxSamples);
    const TUnits units = benchUnits();
    for (auto _ : state) {
        const TTextTable table = BuildRecordTable(*store, units, translator);
        benchmark::DoNotOptimize(table.rowCount());
    }
}

template <typename Export>
void exportBenchmark(benchmark::State& state, const char* name, Export exportTable) {
    const TTextTable table = BuildRecordTable(*fullRecord(MaxSamples), benchUnits(), translator);
    if (table.rowCount() != MaxSamples + 1)
        state.SkipWithError("the table does not have 21001 sample rows");
    const QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    for (auto _ : state) {
        QString error;
        if (!exportTable(table, path, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.SetItemsProcessed(state.iterations() * table.rowCount());
}

void BM_ExportTableCsv(benchmark::State& state) {
    exportBenchmark(state, "table.csv", [](const TTextTable& t, const QString& p, QString* e) {
        return ExportTableCsv(t, p, e);
    });
}

void BM_ExportTableHtml(benchmark::State& state) {
    exportBenchmark(state, "table.htm", [](const TTextTable& t, const QString& p, QString* e) {
        return ExportTableHtml(t, p, e);
    });
}

void BM_ExportTableXls(benchmark::State& state) {
    const QLocale locale = benchUnits().Locale;
    exportBenchmark(state, "table.xls", [&locale](const TTextTable& t, const QString& p, QString* e) {
        return ExportTableXls(t, p, locale, e);
    });
}

} // namespace

BENCHMARK(BM_SaveRecordFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRecordFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLoggedRecordFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordStatistics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordStatisticsOfRange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libxml2ParseRecordFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeInstrumentRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildRecordTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTableCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTableHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTableXls)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
