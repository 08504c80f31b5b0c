// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/BalancingTable.h"
#include "model/CommissioningFigures.h"
#include "model/Units.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <functional>
#include <vector>

class ITranslator;

// The window's columns after the balancing summary's own, which the report and the summary file
// keep as they are: what a commissioning states of each branch's final state.
enum TSummaryColumn {
    SummaryColumnPercentOfDesign = BalancingColumnCount,
    SummaryColumnFinalPressure,
    SummaryColumnFinalKv,
    SummaryColumnRemark,
    SummaryColumnCount
};

// A branch's commissioning figures and remark beside its balancing row.
struct TSummaryExtras {
    TBranchFigures Figures;
    QString Remark;
};

// The rows of the balancing summary for a view.
class TBalancingTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Sorting reads this role: numbers for flows, presettings and the deviation, so that 9 sorts
    // before 10 and branches without a value sort first. The commissioning columns give no value
    // for an empty cell, which sorts last either way.
    static constexpr int SortRole = Qt::UserRole + 1;
    // The branch's index in the project.
    static constexpr int BranchRole = Qt::UserRole + 2;
    static constexpr int StateRole = Qt::UserRole + 3;
    // The final flow was measured at too small a differential pressure to be trusted.
    static constexpr int UncertainRole = Qt::UserRole + 4;

    explicit TBalancingTableModel(const ITranslator& translator, QObject* parent = nullptr);

    // extras: one per row (missing ones are empty); minPressure in Pa, named by the uncertain mark.
    void setRows(std::vector<TBalancingRow> rows, std::vector<TSummaryExtras> extras, const TUnits& units,
                 double minPressure);
    const std::vector<TBalancingRow>& rows() const { return m_rows; }
    // Asked whenever a view wants to edit a remark; without it remarks are read-only.
    void setRemarksEditable(std::function<bool()> editable);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A remark typed in the view is announced, not kept: the document owns it and the rows follow it.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void remarkEdited(int branch, const QString& remark);

private:
    QString extraCell(const TSummaryExtras& extras, int column) const;
    QVariant extraSortValue(const TSummaryExtras& extras, int column) const;
    QString uncertainTip() const;

    const ITranslator& m_translator;
    TUnits m_units;
    double m_minPressure = DefaultMinDifferentialPressure;
    std::vector<TBalancingRow> m_rows;
    std::vector<TSummaryExtras> m_extras;
    QStringList m_captions;
    std::function<bool()> m_remarksEditable;
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
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    bool m_onlyOutside = false;
};
