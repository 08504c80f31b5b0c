#include "MessageCatalogue.h"

#include "TodoLog.h"

#include <QFile>
#include <optional>

namespace {

std::optional<QByteArray> readWholeFile(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QString cannotOpen(const QString& path) {
    return QStringLiteral("Error - cannot open file %1").arg(path);
}

} // namespace

TMessageCatalogue::TMessageCatalogue(QString languageDirectory, QLocale locale)
    : m_languageDirectory(withTrailingSlash(languageDirectory)), m_locale(std::move(locale)) {}

void TMessageCatalogue::LoadLanguageList() {
    m_languages = ::LoadLanguageList(m_languageDirectory);
}

const TLanguage* TMessageCatalogue::currentEntry() const {
    return m_languages.contains(m_currentLanguage) ? &m_languages.at(m_currentLanguage) : nullptr;
}

QString TMessageCatalogue::TodoPath() const {
    const TLanguage* language = currentEntry();
    return language && !language->path.isEmpty() ? language->path + QStringLiteral(".todo") : QString();
}

int TMessageCatalogue::LanguageCharset() const {
    const TLanguage* language = currentEntry();
    return language ? language->charset : 1;
}

bool TMessageCatalogue::LoadLanguage() {
    const TLanguage* language = currentEntry();
    if (!language) {
        m_lastError =
            QStringLiteral("Error - language %1 is not in the language list").arg(m_currentLanguage);
        return false;
    }
    const std::optional<QByteArray> file = readWholeFile(language->path);
    if (!file) {
        m_lastError = cannotOpen(language->path);
        return false;
    }
    m_entries = parseLanguageFile(*file);
    m_index.clear();
    m_index.reserve(m_entries.size());
    for (int i = 0; i < m_entries.size(); ++i) {
        TMessageEntry& entry = m_entries[i];
        entry.key = LowerCase(entry.key);
        if (!m_index.contains(entry.key))
            m_index.insert(entry.key, i);
    }

    const QString todoPath = TodoPath();
    QFile::remove(todoPath);
    const QString masterPath = m_languageDirectory + QStringLiteral("messages_uk.txt");
    const std::optional<QByteArray> master = readWholeFile(masterPath);
    if (!master) {
        m_lastError = cannotOpen(masterPath);
        return false;
    }
    // The records Translate would log one by one, written at once.
    if (m_currentLanguage != 0) {
        QStringList missing;
        for (const QString& text : parseMasterList(*master)) {
            if (!FindTranslation(LowerCase(text)))
                missing.append(text);
        }
        appendTodoRecords(todoPath, missing);
    }
    m_lastError.clear();
    return true;
}

const QString* TMessageCatalogue::FindTranslation(const QString& lowerCasedKey) const {
    const auto found = m_index.constFind(lowerCasedKey);
    return found == m_index.cend() ? nullptr : &m_entries[*found].translation;
}

QString TMessageCatalogue::Translate(const QString& english) const {
    if (m_currentLanguage == 0)
        return english;
    const QString todoPath = TodoPath();
    if (todoPath.isEmpty())
        return english;
    if (const QString* translation = FindTranslation(LowerCase(english)))
        return *translation;
    appendTodoRecords(todoPath, {english});
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
