// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ComparisonTable.h"

#include "model/BalancingTable.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

namespace {

QString yesNo(bool yes, const ITranslator& translator) {
    return translator.Translate(yes ? QStringLiteral("Yes") : QStringLiteral("No"));
}

} // namespace

QStringList ComparisonCaptions(const TUnits& units, const ITranslator& translator) {
    auto tr = [&translator](const char* english) {
        return translator.Translate(QString::fromLatin1(english));
    };
    return {tr("# old"),
            tr("# new"),
            tr("Branch"),
            tr("Found in"),
            units.FlowCaption(tr("Final flow, old")),
            units.FlowCaption(tr("Final flow, new")),
            tr("Change [%]"),
            tr("Beyond tolerance"),
            units.FlowCaption(tr("Requested flow, old")),
            units.FlowCaption(tr("Requested flow, new")),
            tr("Final presetting, old"),
            tr("Final presetting, new"),
            units.PressureCaption(tr("Final pressure, old")),
            units.PressureCaption(tr("Final pressure, new")),
            tr("Valve changed"),
            tr("Valve, old"),
            tr("Valve, new")};
}

bool IsComparisonNumberColumn(int column) {
    switch (column) {
    case ComparisonColumnName:
    case ComparisonColumnFoundIn:
    case ComparisonColumnMoved:
    case ComparisonColumnValveChanged:
    case ComparisonColumnValveOld:
    case ComparisonColumnValveNew:
        return false;
    default:
        return true;
    }
}

QString ComparedKindText(TComparedKind kind, const ITranslator& translator) {
    switch (kind) {
    case TComparedKind::OnlyOld:
        return translator.Translate(QStringLiteral("old only"));
    case TComparedKind::OnlyNew:
        return translator.Translate(QStringLiteral("new only"));
    case TComparedKind::Matched:
        break;
    }
    return translator.Translate(QStringLiteral("both"));
}

QString ComparedValveName(const TValveCatalogue& catalogue, int valveIndex, int codePage) {
    if (!IsKnownValve(catalogue, valveIndex))
        return {};
    return (ManufacturerNameAt(catalogue, ManufacturerOfValve(catalogue, valveIndex), codePage).trimmed() +
            u' ' + ValveNameAt(catalogue, valveIndex, codePage).trimmed())
        .trimmed();
}

QString ComparisonCell(const TComparedBranch& branch, int column, const TUnits& units,
                       const ITranslator& translator, const TValveCatalogue& catalogue, int codePage) {
    const TComparedSide& o = branch.Old;
    const TComparedSide& n = branch.New;
    const bool matched = branch.Kind == TComparedKind::Matched;
    switch (column) {
    case ComparisonColumnOldNumber:
        return o.present() ? QString::number(o.Branch + 1) : QString();
    case ComparisonColumnNewNumber:
        return n.present() ? QString::number(n.Branch + 1) : QString();
    case ComparisonColumnName:
        return branch.Name;
    case ComparisonColumnFoundIn:
        return ComparedKindText(branch.Kind, translator);
    case ComparisonColumnFinalOld:
        return o.present() ? units.ReadoutFlow(o.Final_Flow) : QString();
    case ComparisonColumnFinalNew:
        return n.present() ? units.ReadoutFlow(n.Final_Flow) : QString();
    case ComparisonColumnChange:
        return FormatDeviation(branch.FlowChange, units.Locale);
    case ComparisonColumnMoved:
        return branch.Rated ? yesNo(branch.Moved, translator) : QString();
    case ComparisonColumnRequestedOld:
        return o.present() ? units.ReadoutFlow(o.Request_Flow) : QString();
    case ComparisonColumnRequestedNew:
        return n.present() ? units.ReadoutFlow(n.Request_Flow) : QString();
    case ComparisonColumnPresettingOld:
        return o.present() ? units.FormatPresetting(o.Final_Presetting, translator) : QString();
    case ComparisonColumnPresettingNew:
        return n.present() ? units.FormatPresetting(n.Final_Presetting, translator) : QString();
    case ComparisonColumnPressureOld:
        return o.present() ? units.ReadoutPressure(o.Final_Pressure) : QString();
    case ComparisonColumnPressureNew:
        return n.present() ? units.ReadoutPressure(n.Final_Pressure) : QString();
    case ComparisonColumnValveChanged:
        return matched ? yesNo(branch.ValveChanged, translator) : QString();
    case ComparisonColumnValveOld:
        return o.present() ? ComparedValveName(catalogue, o.Valve_Index, codePage) : QString();
    case ComparisonColumnValveNew:
        return n.present() ? ComparedValveName(catalogue, n.Valve_Index, codePage) : QString();
    default:
        return {};
    }
}

QString ComparisonCountsText(const TProjectComparison& comparison, const TUnits& units,
                             const ITranslator& translator) {
    auto tr = [&translator](const char* english) {
        return translator.Translate(QString::fromLatin1(english));
    };
    const QString gap = QStringLiteral("     ");
    return tr("Matched") + QStringLiteral(": ") + QString::number(comparison.Matched) + gap +
           tr("Only in the old project") + QStringLiteral(": ") + QString::number(comparison.OnlyOld) + gap +
           tr("Only in the new project") + QStringLiteral(": ") + QString::number(comparison.OnlyNew) + gap +
           tr("Moved beyond the tolerance") + QStringLiteral(" (\u00B1") +
           units.Locale.toString(comparison.TolerancePercent) + QStringLiteral(" %): ") +
           QString::number(comparison.Moved);
}
