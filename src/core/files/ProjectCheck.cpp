// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProjectCheck.h"

#include "files/BalancingSummaryFile.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"

TProjectCheckResult CheckProject(const TProjectCheckInput& input, TProjectCheckFormat format, const TUnits& units,
                                 const ITranslator& translator) {
    const TBalancingSummary summary = BalanceProject(input.Project, input.TolerancePercent);
    const std::vector<TBalancingRow> rows =
        BuildBalancingRows({input.Project, input.Catalogue, input.CodePage}, summary);
    const TBalancingReportInput report{
        NameText(input.Project, input.Project.Header.Name), summary, rows};
    TProjectCheckResult result;
    switch (format) {
    case TProjectCheckFormat::Csv:
        result.Output = QString::fromUtf8(BalancingSummaryCsv(report));
        break;
    case TProjectCheckFormat::Json:
        result.Output = QString::fromUtf8(BalancingSummaryJson(report));
        break;
    case TProjectCheckFormat::Text:
        result.Output = BalancingSummaryText(report, units, translator);
        break;
    }
    result.ExitStatus = summary.allWithin() ? 0 : OutsideToleranceStatus;
    return result;
}
