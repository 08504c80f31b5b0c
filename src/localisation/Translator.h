#pragma once

#include <QString>

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
