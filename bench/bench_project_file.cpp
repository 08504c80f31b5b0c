// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and loading a full project file (1500 branches), with libxml2 parsing the same bytes into a
// document tree beside it as the yardstick for the load.

#include "files/ProjectFile.h"
#include "model/BranchList.h"
#include "model/InstrumentText.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include "Libxml2Baseline.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<TProject> fullProject() {
    auto project = std::make_unique<TProject>();
    EncodeInstrumentText(QStringLiteral("Office block"), project->Header.Name, NameFieldSize, 0);
    EncodeInstrumentText(QStringLiteral("2024-05-06"), project->Header.Last_Change, NameFieldSize, 0);
    project->Header.Branch_Count = MaxBranches;
    for (int i = 0; i < MaxBranches; ++i) {
        InitBranch(*project, i);
        TBranch& b = project->Branches[i];
        EncodeInstrumentText(QStringLiteral("Riser %1 floor %2").arg(i / 20).arg(i % 20), b.Name,
                             NameFieldSize, 0);
        b.Valve_Index = static_cast<std::uint16_t>(i % 1000);
        b.Valve_Chksm = static_cast<std::uint16_t>(i * 37);
        b.Request_Flow = 120.5 + i;
        b.Initial_Pressure = 10000.25 + i;
        b.Initial_Presetting = 2.5;
        b.Initial_Flow = 98.125 + i;
        if (i % 3 != 0) {
            b.Final_Presetting = 3.75;
            b.Final_Flow = 119.875 + i;
            b.Final_Pressure = 9500.5 + i;
        }
    }
    return project;
}

struct TFixture {
    QTemporaryDir Dir;
    QString Path;
    QByteArray Bytes;
    std::unique_ptr<TProject> Project = fullProject();

    TFixture() : Path(Dir.filePath(QStringLiteral("full.proj"))) {
        QString error;
        if (!SaveProjectFile(Path, *Project, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
        QFile file(Path);
        if (!file.open(QIODevice::ReadOnly))
            std::exit(1);
        Bytes = file.readAll();
    }
};

void BM_SaveProjectFile(benchmark::State& state) {
    const TFixture f;
    const QString path = f.Dir.filePath(QStringLiteral("saved.proj"));
    for (auto _ : state) {
        QString error;
        if (!SaveProjectFile(path, *f.Project, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.SetBytesProcessed(state.iterations() * f.Bytes.size());
}

void BM_LoadProjectFile(benchmark::State& state) {
    const TFixture f;
    auto project = std::make_unique<TProject>();
    const QLocale locale = QLocale::c();
    for (auto _ : state) {
        QString error;
        if (!LoadProjectFile(f.Path, *project, 0, locale, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(project->Header.Branch_Count);
    }
    state.SetBytesProcessed(state.iterations() * f.Bytes.size());
}

// The same bytes, already in memory, parsed into a tree.
void BM_Libxml2ParseProjectFile(benchmark::State& state) {
    const TFixture f;
    ParseWithLibxml2(state, f.Bytes, "full.proj");
}

} // namespace

BENCHMARK(BM_SaveProjectFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProjectFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libxml2ParseProjectFile)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
