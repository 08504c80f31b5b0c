// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/InstrumentText.h"

#include <algorithm>
#include <cstring>

namespace {

enum class Table { None, A, B, C, D, E, F };

Table tableOf(int codePage) {
    switch (codePage) {
    case 0:
        return Table::A;
    case 1:
    case 2:
        return Table::B;
    case 3:
    case 4:
    case 5:
    case 6:
        return Table::C;
    case 7:
    case 8:
    case 9:
        return Table::D;
    case 10:
        return Table::E;
    case 11:
        return Table::F;
    default:
        return Table::None;
    }
}

struct Pair {
    char16_t ch;
    std::uint8_t byte;
};

// Character to byte, per table; characters not listed keep their low 8 bits.
constexpr Pair EncodeA[] = {{0x010C, 200}, {0x010D, 232}, {0x011A, 204}, {0x011B, 236},
                            {0x0158, 216}, {0x0159, 248}, {0x0160, 138}, {0x0161, 154},
                            {0x016E, 217}, {0x016F, 249}, {0x017D, 142}, {0x017E, 158}};
constexpr Pair EncodeC[] = {{0x0106, 67}, {0x0110, 68}};
constexpr Pair EncodeD[] = {{0x0104, 65}, {0x0118, 69}, {0x0179, 90}, {0x017B, 90}};
constexpr Pair EncodeE[] = {{0x0102, 65}, {0x015E, 83}, {0x0162, 84}};

// Byte to character; the encoder writes plain Latin letters where these tables have their own codes.
constexpr Pair DecodeC[] = {{0x0106, 198}, {0x0110, 208}};
constexpr Pair DecodeD[] = {{0x0179, 143}, {0x0104, 165}, {0x017B, 175}, {0x0118, 202}};
constexpr Pair DecodeE[] = {{0x015E, 170}, {0x0102, 195}, {0x0162, 222}};

template <std::size_t N>
bool findByChar(const Pair (&pairs)[N], char16_t ch, std::uint8_t& byte) {
    for (const Pair& p : pairs)
        if (p.ch == ch) {
            byte = p.byte;
            return true;
        }
    return false;
}

template <std::size_t N>
bool findByByte(const Pair (&pairs)[N], std::uint8_t byte, char16_t& ch) {
    for (const Pair& p : pairs)
        if (p.byte == byte) {
            ch = p.ch;
            return true;
        }
    return false;
}

std::uint8_t encodeChar(char16_t ch, Table table) {
    std::uint8_t byte = static_cast<std::uint8_t>(ch & 0xFF);
    switch (table) {
    case Table::A:
        findByChar(EncodeA, ch, byte);
        break;
    case Table::C:
        findByChar(EncodeC, ch, byte);
        break;
    case Table::D:
        findByChar(EncodeD, ch, byte);
        break;
    case Table::E:
        findByChar(EncodeE, ch, byte);
        break;
    case Table::F:
        if (ch >= 0x0410 && ch <= 0x044F)
            byte = static_cast<std::uint8_t>(192 + (ch - 0x0410));
        break;
    case Table::B:
    case Table::None:
        break;
    }
    return byte;
}

char16_t decodeByte(std::uint8_t byte, Table table) {
    char16_t ch = byte;
    switch (table) {
    case Table::A:
        findByByte(EncodeA, byte, ch);
        break;
    case Table::C:
        findByByte(DecodeC, byte, ch);
        break;
    case Table::D:
        findByByte(DecodeD, byte, ch);
        break;
    case Table::E:
        findByByte(DecodeE, byte, ch);
        break;
    case Table::F:
        if (byte >= 192)
            ch = static_cast<char16_t>(0x0410 + (byte - 192));
        break;
    case Table::B:
    case Table::None:
        break;
    }
    return ch;
}

} // namespace

void EncodeInstrumentText(const QString& text, std::uint8_t* field, int n, int codePage) {
    if (n <= 0)
        return;
    std::memset(field, 0, static_cast<std::size_t>(n));
    const Table table = tableOf(codePage);
    const int length = std::min(static_cast<int>(text.size()), n);
    for (int i = 0; i < length; ++i)
        field[i] = encodeChar(text.at(i).unicode(), table);
}

QString DecodeInstrumentText(const std::uint8_t* field, int n, int codePage) {
    const Table table = tableOf(codePage);
    int length = 0;
    while (length < n && field[length] != 0)
        ++length;
    QString text(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        text[i] = QChar(decodeByte(field[i], table));
    return text;
}

namespace {

// The table names the character: it has a byte of its own for it or writes it as a plain letter.
bool listed(char16_t ch, Table table) {
    std::uint8_t byte = 0;
    switch (table) {
    case Table::A:
        return findByChar(EncodeA, ch, byte);
    case Table::C:
        return findByChar(EncodeC, ch, byte);
    case Table::D:
        return findByChar(EncodeD, ch, byte);
    case Table::E:
        return findByChar(EncodeE, ch, byte);
    case Table::F:
        return ch >= 0x0410 && ch <= 0x044F;
    case Table::B:
    case Table::None:
        break;
    }
    return false;
}

template <typename Lost> QString charactersLost(const QString& text, int n, int codePage, Lost lost) {
    const Table table = tableOf(codePage);
    const int length = std::min(static_cast<int>(text.size()), std::max(n, 0));
    QString missing;
    for (int i = 0; i < length; ++i) {
        const char16_t ch = text.at(i).unicode();
        if (lost(ch, table) && !missing.contains(QChar(ch)))
            missing.append(QChar(ch));
    }
    return missing;
}

bool comesBack(char16_t ch, Table table) {
    // A zero byte would end the text there.
    const std::uint8_t byte = encodeChar(ch, table);
    return byte != 0 && decodeByte(byte, table) == ch;
}

} // namespace

bool InstrumentTextHolds(const QString& text, int n, int codePage) {
    return CharactersNotHeld(text, n, codePage).isEmpty();
}

QString CharactersNotHeld(const QString& text, int n, int codePage) {
    return charactersLost(text, n, codePage, [](char16_t ch, Table table) { return !comesBack(ch, table); });
}

QString CharactersWithoutPlace(const QString& text, int n, int codePage) {
    return charactersLost(text, n, codePage, [](char16_t ch, Table table) {
        return !comesBack(ch, table) && !listed(ch, table);
    });
}
