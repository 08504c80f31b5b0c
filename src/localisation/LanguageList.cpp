#include "LanguageList.h"

#include "IniFile.h"

#include <algorithm>

void TLanguageList::append(const TLanguage& language) {
    if (count() < Capacity)
        m_languages.append(language);
}

QString withTrailingSlash(const QString& directory) {
    return directory.endsWith(u'/') || directory.isEmpty() ? directory : directory + u'/';
}

TLanguageList LoadLanguageList(const QString& languageDirectory) {
    const QString directory = withTrailingSlash(languageDirectory);
    const TIniFile ini = TIniFile::read(directory + QStringLiteral("messages.ini"));

    const int count = std::clamp(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Total"), 5), 0,
                                 TLanguageList::Capacity);
    TLanguageList list;
    for (int i = 0; i < count; ++i) {
        const QString key = QString::number(i);
        const QString file = ini.readString(QStringLiteral("Files"), key, QStringLiteral("messages_uk.txt"));
        list.append({ini.readString(QStringLiteral("Names"), key, QStringLiteral("---")),
                     ini.readInteger(QStringLiteral("Charsets"), key, 1),
                     // An empty name would make the directory itself the language file and put the
                     // log of missing texts at "language/.todo".
                     file.isEmpty() ? QString() : directory + file});
    }
    return list;
}
