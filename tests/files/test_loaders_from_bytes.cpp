// SPDX-License-Identifier: GPL-3.0-or-later
// Every loader has an entry point over bytes in memory, and its path version is that entry point
// over the file's bytes: the same result, the same refusal, nothing written by the parse.
#include "files/ProjectFile.h"
#include "files/RecordFile.h"
#include "files/Settings.h"
#include "localisation/MessageCatalogue.h"
#include "model/Translator.h"
#include "localisation/Utf16Files.h"
#include "model/Units.h"
#include "files/ValveCache.h"
#include "model/RecordModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

QString fixture(const char* name) {
    return QStringLiteral(ZRV_FIXTURES "/") + QString::fromLatin1(name);
}

// Whole, cut inside its container, and no dialect at all.
QList<QByteArray> variantsOf(const QByteArray& whole) {
    return {whole, whole.left(whole.size() / 2), QByteArrayLiteral("PK\x03\x04")};
}

} // namespace

TEST(LoadersFromBytes, ProjectFileLoadsAsItsBytesDo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.proj"));
    for (const QByteArray& bytes : variantsOf(readFile(fixture("printing/report.proj")))) {
        writeFile(path, bytes);
        auto fromFile = std::make_unique<TProject>();
        auto fromBytes = std::make_unique<TProject>();
        QString fileError, bytesError;
        const bool fileOk = LoadProjectFile(path, *fromFile, 0, QLocale::c(), &fileError);
        EXPECT_EQ(LoadProjectBytes(bytes, path, *fromBytes, 0, QLocale::c(), &bytesError), fileOk);
        EXPECT_EQ(bytesError, fileError);
        EXPECT_EQ(std::memcmp(fromFile.get(), fromBytes.get(), sizeof(TProject)), 0);
    }
    auto project = std::make_unique<TProject>();
    QString error;
    EXPECT_TRUE(LoadProjectFile(fixture("printing/report.proj"), *project, 0, QLocale::c(), &error));
    EXPECT_GT(project->branchCount(), 0);
    EXPECT_FALSE(
        LoadProjectFile(dir.filePath(QStringLiteral("missing.proj")), *project, 0, QLocale::c(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing.proj"))) << qPrintable(error);
}

TEST(LoadersFromBytes, RecordFileLoadsAsItsBytesDo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.r9q4"));
    const TIdentityTranslator translator;
    TUnits units;
    units.Locale = QLocale::c();
    for (const QByteArray& bytes : variantsOf(readFile(fixture("records/small.r9q4")))) {
        writeFile(path, bytes);
        auto fromFile = std::make_unique<TRecordStore>();
        auto fromBytes = std::make_unique<TRecordStore>();
        QString fileError, bytesError;
        const bool fileOk = LoadRecordFile(*fromFile, path, units, translator, &fileError);
        EXPECT_EQ(LoadRecordBytes(*fromBytes, bytes, path, units, translator, &bytesError), fileOk);
        EXPECT_EQ(bytesError, fileError);
        EXPECT_EQ(fromBytes->SampleCount, fromFile->SampleCount);
        EXPECT_EQ(fromBytes->CurrentHeader, fromFile->CurrentHeader);
        for (int i = 0; i < fromFile->SampleCount; ++i)
            EXPECT_EQ(fromBytes->Samples[i].Flow, fromFile->Samples[i].Flow);
    }
}

TEST(LoadersFromBytes, SettingsLoadAndSaveAsTheirBytesDo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zrv10.ini"));
    const QByteArray before = readFile(fixture("files/settings/hand_edited.ini"));
    writeFile(path, before);
    TSettings settings = LoadSettings(path);
    EXPECT_EQ(LoadSettingsBytes(before), settings);
    settings.FlowUnit = 7;
    settings.PrintMargins.Top = 11;
    QString error;
    ASSERT_TRUE(SaveSettings(path, settings, &error)) << qPrintable(error);
    EXPECT_EQ(readFile(path), SettingsBytes(before, settings));
    EXPECT_EQ(LoadSettingsBytes(readFile(path)), settings);
}

TEST(LoadersFromBytes, LanguageListAndLanguageParseWithoutWriting) {
    QTemporaryDir dir;
    const QByteArray ini("[Main]\nTotal=2\n[Names]\n0=English\n1=Deutsch\n[Files]\n1=messages_de.txt\n");
    const QByteArray german = utf16Le(u"Open;\t\u00D6ffnen\r\n"_qs);
    const QByteArray master = utf16Le(u"Open;\t\r\nSave;\t\r\n"_qs);
    writeFile(dir.filePath(QStringLiteral("messages.ini")), ini);
    writeFile(dir.filePath(QStringLiteral("messages_de.txt")), german);
    writeFile(dir.filePath(QStringLiteral("messages_uk.txt")), master);

    const TLanguageList fromFile = LoadLanguageList(dir.path());
    const TLanguageList fromBytes = LoadLanguageListBytes(ini, dir.path());
    ASSERT_EQ(fromBytes.count(), fromFile.count());
    for (int i = 0; i < fromFile.count(); ++i) {
        EXPECT_EQ(fromBytes.at(i).name, fromFile.at(i).name);
        EXPECT_EQ(fromBytes.at(i).path, fromFile.at(i).path);
    }

    TMessageCatalogue fromMemory(dir.path(), QLocale::c());
    fromMemory.SetCurrentLanguage(1);
    fromMemory.LoadLanguageBytes(german);
    EXPECT_EQ(fromMemory.MissingTexts(master), QStringList{QStringLiteral("Save")});
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("messages_de.txt.todo"))));

    // LoadLanguage writes what MissingTexts answers.
    TMessageCatalogue catalogue(dir.path(), QLocale::c());
    catalogue.LoadLanguageList();
    catalogue.SetCurrentLanguage(1);
    ASSERT_TRUE(catalogue.LoadLanguage());
    EXPECT_EQ(catalogue.Translate(QStringLiteral("Open")), u"\u00D6ffnen"_qs);
    EXPECT_EQ(readFile(catalogue.TodoPath()), utf16Le(u"Save;\t\n"_qs));
}

TEST(LoadersFromBytes, ValveCacheLoadsAsItsFilesDo) {
    QTemporaryDir dir;
    QByteArray manufacturers(ManufacturersFileSize, '\0');
    manufacturers[0] = 1;
    manufacturers[1] = 2;
    std::memcpy(manufacturers.data() + 17, "Alpha", 5);
    // A short valves file and an overlong manufacturers file: bytes beyond a table are not read.
    const QByteArray valves(200, '\x41');
    writeFile(dir.filePath(QLatin1String(ManufacturersCacheName)), manufacturers + QByteArray(50, '\x7F'));
    writeFile(dir.filePath(QLatin1String(ValvesCacheName)), valves);

    auto fromFiles = std::make_unique<TValveCatalogue>();
    auto fromBytes = std::make_unique<TValveCatalogue>();
    std::memset(fromFiles.get(), 0x33, sizeof(TValveCatalogue));
    std::memset(fromBytes.get(), 0x33, sizeof(TValveCatalogue));
    ASSERT_TRUE(LoadValveCache(dir.path(), *fromFiles));
    LoadValveCacheBytes(manufacturers + QByteArray(50, '\x7F'), valves, *fromBytes);
    EXPECT_EQ(std::memcmp(fromFiles.get(), fromBytes.get(), sizeof(TValveCatalogue)), 0);
    EXPECT_EQ(fromBytes->TypeCounts[0], 2);
    const auto* valveBytes = reinterpret_cast<const std::uint8_t*>(fromBytes->Valves);
    EXPECT_EQ(valveBytes[199], 0x41);
    EXPECT_EQ(valveBytes[200], 0x33); // beyond the short file: as it was
}
