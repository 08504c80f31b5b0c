// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/QtStandardTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

TQtStandardTexts::~TQtStandardTexts() {
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

void TQtStandardTexts::Use(const QString& locale) {
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
    if (locale.isEmpty())
        return;
    if (m_translator.load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        m_installed = QCoreApplication::installTranslator(&m_translator);
}
