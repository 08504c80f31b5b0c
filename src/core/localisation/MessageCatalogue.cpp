// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageCatalogue.h"

#include "TodoLog.h"

#include <QFile>
#include <QVarLengthArray>
#include <optional>

namespace {

std::optional<QByteArray> readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QString todoPathOf(const TLanguage& language) {
    return language.path + QStringLiteral(".todo");
}

QString cannotOpen(const QString& path) {
    return QStringLiteral("Error - cannot open file %1").arg(path);
}

} // namespace

TMessageCatalogue::TMessageCatalogue(QString languageDirectory, QLocale locale)
    : m_languageDirectory(withTrailingSlash(languageDirectory)), m_locale(std::move(locale)) {
    // Lower-casing has context rules only beyond ASCII, so the alphabet shows how any ASCII text fares.
    m_asciiLowersAsAscii = m_locale.toLower(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")) ==
                           QLatin1String("abcdefghijklmnopqrstuvwxyz");
}

void TMessageCatalogue::LoadLanguageList() {
    m_languages = ::LoadLanguageList(m_languageDirectory);
}

const TLanguage* TMessageCatalogue::currentLanguageWithFile() const {
    if (!m_languages.contains(m_currentLanguage))
        return nullptr;
    const TLanguage& language = m_languages.at(m_currentLanguage);
    return language.path.isEmpty() ? nullptr : &language;
}

QString TMessageCatalogue::TodoPath() const {
    const TLanguage* language = currentLanguageWithFile();
    return language ? todoPathOf(*language) : QString();
}

int TMessageCatalogue::LanguageCharset() const {
    return m_languages.contains(m_currentLanguage) ? m_languages.at(m_currentLanguage).charset : 1;
}

QString TMessageCatalogue::LanguageLocale() const {
    return m_languages.contains(m_currentLanguage) ? m_languages.at(m_currentLanguage).locale : QString();
}

bool TMessageCatalogue::LoadLanguage() {
    const TLanguage* language = currentLanguageWithFile();
    if (!language) {
        m_lastError = QStringLiteral("Error - language %1 has no language file").arg(m_currentLanguage);
        return false;
    }
    const std::optional<QByteArray> file = readWholeFile(language->path);
    if (!file) {
        m_lastError = cannotOpen(language->path);
        return false;
    }
    LoadLanguageBytes(*file);

    const QString todoPath = todoPathOf(*language);
    QFile::remove(todoPath);
    const QString masterPath = m_languageDirectory + QStringLiteral("messages_uk.txt");
    const std::optional<QByteArray> master = readWholeFile(masterPath);
    if (!master) {
        m_lastError = cannotOpen(masterPath);
        return false;
    }
    // The records Translate would log one by one, written at once.
    appendTodoRecords(todoPath, MissingTexts(*master));
    m_lastError.clear();
    return true;
}

void TMessageCatalogue::LoadLanguageBytes(const QByteArray& languageFile) {
    m_entries = parseLanguageFile(languageFile);
    for (TMessageEntry& entry : m_entries)
        entry.key = LowerCase(entry.key);
    m_index.rebuild(m_entries);
}

QStringList TMessageCatalogue::MissingTexts(const QByteArray& masterList) const {
    QStringList missing;
    if (m_currentLanguage == 0)
        return missing;
    for (const QString& text : parseMasterList(masterList)) {
        if (!findTranslationOf(text))
            missing.append(text);
    }
    return missing;
}

const QString* TMessageCatalogue::FindTranslation(QStringView lowerCasedKey) const {
    const int entry = m_index.find(lowerCasedKey);
    return entry < 0 ? nullptr : &m_entries[entry].translation;
}

namespace {

bool isAsciiUpper(QChar unit) {
    return unit >= u'A' && unit <= u'Z';
}

} // namespace

const QString* TMessageCatalogue::findTranslationOf(const QString& text) const {
    if (!m_asciiLowersAsAscii)
        return FindTranslation(LowerCase(text));
    bool hasUpper = false;
    for (const QChar unit : text) {
        if (unit.unicode() >= 0x80)
            return FindTranslation(LowerCase(text));
        hasUpper = hasUpper || isAsciiUpper(unit);
    }
    if (!hasUpper)
        return FindTranslation(text);
    QVarLengthArray<QChar, 128> lowered;
    lowered.reserve(text.size());
    for (const QChar unit : text)
        lowered.append(isAsciiUpper(unit) ? QChar(static_cast<char16_t>(unit.unicode() + (u'a' - u'A')))
                                          : unit);
    return FindTranslation(QStringView(lowered.data(), lowered.size()));
}

QString TMessageCatalogue::Translate(const QString& english) const {
    if (m_currentLanguage == 0)
        return english;
    const TLanguage* language = currentLanguageWithFile();
    if (!language)
        return english;
    if (const QString* translation = findTranslationOf(english))
        return *translation;
    appendTodoRecords(todoPathOf(*language), {english});
    return english;
}

QString TMessageCatalogue::TranslateFmt(const QString& pattern, const QString& argument) const {
    // Translations come from files: a stray "%d" or a second "%s" is shown as it stands instead of
    // reading an argument that was never passed.
    const QString translated = Translate(pattern);
    QString result;
    result.reserve(translated.size() + argument.size());
    bool substituted = false;
    for (qsizetype i = 0; i < translated.size(); ++i) {
        const QChar next = i + 1 < translated.size() ? translated[i + 1] : QChar();
        if (translated[i] == u'%' && next == u'%') {
            result += u'%';
            ++i;
        } else if (translated[i] == u'%' && next == u's' && !substituted) {
            result += argument;
            substituted = true;
            ++i;
        } else {
            result += translated[i];
        }
    }
    return result;
}
