// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/PageDrawingApplication.h"

#include <QApplication>

std::unique_ptr<QCoreApplication> MakePageDrawingApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}
