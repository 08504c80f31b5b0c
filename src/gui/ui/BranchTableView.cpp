// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BranchTableView.h"

#include <QHeaderView>
#include <QShortcut>
#include <QTableView>

#include <algorithm>

namespace {
constexpr int MaxFittedColumnWidth = 220;
}

void SetUpBranchTable(QTableView& view) {
    view.setSortingEnabled(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setWordWrap(false);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view.horizontalHeader()->setStretchLastSection(true);
}

void OnEnterInTable(QTableView& view, const std::function<void()>& activate) {
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(key, &view, nullptr, nullptr, Qt::WidgetShortcut);
        QObject::connect(enter, &QShortcut::activated, &view, activate);
    }
}

void FitTableColumns(QTableView& view) {
    view.resizeColumnsToContents();
    QHeaderView* columns = view.horizontalHeader();
    for (int c = 0; c < columns->count(); ++c)
        columns->resizeSection(c, std::min(columns->sectionSize(c), MaxFittedColumnWidth));
}
