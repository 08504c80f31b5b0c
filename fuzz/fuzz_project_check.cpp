// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's "project check" over project files: each format gives the same counts and states,
// deviations only for measured branches and always finite, and the exit status says whether a
// measured branch lies outside (or, when asked, one was not measured), and the text and JSON list the
// branches not measured. Input: one byte, then the file. The byte gives the tolerance above in
// quarter per cent, a scrambled copy of it the one below (so that most runs are asymmetric), and
// its lowest bit asks for every branch measured.
#include "BalancingChecks.h"

#include "files/ProjectCheck.h"
#include "files/ProjectFile.h"
#include "model/Translator.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const TTolerance tolerance{((data[0] * 37) & 0xFF) * 0.25, data[0] * 0.25};
    const bool requireComplete = (data[0] & 1) != 0;
    // Kept across runs: a fresh project and catalogue each run cost more than the check.
    static const auto project = std::make_unique<TProject>();
    static const auto catalogue = std::make_unique<TValveCatalogue>();
    std::memset(static_cast<void*>(project.get()), 0, sizeof(TProject));
    QString error;
    if (!LoadProjectBytes(fuzzBytes(data + 1, size - 1), QStringLiteral("input"), *project, 0, QLocale::c(), &error))
        return 0;
    TUnits units;
    units.Locale = QLocale::c();
    const TIdentityTranslator translator;
    const TProjectCheckInput input{*project, *catalogue, 0, tolerance, requireComplete};

    const TBalancingSummary summary = BalanceProject(*project, tolerance);
    fuzzCheckSummary(summary, project->branchCount());
    const bool incomplete = summary.NotMeasured > 0 || summary.Branches.empty();
    const int status = summary.Outside > 0                   ? OutsideToleranceStatus
                       : requireComplete && incomplete ? IncompleteStatus
                                                         : 0;

    const TProjectCheckResult text = CheckProject(input, TProjectCheckFormat::Text, units, translator);
    FUZZ_CHECK(text.ExitStatus == status);
    FUZZ_CHECK(text.Output.contains(QStringLiteral("Within tolerance: %1\n").arg(summary.Within)));
    FUZZ_CHECK(text.Output.contains(QStringLiteral("Outside tolerance: %1\n").arg(summary.Outside)));
    FUZZ_CHECK(text.Output.contains(QStringLiteral("Not measured: %1\n").arg(summary.NotMeasured)));
    FUZZ_CHECK(text.Output.contains(QStringLiteral("\nBranches not measured:\n")) == (summary.NotMeasured > 0));

    const TProjectCheckResult csv = CheckProject(input, TProjectCheckFormat::Csv, units, translator);
    FUZZ_CHECK(csv.ExitStatus == status);
    fuzzCheckCsv(csv.Output, summary);

    const TProjectCheckResult json = CheckProject(input, TProjectCheckFormat::Json, units, translator);
    FUZZ_CHECK(json.ExitStatus == status);
    fuzzCheckJson(json.Output.toUtf8(), summary);
    const QJsonObject root = QJsonDocument::fromJson(json.Output.toUtf8()).object();
    const QJsonArray unmeasured = root.value(QStringLiteral("not_measured_branches")).toArray();
    FUZZ_CHECK(unmeasured.size() == summary.NotMeasured);
    for (const QJsonValue branch : unmeasured) {
        const int index = branch.toInt() - 1;
        FUZZ_CHECK(index >= 0 && index < static_cast<int>(summary.Branches.size()));
        FUZZ_CHECK(summary.Branches[static_cast<std::size_t>(index)].State == TBalanceState::NotMeasured);
    }
    FUZZ_CHECK(root.value(QStringLiteral("complete")).toBool() == !incomplete);
    return 0;
}
