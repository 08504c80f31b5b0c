// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LanguageFile.h"
#include "LanguageList.h"
#include "TextIndex.h"
#include "model/Translator.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

// The current language's texts, looked up by their English text. Language 0 is the built-in English
// and is never looked up. Every text the current language lacks is shown in English and appended to
// the language's log of missing texts (its file path + ".todo"), which each load starts afresh from
// the English master list "messages_uk.txt".
class TMessageCatalogue : public ITranslator {
public:
    // languageDirectory: the program's directory + "language/". locale: its lower-casing makes the keys.
    explicit TMessageCatalogue(QString languageDirectory, QLocale locale = QLocale());

    // Reads messages.ini; see ::LoadLanguageList.
    void LoadLanguageList();
    // Loads the current language's file and regenerates its log of missing texts. False when the file
    // (or the master list) cannot be read or the current language is not in the list; a language file
    // that cannot be read leaves the previous texts and the log as they were.
    bool LoadLanguage();
    QString LastError() const { return m_lastError; }
    // The parse of LoadLanguage over a language file's bytes: replaces the texts, writes nothing.
    void LoadLanguageBytes(const QByteArray& languageFile);
    // The master list's texts (its bytes) that the current language lacks, in list order: what
    // LoadLanguage writes to the log. None for the built-in English.
    QStringList MissingTexts(const QByteArray& masterList) const;

    QString Translate(const QString& english) const override;
    // The translated pattern with its first "%s" replaced by argument and "%%" by "%".
    QString TranslateFmt(const QString& pattern, const QString& argument) const;
    QString TranslateSpaced(const QString& english) const { return u' ' + Translate(english) + u' '; }
    QString TranslateColon(const QString& english) const { return Translate(english) + QStringLiteral(": "); }
    QString TranslateExclaim(const QString& english) const { return Translate(english) + u'!'; }
    QString TranslateEllipsis(const QString& english) const {
        return Translate(english) + QStringLiteral("...");
    }

    // The translation stored for a key already lower-cased with LowerCase(); the first entry of the
    // file wins. Null when there is none. Valid until the next LoadLanguage.
    const QString* FindTranslation(QStringView lowerCasedKey) const;
    QString LowerCase(const QString& text) const { return m_locale.toLower(text); }

    // The font character set of the current language; 1 (the platform's default) outside the list.
    int LanguageCharset() const;
    // The current language's locale for Qt's own texts; empty (English) outside the list.
    QString LanguageLocale() const;
    int CurrentLanguage() const { return m_currentLanguage; }
    // Any value is taken (it comes from the settings file); one outside the list shows English.
    void SetCurrentLanguage(int language) { m_currentLanguage = language; }

    const TLanguageList& Languages() const { return m_languages; }
    // Keys lower-cased, in file order.
    const QList<TMessageEntry>& Entries() const { return m_entries; }
    int EntryCount() const { return static_cast<int>(m_entries.size()); }
    // The current language's log of missing texts; empty when there is no language to look up.
    QString TodoPath() const;

private:
    const TLanguage* currentLanguageWithFile() const;
    // FindTranslation(LowerCase(text)), without the locale for a text of ASCII units when the locale
    // lower-cases those as ASCII does: most texts are, and the locale's lower-casing costs most of a
    // lookup.
    const QString* findTranslationOf(const QString& text) const;

    QString m_languageDirectory;
    QLocale m_locale;
    // False in the Turkish and Azerbaijani locales, where "I" lower-cases to a dotless i.
    bool m_asciiLowersAsAscii = false;
    TLanguageList m_languages;
    int m_currentLanguage = 0;
    QList<TMessageEntry> m_entries;
    TTextIndex m_index;
    QString m_lastError;
};
