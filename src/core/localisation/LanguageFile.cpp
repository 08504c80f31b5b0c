// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageFile.h"

namespace {

// The whole file as 16-bit units, the odd last byte dropped.
QString utf16LeUnits(const QByteArray& bytes) {
    const qsizetype count = bytes.size() / 2;
    QString units(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = QChar(static_cast<char16_t>(low | high << 8));
    }
    return units;
}

bool isDroppedInTranslation(QChar unit) {
    return unit == u'\t' || unit == u'\r';
}

// Blanks and control characters, as the master list's texts are trimmed of them.
QStringView trimmedOfControls(QStringView text) {
    while (!text.isEmpty() && text.front().unicode() <= u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back().unicode() <= u' ')
        text.chop(1);
    return text;
}

} // namespace

QList<TMessageEntry> parseLanguageFile(const QByteArray& bytes, int maxEntries) {
    const QString units = utf16LeUnits(bytes);
    const qsizetype end = units.size();
    QList<TMessageEntry> entries;
    qsizetype pos = 1; // past the byte-order mark
    while (entries.size() < maxEntries && pos < end) {
        const qsizetype semicolon = units.indexOf(u';', pos);
        if (semicolon < 0)
            break;
        TMessageEntry entry{units.sliced(pos, semicolon - pos), QString()};
        pos = semicolon + 1;
        if (pos < end) {
            // A line feed right after the ";" belongs to the translation, which then runs on.
            const QChar first = units[pos++];
            if (first != u' ' && !isDroppedInTranslation(first))
                entry.translation += first;
        }
        for (; pos < end && units[pos] != u'\n'; ++pos) {
            if (!isDroppedInTranslation(units[pos]))
                entry.translation += units[pos];
        }
        ++pos; // the line feed
        entries.append(std::move(entry));
    }
    return entries;
}

QStringList parseMasterList(const QByteArray& bytes) {
    const QString units = utf16LeUnits(bytes);
    const qsizetype end = units.size();
    QStringList texts;
    qsizetype pos = 1; // past the byte-order mark
    while (pos < end) {
        qsizetype semicolon = units.indexOf(u';', pos);
        if (semicolon < 0)
            semicolon = end;
        const QStringView text = trimmedOfControls(QStringView(units).sliced(pos, semicolon - pos));
        if (!text.isEmpty())
            texts.append(text.toString());
        pos = semicolon + 4; // ";", tab, carriage return, line feed
    }
    return texts;
}
