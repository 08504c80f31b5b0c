// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LanguageFile.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// Finds the first entry of a language file whose key equals a text, at a cost that does not grow with
// the number of entries: windows translate every node of a project tree, and a scan of a full file
// costs hundreds of comparisons a text.
class TTextIndex {
public:
    void rebuild(const QList<TMessageEntry>& entries);
    // The position in the entries given to rebuild(), or -1.
    int find(QStringView key) const;

private:
    struct Slot {
        quint64 hash = 0;
        int entry = -1; // -1: empty
        QString key;    // shares the entry's text, so a probe reads it without going through the entry
    };

    qsizetype home(quint64 hash) const { return static_cast<qsizetype>(hash >> m_shift); }

    std::vector<Slot> m_slots; // open addressing, a power of two at least twice the entries
    int m_shift = 64;
};
