// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Utf16Bytes.h"

#include <QtEndian>

#include <cstring>

void appendUtf16Le(QByteArray& out, QStringView text) {
    // A null text has no data pointer to copy from.
    if (text.isEmpty())
        return;
    const qsizetype start = out.size();
    out.resize(start + text.size() * 2);
    char* dest = out.data() + start;
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(dest, text.utf16(), static_cast<std::size_t>(text.size()) * 2);
    } else {
        for (qsizetype i = 0; i < text.size(); ++i)
            qToLittleEndian<quint16>(text[i].unicode(), dest + 2 * i);
    }
}
