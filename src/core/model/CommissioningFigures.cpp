// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CommissioningFigures.h"

#include "model/Markers.h"
#include "model/ProjectRecords.h"
#include "model/Translator.h"
#include "model/Units.h"

#include <cmath>

namespace {

bool isMeasuredPressure(double pascal) {
    return pascal != NoValue && std::isfinite(pascal) && IsValidPressure(pascal);
}

} // namespace

std::optional<double> KvValue(double litresPerHour, double pascal) {
    if (!IsMeasuredFlow(litresPerHour) || !isMeasuredPressure(pascal) || !(pascal > 0.0))
        return std::nullopt;
    const double kv = (litresPerHour / 1000.0) / std::sqrt(pascal / 100000.0);
    return std::round(kv * 100.0) / 100.0;
}

TStateFigures StateFigures(double litresPerHour, double pascal, double minPressure) {
    TStateFigures figures;
    if (isMeasuredPressure(pascal))
        figures.Pressure = pascal;
    figures.Kv = KvValue(litresPerHour, pascal);
    figures.Uncertain = figures.Pressure && IsMeasuredFlow(litresPerHour) && *figures.Pressure < minPressure;
    return figures;
}

TBranchFigures BranchFigures(const TBranch& branch, const TTolerance& tolerance, double minPressure) {
    TBranchFigures figures;
    // The same deviation and rating as the balancing summary, split by side.
    if (const std::optional<double> deviation = FlowDeviation(branch)) {
        figures.PercentOfDesign = branch.Final_Flow * 100.0 / branch.Request_Flow;
        switch (SideOfTolerance(*deviation, tolerance)) {
        case TToleranceSide::Below:
            figures.Status = TCommissioningStatus::Below;
            break;
        case TToleranceSide::Within:
            figures.Status = TCommissioningStatus::Within;
            break;
        case TToleranceSide::Above:
            figures.Status = TCommissioningStatus::Above;
            break;
        }
    }
    figures.Initial = StateFigures(branch.Initial_Flow, branch.Initial_Pressure, minPressure);
    figures.Final = StateFigures(branch.Final_Flow, branch.Final_Pressure, minPressure);
    return figures;
}

TCommissioningResult TCommissioningSummary::result() const {
    if (outside() > 0)
        return TCommissioningResult::Fail;
    return complete() ? TCommissioningResult::Pass : TCommissioningResult::Incomplete;
}

TCommissioningSummary CommissioningSummary(const TProject& project, const TTolerance& tolerance, double minPressure) {
    TCommissioningSummary summary;
    summary.Tolerance = tolerance;
    const int count = project.branchCount();
    summary.Branches.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TBranchFigures figures =
            BranchFigures(project.Branches[static_cast<std::size_t>(i)], tolerance, minPressure);
        switch (figures.Status) {
        case TCommissioningStatus::NotMeasured:
            ++summary.NotMeasured;
            break;
        case TCommissioningStatus::Within:
            ++summary.Within;
            break;
        case TCommissioningStatus::Below:
            ++summary.Below;
            break;
        case TCommissioningStatus::Above:
            ++summary.Above;
            break;
        }
        summary.Branches.push_back(figures);
    }
    return summary;
}

QString CommissioningStatusText(TCommissioningStatus status, const ITranslator& translator) {
    const char* english = EnglishText("not measured");
    switch (status) {
    case TCommissioningStatus::Within:
        english = EnglishText("within");
        break;
    case TCommissioningStatus::Below:
        english = EnglishText("below");
        break;
    case TCommissioningStatus::Above:
        english = EnglishText("above");
        break;
    case TCommissioningStatus::NotMeasured:
        break;
    }
    // The catalogue ignores case, so "not measured" finds the caption "Not measured" first; a status
    // word stands in a sentence or a table cell, lower case like its siblings.
    QString word = translator.Translate(QString::fromLatin1(english));
    if (!word.isEmpty())
        word[0] = word[0].toLower();
    return word;
}

QString CommissioningResultText(TCommissioningResult result, const ITranslator& translator) {
    const char* english = EnglishText("INCOMPLETE");
    switch (result) {
    case TCommissioningResult::Pass:
        english = EnglishText("PASS");
        break;
    case TCommissioningResult::Fail:
        english = EnglishText("FAIL");
        break;
    case TCommissioningResult::Incomplete:
        break;
    }
    return translator.Translate(QString::fromLatin1(english));
}
