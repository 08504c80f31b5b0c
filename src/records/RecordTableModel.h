#pragma once

#include "records/TextTable.h"

#include <QAbstractTableModel>

// The records table for a view: row 0 of the text table is the horizontal header (the fixed row),
// the rows below it are the view's rows. It holds the very table the exports write, so what is
// shown and what is exported cannot differ.
class TRecordTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRecordTableModel(QObject* parent = nullptr);

    void setTable(TTextTable table);
    const TTextTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TTextTable m_table;
};
