// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProjectCheck.h"

#include "files/BalancingSummaryFile.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "model/Translator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr double MaxTolerancePercent = 1000.0;

std::optional<double> percent(QString text, bool allowSign, QChar sign) {
    text = text.trimmed();
    if (allowSign && text.startsWith(sign))
        text.remove(0, 1);
    // The number itself takes no sign of its own: "--5" or "+-5" is a typing error.
    if (text.isEmpty() || !(text.front().isDigit() || text.front() == u'.'))
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= 0.0) || value > MaxTolerancePercent)
        return std::nullopt;
    return value;
}

// The branches a script must still measure, numbered as everywhere else from 1.
std::vector<int> notMeasured(const TBalancingSummary& summary) {
    std::vector<int> branches;
    for (std::size_t i = 0; i < summary.Branches.size(); ++i)
        if (summary.Branches[i].State == TBalanceState::NotMeasured)
            branches.push_back(static_cast<int>(i) + 1);
    return branches;
}

} // namespace

std::optional<TTolerance> ParseToleranceOption(const QString& text) {
    // Without a sign it is one number, and a comma its decimal separator ("2,5") as it always was.
    if (!text.contains(u'-') && !text.contains(u'+')) {
        const std::optional<double> either = percent(QString(text).replace(u',', u'.'), false, u'+');
        return either ? std::optional(TTolerance::symmetric(*either)) : std::nullopt;
    }
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<double> lower = percent(parts.at(0), true, u'-');
    const std::optional<double> upper = percent(parts.at(1), true, u'+');
    if (!lower || !upper)
        return std::nullopt;
    return TTolerance{*lower, *upper};
}

TProjectCheckResult CheckProject(const TProjectCheckInput& input, TProjectCheckFormat format, const TUnits& units,
                                 const ITranslator& translator) {
    const TBalancingSummary summary = BalanceProject(input.Project, input.Tolerance);
    const std::vector<TBalancingRow> rows =
        BuildBalancingRows({input.Project, input.Catalogue, input.CodePage}, summary);
    const TBalancingReportInput report{
        NameText(input.Project, input.Project.Header.Name), summary, rows};
    const std::vector<int> unmeasured = notMeasured(summary);
    TProjectCheckResult result;
    switch (format) {
    case TProjectCheckFormat::Csv:
        // Its state column already names every branch not measured.
        result.Output = QString::fromUtf8(BalancingSummaryCsv(report));
        break;
    case TProjectCheckFormat::Json: {
        QJsonObject root = QJsonDocument::fromJson(BalancingSummaryJson(report)).object();
        QJsonArray list;
        for (const int branch : unmeasured)
            list.append(branch);
        root.insert(QStringLiteral("not_measured_branches"), list);
        root.insert(QStringLiteral("complete"), summary.complete());
        result.Output = QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
        break;
    }
    case TProjectCheckFormat::Text:
        result.Output = BalancingSummaryText(report, units, translator);
        if (!unmeasured.empty()) {
            result.Output += u'\n' + translator.Translate(QStringLiteral("Branches not measured")) +
                             QStringLiteral(":\n");
            for (const int branch : unmeasured)
                result.Output += QString::number(branch) + QStringLiteral("  ") +
                                 rows[static_cast<std::size_t>(branch - 1)].Name + u'\n';
        }
        break;
    }
    if (!summary.allWithin())
        result.ExitStatus = OutsideToleranceStatus;
    else if (input.RequireComplete && !summary.complete())
        result.ExitStatus = IncompleteStatus;
    return result;
}
