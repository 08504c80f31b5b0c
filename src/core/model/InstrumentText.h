// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// Texts in the instrument's records are 8-bit characters of one of its character tables, chosen by
// the instrument code page (0..11; other numbers map every character to its low 8 bits).

// Zeroes all n bytes of the field, then stores the first min(length, n) characters of the text.
void EncodeInstrumentText(const QString& text, std::uint8_t* field, int n, int codePage);

// The bytes up to the first zero byte, at most n of them.
QString DecodeInstrumentText(const std::uint8_t* field, int n, int codePage);

// The table holds the text: its first n characters are stored and decoded back unchanged.
bool InstrumentTextHolds(const QString& text, int n, int codePage);

// The characters of the text (its first n) that the table cannot hold, each once, in their order.
QString CharactersNotHeld(const QString& text, int n, int codePage);

// Of those, the ones the table has no place for at all: not even a plain letter written in their
// stead by design (Ż as Z in the Polish table). They would come back as other characters.
QString CharactersWithoutPlace(const QString& text, int n, int codePage);
