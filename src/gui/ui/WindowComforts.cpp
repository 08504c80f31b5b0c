// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowComforts.h"

#include <QAction>
#include <QKeySequence>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void AddCloseShortcuts(QWidget& window, QAction* closeAction) {
    const QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)};
    if (closeAction) {
        closeAction->setShortcuts(keys);
        closeAction->setShortcutContext(Qt::WindowShortcut);
        return;
    }
    auto* close = new QAction(&window);
    close->setShortcuts(keys);
    QObject::connect(close, &QAction::triggered, &window, &QWidget::close);
    window.addAction(close);
}

void CentreOver(QWidget& window, const QWidget* over) {
    if (!over || !over->isVisible())
        return;
    const QRect target = over->frameGeometry();
    QRect frame = window.frameGeometry();
    frame.moveCenter(target.center());
    if (const QScreen* screen = over->screen()) {
        const QRect available = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() - frame.width() + 1)));
        frame.moveTop(std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - frame.height() + 1)));
    }
    window.move(frame.topLeft());
}
