// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BalancingTable.h"

#include "model/Translator.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

namespace {

QString valveText(const TValveCatalogue& catalogue, int valveIndex, int codePage) {
    if (!IsKnownValve(catalogue, valveIndex))
        return {};
    return (ManufacturerNameAt(catalogue, ManufacturerOfValve(catalogue, valveIndex), codePage).trimmed() + u' ' +
            ValveNameAt(catalogue, valveIndex, codePage).trimmed())
        .trimmed();
}

} // namespace

std::vector<TBalancingRow> BuildBalancingRows(const TBalancingSource& source, const TBalancingSummary& summary) {
    std::vector<TBalancingRow> rows;
    const int count = std::min<int>(source.Project.branchCount(), static_cast<int>(summary.Branches.size()));
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TBranch& b = source.Project.Branches[static_cast<std::size_t>(i)];
        TBalancingRow row;
        row.Branch = i;
        row.Name = NameText(source.Project, b.Name);
        row.Valve = valveText(source.Catalogue, b.Valve_Index, source.CodePage);
        row.RequestFlow = b.Request_Flow;
        row.InitialFlow = b.Initial_Flow;
        row.FinalFlow = b.Final_Flow;
        row.InitialPresetting = b.Initial_Presetting;
        row.FinalPresetting = b.Final_Presetting;
        row.Balance = summary.Branches[static_cast<std::size_t>(i)];
        rows.push_back(std::move(row));
    }
    return rows;
}

QStringList BalancingCaptions(const TUnits& units, const ITranslator& translator) {
    auto tr = [&translator](const char* english) { return translator.Translate(QString::fromLatin1(english)); };
    return {QStringLiteral("#"),
            tr("Branch"),
            tr("Valve"),
            units.FlowCaption(tr("Requested flow")),
            units.FlowCaption(tr("Initial flow")),
            units.FlowCaption(tr("Final flow")),
            tr("Initial presetting"),
            tr("Final presetting"),
            tr("Deviation [%]"),
            tr("Within tolerance")};
}

bool IsNumberColumn(int column) {
    return column != BalancingColumnName && column != BalancingColumnValve && column != BalancingColumnWithin;
}

QString FormatDeviation(const std::optional<double>& deviation, const QLocale& locale) {
    if (!deviation)
        return {};
    QString text = locale.toString(ShownDeviation(*deviation), 'f', 1);
    text.remove(locale.groupSeparator());
    // "-0.0" and "0.0" alike read as no deviation.
    if (text.startsWith(locale.negativeSign()) && locale.toDouble(text) == 0.0)
        text.remove(0, locale.negativeSign().size());
    else if (*deviation > 0.0 && locale.toDouble(text) != 0.0)
        text.prepend(locale.positiveSign());
    return text;
}

QString BalanceStateText(TBalanceState state, const ITranslator& translator) {
    switch (state) {
    case TBalanceState::Within:
        return translator.Translate(QStringLiteral("Yes"));
    case TBalanceState::Outside:
        return translator.Translate(QStringLiteral("No"));
    case TBalanceState::NotMeasured:
        break;
    }
    return translator.Translate(QStringLiteral("Not measured"));
}

QString BalancingCell(const TBalancingRow& row, int column, const TUnits& units, const ITranslator& translator) {
    switch (column) {
    case BalancingColumnNumber:
        return QString::number(row.Branch + 1);
    case BalancingColumnName:
        return row.Name;
    case BalancingColumnValve:
        return row.Valve;
    case BalancingColumnRequested:
        return units.ReadoutFlow(row.RequestFlow);
    case BalancingColumnInitial:
        return units.ReadoutFlow(row.InitialFlow);
    case BalancingColumnFinal:
        return units.ReadoutFlow(row.FinalFlow);
    case BalancingColumnInitialPresetting:
        return units.FormatPresetting(row.InitialPresetting, translator);
    case BalancingColumnFinalPresetting:
        return units.FormatPresetting(row.FinalPresetting, translator);
    case BalancingColumnDeviation:
        return FormatDeviation(row.Balance.Deviation, units.Locale);
    case BalancingColumnWithin:
        return row.Balance.State == TBalanceState::NotMeasured ? QString()
                                                               : BalanceStateText(row.Balance.State, translator);
    default:
        return {};
    }
}
