// SPDX-License-Identifier: GPL-3.0-or-later
// The balancing summary over a project as the instrument's bytes hold it (any double, NaN and
// infinities too): counts and states agree in the summary, the window's cells, the text, the CSV
// and the JSON, no cell reads "nan" or "inf", and the flows show at least three significant digits.
// Input: the flow unit (one byte), the tolerance (a double), the project header and the branches.
#include "BalancingChecks.h"

#include "model/Translator.h"
#include "model/BalancingTable.h"
#include "model/Markers.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

int significantDigits(const QString& text) {
    int count = 0;
    bool started = false;
    for (const QChar c : text) {
        if (!c.isDigit())
            continue;
        started = started || c != u'0';
        count += started;
    }
    return count;
}

bool showsNoNumber(const QString& text) {
    return text.contains(QStringLiteral("nan"), Qt::CaseInsensitive) ||
           text.contains(QStringLiteral("inf"), Qt::CaseInsensitive);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t prefix = 1 + sizeof(double);
    if (size < prefix)
        return 0;
    TUnits units;
    units.Locale = QLocale::c();
    // One index beyond the table as well.
    units.FlowUnit = data[0] % (FlowUnitCount + 1);
    double tolerance = 0;
    std::memcpy(&tolerance, data + 1, sizeof tolerance);
    // As the settings file and the companion's option admit it.
    if (!std::isfinite(tolerance))
        tolerance = DefaultBalancingTolerance;
    tolerance = std::clamp(tolerance, 0.0, 1000.0);

    // Kept across runs: a fresh project and catalogue each run cost more than the summary.
    static const auto project = std::make_unique<TProject>();
    static const auto catalogue = std::make_unique<TValveCatalogue>();
    std::memset(static_cast<void*>(project.get()), 0, sizeof(TProject));
    const std::size_t bytes = std::min(size - prefix, sizeof(TProjectHeader) + sizeof(project->Branches));
    std::memcpy(reinterpret_cast<char*>(project.get()), data + prefix, std::min(bytes, sizeof(TProjectHeader)));
    if (bytes > sizeof(TProjectHeader))
        std::memcpy(reinterpret_cast<char*>(project->Branches.data()), data + prefix + sizeof(TProjectHeader),
                    bytes - sizeof(TProjectHeader));

    // Branches beyond the input would all be zeros: 1500 of them only slow the search down.
    const auto supplied = static_cast<int>((bytes - std::min(bytes, sizeof(TProjectHeader))) / sizeof(TBranch));
    project->Header.Branch_Count = static_cast<std::int16_t>(std::min<int>(project->Header.Branch_Count, supplied));

    const TBalancingSummary summary = BalanceProject(*project, tolerance);
    fuzzCheckSummary(summary, project->branchCount());

    const std::vector<TBalancingRow> rows = BuildBalancingRows({*project, *catalogue, 0}, summary);
    FUZZ_CHECK(rows.size() == summary.Branches.size());
    const TIdentityTranslator translator;
    for (const TBalancingRow& row : rows) {
        for (int column = 0; column < BalancingColumnCount; ++column) {
            if (column == BalancingColumnName || column == BalancingColumnValve)
                continue;
            FUZZ_CHECK(!showsNoNumber(BalancingCell(row, column, units, translator)));
        }
        for (const double flow : {row.RequestFlow, row.InitialFlow, row.FinalFlow}) {
            const double shown = flow * units.FlowFactor();
            if (flow != NoValue && IsValidFlow(flow) && shown >= 1e-9)
                FUZZ_CHECK(significantDigits(units.ReadoutFlow(flow)) >= 3);
        }
    }

    const TBalancingReportInput input{QStringLiteral("fuzz"), summary, rows};
    const QString text = BalancingSummaryText(input, units, translator);
    FUZZ_CHECK(text.contains(QStringLiteral("Within tolerance: %1\n").arg(summary.Within)));
    FUZZ_CHECK(text.contains(QStringLiteral("Outside tolerance: %1\n").arg(summary.Outside)));
    FUZZ_CHECK(text.contains(QStringLiteral("Not measured: %1\n").arg(summary.NotMeasured)));
    fuzzCheckCsv(QString::fromUtf8(BalancingSummaryCsv(input)), summary);
    fuzzCheckJson(BalancingSummaryJson(input), summary);
    return 0;
}
