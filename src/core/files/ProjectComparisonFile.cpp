// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProjectComparisonFile.h"

#include "files/AnalysisText.h"
#include "model/ComparisonTable.h"
#include "model/Markers.h"
#include "model/Translator.h"
#include "model/Units.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

// Markers and values that are no number (from the instrument's bytes) alike: nothing.
std::optional<double> flowValue(double litresPerHour) {
    return IsMeasuredFlow(litresPerHour) ? std::optional(litresPerHour) : std::nullopt;
}

std::optional<double> pressureValue(double pascal) {
    return pascal != NoValue && std::isfinite(pascal) && IsValidPressure(pascal) ? std::optional(pascal)
                                                                                 : std::nullopt;
}

std::optional<double> presettingValue(double presetting) {
    return presetting != PresettingEmpty && presetting != PresettingNone && std::isfinite(presetting)
               ? std::optional(presetting)
               : std::nullopt;
}

QString field(const std::optional<double>& value) {
    return value ? AnalysisNumber(*value) : QString();
}

QJsonValue json(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

// One side's values under keys with the side's prefix ("old_", "new_"); nulls for a missing side.
struct TSideFields {
    QString Branch, Valve, ValveIndex, Requested, Final, Presetting, Pressure;
};

TSideFields sideFields(const TComparedSide& side, const TComparisonReportInput& input) {
    if (!side.present())
        return {};
    return {QString::number(side.Branch + 1),
            ComparedValveName(input.Catalogue, side.Valve_Index, input.CodePage),
            QString::number(side.Valve_Index),
            field(flowValue(side.Request_Flow)),
            field(flowValue(side.Final_Flow)),
            field(presettingValue(side.Final_Presetting)),
            field(pressureValue(side.Final_Pressure))};
}

QJsonObject sideJson(const TComparedSide& side, const TComparisonReportInput& input) {
    const QString valve = ComparedValveName(input.Catalogue, side.Valve_Index, input.CodePage);
    return {
        {QStringLiteral("branch"), side.Branch + 1},
        {QStringLiteral("valve"), valve.isEmpty() ? QJsonValue() : QJsonValue(valve)},
        {QStringLiteral("valve_index"), side.Valve_Index},
        {QStringLiteral("valve_checksum"), side.Valve_Chksm},
        {QStringLiteral("requested_flow_l_h"), json(flowValue(side.Request_Flow))},
        {QStringLiteral("final_flow_l_h"), json(flowValue(side.Final_Flow))},
        {QStringLiteral("final_presetting"), json(presettingValue(side.Final_Presetting))},
        {QStringLiteral("final_pressure_pa"), json(pressureValue(side.Final_Pressure))},
    };
}

} // namespace

QString ComparedKindKey(TComparedKind kind) {
    switch (kind) {
    case TComparedKind::OnlyOld:
        return QStringLiteral("old only");
    case TComparedKind::OnlyNew:
        return QStringLiteral("new only");
    case TComparedKind::Matched:
        break;
    }
    return QStringLiteral("matched");
}

QString ProjectComparisonText(const TComparisonReportInput& input, const TUnits& units,
                              const ITranslator& translator) {
    auto tr = [&translator](const char* english) {
        return translator.Translate(QString::fromLatin1(english));
    };
    const TProjectComparison& c = input.Comparison;
    QString text = tr("Old project") + QStringLiteral(": ") + input.OldProject + u'\n' + tr("New project") +
                   QStringLiteral(": ") + input.NewProject + u'\n';
    text +=
        ComparisonCountsText(c, units, translator).replace(QStringLiteral("     "), QStringLiteral("\n")) +
        QStringLiteral("\n\n");

    std::vector<QStringList> table;
    table.push_back(ComparisonCaptions(units, translator));
    for (const TComparedBranch& branch : c.Branches) {
        QStringList cells;
        for (int column = 0; column < ComparisonColumnCount; ++column)
            cells << ComparisonCell(branch, column, units, translator, input.Catalogue, input.CodePage);
        table.push_back(cells);
    }
    std::vector<qsizetype> widths(ComparisonColumnCount, 0);
    for (const QStringList& cells : table)
        for (int column = 0; column < ComparisonColumnCount; ++column)
            widths[column] = std::max(widths[column], cells.at(column).size());
    for (const QStringList& cells : table) {
        QString line;
        for (int column = 0; column < ComparisonColumnCount; ++column) {
            if (column > 0)
                line += QStringLiteral("  ");
            line += IsComparisonNumberColumn(column) ? cells.at(column).rightJustified(widths[column])
                                                     : cells.at(column).leftJustified(widths[column]);
        }
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

QByteArray ProjectComparisonCsv(const TComparisonReportInput& input) {
    QString text = CsvLine({QStringLiteral("found_in"), QStringLiteral("name"), QStringLiteral("old_branch"),
                            QStringLiteral("new_branch"), QStringLiteral("old_requested_flow_l_h"),
                            QStringLiteral("new_requested_flow_l_h"), QStringLiteral("old_final_flow_l_h"),
                            QStringLiteral("new_final_flow_l_h"), QStringLiteral("final_flow_change_percent"),
                            QStringLiteral("moved"), QStringLiteral("old_final_presetting"),
                            QStringLiteral("new_final_presetting"), QStringLiteral("old_final_pressure_pa"),
                            QStringLiteral("new_final_pressure_pa"), QStringLiteral("valve_changed"),
                            QStringLiteral("old_valve_index"), QStringLiteral("new_valve_index"),
                            QStringLiteral("old_valve"), QStringLiteral("new_valve")});
    for (const TComparedBranch& branch : input.Comparison.Branches) {
        const TSideFields o = sideFields(branch.Old, input);
        const TSideFields n = sideFields(branch.New, input);
        const bool matched = branch.Kind == TComparedKind::Matched;
        const auto flag = [](bool given, bool value) {
            return given ? QString::fromLatin1(value ? "yes" : "no") : QString();
        };
        text += CsvLine({ComparedKindKey(branch.Kind), branch.Name, o.Branch, n.Branch, o.Requested,
                         n.Requested, o.Final, n.Final, field(branch.FlowChange),
                         flag(branch.Rated, branch.Moved), o.Presetting, n.Presetting, o.Pressure, n.Pressure,
                         flag(matched, branch.ValveChanged), o.ValveIndex, n.ValveIndex, o.Valve, n.Valve});
    }
    return text.toUtf8();
}

QByteArray ProjectComparisonJson(const TComparisonReportInput& input) {
    const TProjectComparison& c = input.Comparison;
    QJsonArray branches;
    for (const TComparedBranch& branch : c.Branches) {
        const bool matched = branch.Kind == TComparedKind::Matched;
        QJsonObject entry{
            {QStringLiteral("found_in"), ComparedKindKey(branch.Kind)},
            {QStringLiteral("name"), branch.Name},
            {QStringLiteral("old"),
             branch.Old.present() ? QJsonValue(sideJson(branch.Old, input)) : QJsonValue()},
            {QStringLiteral("new"),
             branch.New.present() ? QJsonValue(sideJson(branch.New, input)) : QJsonValue()},
            {QStringLiteral("final_flow_change_percent"), json(branch.FlowChange)},
            {QStringLiteral("moved"), branch.Rated ? QJsonValue(branch.Moved) : QJsonValue()},
            {QStringLiteral("valve_changed"), matched ? QJsonValue(branch.ValveChanged) : QJsonValue()},
        };
        branches.append(entry);
    }
    const QJsonObject root{
        {QStringLiteral("old_project"), input.OldProject},
        {QStringLiteral("new_project"), input.NewProject},
        {QStringLiteral("tolerance_percent"), c.TolerancePercent},
        {QStringLiteral("matched"), c.Matched},
        {QStringLiteral("old_only"), c.OnlyOld},
        {QStringLiteral("new_only"), c.OnlyNew},
        {QStringLiteral("moved"), c.Moved},
        {QStringLiteral("branches"), branches},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
