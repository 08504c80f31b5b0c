// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ComparisonTable.h"
#include "model/Units.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

class ITranslator;
struct TValveCatalogue;

// The rows of a project comparison for a view.
class TComparisonTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Numbers for the numeric columns, so that 9 sorts before 10; no value for an empty cell.
    static constexpr int SortRole = Qt::UserRole + 1;
    // The branch's index in the new (open) project; -1 for a branch only in the old one.
    static constexpr int NewBranchRole = Qt::UserRole + 2;

    TComparisonTableModel(const ITranslator& translator, const TValveCatalogue& catalogue,
                          QObject* parent = nullptr);

    // codePage: the table of the catalogue's names.
    void setComparison(TProjectComparison comparison, const TUnits& units, int codePage);
    const TProjectComparison& comparison() const { return m_comparison; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant sortValue(const TComparedBranch& branch, int column) const;

    const ITranslator& m_translator;
    const TValveCatalogue& m_catalogue;
    int m_codePage = 0;
    TUnits m_units;
    TProjectComparison m_comparison;
    QStringList m_captions;
};

// Sorts by the model's SortRole with empty cells last in either direction.
class TComparisonSortModel final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TComparisonSortModel(QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};
