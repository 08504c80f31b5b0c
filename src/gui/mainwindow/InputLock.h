// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointer>

class QAction;
class QWidget;

// Shuts every way in while a device operation runs: the windows still repaint and show their status,
// but no click, key or shortcut reaches a command, a page or the tree until the lock ends. What was
// on before comes back on; the caller then applies its enabling rules again.
class TInputLock {
public:
    // Each widget is switched off whole; the actions of each window are switched off one by one, since
    // a shortcut or a programmatic trigger ignores only a disabled action.
    TInputLock(const QList<QWidget*>& widgets, const QList<QWidget*>& windows);
    ~TInputLock();
    TInputLock(const TInputLock&) = delete;
    TInputLock& operator=(const TInputLock&) = delete;

private:
    QList<QPointer<QWidget>> m_widgets;
    QList<QPointer<QAction>> m_actions;
    QPointer<QWidget> m_focus;
};
