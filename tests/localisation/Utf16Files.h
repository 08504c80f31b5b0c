// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

// Language files are UTF-16LE; the tests write them from plain strings so each case shows its text.
inline QByteArray utf16Le(const QString& text, bool withBom = true) {
    QByteArray bytes;
    for (const QChar unit : (withBom ? u'\uFEFF' + text : text)) {
        const char16_t value = qToLittleEndian(unit.unicode());
        bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    return bytes;
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a UTF-16LE file after its byte-order mark; empty when the file is missing.
inline QString readUtf16Text(const QString& path) {
    const QByteArray bytes = readFile(path);
    const QString text(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
    return text.startsWith(u'\uFEFF') ? text.mid(1) : text;
}
