// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Marks an English text that is translated away from where it is written (a table entry, a text
// passed on), so that scripts/update-master-list.py finds it for the master list of texts.
constexpr const char* EnglishText(const char* english) {
    return english;
}

// What model code needs of the message catalogue: the current language's text for an English key.
// Keeps the model independent of how languages are loaded, and lets tests pass a fixed dictionary.
class ITranslator {
public:
    virtual ~ITranslator() = default;
    virtual QString Translate(const QString& english) const = 0;
};

// Language 0: the English text as it stands.
class TIdentityTranslator final : public ITranslator {
public:
    QString Translate(const QString& english) const override { return english; }
};

// The English texts, for callers that show nothing to a user of another language (tests, tools).
inline const ITranslator& EnglishOnly() {
    static const TIdentityTranslator english;
    return english;
}
