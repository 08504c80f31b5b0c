// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QItemSelectionModel>
#include <QList>
#include <QPersistentModelIndex>
#include <QTreeView>

#include <functional>

// A line of a tree view as the tests read it: the model's index with the view that shows it. It
// follows its row through inserts, moves and removals, as the view's selection does.
struct TreeLine {
    QTreeView* View = nullptr;
    QPersistentModelIndex Index;

    bool isNull() const { return !Index.isValid(); }
    QString text(int = 0) const { return Index.data(Qt::DisplayRole).toString(); }
    QString toolTip(int = 0) const { return Index.data(Qt::ToolTipRole).toString(); }
    QIcon icon(int = 0) const { return Index.data(Qt::DecorationRole).value<QIcon>(); }
    int childCount() const { return View->model()->rowCount(Index); }
    TreeLine child(int row) const { return {View, View->model()->index(row, 0, Index)}; }
    bool isExpanded() const { return View->isExpanded(Index); }
    void setExpanded(bool on) const { View->setExpanded(Index, on); }
    TreeLine parent() const { return {View, Index.parent()}; }
    bool isSelected() const { return View->selectionModel()->isSelected(Index); }
    // So that a line reads like the item it replaces: line->text(0).
    const TreeLine* operator->() const { return this; }
    bool operator==(const TreeLine& other) const { return Index == other.Index; }
};

inline TreeLine rootLine(QTreeView* view) {
    return {view, view->model()->index(0, 0)};
}

inline TreeLine currentLine(QTreeView* view) {
    return {view, view->currentIndex()};
}

inline void selectLine(const TreeLine& line) {
    line.View->setCurrentIndex(line.Index);
}

inline QList<TreeLine> selectedLines(QTreeView* view) {
    QList<TreeLine> lines;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
        lines.append({view, index});
    return lines;
}

// Every line's text, depth first, as the view would show it with every node open.
inline QStringList allLineTexts(QTreeView* view) {
    QStringList texts;
    const QAbstractItemModel* model = view->model();
    std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex line = model->index(row, 0, parent);
            texts << line.data().toString();
            walk(line);
        }
    };
    walk(QModelIndex());
    return texts;
}
