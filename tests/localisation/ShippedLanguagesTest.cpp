// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/InstrumentCodePage.h"
#include "localisation/MessageCatalogue.h"
#include "Utf16Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The language folder as it ships, copied so that the logs of missing texts land in a scratch folder.
class ShippedLanguagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        const QDir shipped(QStringLiteral(ZRV_LANGUAGE_DIR));
        for (const QString& name : shipped.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), m_dir.filePath(name))) << qPrintable(name);
        m_catalogue.LoadLanguageList();
    }

    QString todo() const { return readUtf16Text(m_catalogue.TodoPath()); }

    QTemporaryDir m_dir;
    TMessageCatalogue m_catalogue{m_dir.path(), QLocale::c()};
};

struct ShippedLanguage {
    const char16_t* name;
    int charset;
    const char* file;
    const char* locale;
    int codePage; // the instrument's character table for this language
};

constexpr ShippedLanguage Shipped[] = {
    {u"English", 0, "messages_uk.txt", "", 3},
    {u"\u010Ce\u0161tina", 238, "messages_cz.txt", "cs", 0},
    {u"Deutsch", 0, "messages_de.txt", "de", 2},
    {u"Hrvatski", 238, "messages_hr.txt", "hr", 5},
    {u"Polski", 238, "messages_pl.txt", "pl", 9},
    {u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", 204, "messages_ru.txt", "ru", 11},
};

TEST_F(ShippedLanguagesTest, ListsEachLanguageInItsOwnScriptWithItsTable) {
    const TLanguageList& list = m_catalogue.Languages();
    ASSERT_EQ(list.count(), static_cast<int>(std::size(Shipped)));
    for (int i = 0; i < list.count(); ++i) {
        SCOPED_TRACE(i);
        const ShippedLanguage& expected = Shipped[i];
        EXPECT_EQ(list.at(i).name, QString::fromUtf16(expected.name));
        EXPECT_EQ(list.at(i).charset, expected.charset);
        EXPECT_EQ(list.at(i).path, m_dir.filePath(QString::fromLatin1(expected.file)));
        EXPECT_EQ(list.at(i).locale, QString::fromLatin1(expected.locale));
        EXPECT_TRUE(QFile::exists(list.at(i).path));
        EXPECT_EQ(InstrumentCodePageFor(i, -1), expected.codePage);
    }
}

// Every text of the master list is translated, so loading leaves nothing to log; and the
// translations keep what the program fills in or relies on.
TEST_F(ShippedLanguagesTest, EachLanguageTranslatesTheWholeMasterList) {
    for (int language = 1; language < m_catalogue.Languages().count(); ++language) {
        SCOPED_TRACE(qPrintable(m_catalogue.Languages().at(language).name));
        m_catalogue.SetCurrentLanguage(language);
        ASSERT_TRUE(m_catalogue.LoadLanguage()) << qPrintable(m_catalogue.LastError());
        EXPECT_EQ(todo().toStdString(), "") << "texts missing from the language file";
        EXPECT_GT(m_catalogue.EntryCount(), 100);
        EXPECT_LT(m_catalogue.EntryCount(), 999) << "the loader ignores entries past 999";
        for (const TMessageEntry& entry : m_catalogue.Entries()) {
            SCOPED_TRACE(qPrintable(entry.key));
            EXPECT_FALSE(entry.translation.trimmed().isEmpty());
            EXPECT_EQ(entry.translation.count(u"%s"_s), entry.key.count(u"%s"_s));
            EXPECT_FALSE(entry.translation.contains(u'\t'));
            EXPECT_EQ(entry.translation.contains(u"zrv10"_s, Qt::CaseInsensitive), entry.key.contains(u"zrv10"_s));
        }
    }
}

} // namespace
