// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/MessageCatalogue.h"
#include "Utf16Files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Language 0 English, 1 German, 2 a language whose file is missing, 3 one whose file name is empty.
class MessageCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        write(u"messages.ini"_s, "[Main]\nTotal=4\n[Names]\n0=English\n1=Deutsch\n2=Missing\n"
                                 "[Charsets]\n1=238\n[Files]\n1=messages_de.txt\n2=messages_xx.txt\n3=\n");
        writeLanguage(u"messages_uk.txt"_s, u"Open;\t\r\nSave;\t\r\nFlow;\t\r\nClose;\t\r\n"_s);
        writeLanguage(u"messages_de.txt"_s, u"Open;\tÖffnen\r\nOPEN;\tAuf\r\nClose;\tSchließen\r\n"
                                            u"ÜBER;\tueber\r\nEmpty;\r\n"_s);
        m_catalogue.LoadLanguageList();
    }

    void write(const QString& name, const QByteArray& bytes) { writeFile(path(name), bytes); }
    void writeLanguage(const QString& name, const QString& text) { write(name, utf16Le(text)); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QByteArray todo(const QString& name) const { return readFile(path(name + u".todo"_s)); }
    QStringList todoFiles() const { return QDir(m_dir.path()).entryList({u"*.todo"_s}, QDir::Files); }

    void load(int language) {
        m_catalogue.SetCurrentLanguage(language);
        ASSERT_TRUE(m_catalogue.LoadLanguage()) << qPrintable(m_catalogue.LastError());
    }

    QTemporaryDir m_dir;
    TMessageCatalogue m_catalogue{m_dir.path(), QLocale(QLocale::German)};
};

TEST_F(MessageCatalogueTest, EnglishIsNeverLookedUpNorLogged) {
    load(0);
    EXPECT_EQ(m_catalogue.Translate(u"Open"_s), u"Open"_s);
    EXPECT_EQ(m_catalogue.Translate(u"Not in any list"_s), u"Not in any list"_s);
    EXPECT_EQ(m_catalogue.TranslateSpaced(u"Open"_s), u" Open "_s);
    EXPECT_EQ(m_catalogue.TranslateColon(u"Flow"_s), u"Flow: "_s);
    EXPECT_EQ(m_catalogue.TranslateExclaim(u"Error"_s), u"Error!"_s);
    EXPECT_EQ(m_catalogue.TranslateEllipsis(u"Language"_s), u"Language..."_s);
    EXPECT_EQ(m_catalogue.TranslateFmt(u"Overwrite %s?"_s, u" ZRV 10"_s), u"Overwrite  ZRV 10?"_s);
    EXPECT_TRUE(todoFiles().isEmpty());
}

TEST_F(MessageCatalogueTest, FirstLineWinsWhateverTheCase) {
    load(1);
    EXPECT_EQ(m_catalogue.EntryCount(), 5);
    EXPECT_EQ(m_catalogue.Entries()[1].key, u"open"_s);
    for (const QString& text : {u"Open"_s, u"OPEN"_s, u"open"_s})
        EXPECT_EQ(m_catalogue.Translate(text), u"Öffnen"_s) << qPrintable(text);
    EXPECT_EQ(m_catalogue.Translate(u"über"_s), u"ueber"_s);
    EXPECT_EQ(m_catalogue.Translate(u"Empty"_s), QString());
    // Blanks are significant.
    EXPECT_EQ(m_catalogue.Translate(u"Open "_s), u"Open "_s);
    EXPECT_EQ(m_catalogue.LanguageCharset(), 238);
}

TEST_F(MessageCatalogueTest, LowerCasingFollowsTheLocale) {
    writeLanguage(u"messages_de.txt"_s, u"ISTANBUL;\tx\r\n"_s);
    TMessageCatalogue turkish(m_dir.path(), QLocale(QLocale::Turkish));
    turkish.LoadLanguageList();
    turkish.SetCurrentLanguage(1);
    ASSERT_TRUE(turkish.LoadLanguage());
    EXPECT_EQ(turkish.Translate(u"ıstanbul"_s), u"x"_s);
    EXPECT_EQ(turkish.Translate(u"istanbul"_s), u"istanbul"_s);
}

// Keys that a shortcut in the lower-casing could get wrong. Each text is looked up as the
// catalogue always did (the locale's lower-casing, then the index) and must come out the same; the
// misses go to the log as they were written.
TEST_F(MessageCatalogueTest, TrickyKeysTranslateAsTheLocaleLowerCasesThem) {
    writeLanguage(u"messages_de.txt"_s,
                  u"Open;\tÖffnen\r\nOPEN;\tAuf\r\nOpen...;\tÖffnen…\r\n"
                  u"Device is not responding;\tGerät antwortet nicht\r\n"
                  u"Device is not responding!;\tKeine Antwort\r\n"
                  u"ÜBER;\tueber\r\nTemperature [°C];\tTemperatur [°C]\r\nSTRAßE;\tStrasse\r\n"
                  u"ISTANBUL;\tist\r\nAz@[`{;\tedge\r\n"_s);
    const struct {
        QLocale::Language Locale;
        QString Text;
        QString Expected; // null: a miss, shown as it was written
    } cases[] = {
        {QLocale::German, u"Open"_s, u"Öffnen"_s},
        {QLocale::German, u"OPEN"_s, u"Öffnen"_s},
        {QLocale::German, u"oPeN"_s, u"Öffnen"_s},
        {QLocale::German, u"open"_s, u"Öffnen"_s},
        {QLocale::German, u"Open..."_s, u"Öffnen…"_s},
        {QLocale::German, u"Open "_s, {}},
        {QLocale::German, u"Device Is Not Responding"_s, u"Gerät antwortet nicht"_s},
        {QLocale::German, u"Device is not responding!"_s, u"Keine Antwort"_s},
        {QLocale::German, u"Device is not responding."_s, {}},
        {QLocale::German, u"über"_s, u"ueber"_s},
        {QLocale::German, u"Über"_s, u"ueber"_s},
        {QLocale::German, u"TEMPERATURE [°C]"_s, u"Temperatur [°C]"_s},
        {QLocale::German, u"straße"_s, u"Strasse"_s},
        {QLocale::German, u"STRASSE"_s, {}},
        {QLocale::German, u"Istanbul"_s, u"ist"_s},
        {QLocale::German, u"AZ@[`{"_s, u"edge"_s},
        // Only the letters fold: the units beside "A" and "Z" stay as they are.
        {QLocale::German, u"AZ`{`{"_s, {}},
        {QLocale::German, u"Az@[`{ "_s, {}},
        // In Turkish a capital I lower-cases to a dotless i, in any text.
        {QLocale::Turkish, u"ISTANBUL"_s, u"ist"_s},
        {QLocale::Turkish, u"istanbul"_s, {}},
        {QLocale::Turkish, u"DEVICE IS NOT RESPONDING"_s, {}},
        {QLocale::Turkish, u"device is not responding"_s, u"Gerät antwortet nicht"_s},
        {QLocale::Turkish, u"OPEN"_s, u"Öffnen"_s},
    };
    for (const QLocale::Language locale : {QLocale::German, QLocale::Turkish}) {
        TMessageCatalogue catalogue(m_dir.path(), QLocale(locale));
        catalogue.LoadLanguageList();
        catalogue.SetCurrentLanguage(1);
        ASSERT_TRUE(catalogue.LoadLanguage());
        QFile::remove(path(u"messages_de.txt.todo"_s));
        QString misses;
        for (const auto& c : cases) {
            if (c.Locale != locale)
                continue;
            SCOPED_TRACE(c.Text.toStdString());
            const QString* asBefore = catalogue.FindTranslation(catalogue.LowerCase(c.Text));
            EXPECT_EQ(catalogue.Translate(c.Text), asBefore ? *asBefore : c.Text);
            EXPECT_EQ(catalogue.Translate(c.Text), c.Expected.isNull() ? c.Text : c.Expected);
            if (c.Expected.isNull())
                misses += c.Text + u";\t\n"_s + c.Text + u";\t\n"_s;
        }
        EXPECT_EQ(todo(u"messages_de.txt"_s), misses.isEmpty() ? QByteArray() : utf16Le(misses));
    }
}

TEST_F(MessageCatalogueTest, LogHoldsTheMissingMasterTextsThenEveryMiss) {
    write(u"messages_de.txt.todo"_s, utf16Le(u"stale;\t\n"_s));
    load(1);
    EXPECT_EQ(todo(u"messages_de.txt"_s), utf16Le(u"Save;\t\nFlow;\t\n"_s));

    EXPECT_EQ(m_catalogue.TranslateColon(u"Flow"_s), u"Flow: "_s);
    EXPECT_EQ(m_catalogue.TranslateFmt(u"Delete %s?"_s, u"A"_s), u"Delete A?"_s);
    EXPECT_EQ(todo(u"messages_de.txt"_s), utf16Le(u"Save;\t\nFlow;\t\nFlow;\t\nDelete %s?;\t\n"_s));

    load(1);
    EXPECT_EQ(todo(u"messages_de.txt"_s), utf16Le(u"Save;\t\nFlow;\t\n"_s));
}

TEST_F(MessageCatalogueTest, LogIsStartedWithTheByteOrderMarkByTheFirstMiss) {
    writeLanguage(u"messages_de.txt"_s,
                  u"Open;\tÖffnen\r\nSave;\tSichern\r\nFlow;\tFluss\r\nClose;\tZu\r\n"_s);
    load(1);
    EXPECT_TRUE(todoFiles().isEmpty());
    EXPECT_EQ(m_catalogue.TranslateExclaim(u"Device Lost"_s), u"Device Lost!"_s);
    EXPECT_EQ(todo(u"messages_de.txt"_s), utf16Le(u"Device Lost;\t\n"_s));
}

TEST_F(MessageCatalogueTest, LanguageOutsideTheListShowsEnglishAndLogsNothing) {
    load(1);
    for (const int language : {-1, 4, 100, 1000}) {
        SCOPED_TRACE(language);
        QFile::remove(path(u"messages_de.txt.todo"_s));
        m_catalogue.SetCurrentLanguage(language);
        EXPECT_FALSE(m_catalogue.LoadLanguage());
        EXPECT_EQ(m_catalogue.EntryCount(), 5);
        EXPECT_EQ(m_catalogue.Translate(u"Open"_s), u"Open"_s);
        EXPECT_EQ(m_catalogue.Translate(u"Nowhere"_s), u"Nowhere"_s);
        EXPECT_EQ(m_catalogue.LanguageCharset(), 1);
        EXPECT_TRUE(todoFiles().isEmpty());
    }
    // A language without a file name is as good as none.
    m_catalogue.SetCurrentLanguage(3);
    EXPECT_FALSE(m_catalogue.LoadLanguage());
    EXPECT_EQ(m_catalogue.Translate(u"Nowhere"_s), u"Nowhere"_s);
    EXPECT_TRUE(QDir(m_dir.path()).entryList({u".todo"_s}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(MessageCatalogueTest, MissingLanguageFileKeepsThePreviousTexts) {
    load(1);
    const QByteArray germanLog = todo(u"messages_de.txt"_s);
    m_catalogue.SetCurrentLanguage(2);
    EXPECT_FALSE(m_catalogue.LoadLanguage());
    EXPECT_EQ(m_catalogue.EntryCount(), 5);
    EXPECT_EQ(m_catalogue.Translate(u"Open"_s), u"Öffnen"_s);
    EXPECT_EQ(m_catalogue.Translate(u"Save"_s), u"Save"_s);
    EXPECT_EQ(todo(u"messages_de.txt"_s), germanLog);
    EXPECT_EQ(todo(u"messages_xx.txt"_s), utf16Le(u"Save;\t\n"_s));
}

TEST_F(MessageCatalogueTest, FirstLoadOfAMissingFileShowsEnglish) {
    m_catalogue.SetCurrentLanguage(2);
    EXPECT_FALSE(m_catalogue.LoadLanguage());
    EXPECT_EQ(m_catalogue.EntryCount(), 0);
    EXPECT_EQ(m_catalogue.Translate(u"Open"_s), u"Open"_s);
    EXPECT_EQ(todo(u"messages_xx.txt"_s), utf16Le(u"Open;\t\n"_s));
}

TEST_F(MessageCatalogueTest, MissingMasterListLoadsTheLanguageButNoLog) {
    QFile::remove(path(u"messages_uk.txt"_s));
    write(u"messages_de.txt.todo"_s, utf16Le(u"stale;\t\n"_s));
    m_catalogue.SetCurrentLanguage(1);
    EXPECT_FALSE(m_catalogue.LoadLanguage());
    EXPECT_EQ(m_catalogue.Translate(u"Close"_s), u"Schließen"_s);
    EXPECT_TRUE(todoFiles().isEmpty());
}

TEST_F(MessageCatalogueTest, UnwritableLogIsIgnored) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"messages_de.txt.todo"_s));
    load(1);
    EXPECT_EQ(m_catalogue.Translate(u"Save"_s), u"Save"_s);
    EXPECT_TRUE(QFileInfo(path(u"messages_de.txt.todo"_s)).isDir());
}

TEST_F(MessageCatalogueTest, FormatReplacesOnlyTheFirstPlaceholder) {
    writeLanguage(u"messages_de.txt"_s,
                  u"A %s;\tB %s\r\nTwo %s;\t%s und %s\r\nPercent %s;\t100%% %d %s\r\n"_s);
    load(1);
    const struct {
        QString pattern;
        QString argument;
        QString expected;
    } cases[] = {
        {u"A %s"_s, u"x"_s, u"B x"_s},
        {u"Two %s"_s, u"x"_s, u"x und %s"_s},
        {u"Percent %s"_s, u"x"_s, u"100% %d x"_s},
        {u"A %s"_s, u"%s"_s, u"B %s"_s},
        {u"Untranslated"_s, u"x"_s, u"Untranslated"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_catalogue.TranslateFmt(c.pattern, c.argument), c.expected) << qPrintable(c.pattern);
}

} // namespace
