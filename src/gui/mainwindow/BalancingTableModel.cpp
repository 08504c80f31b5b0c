// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/BalancingTableModel.h"

#include "model/Markers.h"

#include <QColor>

#include <limits>

namespace {

const QColor OutsideColour(255, 210, 210);

// Below every value, so that branches without one gather at the top of an ascending sort.
constexpr double NoSortValue = -std::numeric_limits<double>::infinity();

double flowSortValue(double litresPerHour) {
    return litresPerHour == NoValue || !IsValidFlow(litresPerHour) ? NoSortValue : litresPerHour;
}

double presettingSortValue(double presetting) {
    return presetting == PresettingEmpty ? NoSortValue : presetting;
}

} // namespace

TBalancingTableModel::TBalancingTableModel(const ITranslator& translator, QObject* parent)
    : QAbstractTableModel(parent), m_translator(translator) {}

void TBalancingTableModel::setRows(std::vector<TBalancingRow> rows, const TUnits& units) {
    beginResetModel();
    m_rows = std::move(rows);
    m_units = units;
    m_captions = BalancingCaptions(units, m_translator);
    endResetModel();
}

int TBalancingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TBalancingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : BalancingColumnCount;
}

QVariant TBalancingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= BalancingColumnCount)
        return {};
    const TBalancingRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return BalancingCell(row, column, m_units, m_translator);
    case Qt::TextAlignmentRole:
        return IsNumberColumn(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                      : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (row.Balance.State == TBalanceState::Outside &&
            (column == BalancingColumnDeviation || column == BalancingColumnWithin))
            return OutsideColour;
        return {};
    case BranchRole:
        return row.Branch;
    case StateRole:
        return static_cast<int>(row.Balance.State);
    case SortRole:
        switch (column) {
        case BalancingColumnNumber:
            return row.Branch;
        case BalancingColumnRequested:
            return flowSortValue(row.RequestFlow);
        case BalancingColumnInitial:
            return flowSortValue(row.InitialFlow);
        case BalancingColumnFinal:
            return flowSortValue(row.FinalFlow);
        case BalancingColumnInitialPresetting:
            return presettingSortValue(row.InitialPresetting);
        case BalancingColumnFinalPresetting:
            return presettingSortValue(row.FinalPresetting);
        case BalancingColumnDeviation:
            return row.Balance.Deviation.value_or(NoSortValue);
        case BalancingColumnWithin:
            return static_cast<int>(row.Balance.State);
        default:
            return BalancingCell(row, column, m_units, m_translator);
        }
    default:
        return {};
    }
}

QVariant TBalancingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_captions.size())
        return {};
    return m_captions.at(section);
}

TBalancingFilterModel::TBalancingFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(TBalancingTableModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setSortLocaleAware(true);
}

void TBalancingFilterModel::setOnlyOutside(bool only) {
    if (only == m_onlyOutside)
        return;
    m_onlyOutside = only;
    invalidateFilter();
}

bool TBalancingFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!m_onlyOutside)
        return true;
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return index.data(TBalancingTableModel::StateRole).toInt() == static_cast<int>(TBalanceState::Outside);
}
