// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct TLanguage {
    QString name;    // shown in the language dialog
    int charset = 1; // font character set; 1 is the platform's default
    QString path;    // language directory + file name; empty when messages.ini names no file
    QString locale;  // e.g. "cs": the language of Qt's own dialogs and buttons; empty keeps English
};

// The languages of messages.ini. Index 0 is the built-in English.
class TLanguageList {
public:
    static constexpr int Capacity = 100;

    int count() const { return static_cast<int>(m_languages.size()); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    // Only for an index that contains() accepts.
    const TLanguage& at(int index) const { return m_languages.at(index); }

    // Ignored once the list holds Capacity languages.
    void append(const TLanguage& language);

private:
    QList<TLanguage> m_languages;
};

// Reads messages.ini from languageDirectory (the program's directory + "language/"). A missing file or
// key takes its default: 5 languages, name "---", character set 1, file "messages_uk.txt", no locale
// (from the optional section "Locales"). A count above Capacity is cut to Capacity, a negative one to 0.
TLanguageList LoadLanguageList(const QString& languageDirectory);
// The same over the bytes of messages.ini; the files it names are taken to lie in languageDirectory.
TLanguageList LoadLanguageListBytes(const QByteArray& iniBytes, const QString& languageDirectory);

// The directory with exactly one trailing slash, so that a file name can be appended to it.
QString withTrailingSlash(const QString& directory);
