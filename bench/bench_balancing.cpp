// SPDX-License-Identifier: GPL-3.0-or-later
// The balancing summary of a full project: 1500 branches balanced, turned into rows, filled into the
// summary's model and sorted by deviation, as the summary window does when it opens.

#include "model/Translator.h"
#include "mainwindow/BalancingTableModel.h"
#include "model/Balancing.h"
#include "model/CommissioningFigures.h"
#include "model/BalancingTable.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<TProject> fullProject() {
    auto project = std::make_unique<TProject>();
    project->Header.Branch_Count = MaxBranches;
    for (int i = 0; i < MaxBranches; ++i) {
        TBranch& b = project->Branches[static_cast<std::size_t>(i)];
        EncodeInstrumentText(QStringLiteral("Branch %1").arg(i + 1), b.Name, NameFieldSize, 0);
        b.Valve_Index = static_cast<std::uint16_t>(i % 7);
        b.Request_Flow = 100.0 + i % 300;
        b.Initial_Flow = b.Request_Flow * 1.2;
        // Every tenth branch not measured, the others scattered around the requested flow.
        b.Final_Flow = i % 10 == 9 ? NoValue : b.Request_Flow * (1.0 + 0.2 * std::sin(i * 0.37));
        b.Initial_Presetting = 3.0;
        b.Final_Presetting = 2.0 + (i % 50) * 0.1;
    }
    return project;
}

void BM_BalancingSummaryFillAndSort(benchmark::State& run) {
    const auto project = fullProject();
    const auto catalogue = std::make_unique<TValveCatalogue>();
    const TIdentityTranslator translator;
    TUnits units;
    units.FlowUnit = 2;
    TBalancingTableModel model(translator);
    TBalancingFilterModel filter;
    filter.setSourceModel(&model);
    for (auto _ : run) {
        const TBalancingSummary summary = BalanceProject(*project, 10.0);
        // The window's commissioning columns come with every refresh.
        const TCommissioningSummary figures = CommissioningSummary(*project, TTolerance::symmetric(10.0));
        std::vector<TSummaryExtras> extras;
        for (const TBranchFigures& branch : figures.Branches)
            extras.push_back({branch, QString()});
        model.setRows(BuildBalancingRows({*project, *catalogue, 0}, summary), std::move(extras), units,
                      DefaultMinDifferentialPressure);
        filter.sort(BalancingColumnDeviation, Qt::DescendingOrder);
        benchmark::DoNotOptimize(filter.index(0, 0).data());
    }
    run.counters["branches"] = model.rowCount();
}

void BM_BalancingSortByName(benchmark::State& run) {
    const auto project = fullProject();
    const auto catalogue = std::make_unique<TValveCatalogue>();
    const TIdentityTranslator translator;
    TBalancingTableModel model(translator);
    model.setRows(BuildBalancingRows({*project, *catalogue, 0}, BalanceProject(*project, 10.0)), {}, TUnits(),
                  DefaultMinDifferentialPressure);
    TBalancingFilterModel filter;
    filter.setSourceModel(&model);
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : run) {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        filter.sort(BalancingColumnName, order);
    }
}

} // namespace

BENCHMARK(BM_BalancingSummaryFillAndSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BalancingSortByName)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
