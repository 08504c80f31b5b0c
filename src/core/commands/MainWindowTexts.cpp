// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/MainWindowTexts.h"

#include "localisation/MessageCatalogue.h"

QString translatedText(const TMessageCatalogue& catalogue, const char* english, TTextVariant variant) {
    const QString text = QString::fromUtf8(english);
    return variant == TTextVariant::Ellipsis ? catalogue.TranslateEllipsis(text) : catalogue.Translate(text);
}

QString versionText(const TMessageCatalogue& catalogue) {
    return catalogue.TranslateSpaced(QStringLiteral("Version")) + QLatin1String(ProgramVersion);
}
