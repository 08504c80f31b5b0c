// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/BalancingTable.h"
#include "model/Units.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

class ITranslator;

// The rows of the balancing summary for a view.
class TBalancingTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Sorting reads this role: numbers for flows, presettings and the deviation, so that 9 sorts
    // before 10 and branches without a value sort first.
    static constexpr int SortRole = Qt::UserRole + 1;
    // The branch's index in the project.
    static constexpr int BranchRole = Qt::UserRole + 2;
    static constexpr int StateRole = Qt::UserRole + 3;

    explicit TBalancingTableModel(const ITranslator& translator, QObject* parent = nullptr);

    void setRows(std::vector<TBalancingRow> rows, const TUnits& units);
    const std::vector<TBalancingRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ITranslator& m_translator;
    TUnits m_units;
    std::vector<TBalancingRow> m_rows;
    QStringList m_captions;
};

// Sorts by the model's SortRole and can hide the branches within the tolerance or not measured.
class TBalancingFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TBalancingFilterModel(QObject* parent = nullptr);
    void setOnlyOutside(bool only);
    bool onlyOutside() const { return m_onlyOutside; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    bool m_onlyOutside = false;
};
