// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/ApplyMenuAccelerators.h"

#include "localisation/MenuAccelerators.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

bool takesAccelerator(const QAction* action) {
    return !action->isSeparator() && !action->text().isEmpty() && !action->text().startsWith(u'-');
}

void applyTo(const QList<QAction*>& actions) {
    QList<QAction*> items;
    QStringList texts;
    for (QAction* action : actions) {
        if (!takesAccelerator(action))
            continue;
        items << action;
        texts << WithoutAccelerator(action->text());
    }
    const QStringList marked = AssignAccelerators(texts);
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i)->text() != marked.at(i))
            items.at(i)->setText(marked.at(i));
    }
    for (QAction* action : actions) {
        if (action->menu())
            ApplyMenuAccelerators(action->menu());
    }
}

} // namespace

void ApplyMenuAccelerators(QMenuBar* menuBar) {
    if (menuBar)
        applyTo(menuBar->actions());
}

void ApplyMenuAccelerators(QMenu* menu) {
    if (menu)
        applyTo(menu->actions());
}
