// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTranslator>

// The texts Qt itself draws (the Yes/No/OK of message boxes, the file and print dialogs) in the
// user's language, from the translations Qt ships; English where Qt has none for it.
class TQtStandardTexts {
public:
    ~TQtStandardTexts();
    // locale: e.g. "cs"; empty for English.
    void Use(const QString& locale);

private:
    QTranslator m_translator;
    bool m_installed = false;
};
