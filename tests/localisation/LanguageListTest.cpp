// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/LanguageList.h"
#include "Utf16Files.h"
#include "localisation/InstrumentCodePage.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class LanguageListTest : public ::testing::Test {
protected:
    TLanguageList load(const QByteArray& ini) {
        writeFile(m_dir.filePath(u"messages.ini"_s), ini);
        return LoadLanguageList(dir());
    }
    QString dir() const { return m_dir.path() + u'/'; }

    QTemporaryDir m_dir;
};

TEST_F(LanguageListTest, MissingFileGivesFiveDefaultLanguages) {
    const TLanguageList list = LoadLanguageList(dir());
    ASSERT_EQ(list.count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list.at(i).name, u"---"_s);
        EXPECT_EQ(list.at(i).charset, 1);
        EXPECT_EQ(list.at(i).path, dir() + u"messages_uk.txt"_s);
    }
    // The directory may come without its trailing slash.
    EXPECT_EQ(LoadLanguageList(m_dir.path()).at(0).path, dir() + u"messages_uk.txt"_s);
}

TEST_F(LanguageListTest, MissingKeysTakeTheirDefaults) {
    const TLanguageList list = load("[Main]\nTotal=3\n[Names]\n0=English\n2=Cesky\n"
                                    "[Charsets]\n2=238\n[Files]\n2=messages_cz.txt\n");
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(0).name, u"English"_s);
    EXPECT_EQ(list.at(1).name, u"---"_s);
    EXPECT_EQ(list.at(1).charset, 1);
    EXPECT_EQ(list.at(1).path, dir() + u"messages_uk.txt"_s);
    EXPECT_EQ(list.at(2).charset, 238);
    EXPECT_EQ(list.at(2).path, dir() + u"messages_cz.txt"_s);
}

TEST_F(LanguageListTest, TotalIsCutToTheTableCapacity) {
    const struct {
        QByteArray total;
        int count;
    } cases[] = {{"150", 100}, {"100", 100}, {"-3", 0}, {" 7 ", 7}, {"seven", 5}, {"99999999999", 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total.constData());
        const TLanguageList list = load("[Main]\nTotal=" + c.total + "\n");
        EXPECT_EQ(list.count(), c.count);
        EXPECT_FALSE(list.contains(c.count));
        EXPECT_FALSE(list.contains(-1));
    }
}

TEST_F(LanguageListTest, ValuesAreTakenWhole) {
    // Names with commas or semicolons, sections and keys in any case, quotes, the first key winning,
    // an empty file name meaning no language file.
    const TLanguageList list = load("; comment\r\n[MAIN]\r\ntotal = 4\r\n[names]\r\n0 = Deutsch, Schweiz \r\n"
                                    "1=\"Fran\xC3\xA7"
                                    "ais ; Qu\xC3\xA9"
                                    "bec\"\r\n1=second\r\n"
                                    "[Files]\r\n3=\r\n");
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.at(0).name, u"Deutsch, Schweiz"_s);
    EXPECT_EQ(list.at(1).name, u"Français ; Québec"_s);
    EXPECT_EQ(list.at(3).path, QString());
}

TEST_F(LanguageListTest, Utf16FileIsRead) {
    const TLanguageList list = load(utf16Le(u"[Main]\r\nTotal=2\r\n[Names]\r\n1=Русский\r\n"_s));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(1).name, u"Русский"_s);
}

TEST(InstrumentCodePage, FollowsTheLanguageUpTo5) {
    const int expected[] = {3, 0, 2, 5, 9, 11};
    for (int language = 0; language < 6; ++language)
        EXPECT_EQ(InstrumentCodePageFor(language, 7), expected[language]) << language;
    for (const int language : {6, 99, -1})
        EXPECT_EQ(InstrumentCodePageFor(language, 7), 7) << language;
}

} // namespace
