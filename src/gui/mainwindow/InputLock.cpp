// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/InputLock.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

TInputLock::TInputLock(const QList<QWidget*>& widgets, const QList<QWidget*>& windows)
    : m_focus(QApplication::focusWidget()) {
    for (QWidget* widget : widgets) {
        if (widget && widget->isEnabled()) {
            widget->setEnabled(false);
            m_widgets.append(widget);
        }
    }
    for (QWidget* window : windows) {
        if (!window)
            continue;
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->isEnabled()) {
                action->setEnabled(false);
                m_actions.append(action);
            }
        }
    }
}

TInputLock::~TInputLock() {
    for (const QPointer<QAction>& action : m_actions)
        if (action)
            action->setEnabled(true);
    for (const QPointer<QWidget>& widget : m_widgets)
        if (widget)
            widget->setEnabled(true);
    // Switching a widget off took its focus away; the user goes on where they were.
    if (m_focus && m_focus->isEnabled() && m_focus->isVisible())
        m_focus->setFocus();
}
