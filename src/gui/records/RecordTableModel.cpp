// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordTableModel.h"

TRecordTableModel::TRecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TRecordTableModel::setRows(TRecordRows rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int TRecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : qMax(m_rows.rowCount() - 1, 0);
}

int TRecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.columnCount();
}

QVariant TRecordTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_rows.cell(index.column(), index.row() + 1);
}

QVariant TRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_rows.cell(section, 0);
    return section + 1;
}
