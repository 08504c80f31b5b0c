// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/BalancingSummaryFile.h"

#include "files/AnalysisText.h"
#include "model/Translator.h"
#include "model/Markers.h"
#include "model/Units.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

// Flows and presettings as other programs read them: nothing for a marker.
QString flowField(double litresPerHour) {
    return litresPerHour == NoValue || !IsValidFlow(litresPerHour) ? QString() : AnalysisNumber(litresPerHour);
}

// Markers and values that are no number (from the instrument's bytes) alike: nothing.
bool isPresetting(double presetting) {
    return presetting != PresettingEmpty && presetting != PresettingNone && std::isfinite(presetting);
}

QString presettingField(double presetting) {
    return isPresetting(presetting) ? AnalysisNumber(presetting) : QString();
}

QJsonValue jsonFlow(double litresPerHour) {
    return litresPerHour == NoValue || !IsValidFlow(litresPerHour) ? QJsonValue() : QJsonValue(litresPerHour);
}

QJsonValue jsonPresetting(double presetting) {
    return isPresetting(presetting) ? QJsonValue(presetting) : QJsonValue();
}

} // namespace

QString BalanceStateKey(TBalanceState state) {
    switch (state) {
    case TBalanceState::Within:
        return QStringLiteral("within");
    case TBalanceState::Outside:
        return QStringLiteral("outside");
    case TBalanceState::NotMeasured:
        break;
    }
    return QStringLiteral("not measured");
}

QString BalancingSummaryText(const TBalancingReportInput& input, const TUnits& units, const ITranslator& translator) {
    auto tr = [&translator](const char* english) { return translator.Translate(QString::fromLatin1(english)); };
    const TBalancingSummary& s = input.Summary;
    // Only the companion's check sets a tolerance that differs below and above.
    const QString tolerance =
        s.Tolerance.isSymmetric()
            ? QStringLiteral("\u00B1") + units.Locale.toString(s.TolerancePercent) + QStringLiteral(" %")
            : units.Locale.negativeSign() + units.Locale.toString(s.Tolerance.Lower) + QStringLiteral(" % / ") +
                  units.Locale.positiveSign() + units.Locale.toString(s.Tolerance.Upper) + QStringLiteral(" %");
    QString text = tr("Project") + QStringLiteral(": ") + input.ProjectName + u'\n' + tr("Tolerance") +
                   QStringLiteral(": ") + tolerance + u'\n' +
                   tr("Within tolerance") + QStringLiteral(": ") + QString::number(s.Within) + u'\n' +
                   tr("Outside tolerance") + QStringLiteral(": ") + QString::number(s.Outside) + u'\n' +
                   tr("Not measured") + QStringLiteral(": ") + QString::number(s.NotMeasured) + QStringLiteral("\n\n");

    std::vector<QStringList> table;
    table.push_back(BalancingCaptions(units, translator));
    for (const TBalancingRow& row : input.Rows) {
        QStringList cells;
        for (int c = 0; c < BalancingColumnCount; ++c)
            cells << BalancingCell(row, c, units, translator);
        table.push_back(cells);
    }
    std::vector<qsizetype> widths(BalancingColumnCount, 0);
    for (const QStringList& cells : table)
        for (int c = 0; c < BalancingColumnCount; ++c)
            widths[c] = std::max(widths[c], cells.at(c).size());
    for (const QStringList& cells : table) {
        QString line;
        for (int c = 0; c < BalancingColumnCount; ++c) {
            if (c > 0)
                line += QStringLiteral("  ");
            line += IsNumberColumn(c) ? cells.at(c).rightJustified(widths[c]) : cells.at(c).leftJustified(widths[c]);
        }
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

QByteArray BalancingSummaryCsv(const TBalancingReportInput& input) {
    QString text = CsvLine({QStringLiteral("branch"), QStringLiteral("name"), QStringLiteral("valve"),
                            QStringLiteral("requested_flow_l_h"), QStringLiteral("initial_flow_l_h"),
                            QStringLiteral("final_flow_l_h"), QStringLiteral("initial_presetting"),
                            QStringLiteral("final_presetting"), QStringLiteral("deviation_percent"),
                            QStringLiteral("state")});
    for (const TBalancingRow& row : input.Rows) {
        const TBranchBalance& b = row.Balance;
        text += CsvLine({QString::number(row.Branch + 1), row.Name, row.Valve, flowField(row.RequestFlow),
                         flowField(row.InitialFlow), flowField(row.FinalFlow), presettingField(row.InitialPresetting),
                         presettingField(row.FinalPresetting), b.Deviation ? AnalysisNumber(*b.Deviation) : QString(),
                         BalanceStateKey(b.State)});
    }
    return text.toUtf8();
}

QByteArray BalancingSummaryJson(const TBalancingReportInput& input) {
    const TBalancingSummary& s = input.Summary;
    QJsonArray branches;
    for (const TBalancingRow& row : input.Rows) {
        const TBranchBalance& b = row.Balance;
        branches.append(QJsonObject{
            {QStringLiteral("branch"), row.Branch + 1},
            {QStringLiteral("name"), row.Name},
            {QStringLiteral("valve"), row.Valve},
            {QStringLiteral("requested_flow_l_h"), jsonFlow(row.RequestFlow)},
            {QStringLiteral("initial_flow_l_h"), jsonFlow(row.InitialFlow)},
            {QStringLiteral("final_flow_l_h"), jsonFlow(row.FinalFlow)},
            {QStringLiteral("initial_presetting"), jsonPresetting(row.InitialPresetting)},
            {QStringLiteral("final_presetting"), jsonPresetting(row.FinalPresetting)},
            {QStringLiteral("deviation_percent"), b.Deviation ? QJsonValue(*b.Deviation) : QJsonValue()},
            {QStringLiteral("state"), BalanceStateKey(b.State)},
        });
    }
    const QJsonObject root{
        {QStringLiteral("project"), input.ProjectName},
        // One number only while it holds either way; the two below tell it apart.
        {QStringLiteral("tolerance_percent"),
         s.Tolerance.isSymmetric() ? QJsonValue(s.TolerancePercent) : QJsonValue()},
        {QStringLiteral("tolerance_lower_percent"), s.Tolerance.Lower},
        {QStringLiteral("tolerance_upper_percent"), s.Tolerance.Upper},
        {QStringLiteral("within"), s.Within},
        {QStringLiteral("outside"), s.Outside},
        {QStringLiteral("not_measured"), s.NotMeasured},
        {QStringLiteral("branches"), branches},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
