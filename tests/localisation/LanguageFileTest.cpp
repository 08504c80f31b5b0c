// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/LanguageFile.h"
#include "Utf16Files.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Entries = QList<TMessageEntry>;

struct SyntaxCase {
    const char* name;
    QString text; // after the byte-order mark
    Entries expected;
};

void expectEntries(const Entries& actual, const Entries& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ(actual[i].translation, expected[i].translation) << "entry " << i;
    }
}

TEST(LanguageFile, Syntax) {
    const SyntaxCase cases[] = {
        {"typical line",
         u"Open;\tÖffnen\r\nSave;\tSpeichern\r\n"_s,
         {{u"Open"_s, u"Öffnen"_s}, {u"Save"_s, u"Speichern"_s}}},
        {"space after separator dropped", u"Open; Öffnen\r\n"_s, {{u"Open"_s, u"Öffnen"_s}}},
        {"no blank after separator", u"Open;Öffnen\n"_s, {{u"Open"_s, u"Öffnen"_s}}},
        {"two leading spaces keep one", u"Open;  Öffnen\r\n"_s, {{u"Open"_s, u" Öffnen"_s}}},
        {"CR LF after separator is an empty translation",
         u"Open;\r\nSave;\tSpeichern\r\n"_s,
         {{u"Open"_s, QString()}, {u"Save"_s, u"Speichern"_s}}},
        {"LF after separator runs on to the next line",
         u"Open;\nSave;\tSpeichern\r\nQuit;\tEnde\r\n"_s,
         {{u"Open"_s, u"\nSave;Speichern"_s}, {u"Quit"_s, u"Ende"_s}}},
        {"line without separator runs into the next",
         u"Open\r\nFile;\tDatei\r\n"_s,
         {{u"Open\r\nFile"_s, u"Datei"_s}}},
        {"tabs and CRs dropped, spaces kept", u"Open;\tÖff\tnen \r\r\n"_s, {{u"Open"_s, u"Öffnen "_s}}},
        {"blanks in the key kept", u" Open ;\tx\r\n"_s, {{u" Open "_s, u"x"_s}}},
        {"separator inside the translation", u"A;\tB;C\r\n"_s, {{u"A"_s, u"B;C"_s}}},
        {"last line without line end", u"Open;\tÖffnen"_s, {{u"Open"_s, u"Öffnen"_s}}},
        {"separator as the last unit", u"Open;"_s, {{u"Open"_s, QString()}}},
        {"trailing text without separator is no entry",
         u"Open;\tÖffnen\r\n\r\nrest"_s,
         {{u"Open"_s, u"Öffnen"_s}}},
        {"only the byte-order mark", QString(), {}},
    };
    for (const SyntaxCase& c : cases) {
        SCOPED_TRACE(c.name);
        expectEntries(parseLanguageFile(utf16Le(c.text)), c.expected);
    }
}

TEST(LanguageFile, FirstUnitIsSkippedEvenWithoutByteOrderMark) {
    expectEntries(parseLanguageFile(utf16Le(u"Open;\tÖffnen\r\n"_s, false)), {{u"pen"_s, u"Öffnen"_s}});
    expectEntries(parseLanguageFile(QByteArray()), {});
    expectEntries(parseLanguageFile(QByteArray("\xFF")), {});
}

TEST(LanguageFile, TrailingOddByteIsIgnored) {
    QByteArray bytes = utf16Le(u"A;\tB"_s);
    bytes.append('C');
    expectEntries(parseLanguageFile(bytes), {{u"A"_s, u"B"_s}});
}

TEST(LanguageFile, OnlyTheFirst999EntriesAreRead) {
    QString text;
    for (int i = 0; i < 1005; ++i)
        text += u"text %1;\tText %1\r\n"_s.arg(i);
    const Entries entries = parseLanguageFile(utf16Le(text));
    ASSERT_EQ(entries.size(), MaxMessages);
    EXPECT_EQ(entries.back().key, u"text 998"_s);
}

TEST(MasterList, TextsAreTrimmedAndTheThreeUnitsAfterTheSeparatorSkipped) {
    const QString text = u"Open;\t\r\nSave  ;\t\r\n  ;\t\r\n\tFlow\x01;\t\r\nA;xyzB;\t\r\nEnd"_s;
    EXPECT_EQ(parseMasterList(utf16Le(text)),
              (QStringList{u"Open"_s, u"Save"_s, u"Flow"_s, u"A"_s, u"B"_s, u"End"_s}));
    EXPECT_EQ(parseMasterList(utf16Le(QString())), QStringList());
}

} // namespace
