// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// An INI document edited in place over its raw bytes. Reads follow the classic INI functions:
// section and key names match case-insensitively, blanks around names and values are ignored, the
// first matching section and the first matching key in it win, and lines starting with ';' are
// comments. An edit changes only the line of its key (or adds one line, or appends its section),
// so hand-edited files keep their comments, order, unknown sections and line endings.
// Text is UTF-8; a leading byte-order mark is kept.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(QByteArray bytes);

    // A missing file reads as an empty document; a file that exists but cannot be read is an
    // error (nullopt, *error = "Cannot read <path>: <reason>"), because saving over it would
    // lose its contents.
    static std::optional<IniFile> fromFile(const QString& path, QString* error);

    const QByteArray& bytes() const { return m_bytes; }

    // Value with surrounding blanks and one pair of enclosing quotes removed.
    std::optional<QString> value(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // defaultValue unless the value is a decimal integer that fits 32 bits.
    int32_t readInt(const QString& section, const QString& key, int32_t defaultValue) const;

    // False (document unchanged) when a name is empty, a name or the value holds a line break, a
    // section name holds ']' or a key holds '=' or starts with ';' or '[': such a line would not
    // read back as written.
    bool setValue(const QString& section, const QString& key, const QString& value);
    bool setInt(const QString& section, const QString& key, int32_t value);

private:
    QByteArray m_bytes;
};
