// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/BalancingTableModel.h"

#include "mainwindow/EmptyCellsLast.h"

#include "model/DisplayNumber.h"
#include "model/Markers.h"
#include "model/Translator.h"

#include <QColor>

#include <limits>

namespace {

const QColor OutsideColour(255, 210, 210);
const QColor UncertainColour(255, 236, 179);

// Below every value, so that branches without one gather at the top of an ascending sort.
constexpr double NoSortValue = -std::numeric_limits<double>::infinity();

double flowSortValue(double litresPerHour) {
    return litresPerHour == NoValue || !IsValidFlow(litresPerHour) ? NoSortValue : litresPerHour;
}

double presettingSortValue(double presetting) {
    return presetting == PresettingEmpty ? NoSortValue : presetting;
}

QVariant optionalSortValue(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

bool isExtraColumn(int column) {
    return column >= BalancingColumnCount && column < SummaryColumnCount;
}

} // namespace

TBalancingTableModel::TBalancingTableModel(const ITranslator& translator, QObject* parent)
    : QAbstractTableModel(parent), m_translator(translator) {}

void TBalancingTableModel::setRows(std::vector<TBalancingRow> rows, std::vector<TSummaryExtras> extras,
                                   const TUnits& units, double minPressure) {
    beginResetModel();
    m_rows = std::move(rows);
    m_extras = std::move(extras);
    m_extras.resize(m_rows.size());
    m_units = units;
    m_minPressure = minPressure;
    auto tr = [this](const char* english) { return m_translator.Translate(QString::fromLatin1(english)); };
    m_captions = BalancingCaptions(units, m_translator);
    m_captions << tr("% of design") << units.PressureCaption(tr("Final pressure")) << tr("Kv") << tr("Remark");
    endResetModel();
}

void TBalancingTableModel::setRemarksEditable(std::function<bool()> editable) {
    m_remarksEditable = std::move(editable);
}

int TBalancingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TBalancingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SummaryColumnCount;
}

QString TBalancingTableModel::uncertainTip() const {
    const QString limit = m_units.ReadoutPressure(m_minPressure) + u' ' + m_units.PressureUnitName();
    QString tip = m_translator.Translate(
        QStringLiteral("The final flow was measured at a differential pressure below %s: it is uncertain"));
    // A translation from a file may have lost its placeholder; it is shown as it stands then.
    const qsizetype at = tip.indexOf(QStringLiteral("%s"));
    if (at >= 0)
        tip.replace(at, 2, limit);
    return tip;
}

QString TBalancingTableModel::extraCell(const TSummaryExtras& extras, int column) const {
    const TBranchFigures& figures = extras.Figures;
    switch (column) {
    case SummaryColumnPercentOfDesign:
        return FigureText(figures.PercentOfDesign, 1, m_units.Locale);
    case SummaryColumnFinalPressure: {
        if (!figures.Final.Pressure)
            return {};
        const QString pressure = m_units.ReadoutPressure(*figures.Final.Pressure);
        // The mark before the number keeps the numbers' right edges in line.
        return figures.Final.Uncertain
                   ? m_translator.Translate(QStringLiteral("uncertain")) + QStringLiteral("  ") + pressure
                   : pressure;
    }
    case SummaryColumnFinalKv:
        return FigureText(figures.Final.Kv, 2, m_units.Locale);
    case SummaryColumnRemark:
        return extras.Remark;
    default:
        return {};
    }
}

QVariant TBalancingTableModel::extraSortValue(const TSummaryExtras& extras, int column) const {
    switch (column) {
    case SummaryColumnPercentOfDesign:
        return optionalSortValue(extras.Figures.PercentOfDesign);
    case SummaryColumnFinalPressure:
        return optionalSortValue(extras.Figures.Final.Pressure);
    case SummaryColumnFinalKv:
        return optionalSortValue(extras.Figures.Final.Kv);
    case SummaryColumnRemark:
        return extras.Remark.isEmpty() ? QVariant() : QVariant(extras.Remark);
    default:
        return {};
    }
}

QVariant TBalancingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= SummaryColumnCount)
        return {};
    const TBalancingRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    // What every cell of a row answers alike.
    switch (role) {
    case BranchRole:
        return row.Branch;
    case StateRole:
        return static_cast<int>(row.Balance.State);
    case UncertainRole:
        return m_extras[static_cast<std::size_t>(index.row())].Figures.Final.Uncertain;
    default:
        break;
    }
    if (isExtraColumn(column)) {
        const TSummaryExtras& extras = m_extras[static_cast<std::size_t>(index.row())];
        const bool uncertain = extras.Figures.Final.Uncertain;
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return extraCell(extras, column);
        case Qt::TextAlignmentRole:
            return column == SummaryColumnRemark ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                 : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (uncertain && column == SummaryColumnFinalPressure)
                return UncertainColour;
            return {};
        case Qt::ToolTipRole:
            if (uncertain && (column == SummaryColumnFinalPressure || column == SummaryColumnPercentOfDesign))
                return uncertainTip();
            // A long remark is cut in its column.
            if (column == SummaryColumnRemark && !extras.Remark.isEmpty())
                return extras.Remark;
            return {};
        case SortRole:
            return extraSortValue(extras, column);
        default:
            return {};
        }
    }
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

Qt::ItemFlags TBalancingTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == SummaryColumnRemark && m_remarksEditable && m_remarksEditable())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TBalancingTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != SummaryColumnRemark || index.row() < 0 ||
        index.row() >= rowCount() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    TSummaryExtras& extras = m_extras[static_cast<std::size_t>(index.row())];
    const QString remark = value.toString();
    if (remark == extras.Remark)
        return false;
    // Shown at once; the refresh that follows the document's change brings the same text.
    extras.Remark = remark;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, SortRole});
    emit remarkEdited(m_rows[static_cast<std::size_t>(index.row())].Branch, remark);
    return true;
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

bool TBalancingFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (!isExtraColumn(left.column()))
        return QSortFilterProxyModel::lessThan(left, right);
    if (const std::optional<bool> empty = EmptyCellsLast(left.data(sortRole()), right.data(sortRole()), sortOrder()))
        return *empty;
    return QSortFilterProxyModel::lessThan(left, right);
}

bool TBalancingFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!m_onlyOutside)
        return true;
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return index.data(TBalancingTableModel::StateRole).toInt() == static_cast<int>(TBalanceState::Outside);
}
