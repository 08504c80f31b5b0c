// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageList.h"

#include "files/IniFile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

// Files saved as UTF-16 (with a byte-order mark) are read as well as UTF-8 ones.
IniFile languageIni(QByteArray bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        bytes = QString(QStringDecoder(QStringConverter::Utf16LE)(bytes.sliced(2))).toUtf8();
    return IniFile(std::move(bytes));
}

} // namespace

void TLanguageList::append(const TLanguage& language) {
    if (count() < Capacity)
        m_languages.append(language);
}

QString withTrailingSlash(const QString& directory) {
    return directory.endsWith(u'/') || directory.isEmpty() ? directory : directory + u'/';
}

TLanguageList LoadLanguageList(const QString& languageDirectory) {
    // A missing or unreadable file reads as no keys at all, so each takes its default.
    QFile file(withTrailingSlash(languageDirectory) + QStringLiteral("messages.ini"));
    return LoadLanguageListBytes(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                                 languageDirectory);
}

TLanguageList LoadLanguageListBytes(const QByteArray& iniBytes, const QString& languageDirectory) {
    const QString directory = withTrailingSlash(languageDirectory);
    const IniFile ini = languageIni(iniBytes);

    const int count = std::clamp(ini.readInt(QStringLiteral("Main"), QStringLiteral("Total"), 5), 0,
                                 TLanguageList::Capacity);
    TLanguageList list;
    for (int i = 0; i < count; ++i) {
        const QString key = QString::number(i);
        const QString file = ini.readString(QStringLiteral("Files"), key, QStringLiteral("messages_uk.txt"));
        list.append({ini.readString(QStringLiteral("Names"), key, QStringLiteral("---")),
                     ini.readInt(QStringLiteral("Charsets"), key, 1),
                     // An empty name would make the directory itself the language file and put the
                     // log of missing texts at "language/.todo".
                     file.isEmpty() ? QString() : directory + file,
                     ini.readString(QStringLiteral("Locales"), key, QString())});
    }
    return list;
}
