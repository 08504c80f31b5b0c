// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ComparisonTableModel.h"

#include "mainwindow/EmptyCellsLast.h"

#include "model/Balancing.h"
#include "model/Markers.h"

#include <QColor>

#include <cmath>

namespace {

const QColor MovedColour(255, 210, 210);

QVariant flowValue(const TComparedSide& side, double litresPerHour) {
    return side.present() && IsMeasuredFlow(litresPerHour) ? QVariant(litresPerHour) : QVariant();
}

QVariant pressureValue(const TComparedSide& side, double pascal) {
    return side.present() && pascal != NoValue && std::isfinite(pascal) && IsValidPressure(pascal)
               ? QVariant(pascal)
               : QVariant();
}

QVariant presettingValue(const TComparedSide& side, double presetting) {
    // "None" (a valve without presetting) sorts before every number.
    if (!side.present() || presetting == PresettingEmpty || !std::isfinite(presetting))
        return {};
    return presetting == PresettingNone ? QVariant(-1.0e300) : QVariant(presetting);
}

} // namespace

TComparisonTableModel::TComparisonTableModel(const ITranslator& translator, const TValveCatalogue& catalogue,
                                             QObject* parent)
    : QAbstractTableModel(parent), m_translator(translator), m_catalogue(catalogue) {}

void TComparisonTableModel::setComparison(TProjectComparison comparison, const TUnits& units, int codePage) {
    beginResetModel();
    m_comparison = std::move(comparison);
    m_units = units;
    m_codePage = codePage;
    m_captions = ComparisonCaptions(units, m_translator);
    endResetModel();
}

int TComparisonTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_comparison.Branches.size());
}

int TComparisonTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ComparisonColumnCount;
}

QVariant TComparisonTableModel::sortValue(const TComparedBranch& branch, int column) const {
    const TComparedSide& o = branch.Old;
    const TComparedSide& n = branch.New;
    switch (column) {
    case ComparisonColumnOldNumber:
        return o.present() ? QVariant(o.Branch) : QVariant();
    case ComparisonColumnNewNumber:
        return n.present() ? QVariant(n.Branch) : QVariant();
    case ComparisonColumnFoundIn:
        return static_cast<int>(branch.Kind);
    case ComparisonColumnFinalOld:
        return flowValue(o, o.Final_Flow);
    case ComparisonColumnFinalNew:
        return flowValue(n, n.Final_Flow);
    case ComparisonColumnChange:
        return branch.FlowChange ? QVariant(*branch.FlowChange) : QVariant();
    case ComparisonColumnRequestedOld:
        return flowValue(o, o.Request_Flow);
    case ComparisonColumnRequestedNew:
        return flowValue(n, n.Request_Flow);
    case ComparisonColumnPresettingOld:
        return presettingValue(o, o.Final_Presetting);
    case ComparisonColumnPresettingNew:
        return presettingValue(n, n.Final_Presetting);
    case ComparisonColumnPressureOld:
        return pressureValue(o, o.Final_Pressure);
    case ComparisonColumnPressureNew:
        return pressureValue(n, n.Final_Pressure);
    default: {
        const QString text = ComparisonCell(branch, column, m_units, m_translator, m_catalogue, m_codePage);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    }
}

QVariant TComparisonTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= ComparisonColumnCount)
        return {};
    const TComparedBranch& branch = m_comparison.Branches[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return ComparisonCell(branch, column, m_units, m_translator, m_catalogue, m_codePage);
    case Qt::TextAlignmentRole:
        return IsComparisonNumberColumn(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if ((branch.Moved && (column == ComparisonColumnChange || column == ComparisonColumnMoved)) ||
            (branch.ValveChanged && column == ComparisonColumnValveChanged))
            return MovedColour;
        return {};
    case NewBranchRole:
        return branch.New.Branch;
    case SortRole:
        return sortValue(branch, column);
    default:
        return {};
    }
}

QVariant TComparisonTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_captions.size())
        return {};
    // "Final flow, old [l/h]" on two lines: the old and new columns stay narrow enough for the change
    // and its rating to be in sight beside the name.
    QString caption = m_captions.at(section);
    const qsizetype comma = caption.indexOf(QStringLiteral(", "));
    if (comma > 0)
        caption.replace(comma + 1, 1, u'\n');
    return caption;
}

TComparisonSortModel::TComparisonSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(TComparisonTableModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setSortLocaleAware(true);
}

bool TComparisonSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (const std::optional<bool> empty = EmptyCellsLast(left.data(sortRole()), right.data(sortRole()), sortOrder()))
        return *empty;
    return QSortFilterProxyModel::lessThan(left, right);
}
