// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing two full projects (1500 branches each) against loading both of their files, which the
// comparison of files on disk has to do anyway: the comparison should stay a small part of it.

#include "files/ProjectFile.h"
#include "model/BranchList.h"
#include "model/InstrumentText.h"
#include "model/ProjectComparison.h"

#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// A hand-over: risers of 20 floors, two radiators of one name on each floor.
std::unique_ptr<TProject> handover() {
    auto project = std::make_unique<TProject>();
    EncodeInstrumentText(QStringLiteral("Office block"), project->Header.Name, NameFieldSize, 0);
    project->Header.Branch_Count = MaxBranches;
    for (int i = 0; i < MaxBranches; ++i) {
        InitBranch(*project, i);
        TBranch& b = project->Branches[static_cast<std::size_t>(i)];
        EncodeInstrumentText(QStringLiteral("R%1 F%2 rad").arg(i / 40).arg(i / 2 % 20), b.Name, NameFieldSize,
                             0);
        b.Valve_Index = static_cast<std::uint16_t>(i % 1000);
        b.Valve_Chksm = static_cast<std::uint16_t>(i * 37);
        b.Request_Flow = 120.5 + i;
        b.Final_Presetting = 3.75;
        b.Final_Flow = 119.875 + i;
        b.Final_Pressure = 9500.5 + i;
    }
    return project;
}

// Its re-check: the branches in reverse order, every tenth renamed, flows drifted.
std::unique_ptr<TProject> recheck(const TProject& older) {
    auto project = std::make_unique<TProject>(older);
    for (int i = 0; i < MaxBranches; ++i) {
        TBranch& b = project->Branches[static_cast<std::size_t>(i)];
        b = older.Branches[static_cast<std::size_t>(MaxBranches - 1 - i)];
        if (i % 10 == 0)
            EncodeInstrumentText(QStringLiteral("New %1").arg(i), b.Name, NameFieldSize, 0);
        b.Final_Flow *= 1.0 + (i % 30) / 100.0;
    }
    return project;
}

struct TFixture {
    QTemporaryDir Dir;
    QString OldPath = Dir.filePath(QStringLiteral("handover.proj"));
    QString NewPath = Dir.filePath(QStringLiteral("recheck.proj"));
    std::unique_ptr<TProject> Old = handover();
    std::unique_ptr<TProject> New = recheck(*Old);

    TFixture() {
        QString error;
        if (!SaveProjectFile(OldPath, *Old, &error) || !SaveProjectFile(NewPath, *New, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
    }
};

void BM_LoadBothProjectFiles(benchmark::State& state) {
    const TFixture f;
    auto older = std::make_unique<TProject>();
    auto newer = std::make_unique<TProject>();
    const QLocale locale = QLocale::c();
    for (auto _ : state) {
        QString error;
        if (!LoadProjectFile(f.OldPath, *older, 0, locale, &error) ||
            !LoadProjectFile(f.NewPath, *newer, 0, locale, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(newer->Header.Branch_Count);
    }
}

void BM_CompareProjects(benchmark::State& state) {
    const TFixture f;
    for (auto _ : state) {
        const TProjectComparison comparison = CompareProjects(*f.Old, *f.New, 10.0);
        benchmark::DoNotOptimize(comparison.Moved);
    }
}

} // namespace

BENCHMARK(BM_LoadBothProjectFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareProjects)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
