// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

struct Range {
    qsizetype begin = 0;
    qsizetype end = 0;
};

Range trimmed(const QByteArray& bytes, Range r) {
    while (r.begin < r.end && isBlank(bytes[r.begin]))
        ++r.begin;
    while (r.end > r.begin && isBlank(bytes[r.end - 1]))
        --r.end;
    return r;
}

// Position of c within r, or -1; never looks past the line.
qsizetype indexIn(const QByteArray& bytes, char c, Range r) {
    for (qsizetype i = r.begin; i < r.end; ++i)
        if (bytes[i] == c)
            return i;
    return -1;
}

bool sameName(const QByteArray& bytes, Range r, const QString& name) {
    return QString::fromUtf8(bytes.constData() + r.begin, r.end - r.begin)
               .compare(name, Qt::CaseInsensitive) == 0;
}

// Where a section and a key were found, and where a new key line would go.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Range value;                // trimmed value of the key line, quotes included
    qsizetype insertAt = 0;     // just after the section's last non-blank, non-comment line
    bool insertAfterEol = true; // false when that line is the file's last and has no line end
};

Location locate(const QByteArray& bytes, const QString& section, const QString& key) {
    Location loc;
    bool inSection = false;
    qsizetype pos = bytes.startsWith(utf8Bom) ? utf8Bom.size() : 0;
    while (pos < bytes.size()) {
        qsizetype lineEnd = bytes.indexOf('\n', pos);
        const bool hasEol = lineEnd >= 0;
        lineEnd = hasEol ? lineEnd + 1 : bytes.size();
        Range content{pos, hasEol ? lineEnd - 1 : lineEnd};
        if (content.end > content.begin && bytes[content.end - 1] == '\r')
            --content.end;
        const Range line = trimmed(bytes, content);
        pos = lineEnd;

        if (line.begin < line.end && bytes[line.begin] == '[') {
            const qsizetype close = indexIn(bytes, ']', line);
            if (close >= 0) {
                if (inSection)
                    break; // only the first section of that name counts
                if (sameName(bytes, trimmed(bytes, {line.begin + 1, close}), section)) {
                    inSection = true;
                    loc.sectionFound = true;
                    loc.insertAt = lineEnd;
                    loc.insertAfterEol = hasEol;
                }
                continue;
            }
        }
        if (!inSection || line.begin == line.end || bytes[line.begin] == ';')
            continue;
        loc.insertAt = lineEnd;
        loc.insertAfterEol = hasEol;
        const qsizetype eq = indexIn(bytes, '=', line);
        if (eq < 0)
            continue;
        if (sameName(bytes, trimmed(bytes, {line.begin, eq}), key)) {
            loc.keyFound = true;
            loc.value = trimmed(bytes, {eq + 1, line.end});
            break;
        }
    }
    return loc;
}

// New lines follow the file's own line ends; a file without any gets LF.
QByteArray lineEndOf(const QByteArray& bytes) {
    const qsizetype lf = bytes.indexOf('\n');
    return lf > 0 && bytes[lf - 1] == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

std::optional<int32_t> parseDecimal(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return std::nullopt;
    }
    const int64_t v = negative ? -magnitude : magnitude;
    if (v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return int32_t(v);
}

bool endsWithBlankLine(const QByteArray& bytes) {
    if (!bytes.endsWith('\n'))
        return false;
    const qsizetype end = bytes.size() - 1;
    const qsizetype begin = end == 0 ? 0 : bytes.lastIndexOf('\n', end - 1) + 1;
    return bytes.mid(begin, end - begin).trimmed().isEmpty();
}

bool hasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

} // namespace

IniFile::IniFile(QByteArray bytes) : m_bytes(std::move(bytes)) {}

std::optional<IniFile> IniFile::fromFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists())
        return IniFile();
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error =
                QStringLiteral("Cannot read %1: %2")
                    .arg(QDir::toNativeSeparators(path),
                         QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : file.errorString());
        return std::nullopt;
    }
    return IniFile(file.readAll());
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Location loc = locate(m_bytes, section.trimmed(), key.trimmed());
    if (!loc.keyFound)
        return std::nullopt;
    Range r = loc.value;
    if (r.end - r.begin >= 2) {
        const char first = m_bytes[r.begin];
        if ((first == '"' || first == '\'') && m_bytes[r.end - 1] == first) {
            ++r.begin;
            --r.end;
        }
    }
    return QString::fromUtf8(m_bytes.constData() + r.begin, r.end - r.begin);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

int32_t IniFile::readInt(const QString& section, const QString& key, int32_t defaultValue) const {
    const std::optional<QString> text = value(section, key);
    if (!text)
        return defaultValue;
    return parseDecimal(text->trimmed()).value_or(defaultValue);
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (sectionName.isEmpty() || keyName.isEmpty() || hasLineBreak(sectionName) || hasLineBreak(keyName) ||
        hasLineBreak(value) || sectionName.contains(u']') || keyName.contains(u'=') ||
        keyName.startsWith(u';') || keyName.startsWith(u'['))
        return false;

    const Location loc = locate(m_bytes, sectionName, keyName);
    const QByteArray valueBytes = value.toUtf8();
    if (loc.keyFound) {
        m_bytes.replace(loc.value.begin, loc.value.end - loc.value.begin, valueBytes);
        return true;
    }
    const QByteArray eol = lineEndOf(m_bytes);
    const QByteArray keyLine = keyName.toUtf8() + '=' + valueBytes + eol;
    if (loc.sectionFound) {
        m_bytes.insert(loc.insertAt, loc.insertAfterEol ? keyLine : eol + keyLine);
        return true;
    }
    QByteArray block;
    const qsizetype contentStart = m_bytes.startsWith(utf8Bom) ? utf8Bom.size() : 0;
    if (m_bytes.size() > contentStart && !m_bytes.endsWith('\n'))
        block += eol;
    // A blank line keeps the new section apart from the one before.
    if (!m_bytes.mid(contentStart).trimmed().isEmpty() && !endsWithBlankLine(m_bytes + block))
        block += eol;
    block += '[' + sectionName.toUtf8() + ']' + eol + keyLine;
    m_bytes += block;
    return true;
}

bool IniFile::setInt(const QString& section, const QString& key, int32_t value) {
    return setValue(section, key, QString::number(value));
}
