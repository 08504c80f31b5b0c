// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/InstrumentText.h"

#include <QSet>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

std::array<std::uint8_t, 16> encode(const QString& text, int codePage) {
    std::array<std::uint8_t, 16> field;
    field.fill(0xAA);
    EncodeInstrumentText(text, field.data(), 16, codePage);
    return field;
}

std::vector<int> bytesOf(const std::array<std::uint8_t, 16>& field, int count) {
    return {field.begin(), field.begin() + count};
}

} // namespace

TEST(InstrumentText, LongTextIsCutToTheFieldWithoutTerminator) {
    const auto field = encode(QStringLiteral("Branch name of 20 ch"), 0);
    EXPECT_EQ(DecodeInstrumentText(field.data(), 16, 0), QStringLiteral("Branch name of 2"));
    EXPECT_NE(field[15], 0);
}

TEST(InstrumentText, ShortTextZeroesTheRestOfTheField) {
    const auto field = encode(QStringLiteral("ab"), 3);
    EXPECT_EQ(bytesOf(field, 16), (std::vector<int>{'a', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(InstrumentText, DecodeStopsAtZeroAndAtTheFieldEnd) {
    const std::uint8_t bytes[4] = {'a', 0, 'b', 'c'};
    EXPECT_EQ(DecodeInstrumentText(bytes, 4, 0), QStringLiteral("a"));
    EXPECT_EQ(DecodeInstrumentText(bytes + 2, 2, 0), QStringLiteral("bc"));
}

TEST(InstrumentText, CzechTableRoundTripsItsLettersAndLatin1) {
    const QString czech = QStringLiteral("ČčĚěŘřŠšŮůŽž");
    EXPECT_EQ(DecodeInstrumentText(encode(czech, 0).data(), 16, 0), czech);
    EXPECT_EQ(bytesOf(encode(QStringLiteral("Čš"), 0), 2), (std::vector<int>{200, 154}));
    // Latin-1 characters round-trip, except those whose codes the table gives to its own letters.
    const QSet<int> tableCodes = {138, 142, 154, 158, 200, 204, 216, 217, 232, 236, 248, 249};
    for (int c = 1; c < 256; ++c) {
        if (tableCodes.contains(c))
            continue;
        const QString one(QChar(static_cast<char16_t>(c)));
        ASSERT_EQ(DecodeInstrumentText(encode(one, 0).data(), 16, 0), one) << c;
    }
}

struct TableCase {
    int codePage;
    QString text;
    std::vector<int> bytes;
    QString decoded;
};

TEST(InstrumentText, TablesThatAreNotInverse) {
    const TableCase cases[] = {
        {3, QStringLiteral("Ć"), {67}, QStringLiteral("C")},
        {3, QStringLiteral("ć"), {7}, QString(QChar(7))},
        {6, QStringLiteral("Đ"), {68}, QStringLiteral("D")},
        {8, QStringLiteral("ĄĘŹŻ"), {65, 69, 90, 90}, QStringLiteral("AEZZ")},
        {10, QStringLiteral("ĂŞŢ"), {65, 83, 84}, QStringLiteral("AST")},
        {11, QStringLiteral("Насос"), {205, 224, 241, 238, 241}, QStringLiteral("Насос")},
        {1, QStringLiteral("Čä"), {12, 0xE4}, QString(QChar(12)) + QStringLiteral("ä")},
        {99, QStringLiteral("Ж"), {0x16}, QString(QChar(0x16))},
    };
    for (const TableCase& c : cases) {
        const auto field = encode(c.text, c.codePage);
        EXPECT_EQ(bytesOf(field, static_cast<int>(c.bytes.size())), c.bytes) << c.codePage;
        EXPECT_EQ(DecodeInstrumentText(field.data(), 16, c.codePage), c.decoded) << c.codePage;
    }
}

TEST(InstrumentText, TableOwnCodesDecodeToTheirLetters) {
    const struct {
        int codePage;
        std::uint8_t byte;
        char16_t ch;
    } cases[] = {{4, 198, 0x0106}, {4, 208, 0x0110}, {7, 143, 0x0179}, {7, 165, 0x0104}, {9, 175, 0x017B},
                 {9, 202, 0x0118}, {10, 170, 0x015E}, {10, 195, 0x0102}, {10, 222, 0x0162}, {11, 233, 0x0439},
                 {0, 233, 0x00E9}, {2, 233, 0x00E9}, {5, 233, 0x00E9}, {7, 233, 0x00E9}, {10, 233, 0x00E9}};
    for (const auto& c : cases) {
        const std::uint8_t field[1] = {c.byte};
        EXPECT_EQ(DecodeInstrumentText(field, 1, c.codePage), QString(QChar(c.ch))) << c.codePage << " " << c.byte;
    }
}

// What a table cannot hold comes back as another character; of that, what it has no place for at all
// (not even the plain letter its design writes instead) comes back as something unrelated.
TEST(InstrumentText, CharactersATableCannotHold) {
    const struct {
        const char16_t* text;
        int codePage;
        const char16_t* notHeld;
        const char16_t* withoutPlace;
    } cases[] = {
        {u"Škola Čechy", 0, u"", u""},
        {u"Škola Čechy", 3, u"ŠČ", u"ŠČ"},
        {u"Café Müller", 3, u"", u""},
        {u"Żywiec Ęó", 9, u"ŻĘ", u""},
        {u"Ćevapi ć", 4, u"Ćć", u"ć"},
        {u"Насос", 11, u"", u""},
        {u"Насос", 2, u"Насо", u"Насо"},
        {u"A\u0100B", 42, u"\u0100", u"\u0100"}, // stored as a zero byte: the text would end there
        {u"0123456789abcdefŠ", 3, u"", u""},     // beyond the 16 bytes nothing is stored
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString() + " in " + std::to_string(c.codePage));
        EXPECT_EQ(CharactersNotHeld(text, 16, c.codePage), QString::fromUtf16(c.notHeld));
        EXPECT_EQ(CharactersWithoutPlace(text, 16, c.codePage), QString::fromUtf16(c.withoutPlace));
        EXPECT_EQ(InstrumentTextHolds(text, 16, c.codePage), QString::fromUtf16(c.notHeld).isEmpty());
    }
}
