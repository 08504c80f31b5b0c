// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextIndex.h"

#include <QtEndian>

namespace {

// The length and four units each at the start, the middle and the end: hashing every unit of a
// sentence would cost more than the rest of a lookup, and texts of one length rarely share all three
// samples (those that do are told apart by comparing them whole).
quint64 sampleHash(QStringView text) {
    const qsizetype size = text.size();
    quint64 hash = static_cast<quint64>(size) * 0x9E3779B97F4A7C15ull;
    if (size < 4) {
        for (const QChar unit : text)
            hash = (hash ^ unit.unicode()) * 0x100000001B3ull;
    } else {
        const auto fourUnits = [&text](qsizetype at) { return qFromUnaligned<quint64>(text.data() + at); };
        hash ^= fourUnits(0) * 0xC2B2AE3D27D4EB4Full ^ fourUnits(size / 2 - 2) * 0x165667B19E3779F9ull ^
                fourUnits(size - 4) * 0xFF51AFD7ED558CCDull;
    }
    // The high bits choose the slot: fold the whole value into them.
    return (hash ^ hash >> 29) * 0xBF58476D1CE4E5B9ull;
}

} // namespace

void TTextIndex::rebuild(const QList<TMessageEntry>& entries) {
    int bits = 1;
    while ((qsizetype{1} << bits) < 2 * entries.size())
        ++bits;
    m_shift = 64 - bits;
    m_slots.assign(std::size_t{1} << bits, Slot{});
    const qsizetype mask = static_cast<qsizetype>(m_slots.size()) - 1;
    for (int i = 0; i < entries.size(); ++i) {
        const QString& key = entries[i].key;
        if (find(key) >= 0)
            continue; // an earlier line has this text
        const quint64 hash = sampleHash(key);
        qsizetype slot = home(hash);
        while (m_slots[slot].entry >= 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = {hash, i, key};
    }
}

int TTextIndex::find(QStringView key) const {
    if (m_slots.empty())
        return -1;
    const quint64 hash = sampleHash(key);
    const qsizetype mask = static_cast<qsizetype>(m_slots.size()) - 1;
    for (qsizetype slot = home(hash);; slot = (slot + 1) & mask) {
        const Slot& candidate = m_slots[slot];
        if (candidate.entry < 0)
            return -1;
        if (candidate.hash == hash && QStringView(candidate.key) == key)
            return candidate.entry;
    }
}
