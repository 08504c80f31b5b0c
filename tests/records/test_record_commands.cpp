// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/RecordCommands.h"

#include "files/RecordFile.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/RecordModel.h"
#include "commands/ScriptedUserInterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString SmallRecord = QStringLiteral(ZRV_FIXTURES "/records/small.r9q4");

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A store holding one shown record of two samples, as after a read from the instrument.
class RecordCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store->CurrentHeader.Description = QStringLiteral("Shown record");
        store->CurrentHeader.Valve_Type = QStringLiteral("V15");
        store->CurrentHeader.Medium_Index = 1;
        store->RecordCount = 1;
        store->SampleCount = 2;
        store->Samples[0] = {0, "01.02.2024", "10:00:00", "1500.000000", "120.500000"};
        store->Samples[1] = {0, "01.02.2024", "10:05:00", "1600.000000", "121.000000"};
    }

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    const TZaznam& header() const { return store->CurrentHeader; }

    QTemporaryDir dir;
    std::unique_ptr<TRecordStore> store = std::make_unique<TRecordStore>();
    TUnits units;
    TIdentityTranslator translator;
    TScriptedUserInterface ui;
    TRecordCommandContext context{*store, units, translator, ui};
};

TEST_F(RecordCommandsTest, CancelledDialogsChangeAndWriteNothing) {
    EXPECT_EQ(OpenRecordFileCommand(context), TRecordOpenResult::Cancelled);
    EXPECT_FALSE(SaveRecordFileCommand(context));
    for (TExportFormat format : {TExportFormat::Csv, TExportFormat::Html, TExportFormat::Xls})
        EXPECT_FALSE(ExportRecordTableCommand(context, TTextTable(4, 2), format));

    EXPECT_EQ(header().Description, QStringLiteral("Shown record"));
    EXPECT_EQ(store->SampleCount, 2);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    // Each dialog offered its own files.
    QStringList filters;
    for (const auto& shown : ui.Log)
        filters << shown.Text;
    EXPECT_EQ(filters, (QStringList{"Records (*.r9q4);;All Files (*)", "K9Q4 Records (*.r9q4);;All Files (*)",
                                    "CSV Files (*.csv)", "HTML Files (*.htm *.html)", "XLS Files (*.xls)"}));
}

TEST_F(RecordCommandsTest, OpenLoadsTheChosenFileTypedWithOrWithoutItsExtension) {
    ASSERT_TRUE(QFile::copy(SmallRecord, path("copy.r9q4")));
    for (const QString& chosen : {SmallRecord, path("copy")}) {
        SetUp();
        ui.FilesToOpen = {chosen};
        EXPECT_EQ(OpenRecordFileCommand(context), TRecordOpenResult::Loaded) << chosen.toStdString();
        EXPECT_EQ(header().Description, QStringLiteral("Riser 1"));
        EXPECT_EQ(header().Valve_Type, QStringLiteral("Type 15"));
        EXPECT_EQ(store->SampleCount, 2);
        EXPECT_EQ(store->Samples[1].Pressure, QStringLiteral("-3.000000"));
        EXPECT_EQ(store->CurrentRecord, 0);
        EXPECT_TRUE(ui.messages().isEmpty());
    }
}

TEST_F(RecordCommandsTest, AFailedLoadShowsTheLoadersSentenceAndKeepsTheRecord) {
    QFile notXml(path("notes.r9q4"));
    ASSERT_TRUE(notXml.open(QIODevice::WriteOnly));
    notXml.write("just some notes\n");
    notXml.close();
    QFile badInteger(path("bad.r9q4"));
    ASSERT_TRUE(badInteger.open(QIODevice::WriteOnly));
    const QString text =
        QStringLiteral("\uFEFF<?xml version = \"1.0\"?>\n<Record>\n\t<Description>Other</Description>\n"
                       "\t<Medium_Index>two</Medium_Index>\n</Record>\n");
    badInteger.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    badInteger.close();

    for (const QString& chosen : {path("notes.r9q4"), path("bad.r9q4"), path("missing.r9q4")}) {
        ui.Log.clear();
        ui.FilesToOpen = {chosen};
        QString expected;
        auto probe = std::make_unique<TRecordStore>();
        EXPECT_FALSE(LoadRecordFile(*probe, chosen, units, translator, &expected));

        EXPECT_EQ(OpenRecordFileCommand(context), TRecordOpenResult::Failed) << chosen.toStdString();
        ASSERT_EQ(ui.messages(), QStringList{expected});
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
        EXPECT_EQ(header().Description, QStringLiteral("Shown record"));
        EXPECT_EQ(header().Medium_Index, 1);
        EXPECT_EQ(store->SampleCount, 2);
        EXPECT_EQ(store->Samples[0].Pressure, QStringLiteral("1500.000000"));
    }
}

TEST_F(RecordCommandsTest, SaveWritesTheRecordUnderTheNameWithItsExtension) {
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {{"plain", "plain.r9q4"}, {"given.r9q4", "given.r9q4"}, {"other.xml", "other.xml"}};
    for (const auto& c : cases) {
        ui.FilesToSave = {path(c.chosen)};
        EXPECT_TRUE(SaveRecordFileCommand(context)) << c.chosen;
        auto reloaded = std::make_unique<TRecordStore>();
        ASSERT_TRUE(LoadRecordFile(*reloaded, path(c.written), units, translator)) << c.written;
        EXPECT_EQ(reloaded->CurrentHeader.Description, QStringLiteral("Shown record"));
        EXPECT_EQ(reloaded->SampleCount, 2);
        EXPECT_EQ(reloaded->Samples[1].Time, QStringLiteral("10:05:00"));
    }
    EXPECT_FALSE(QFile::exists(path("plain")));
    EXPECT_TRUE(ui.messages().isEmpty());
}

// Save as starts at a name from the record: its description and first date for one from the
// instrument, its own file once it has one; a description that is no file name is made one.
TEST_F(RecordCommandsTest, SaveAsProposesAFileNameFromTheRecord) {
    store->CurrentHeader.Description = QStringLiteral("  Riser 2/North  ");
    EXPECT_FALSE(SaveRecordFileCommand(context));
    EXPECT_EQ(ui.DialogStarts.last(), QStringLiteral("Riser 2_North 2024-02-01.r9q4"));
    EXPECT_EQ(ProposedRecordFile(*store, QStringLiteral("png")),
              QStringLiteral("Riser 2_North 2024-02-01.png"));

    ui.FilesToSave = {path("kept")};
    ASSERT_TRUE(SaveRecordFileCommand(context));
    EXPECT_FALSE(SaveRecordFileCommand(context));
    EXPECT_EQ(ui.DialogStarts.last(), path("kept.r9q4"));

    ui.FilesToOpen = {SmallRecord};
    ASSERT_EQ(OpenRecordFileCommand(context), TRecordOpenResult::Loaded);
    EXPECT_EQ(ProposedRecordFile(*store, QStringLiteral("png")),
              QFileInfo(SmallRecord).absolutePath() + QStringLiteral("/small.png"));

    store->FileName.clear();
    store->CurrentHeader.Description.clear();
    store->SampleCount = 0;
    EXPECT_EQ(ProposedRecordFile(*store, QStringLiteral("r9q4")), QString());
}

TEST_F(RecordCommandsTest, AFailedSaveIsShownAndLeavesTheOldFile) {
    ui.FilesToSave = {path("no/such/folder/record.r9q4")};
    EXPECT_FALSE(SaveRecordFileCommand(context));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
    EXPECT_FALSE(ui.messages().first().isEmpty());

    // A file that is a folder cannot be replaced: it stays what it was.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.r9q4")));
    ui.FilesToSave = {path("taken")};
    EXPECT_FALSE(SaveRecordFileCommand(context));
    EXPECT_EQ(ui.messages().size(), 2);
    EXPECT_TRUE(QFileInfo(path("taken.r9q4")).isDir());
}

TEST_F(RecordCommandsTest, ExportsWriteTheTableAsShownUnderTheNameRule) {
    // A number in a locale with digits of its own: only that locale reads it as a number.
    units.Locale = QLocale(QLocale::Bengali, QLocale::Bangladesh);
    TTextTable table(4, 2);
    const QStringList cells = {"Date",
                               "Time",
                               "Pressure [Pa]",
                               "Flow [l/h]",
                               "01.02.2024",
                               "10:00:00",
                               units.Locale.toString(1.5),
                               "120"};
    for (int i = 0; i < cells.size(); ++i)
        table.setCell(i % 4, i / 4, cells[i]);
    ASSERT_NE(TableXlsBytes(table, units.Locale), TableXlsBytes(table, QLocale::c()));

    const struct {
        TExportFormat format;
        const char* chosen;
        const char* written;
        QByteArray bytes;
    } cases[] = {
        {TExportFormat::Csv, "table", "table.csv", TableCsvBytes(table)},
        {TExportFormat::Csv, "table.CSV", "table.CSV", TableCsvBytes(table)},
        {TExportFormat::Html, "page.html", "page.html", TableHtmlBytes(table)},
        {TExportFormat::Html, "page", "page.htm", TableHtmlBytes(table)},
        {TExportFormat::Xls, "sheet", "sheet.xls", TableXlsBytes(table, units.Locale)},
        {TExportFormat::Xls, "sheet.Xls", "sheet.Xls.xls", TableXlsBytes(table, units.Locale)},
    };
    for (const auto& c : cases) {
        ui.FilesToSave = {path(c.chosen)};
        EXPECT_TRUE(ExportRecordTableCommand(context, table, c.format)) << c.chosen;
        EXPECT_EQ(contentsOf(path(c.written)), c.bytes) << c.written;
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(RecordCommandsTest, AFailedExportIsShown) {
    for (TExportFormat format : {TExportFormat::Csv, TExportFormat::Html, TExportFormat::Xls}) {
        ui.Log.clear();
        ui.FilesToSave = {path("no/such/folder/table")};
        EXPECT_FALSE(ExportRecordTableCommand(context, TTextTable(4, 2), format));
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
        EXPECT_FALSE(ui.messages().first().isEmpty());
    }
    EXPECT_FALSE(QDir(path("no")).exists());
}

} // namespace
