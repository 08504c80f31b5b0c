// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StatusLine.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

QLabel* AddStatusLine(QMainWindow& window) {
    auto* text = new QLabel;
    text->setObjectName(QStringLiteral("statusText"));
    QStatusBar* bar = window.statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(StatusLineHeight);
    bar->setSizeGripEnabled(false);
    bar->addWidget(text, 1);
    return text;
}
