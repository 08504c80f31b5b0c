// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// Shows an exception that escapes an event handler in a message box; the program goes on.
class TApplication final : public QApplication {
public:
    TApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

// The standard exception message: the exception's text under the program's name.
void showExceptionMessage(const char* what);
