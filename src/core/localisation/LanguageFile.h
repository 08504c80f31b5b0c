// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TMessageEntry {
    QString key; // the English text
    QString translation;
};

// A language file holds at most this many entries; later lines are ignored.
inline constexpr int MaxMessages = 999;

// The entries of a language file (UTF-16LE), in file order, keys as written. The first unit is taken
// for the byte-order mark and skipped unseen; a trailing odd byte is ignored. Each entry: the English
// text up to the first ";" (line ends included), the ";", one space, tab or carriage return dropped,
// then the translation up to the line feed with its tabs and carriage returns dropped. English text
// that the file ends in before any ";" is no entry.
QList<TMessageEntry> parseLanguageFile(const QByteArray& bytes, int maxEntries = MaxMessages);

// The texts of the English master list (UTF-16LE, byte-order mark, lines "text;" + tab, CR, LF), in
// file order, with leading and trailing blanks and control characters removed; blank texts are left
// out. The three units after each ";" are skipped unseen.
QStringList parseMasterList(const QByteArray& bytes);
