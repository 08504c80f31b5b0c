// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/SheetProtection.h"

#include <gtest/gtest.h>

namespace {

TEST(SheetProtection, LegacyHash) {
    // Values written by other programs for these passwords.
    EXPECT_EQ(LegacySheetPasswordHash(QStringLiteral("MarbleFoxQz")), 0xF62A);
    EXPECT_EQ(LegacySheetPasswordHash(QStringLiteral("password")), 0x83AF);

    QString error;
    const TSheetProtection legacy{QStringLiteral("F62A"), {}, {}, {}, {}};
    EXPECT_TRUE(SheetPasswordMatches(legacy, QStringLiteral("MarbleFoxQz"), &error));
    EXPECT_FALSE(SheetPasswordMatches(legacy, QStringLiteral("MarbleFox"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(SheetProtection, HashedFormAndItsLimits) {
    // Salt 00..0F, 100000 rounds of SHA-512, as in the fixture workbook.
    const TSheetProtection hashed{
        {},
        QStringLiteral("SHA-512"),
        QStringLiteral(
            "UIxL/b4riqOXFXaQk8wzf2nctbHnspbPTuIf/5L4Vj54C/T2WTdY3QkXeVLk45UlwCNBuyIrQDBwSz2OM4FfBg=="),
        QStringLiteral("AAECAwQFBgcICQoLDA0ODw=="),
        QStringLiteral("100000")};
    QString error;
    EXPECT_TRUE(SheetPasswordMatches(hashed, QStringLiteral("MarbleFoxQz"), &error));
    EXPECT_FALSE(SheetPasswordMatches(hashed, QStringLiteral("MarbleFoxQ"), &error));

    struct {
        TSheetProtection protection;
        const char* errorPart;
    } refused[] = {
        {{{}, QStringLiteral("WHIRLPOOL"), QStringLiteral("AA=="), {}, QStringLiteral("1")}, "unsupported"},
        {{{}, QStringLiteral("SHA-512"), QStringLiteral("AA=="), {}, QStringLiteral("4000000000")},
         "spin count"},
        {{{}, QStringLiteral("SHA-512"), QStringLiteral("AA=="), {}, QStringLiteral("-1")}, "spin count"},
        {{QStringLiteral("zz"), {}, {}, {}, {}}, "does not unprotect"},
    };
    for (const auto& r : refused) {
        error.clear();
        EXPECT_FALSE(SheetPasswordMatches(r.protection, QStringLiteral("MarbleFoxQz"), &error));
        EXPECT_TRUE(error.contains(QLatin1String(r.errorPart))) << error.toStdString();
    }
    // A protection without a password is lifted by any.
    EXPECT_TRUE(SheetPasswordMatches({}, QStringLiteral("x"), &error));
}

} // namespace
