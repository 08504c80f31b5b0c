// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/RecordRows.h"

#include <QAbstractTableModel>

// The records table for a view: row 0 of the table is the horizontal header (the fixed row), the
// rows below it are the view's rows. The exports write the same rows, so what is shown and what is
// exported cannot differ.
class TRecordTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRecordTableModel(QObject* parent = nullptr);

    void setRows(TRecordRows rows);
    const TRecordRows& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TRecordRows m_rows;
};
