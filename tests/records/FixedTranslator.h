// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Translator.h"

#include <QHash>

// A dictionary translator: listed keys get their text, the others stay English.
class TFixedTranslator final : public ITranslator {
public:
    explicit TFixedTranslator(QHash<QString, QString> dictionary) : m_texts(std::move(dictionary)) {}
    QString Translate(const QString& key) const override { return m_texts.value(key, key); }

private:
    QHash<QString, QString> m_texts;
};
