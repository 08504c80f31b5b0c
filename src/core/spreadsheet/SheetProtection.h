// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "model/Translator.h"

#include <cstdint>

// The password check of a worksheet's protection element: either the legacy 16-bit hash
// (attribute "password", hex) or the hashed form (algorithm, base64 hash and salt, spin count).
struct TSheetProtection {
    QString legacyHash;
    QString algorithmName;
    QString hashValue;
    QString saltValue;
    QString spinCount;
};

// The legacy 16-bit worksheet password hash.
std::uint16_t LegacySheetPasswordHash(const QString& password);

// True when the password unprotects the sheet; a protection without any password is lifted by
// any password. False with *error holding a sentence for the user otherwise.
bool SheetPasswordMatches(const TSheetProtection& protection, const QString& password, QString* error,
                          const ITranslator& translator = EnglishOnly());
