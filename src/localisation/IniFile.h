#pragma once

#include <QHash>
#include <QString>

// The values of an INI file as the language folder's own tools write it: sections in square brackets,
// lines key=value. Section and key names compare without regard to case, the first occurrence of a
// key wins, and a value is taken whole (commas and semicolons belong to it), trimmed, with one pair of
// enclosing quotes removed.
class TIniFile {
public:
    // A missing or unreadable file yields an empty set of values, so every lookup falls back to its
    // default. UTF-16LE with a byte-order mark and UTF-8 (with or without one) are understood.
    static TIniFile read(const QString& path);
    static TIniFile parse(const QByteArray& bytes);

    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // A value that is not a decimal number counts as missing.
    int readInteger(const QString& section, const QString& key, int fallback) const;

private:
    QHash<QString, QString> m_values; // "section\nkey", both lower-cased
};
