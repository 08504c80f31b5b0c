// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DeviceTexts.h"
#include "commands/DeviceUserInterface.h"
#include "commands/ScriptedUserInterface.h"
#include "link/DeviceEvents.h"
#include "localisation/MessageCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// English (language 0) and German from the language folder as it ships, copied so that a log of
// missing texts would land in a scratch folder.
struct TLanguages {
    TLanguages() {
        const QDir shipped(QStringLiteral(ZRV_LANGUAGE_DIR));
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), QDir(Folder.path()).filePath(name));
        German.LoadLanguageList();
        German.SetCurrentLanguage(2);
        EXPECT_TRUE(German.LoadLanguage()) << German.LastError().toStdString();
    }
    QTemporaryDir Folder;
    TMessageCatalogue English{QStringLiteral("/nonexistent/language/"), QLocale::c()};
    TMessageCatalogue German{Folder.path(), QLocale::c()};
};

const TLanguages& languages() {
    static const TLanguages shipped;
    return shipped;
}

} // namespace

TEST(DeviceTexts, EveryStatusInEnglishAndGerman) {
    using K = TDeviceStatusKind;
    const struct {
        TDeviceStatus Status;
        QString English;
        QString German;
    } cases[] = {
        {{K::Clear}, QString(), QString()},
        {{K::AnotherOperationRunning},
         u"Another device operation is running!"_s,
         u"Es läuft bereits ein anderer Gerätevorgang!"_s},
        {{K::NotResponding}, u"Device is not responding!"_s, u"Gerät antwortet nicht!"_s},
        {{K::NotConnected}, u"Device is not connected!"_s, u"Gerät ist nicht angeschlossen!"_s},
        {{K::Sending}, u"Sending..."_s, u"Senden..."_s},
        {{K::Connected},
         u"Device is connected to USB interface"_s,
         u"Gerät ist mit der USB-Schnittstelle verbunden"_s},
        {{K::ReadingConfig}, u"Reading config..."_s, u"Konfiguration wird gelesen..."_s},
        {{K::WritingConfig}, u"Writing config..."_s, u"Konfiguration wird geschrieben..."_s},
        {{K::ReadingProject}, u"Reading project..."_s, u"Projekt wird gelesen..."_s},
        {{K::ReadingProjectBlocks, 0}, u"Reading project...0 %"_s, u"Projekt wird gelesen...0 %"_s},
        {{K::WritingProject}, u"Writing project..."_s, u"Projekt wird geschrieben..."_s},
        {{K::WritingProjectBlocks, 97}, u"Writing project...97 %"_s, u"Projekt wird geschrieben...97 %"_s},
        {{K::VerifyingProject}, u"Verifying project..."_s, u"Projekt wird überprüft..."_s},
        {{K::ProjectRead},
         u"The project was successfully read"_s,
         u"Das Projekt wurde erfolgreich gelesen"_s},
        {{K::ProjectWritten},
         u"The project was successfully written"_s,
         u"Das Projekt wurde erfolgreich geschrieben"_s},
        {{K::ProjectWrittenNotVerified},
         u"The project was written but not verified!"_s,
         u"Das Projekt wurde geschrieben, aber nicht überprüft!"_s},
        {{K::HeaderDiffers},
         u"Writing failed: the project header differs in the device!"_s,
         u"Schreiben fehlgeschlagen: der Projektkopf im Gerät weicht ab!"_s},
        {{K::BranchDiffers, 3, 0, u"Riser 1"_s},
         u"Writing failed: branch 3 (Riser 1) differs in the device!"_s,
         u"Schreiben fehlgeschlagen: Strang 3 (Riser 1) weicht im Gerät ab!"_s},
        {{K::ReadingRecords}, u"Reading records..."_s, u"Aufzeichnungen werden gelesen..."_s},
        {{K::RecordRead},
         u"The record was successfully read"_s,
         u"Die Aufzeichnung wurde erfolgreich gelesen"_s},
        {{K::ReadingManufacturers}, u"Reading manufacturers..."_s, u"Hersteller werden gelesen..."_s},
        {{K::ManufacturerCount, 16}, u"Number of manufacturers: 16"_s, u"Anzahl der Hersteller: 16"_s},
        {{K::ReadingManufacturerNames},
         u"Reading manufacturer names..."_s,
         u"Herstellernamen werden gelesen..."_s},
        {{K::ManufacturersRead}, u"Manufacturers were read"_s, u"Hersteller wurden gelesen"_s},
        {{K::ReadingValves}, u"Reading valves..."_s, u"Ventile werden gelesen..."_s},
        {{K::ValveProgress, 7, 1000},
         u" Reading Valves from device 7/1000"_s,
         u" Ventile aus dem Gerät lesen 7/1000"_s},
        {{K::ValveCatalogueTooLarge},
         u"The valve catalogue in the device is too large!"_s,
         u"Der Ventilkatalog im Gerät ist zu groß!"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.English.toStdString());
        EXPECT_EQ(DeviceStatusText(c.Status, languages().English), c.English);
        EXPECT_EQ(DeviceStatusText(c.Status, languages().German), c.German);
    }
}

TEST(DeviceTexts, EveryNoticeInEnglishAndGerman) {
    using K = TDeviceNoticeKind;
    const TDriverFailure busy{TDriverFailureKind::Busy, {}, {}};
    const struct {
        TDeviceNotice Notice;
        QString English[2]; // caption, text
        QString German[2];
    } cases[] = {
        {{K::DriverFailure, busy},
         {u"Error"_s, u"The instrument is in use by another program. Close that program and try again."_s},
         {u"Fehler"_s,
          u"Das Gerät wird von einem anderen Programm verwendet. Schließen Sie dieses Programm und "
          u"versuchen Sie es erneut."_s}},
        // A time-out: the status line says enough, so there is no box.
        {{K::DriverFailure, {TDriverFailureKind::TimedOut, {}, {}}},
         {u"Error"_s, QString()},
         {u"Fehler"_s, QString()}},
        {{K::NoProjects},
         {u"Projects"_s, u"There are no projects in device"_s},
         {u"Projekte"_s, u"Im Gerät sind keine Projekte vorhanden"_s}},
        {{K::NoRecords},
         {u"Records"_s, u"There are no records in device"_s},
         {u"Aufzeichnungen"_s, u"Im Gerät sind keine Aufzeichnungen vorhanden"_s}},
        {{K::HeaderDiffers},
         {u"Error"_s,
          u"The project header in the device differs from the one written. Write the project again."_s},
         {u"Fehler"_s,
          u"Der Projektkopf im Gerät weicht vom geschriebenen ab. Schreiben Sie das Projekt erneut."_s}},
        {{K::BranchDiffers, {}, 12, u"Boiler"_s},
         {u"Error"_s,
          u"Branch 12 (Boiler) in the device differs from the one written. Write the project again."_s},
         {u"Fehler"_s,
          u"Strang 12 (Boiler) im Gerät weicht vom geschriebenen ab. Schreiben Sie das Projekt erneut."_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.English[1].toStdString());
        EXPECT_EQ(DeviceNoticeCaption(c.Notice, languages().English), c.English[0]);
        EXPECT_EQ(DeviceNoticeText(c.Notice, languages().English), c.English[1]);
        EXPECT_EQ(DeviceNoticeCaption(c.Notice, languages().German), c.German[0]);
        EXPECT_EQ(DeviceNoticeText(c.Notice, languages().German), c.German[1]);
    }
}

TEST(DeviceTexts, QuestionsInEnglishAndGerman) {
    const TDeviceQuestion overwrite{TDeviceQuestionKind::OverwriteProject};
    EXPECT_EQ(DeviceQuestionCaption(overwrite, languages().English), u"Saving project"_s);
    EXPECT_EQ(DeviceQuestionText(overwrite, languages().English),
              u"Do you want to overwrite the project  ZRV 10?"_s);
    EXPECT_EQ(DeviceQuestionCaption(overwrite, languages().German), u"Projekt speichern"_s);
    EXPECT_EQ(DeviceQuestionText(overwrite, languages().German),
              u"Möchten Sie das Projekt im ZRV 10 überschreiben?"_s);

    const TDeviceQuestion names{TDeviceQuestionKind::NamesNotHeld, {u"Ölkessel"_s}};
    EXPECT_EQ(
        DeviceQuestionText(names, languages().English),
        u"The character table of the device cannot hold every character of these names:\n\n\"Ölkessel\"\n\n"
        u"The device would show them changed. Write the project anyway?"_s);
    EXPECT_EQ(
        DeviceQuestionText(names, languages().German),
        u"Die Zeichentabelle des Geräts kann nicht alle Zeichen dieser Namen aufnehmen:\n\n\"Ölkessel\"\n\n"
        u"Das Gerät würde sie verändert anzeigen. Projekt trotzdem schreiben?"_s);
}

// What the window and the companion see: the status line, the boxes in order, and which questions
// keep No as their default.
TEST(DeviceUserInterface, ShowsWhatTheOperationReports) {
    TScriptedUserInterface ui;
    TDeviceUserInterface events(ui, languages().German);

    ui.Status = u"old"_s;
    events.status({TDeviceStatusKind::ReadingConfig});
    EXPECT_EQ(ui.Status, u"Konfiguration wird gelesen..."_s);
    // A failure the status line explains shows no box and leaves the status to the verdict.
    events.notice({TDeviceNoticeKind::DriverFailure, {TDriverFailureKind::Stalled, {}, {}}});
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(ui.Status, u"Konfiguration wird gelesen..."_s);
    // One that needs a box clears the progress text first.
    events.notice({TDeviceNoticeKind::DriverFailure, {TDriverFailureKind::NotFound, {}, {}}});
    ASSERT_EQ(ui.Log.size(), 3);
    EXPECT_EQ(ui.Log[1].Kind, u"status"_s);
    EXPECT_EQ(ui.Log[1].Text, QString());
    EXPECT_EQ(ui.Log[2].Kind, u"message"_s);
    EXPECT_EQ(ui.Log[2].Caption, u"Fehler"_s);

    ui.Answers = {IUserInterface::Answer::Yes, IUserInterface::Answer::No, IUserInterface::Answer::Cancel};
    EXPECT_TRUE(events.confirm({TDeviceQuestionKind::NamesNotHeld, {u"x"_s}}));
    EXPECT_TRUE(ui.Log.back().DefaultNo);
    EXPECT_FALSE(events.confirm({TDeviceQuestionKind::OverwriteProject}));
    EXPECT_FALSE(ui.Log.back().DefaultNo);
    EXPECT_FALSE(events.confirm({TDeviceQuestionKind::OverwriteProject}));

    events.processPendingEvents();
    EXPECT_EQ(ui.EventsProcessed, 1);
}
