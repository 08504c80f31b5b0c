// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/DesktopApplication.h"

#include <QMessageBox>

#include <exception>

void showExceptionMessage(const char* what) {
    QMessageBox::critical(nullptr, QStringLiteral("ZRV 10 User Software"),
                          what && *what ? QString::fromLocal8Bit(what) : QStringLiteral("Unknown error."));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showExceptionMessage(e.what());
    } catch (...) {
        showExceptionMessage(nullptr);
    }
    return false;
}
