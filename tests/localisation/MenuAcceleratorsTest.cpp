// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/MenuAccelerators.h"

#include <gtest/gtest.h>

TEST(MenuAccelerators, FirstFreeLetterOfEachWordThenAnyLetter) {
    struct Case {
        QStringList Plain;
        QStringList Marked;
    };
    const Case cases[] = {
        {{"File", "Edit", "Print", "Options"}, {"&File", "&Edit", "&Print", "&Options"}},
        // Taken first letters move to the next word, then to any free letter.
        {{"Open...", "Open record from ZRV10...", "Save", "Save as..."},
         {"&Open...", "Open &record from ZRV10...", "&Save", "Save &as..."}},
        {{"Print", "Print"}, {"&Print", "P&rint"}},
        // Case does not matter; letters of other scripts serve as well.
        {{"Datei", "dabei"}, {"&Datei", "d&abei"}},
        {{"Файл", "файлы"}, {"&Файл", "ф&айлы"}},
        // A letter with a diacritic only when no plain one is free: not every keyboard can type it.
        {{"Öffnen...", "Öffnen...", "Über"}, {"Ö&ffnen...", "Öff&nen...", "Ü&ber"}},
        {{"ÖÄ", "Ö"}, {"Ö&Ä", "&Ö"}},
        {{"Čas", "Čí", "Обмен"}, {"Č&as", "&Čí", "&Обмен"}},
        // A literal '&' stays visible; a text without a free key gets no marker.
        {{"A & B", "ab", "b"}, {"&A && B", "a&b", "b"}},
        // Digits serve when no letter does.
        {{"", "12"}, {"", "&12"}},
        {{"New", "Open", "Save", "Open project", "Save project", "Open"},
         {"&New", "&Open", "&Save", "Open &project", "S&ave project", "Op&en"}},
        // A later text whose letters are all taken gets one an earlier text gives up.
        {{"Ab", "A"}, {"A&b", "&A"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AssignAccelerators(c.Plain), c.Marked) << qPrintable(c.Plain.join(u'|'));
}

TEST(MenuAccelerators, MarkersAreReadAndRemoved) {
    EXPECT_EQ(WithoutAccelerator(QStringLiteral("Save &as...")), QStringLiteral("Save as..."));
    EXPECT_EQ(WithoutAccelerator(QStringLiteral("&A && B")), QStringLiteral("A & B"));
    EXPECT_EQ(AcceleratorOf(QStringLiteral("&A && B")), QChar(u'a'));
    EXPECT_EQ(AcceleratorOf(QStringLiteral("A && B")), QChar());
    // Applying twice gives the same texts: the markers of the first run are replaced.
    const QStringList once = AssignAccelerators({"Open", "Options"});
    QStringList plain;
    for (const QString& t : once)
        plain << WithoutAccelerator(t);
    EXPECT_EQ(AssignAccelerators(plain), once);
}
