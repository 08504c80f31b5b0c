// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoPause.h"
#include "ProgramFolder.h"
#include "link/Pause.h"
#include "commands/ApplicationState.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectEditor.h"
#include "model/Clock.h"
#include "files/ValveCache.h"
#include "records/RecordChart.h"
#include "records/RecordListRows.h"
#include "records/RecordsWindow.h"
#include "commands/ScriptedUserInterface.h"

#include "mainwindow/test_dialogs_app.h"
#include "simulator/DemoContent.h"
#include "simulator/ImageFile.h"
#include "simulator/SimulatedInstrument.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// The scripted answers, with the status texts also reaching the main window's status bar as the
// real dialogs' status sink does.
class StatusForwardingUi final : public IUserInterface {
public:
    explicit StatusForwardingUi(TScriptedUserInterface& script) : m_script(script) {}
    std::function<void(const QString&)> StatusSink;

    void setStatus(const QString& text) override {
        m_script.setStatus(text);
        if (StatusSink)
            StatusSink(text);
    }
    void showMessage(const QString& caption, const QString& text) override {
        m_script.showMessage(caption, text);
    }
    Answer ask(const QString& caption, const QString& text) override { return m_script.ask(caption, text); }
    QString chooseFileToOpen(const TFileDialogOptions& options) override {
        return m_script.chooseFileToOpen(options);
    }
    QString chooseFileToSave(const TFileDialogOptions& options) override {
        return m_script.chooseFileToSave(options);
    }
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override {
        return m_script.inputText(caption, prompt, initial);
    }
    void processPendingEvents() override { m_script.processPendingEvents(); }

private:
    TScriptedUserInterface& m_script;
};

QStringList demoDescriptions() {
    QStringList descriptions;
    for (const TDemoRecord& record : DemoRecords())
        descriptions << QString::fromStdString(record.Description);
    return descriptions;
}

// A started main window with its records window wired as the program wires them. The simulated
// instrument's driver library lies beside the program when a test asks for it; its memory image is
// made in the test's folder.
class MainWindowRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state = MakeProgramFolder(dir);
        auto catalogue = std::make_unique<TValveCatalogue>();
        std::memset(catalogue.get(), 0, sizeof(TValveCatalogue));
        catalogue->ManufacturerCount = 1;
        catalogue->TypeCounts[0] = 1;
        std::memcpy(catalogue->ManufacturerNames[0], "Acme", 4);
        ASSERT_TRUE(SaveValveCache(state->CacheDir, *catalogue));

        mainF = std::make_unique<TMainF>(*state, forwardingUi, clock);
        forwardingUi.StatusSink = [this](const QString& text) { mainF->SetStatus(text); };
        mainF->setPause(noPause);
        mainF->setExitFunction([](int) {});
        recordsF = std::make_unique<TRecordsF>(*state, ui);
        mainF->setRecordsWindow(recordsF.get());
        mainF->setRecordChooser([this](const TRecordStore& read, const QStringList& captions) {
            offered << captions;
            offeredRows << RecordListRows(read);
            return choice;
        });
        mainF->StartupSequence();
        ui.Log.clear();
    }

    void TearDown() override {
        // The records window reaches back into the main window.
        recordsF.reset();
        mainF.reset();
    }

    // The simulated instrument beside the program, holding the demo content or an empty record area.
    void plugInInstrument(bool withRecords) {
        TSimulatedInstrument instrument;
        WriteDemoContent(instrument);
        if (!withRecords)
            ASSERT_TRUE(WriteRecordArea(instrument, {}));
        std::string error;
        ASSERT_TRUE(SaveImageFile(
            dir.filePath(QStringLiteral("bin/") + QLatin1String(SimulatorImageName)).toStdString(),
            instrument, &error))
            << error;
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_SIMULATOR_DRIVER), state->DriverPath));
    }

    void trigger(const char* name) {
        QAction* item = mainF->action(QLatin1String(name));
        ASSERT_NE(item, nullptr) << name;
        item->trigger();
    }

    bool shownModally() const { return recordsF->isVisible() && recordsF->windowModality() != Qt::NonModal; }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    StatusForwardingUi forwardingUi{ui};
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TMainF> mainF;
    std::unique_ptr<TRecordsF> recordsF;
    QList<QStringList> offered;
    // What the list shows beside each description: from the records being read, not the old tables.
    QList<std::vector<TRecordListRow>> offeredRows;
    std::optional<int> choice;
};

TEST_F(MainWindowRecordsTest, ARecordChosenFromTheInstrumentIsShownModally) {
    plugInInstrument(true);
    choice = 1;
    trigger("mOpenRecordFromDevice");

    ASSERT_EQ(offered, QList<QStringList>{demoDescriptions()});
    ASSERT_EQ(offeredRows.size(), 1);
    ASSERT_EQ(offeredRows[0].size(), static_cast<std::size_t>(demoDescriptions().size()));
    for (const TRecordListRow& row : offeredRows[0]) {
        EXPECT_FALSE(row.FirstSample.isEmpty()) << row.Description.toStdString();
        EXPECT_GT(row.SampleCount, 0) << row.Description.toStdString();
    }
    EXPECT_EQ(state->Records.CurrentRecord, 1);
    EXPECT_EQ(state->Records.CurrentHeader.Description, QStringLiteral("Boiler room"));
    EXPECT_TRUE(shownModally());
    EXPECT_EQ(mainF->statusText(), QStringLiteral("The record was successfully read"));
    EXPECT_EQ(recordsF->statusText(), mainF->statusText());
    EXPECT_TRUE(ui.messages().isEmpty());

    // Closing the records window clears the main window's status.
    recordsF->close();
    EXPECT_TRUE(mainF->statusText().isEmpty());
}

// The instrument items stay on while a new branch waits for confirmation; the project read in must
// not inherit that pending edit, which would leave the tree locked with no panel to end it.
TEST_F(MainWindowRecordsTest, AProjectReadDuringAPendingBranchEditLeavesTheEditorUsable) {
    plugInInstrument(true);
    mainF->editor().AddBranch();
    ASSERT_TRUE(mainF->editor().NewBranchPending());
    ui.Answers << IUserInterface::Answer::No; // the project with the pending branch is not saved
    trigger("mOpenPrjFromDevice");

    EXPECT_EQ(mainF->statusText(), QStringLiteral("The project was successfully read"));
    EXPECT_FALSE(mainF->editor().NewBranchPending());
    EXPECT_FALSE(mainF->editor().BranchEditPending());
    EXPECT_TRUE(mainF->editor().tree()->isEnabled());
    EXPECT_TRUE(mainF->action(QStringLiteral("mSaveAsPrj"))->isEnabled());
}

struct NothingChosenCase {
    const char* What;
    bool Instrument;
    bool Records;
    int Choosers;
    const char* Message;
    const char* Status; // null: whatever the read left
};

void PrintTo(const NothingChosenCase& c, std::ostream* os) {
    *os << c.What;
}

class NothingChosenTest : public MainWindowRecordsTest,
                          public ::testing::WithParamInterface<NothingChosenCase> {};

TEST_P(NothingChosenTest, ShowsNothingButTheStatus) {
    const NothingChosenCase& c = GetParam();
    if (c.Instrument)
        plugInInstrument(c.Records);
    mainF->SetStatus(QStringLiteral("from before"));
    recordsF->setStatusText(QStringLiteral("from before"));
    state->Records.CurrentRecord = 3;

    EXPECT_FALSE(mainF->ReadRecordsFromInstrument());
    EXPECT_EQ(offered.size(), c.Choosers);
    EXPECT_FALSE(recordsF->isVisible());
    EXPECT_EQ(state->Records.CurrentRecord, 3);
    QStringList messages = c.Message ? QStringList{QLatin1String(c.Message)} : QStringList();
    if (!c.Instrument) // no driver library beside the program: the box says so
        messages << QStringLiteral("The driver library %1 is missing. Reinstall the program.").arg(state->DriverPath);
    EXPECT_EQ(ui.messages(), messages);
    if (c.Message)
        EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Records"));
    if (c.Status)
        EXPECT_EQ(mainF->statusText(), QLatin1String(c.Status));
    EXPECT_NE(mainF->statusText(), QStringLiteral("from before"));
    EXPECT_EQ(recordsF->statusText(), mainF->statusText());
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowRecords, NothingChosenTest,
    ::testing::Values(NothingChosenCase{"cancelled", true, true, 1, nullptr, nullptr},
                      NothingChosenCase{"empty", true, false, 0, "There are no records in device", nullptr},
                      NothingChosenCase{"unplugged", false, false, 0, nullptr, "Device is not connected!"}),
    [](const auto& info) { return std::string(info.param.What); });

TEST_F(MainWindowRecordsTest, TheRecordsWindowReadsThroughTheMainWindowsLink) {
    plugInInstrument(true);
    choice = 4;
    recordsF->show();
    recordsF->ReadRecordsFromInstrument();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(state->Records.CurrentHeader.Description, QStringLiteral("Staff room"));
    EXPECT_EQ(recordsF->statusText(), QStringLiteral("The record was successfully read"));
    // Already open: the read does not make it modal.
    EXPECT_EQ(recordsF->windowModality(), Qt::NonModal);
}

TEST_F(MainWindowRecordsTest, OpenRecordFileShowsTheWindowUnlessCancelled) {
    QFile notXml(dir.filePath(QStringLiteral("notes.r9q4")));
    ASSERT_TRUE(notXml.open(QIODevice::WriteOnly));
    notXml.write("not a record\n");
    notXml.close();

    // Cancelled: nothing shown, nothing loaded.
    trigger("mOpenRec");
    EXPECT_FALSE(recordsF->isVisible());
    EXPECT_TRUE(ui.messages().isEmpty());

    ui.FilesToOpen = {QStringLiteral(ZRV_FIXTURES "/records/small.r9q4")};
    trigger("mOpenRec");
    EXPECT_TRUE(shownModally());
    EXPECT_EQ(state->Records.CurrentHeader.Description, QStringLiteral("Riser 1"));
    EXPECT_EQ(state->Records.SampleCount, 2);
    recordsF->close();

    // A failed load is told, and the window shows the record it showed before.
    ui.FilesToOpen = {notXml.fileName()};
    trigger("mOpenRec");
    EXPECT_TRUE(shownModally());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
    EXPECT_EQ(state->Records.CurrentHeader.Description, QStringLiteral("Riser 1"));
    EXPECT_EQ(state->Records.SampleCount, 2);
}

TEST_F(MainWindowRecordsTest, ARecordFromTheInstrumentJoinsTheComparisonAndTheShownRecordStays) {
    ASSERT_EQ(recordsF->OpenRecordPath(QStringLiteral(ZRV_FIXTURES "/records/small.r9q4")),
              TRecordOpenResult::Loaded);
    const TRecordStore& records = state->Records;
    const auto shownUnchanged = [&] {
        EXPECT_EQ(records.CurrentHeader.Description, QStringLiteral("Riser 1"));
        EXPECT_EQ(records.SampleCount, 2);
        EXPECT_EQ(records.RecordCount, 0);
        EXPECT_EQ(recordsF->shownRows(), 2);
    };
    QList<std::vector<TRecordListRow>> listed;
    std::optional<int> answer;
    recordsF->setRecordListChooser([&](const std::vector<TRecordListRow>& rows) {
        listed << rows;
        return answer;
    });

    // No instrument: the reason is told and nothing is added.
    recordsF->CompareWithDeviceRecord();
    EXPECT_EQ(ui.messages(),
              QStringList{QStringLiteral("The driver library %1 is missing. Reinstall the program.")
                              .arg(state->DriverPath)});
    EXPECT_EQ(ui.Status, QStringLiteral("Device is not connected!"));
    EXPECT_EQ(recordsF->comparisonCount(), 0);
    EXPECT_TRUE(listed.isEmpty());
    shownUnchanged();

    // The list offered, then cancelled: nothing added.
    plugInInstrument(true);
    recordsF->action(QStringLiteral("mCompareDeviceRecord"))->trigger();
    ASSERT_EQ(listed.size(), 1);
    QStringList descriptions;
    for (const TRecordListRow& row : listed[0])
        descriptions << row.Description;
    EXPECT_EQ(descriptions, demoDescriptions());
    EXPECT_EQ(recordsF->comparisonCount(), 0);
    shownUnchanged();

    // Chosen: drawn over both charts under its name and first sample; the main window's own record
    // list is never asked.
    answer = 1;
    recordsF->CompareWithDeviceRecord();
    ASSERT_EQ(recordsF->comparisonCount(), 1);
    for (const int c : {TRecordsF::PressureChart, TRecordsF::FlowChart}) {
        const QList<TChartOverlaySeries>& overlays = recordsF->chart(c)->overlays();
        ASSERT_EQ(overlays.size(), 1);
        EXPECT_EQ(overlays[0].Name, QStringLiteral("Boiler room, ") + listed[1][1].FirstSample);
        EXPECT_EQ(overlays[0].Points.size(), listed[1][1].SampleCount);
    }
    EXPECT_EQ(ui.Status, QStringLiteral("The record was successfully read"));
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_EQ(ui.messages().size(), 1); // only the missing driver's
    shownUnchanged();
}

} // namespace
