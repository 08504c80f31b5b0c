// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingProgress.h"
#include "SimulatorDriver.h"

#include "commands/DeviceTexts.h"
#include "commands/DeviceUserInterface.h"
#include "files/ProjectFile.h"
#include "link/DeviceConfig.h"
#include "link/Frame.h"
#include "link/LinkScope.h"
#include "link/Pause.h"
#include "link/ProjectTransfer.h"
#include "link/TransferProgress.h"
#include "localisation/MessageCatalogue.h"
#include "model/InstrumentText.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "commands/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace {

class TSummedPause final : public IPause {
public:
    void pauseMs(int ms) override { TotalMs += ms; }
    long TotalMs = 0;
};

// One simulated instrument with everything a device operation needs around it.
struct TBench {
    TSimulatedInstrument Instrument;
    TSimulatorDriver Driver{Instrument};
    TSummedPause Pause;
    TScriptedUserInterface Ui;
    TMessageCatalogue Catalogue{QString()};
    TDeviceUserInterface Events{Ui, Catalogue};
    TLinkGuard Guard;

    TDeviceOperationContext context(ITransferProgress* progress = nullptr) {
        TDeviceOperationContext c{Guard, Driver, Pause, Events};
        c.Progress = progress;
        return c;
    }

    void putConfig(std::uint16_t codePage, std::uint16_t active, std::uint16_t count) {
        TDeviceConfig config{};
        for (int i = 0; i < 48; ++i)
            config.Reserved1[i] = static_cast<std::uint8_t>(i + 1);
        for (int i = 0; i < 46; ++i)
            config.Reserved2[i] = static_cast<std::uint8_t>(200 - i);
        config.InstrumentCodePage = codePage;
        config.ActiveProject = active;
        config.ProjectCount = count;
        ASSERT_TRUE(Instrument.writeConfig(ConfigAddress, &config, sizeof config));
    }
    TDeviceConfig instrumentConfig() const {
        TDeviceConfig config{};
        Instrument.readConfig(ConfigAddress, &config, sizeof config);
        return config;
    }
    // A header saying `count` branches over 1500 patterned branch slots.
    void putProject(const QString& name, std::int16_t count) {
        auto p = std::make_unique<TProject>();
        EncodeInstrumentText(name, p->Header.Name, NameFieldSize, 0);
        p->Header.Branch_Count = count;
        p->Header.State = StateLocked | 1;
        auto* bytes = reinterpret_cast<std::uint8_t*>(p->Branches.data());
        for (std::size_t i = 0; i < sizeof(p->Branches); ++i)
            bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
        ASSERT_TRUE(Instrument.writeConfig(ProjectHeaderAddress, &p->Header, sizeof p->Header));
        ASSERT_TRUE(Instrument.writeConfig(BranchesAddress, p->Branches.data(), sizeof p->Branches));
    }
    std::vector<std::uint8_t> slot0(std::size_t bytes) const {
        std::vector<std::uint8_t> out(bytes);
        Instrument.readConfig(ProjectHeaderAddress, out.data(), static_cast<std::uint32_t>(bytes));
        return out;
    }
    int requestsWith(std::uint8_t command) const {
        int n = 0;
        for (const auto& r : Instrument.requests())
            n += r.Frame[3] == command;
        return n;
    }
    QStringList statuses() const {
        QStringList out;
        for (const auto& shown : Ui.Log)
            if (shown.Kind == QLatin1String("status"))
                out << shown.Text;
        return out;
    }
};

// Runs `events` where the window would process its pending events.
class TEventfulUi final : public IUserInterface {
public:
    TEventfulUi(IUserInterface& inner, std::function<void()> events)
        : m_inner(inner), m_events(std::move(events)) {}
    void setStatus(const QString& text) override { m_inner.setStatus(text); }
    void showMessage(const QString& caption, const QString& text) override {
        m_inner.showMessage(caption, text);
    }
    Answer ask(const QString& caption, const QString& text) override { return m_inner.ask(caption, text); }
    QString chooseFileToOpen(const TFileDialogOptions& o) override { return m_inner.chooseFileToOpen(o); }
    QString chooseFileToSave(const TFileDialogOptions& o) override { return m_inner.chooseFileToSave(o); }
    std::optional<QString> inputText(const QString& c, const QString& p, const QString& i) override {
        return m_inner.inputText(c, p, i);
    }
    void processPendingEvents() override { m_events(); }

private:
    IUserInterface& m_inner;
    std::function<void()> m_events;
};

std::unique_ptr<TProject> editedProject(int branches) {
    auto p = std::make_unique<TProject>();
    EncodeInstrumentText(QStringLiteral("Office"), p->Header.Name, NameFieldSize, 0);
    p->Header.Branch_Count = static_cast<std::int16_t>(branches);
    for (int i = 0; i < MaxBranches; ++i) {
        EncodeInstrumentText(QStringLiteral("R%1").arg(i), p->Branches[i].Name, NameFieldSize, 0);
        p->Branches[i].Request_Flow = 10.0 * i;
    }
    return p;
}

bool sameProject(const TProject& a, const TProject& b) {
    return std::memcmp(&a, &b, sizeof(TProject)) == 0;
}

} // namespace

TEST(ProjectTransfer, OpenReadsBlocksWithProgressAndReplacesTheProject) {
    struct Case {
        std::int16_t Stored;
        int Branches;
        QStringList Progress;
    };
    QStringList progress1500;
    for (int s = 0; s < 1500 * 78; s += 1040)
        progress1500 << QStringLiteral("Reading project...%1 %").arg(s * 100 / (1500 * 78));
    const Case cases[] = {
        {14, 14, {QStringLiteral("Reading project...0 %"), QStringLiteral("Reading project...95 %")}},
        {1500, 1500, progress1500},
        {2000, 1500, progress1500},
        {-5, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Stored);
        TBench bench;
        bench.putConfig(3, 0, 1);
        bench.putProject(QStringLiteral("Plant"), c.Stored);
        std::unique_ptr<TProject> project;
        TDeviceConfig config{};
        ASSERT_EQ(ReadProjectFromDevice(bench.context(), config, project), TDeviceResult::Done);
        ASSERT_TRUE(project);

        EXPECT_EQ(project->branchCount(), c.Branches);
        EXPECT_EQ(std::memcmp(project->Branches.data(), bench.slot0(44 + c.Branches * 78).data() + 44,
                              static_cast<std::size_t>(c.Branches) * 78),
                  0);
        // A fresh project: nothing beyond the branches read.
        const auto blank = std::make_unique<TProject>();
        EXPECT_EQ(std::memcmp(&project->Branches[c.Branches], &blank->Branches[c.Branches],
                              static_cast<std::size_t>(MaxBranches - c.Branches) * 78),
                  0);
        EXPECT_EQ(project->Header.State, 1); // unlocked
        EXPECT_EQ(DeviceProjectTitle(*project), QStringLiteral("ZRV 10: Plant"));
        const QStringList statuses = bench.statuses();
        EXPECT_EQ(statuses.filter(QStringLiteral(" %")), c.Progress);
        EXPECT_EQ(bench.Ui.EventsProcessed, c.Progress.size());
        EXPECT_EQ(statuses.last(), QStringLiteral("The project was successfully read"));
        EXPECT_EQ(bench.requestsWith(CommandReadMemory), 2 + 1 + (c.Branches * 78 + 51) / 52);
        EXPECT_EQ(config.InstrumentCodePage, 3);
    }
}

TEST(ProjectTransfer, SeveralProjectsOpenSlotZeroAndSaveWritesOneBack) {
    TBench bench;
    bench.putConfig(5, 2, 3);
    bench.putProject(QStringLiteral("Plant"), 3);
    std::unique_ptr<TProject> project;
    TDeviceConfig config{};
    ASSERT_EQ(ReadProjectFromDevice(bench.context(), config, project), TDeviceResult::Done);
    EXPECT_EQ(config.ActiveProject, 0);
    EXPECT_EQ(config.ProjectCount, 1);
    EXPECT_EQ(config.InstrumentCodePage, 5);
    for (const auto& r : bench.Instrument.requests()) {
        std::uint32_t address = 0;
        std::memcpy(&address, r.Frame.data() + 7, 4);
        EXPECT_LT(address, BranchesAddress + 3 * 78) << "only slot 0 is read";
    }

    bench.Ui.Answers = {IUserInterface::Answer::Yes};
    ASSERT_EQ(SaveProjectToDevice(bench.context(), *project, config), TDeviceResult::Done);
    const TDeviceConfig written = bench.instrumentConfig();
    EXPECT_EQ(written.ActiveProject, 0);
    EXPECT_EQ(written.ProjectCount, 1);
    EXPECT_EQ(written.InstrumentCodePage, 5);
    EXPECT_EQ(written.Reserved1[47], 48);
    EXPECT_EQ(written.Reserved2[45], 155);
}

TEST(ProjectTransfer, SaveWritesConfigHeaderBranchesInOrderAndReadsBackIdentical) {
    TBench bench;
    bench.putConfig(0, 0, 1);
    auto project = editedProject(14);
    project->Header.State = StateLocked;
    TDeviceConfig config{};
    bench.Ui.Answers = {IUserInterface::Answer::Yes};
    ASSERT_EQ(SaveProjectToDevice(bench.context(), *project, config), TDeviceResult::Done);

    const auto& log = bench.Ui.Log;
    ASSERT_FALSE(log.isEmpty());
    const auto ask = std::find_if(log.begin(), log.end(), [](const auto& s) { return s.Kind == "ask"; });
    ASSERT_NE(ask, log.end());
    EXPECT_EQ(ask->Caption, QStringLiteral("Saving project"));
    EXPECT_EQ(ask->Text, QStringLiteral("Do you want to overwrite the project  ZRV 10?"));
    std::vector<std::uint32_t> writes;
    for (const auto& r : bench.Instrument.requests())
        if (r.Frame[3] == CommandWriteMemory) {
            std::uint32_t address = 0;
            std::memcpy(&address, r.Frame.data() + 7, 4);
            writes.push_back(address);
        }
    ASSERT_EQ(writes.size(), 2u + 1u + 21u);
    EXPECT_EQ(writes[0], ConfigAddress);
    EXPECT_EQ(writes[1], ConfigAddress + 52);
    EXPECT_EQ(writes[2], ProjectHeaderAddress);
    EXPECT_EQ(writes[3], BranchesAddress);
    EXPECT_EQ(writes.back(), BranchesAddress + 20 * 52);
    EXPECT_EQ(bench.Pause.TotalMs, 2 * 5 + 24 * 15); // config read, then 10 + 5 around each write
    EXPECT_EQ(
        bench.statuses().filter(QStringLiteral(" %")),
        (QStringList{QStringLiteral("Writing project...0 %"), QStringLiteral("Writing project...95 %")}));
    EXPECT_EQ(bench.statuses().last(), QStringLiteral("The project was successfully written"));

    // What the next run of the program reads is what was saved.
    std::unique_ptr<TProject> readBack;
    ASSERT_EQ(ReadProjectFromDevice(bench.context(), config, readBack), TDeviceResult::Done);
    auto expected = std::make_unique<TProject>();
    expected->Header = project->Header;
    expected->Header.State = 0;
    std::memcpy(expected->Branches.data(), project->Branches.data(), 14 * sizeof(TBranch));
    EXPECT_TRUE(sameProject(*readBack, *expected));
}

TEST(ProjectTransfer, SaveSendsAtMostTheSlotsBranches) {
    struct Case {
        std::int16_t Count;
        std::int16_t Sent;
        int Blocks;
    };
    for (const Case c : {Case{2000, 1500, 113}, Case{-5, 0, 0}}) {
        SCOPED_TRACE(c.Count);
        TBench bench;
        bench.putConfig(0, 0, 1);
        const auto project = editedProject(c.Count);
        TDeviceConfig config{};
        bench.Ui.Answers = {IUserInterface::Answer::Yes};
        ASSERT_EQ(SaveProjectToDevice(bench.context(), *project, config), TDeviceResult::Done);
        TProjectHeader header{};
        bench.Instrument.readConfig(ProjectHeaderAddress, &header, sizeof header);
        EXPECT_EQ(std::int16_t{header.Branch_Count}, c.Sent);
        EXPECT_EQ(bench.Ui.EventsProcessed, c.Blocks);
        EXPECT_EQ(bench.requestsWith(CommandWriteMemory), 2 + 1 + (c.Sent * 78 + 51) / 52);
    }
}

TEST(ProjectTransfer, NoProjectsAndAnsweringNoChangeNothing) {
    TBench bench;
    bench.putConfig(0, 0, 0);
    bench.putProject(QStringLiteral("Plant"), 3);
    std::unique_ptr<TProject> read;
    TDeviceConfig config{};
    EXPECT_EQ(ReadProjectFromDevice(bench.context(), config, read), TDeviceResult::NothingDone);
    EXPECT_EQ(bench.Ui.messages(), QStringList{QStringLiteral("There are no projects in device")});
    EXPECT_FALSE(read);

    const auto project = editedProject(7);
    const auto imageBefore = bench.slot0(44 + 7 * 78);
    bench.Instrument.clearRequests();
    EXPECT_EQ(SaveProjectToDevice(bench.context(), *project, config), TDeviceResult::NothingDone);
    EXPECT_EQ(bench.requestsWith(CommandWriteMemory), 0);
    EXPECT_EQ(bench.slot0(44 + 7 * 78), imageBefore);
    EXPECT_EQ(bench.Ui.Status, QString()); // no "Reading config..." left after the No
}

// 14 branches: the open moves 2 config frames, 1 header frame and 21 branch frames; the save 2 config
// reads, 2 config writes, 1 header write, 21 branch writes.
TEST(ProjectTransfer, EveryFaultAtFirstMiddleAndLastFrameLeavesTheProjectAlone) {
    const TReplyFault faults[] = {TReplyFault::NoReply, TReplyFault::WrongCommand, TReplyFault::WrongMaster,
                                  TReplyFault::BadCheckValue};
    for (const bool save : {false, true}) {
        const std::uint64_t total = save ? 26 : 24;
        for (const TReplyFault fault : faults)
            for (const std::uint64_t frame : {std::uint64_t{1}, total / 2, total}) {
                SCOPED_TRACE(testing::Message() << (save ? "save" : "open") << " fault "
                                                << static_cast<int>(fault) << " at frame " << frame);
                TBench bench;
                bench.putConfig(2, 0, 1);
                bench.putProject(QStringLiteral("Plant"), 14);
                bench.Instrument.injectFault(fault, frame);
                const auto project = editedProject(14);
                std::unique_ptr<TProject> read;
                TDeviceConfig config{};
                config.InstrumentCodePage = 9;
                bench.Ui.Answers = {IUserInterface::Answer::Yes};
                const TDeviceResult result = save ? SaveProjectToDevice(bench.context(), *project, config)
                                                  : ReadProjectFromDevice(bench.context(), config, read);
                EXPECT_EQ(result, TDeviceResult::Failed);
                EXPECT_EQ(bench.Ui.Status, QStringLiteral("Device is not responding!"));
                EXPECT_FALSE(read);
                // A configuration block cut off never becomes the copy.
                EXPECT_EQ(config.InstrumentCodePage, frame <= 2 ? 9 : 2);
                EXPECT_EQ(bench.Instrument.framesReceived(), frame) << "no retry, nothing after the failure";
            }
    }
}

TEST(ProjectTransfer, UnpluggedOrAbsentInstrumentAndTheConnectionTest) {
    {
        TBench bench;
        bench.putConfig(0, 0, 1);
        bench.putProject(QStringLiteral("Plant"), 40);
        bench.Instrument.unplugAfter(30);
        std::unique_ptr<TProject> read;
        TDeviceConfig config{};
        EXPECT_EQ(ReadProjectFromDevice(bench.context(), config, read), TDeviceResult::Failed);
        EXPECT_EQ(bench.Ui.Status, QStringLiteral("Device is not responding!"));
        EXPECT_FALSE(read);
    }
    {
        TBench bench;
        bench.Instrument.setPresent(false);
        std::unique_ptr<TProject> read;
        TDeviceConfig config{};
        EXPECT_EQ(ReadProjectFromDevice(bench.context(), config, read), TDeviceResult::Failed);
        EXPECT_EQ(bench.Ui.Status, QStringLiteral("Device is not connected!"));
        EXPECT_EQ(TestDeviceConnection(bench.context()), TDeviceResult::Failed);
        EXPECT_EQ(bench.Ui.Status, QStringLiteral("Device is not connected!"));
    }
    {
        TBench bench;
        EXPECT_EQ(TestDeviceConnection(bench.context()), TDeviceResult::Done);
        EXPECT_EQ(bench.statuses(), (QStringList{QString(), QStringLiteral("Sending..."),
                                                 QStringLiteral("Device is connected to USB interface")}));
        EXPECT_EQ(bench.requestsWith(CommandPing), 1);
    }
}

TEST(ProjectTransfer, NoSecondOperationWhileOneRuns) {
    TBench bench;
    bench.putConfig(0, 0, 1);
    bench.putProject(QStringLiteral("Plant"), 30);
    std::unique_ptr<TProject> project;
    TDeviceConfig config{};
    // The window processes events between blocks; a second click must not start another transfer.
    TDeviceResult nested = TDeviceResult::Done;
    TEventfulUi ui(bench.Ui, [&] {
        std::unique_ptr<TProject> other;
        nested = ReadProjectFromDevice(bench.context(), config, other);
    });
    TDeviceUserInterface events(ui, bench.Catalogue);
    const TDeviceOperationContext context{bench.Guard, bench.Driver, bench.Pause, events};
    EXPECT_EQ(ReadProjectFromDevice(context, config, project), TDeviceResult::Done);
    EXPECT_EQ(nested, TDeviceResult::Failed);
    EXPECT_EQ(project->branchCount(), 30);
}

// 100 branches: 8 blocks (7 × 1040 + 520 bytes). Cancel is asked before each block; a chunk is never
// cut in half.
TEST(ProjectTransfer, CancelStopsBetweenBlocksAndLeavesWhatTheOperationPromises) {
    constexpr int Branches = 100;
    constexpr std::uint32_t Total = Branches * 78;
    for (const bool save : {false, true})
        for (const std::size_t blocks : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{7}}) {
            SCOPED_TRACE(testing::Message() << (save ? "save" : "open") << ", cancelled after " << blocks);
            TBench bench;
            bench.putConfig(3, 0, 1);
            bench.putProject(QStringLiteral("Plant"), Branches);
            const auto imageBefore = bench.slot0(44 + Total);
            const auto project = editedProject(Branches);
            std::unique_ptr<TProject> read;
            TDeviceConfig config{};
            config.InstrumentCodePage = 9;
            TRecordingProgress progress;
            progress.StopWhen = TRecordingProgress::afterChunks(blocks);
            bench.Ui.Answers = {IUserInterface::Answer::Yes};
            const TDeviceResult result = save
                                             ? SaveProjectToDevice(bench.context(&progress), *project, config)
                                             : ReadProjectFromDevice(bench.context(&progress), config, read);
            EXPECT_EQ(result, TDeviceResult::Cancelled);
            ASSERT_EQ(progress.Reports.size(), blocks + 1);
            const auto op = save ? TTransferOperation::WriteProject : TTransferOperation::ReadProject;
            EXPECT_EQ(progress.Reports.front(), (TRecordingProgress::Report{op, 0, Total}));
            EXPECT_EQ(progress.Reports.back().Done, std::min<std::uint32_t>(blocks * 1040, Total));
            const int branchFrames = static_cast<int>(blocks) * 20;
            EXPECT_NE(bench.Ui.Status, save ? QStringLiteral("The project was successfully written")
                                            : QStringLiteral("The project was successfully read"));
            if (save) {
                // Written up to the block before the Cancel, the rest as it was: an incomplete project.
                EXPECT_EQ(bench.requestsWith(CommandWriteMemory), 2 + 1 + branchFrames);
                const auto image = bench.slot0(44 + Total);
                const std::size_t written = std::min<std::size_t>(blocks * 1040, Total);
                EXPECT_EQ(std::memcmp(image.data() + 44, project->Branches.data(), written), 0);
                EXPECT_TRUE(std::equal(image.begin() + 44 + static_cast<std::ptrdiff_t>(written), image.end(),
                                       imageBefore.begin() + 44 + static_cast<std::ptrdiff_t>(written)));
            } else {
                // Nothing read reaches the caller, and the configuration copy is the one it had.
                EXPECT_FALSE(read);
                EXPECT_EQ(config.InstrumentCodePage, 9);
                EXPECT_EQ(bench.requestsWith(CommandReadMemory), 2 + 1 + branchFrames);
            }
        }
}

TEST(ProjectTransfer, VerifyReadsBackAndNamesTheFirstDifference) {
    struct Case {
        const char* Name;
        std::optional<std::uint32_t> FaultyCell;
        TDeviceResult Result;
        QString Message; // empty: none
        QString Status;
    };
    const Case cases[] = {
        {"sound",
         std::nullopt,
         TDeviceResult::Done,
         {},
         QStringLiteral("The project was successfully written")},
        {"branch 7 spoilt", BranchesAddress + 6 * 78 + 20, TDeviceResult::Failed,
         QStringLiteral("Branch 7 (R6) in the device differs from the one written. Write the project again."),
         QStringLiteral("Writing failed: branch 7 (R6) differs in the device!")},
        {"last branch spoilt", BranchesAddress + 29 * 78 + 77, TDeviceResult::Failed,
         QStringLiteral(
             "Branch 30 (R29) in the device differs from the one written. Write the project again."),
         QStringLiteral("Writing failed: branch 30 (R29) differs in the device!")},
        {"header spoilt", ProjectHeaderAddress + 3, TDeviceResult::Failed,
         QStringLiteral(
             "The project header in the device differs from the one written. Write the project again."),
         QStringLiteral("Writing failed: the project header differs in the device!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TBench bench;
        bench.putConfig(0, 0, 1);
        bench.Instrument.setFaultyCell(c.FaultyCell);
        const auto project = editedProject(30);
        TDeviceConfig config{};
        TRecordingProgress progress;
        bench.Ui.Answers = {IUserInterface::Answer::Yes};
        EXPECT_EQ(SaveProjectToDevice(bench.context(&progress), *project, config, true), c.Result);
        EXPECT_EQ(bench.Ui.messages(), c.Message.isEmpty() ? QStringList() : QStringList{c.Message});
        EXPECT_EQ(bench.Ui.Status, c.Status);
        // Header and every branch come back when all is well: 1 + 45 frames after the 24 + 1 + 45 of the
        // write.
        if (!c.FaultyCell) {
            EXPECT_EQ(bench.requestsWith(CommandReadMemory), 2 + 1 + 45);
            EXPECT_EQ(progress.Reports.back(),
                      (TRecordingProgress::Report{TTransferOperation::VerifyProject, 30 * 78, 30 * 78}));
        }
    }
}

TEST(ProjectTransfer, ACancelledCheckStillCountsTheCompleteWrite) {
    TBench bench;
    bench.putConfig(0, 0, 1);
    const auto project = editedProject(100);
    TDeviceConfig config{};
    TRecordingProgress progress;
    progress.StopWhen = [](const std::vector<TRecordingProgress::Report>& reports) {
        return reports.back().Operation == TTransferOperation::VerifyProject && reports.back().Done > 0;
    };
    bench.Ui.Answers = {IUserInterface::Answer::Yes};
    EXPECT_EQ(SaveProjectToDevice(bench.context(&progress), *project, config, true), TDeviceResult::Done);
    EXPECT_EQ(bench.Ui.Status, QStringLiteral("The project was written but not verified!"));
    EXPECT_TRUE(bench.Ui.messages().isEmpty());
}

namespace {

// The names reach the instrument as the same texts in its own table; what its table cannot hold is
// listed before anything is sent.
TEST(ProjectTransfer, NamesGoOutInTheInstrumentsTableOrAreListedFirst) {
    auto czech = std::make_unique<TProject>();
    // Opened with the English (Latin) table in force: the names keep a table that holds them.
    ASSERT_TRUE(LoadProjectFile(QStringLiteral(ZRV_FIXTURES "/files/czech.proj"), *czech, 3, QLocale::c()));
    auto cyrillic = std::make_unique<TProject>();
    cyrillic->NamesCodePage = 11;
    cyrillic->Header.Branch_Count = 1;
    SetNameText(*cyrillic, QStringLiteral("Насос"), cyrillic->Header.Name);
    SetNameText(*cyrillic, QStringLiteral("Riser 1"), cyrillic->Branches[0].Name);
    // Table D decodes byte 175 to "Ż" but would encode "Ż" as "Z": bytes read from such an
    // instrument go back to it as they came.
    auto polish = std::make_unique<TProject>();
    polish->NamesCodePage = 9;
    polish->Header.Branch_Count = 1;
    std::memcpy(polish->Header.Name, "\xAFywiec", 7);
    SetNameText(*polish, QStringLiteral("Riser 1"), polish->Branches[0].Name);
    const QStringList czechNames{QStringLiteral("Škola Čechy"), QStringLiteral("Kotelna Žižkov"),
                                 QStringLiteral("Přípojka ů")};

    const struct {
        const char* what;
        const TProject& project;
        std::uint16_t instrumentTable;
        QStringList listed;
    } cases[] = {
        {"Czech names, Czech instrument", *czech, 0, {}},
        {"Czech names, Latin instrument", *czech, 3, czechNames},
        {"Cyrillic name, Latin instrument", *cyrillic, 2, {QStringLiteral("Насос")}},
        {"Cyrillic name, Cyrillic instrument", *cyrillic, 11, {}},
        {"Polish bytes back to their instrument", *polish, 9, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TBench bench;
        bench.putConfig(c.instrumentTable, 0, 1);
        bench.putProject(QStringLiteral("Before"), 0);
        const std::vector<std::uint8_t> before = bench.slot0(sizeof(TProjectHeader) + 78);
        TDeviceConfig config{};
        // No to the list: nothing is sent.
        bench.Ui.Answers = {IUserInterface::Answer::No};
        const TDeviceResult refused = SaveProjectToDevice(bench.context(), c.project, config);
        QStringList asked;
        bool defaultNo = false;
        for (const auto& shown : bench.Ui.Log)
            if (shown.Kind == QLatin1String("ask")) {
                asked << shown.Text;
                defaultNo = shown.DefaultNo;
            }
        ASSERT_EQ(asked.size(), 1);
        if (c.listed.isEmpty()) {
            EXPECT_TRUE(asked.first().startsWith(QStringLiteral("Do you want to overwrite")))
                << asked.first().toStdString();
        } else {
            EXPECT_TRUE(defaultNo);
            for (const QString& name : c.listed)
                EXPECT_TRUE(asked.first().contains(u'"' + name + u'"')) << asked.first().toStdString();
            EXPECT_FALSE(asked.first().contains(QStringLiteral("Riser 1")));
        }
        EXPECT_EQ(refused, TDeviceResult::NothingDone);
        EXPECT_EQ(bench.slot0(before.size()), before);

        // Yes to every question: the instrument's bytes read in its table give the names the project shows.
        bench.Ui.Answers = {IUserInterface::Answer::Yes, IUserInterface::Answer::Yes};
        ASSERT_EQ(SaveProjectToDevice(bench.context(), c.project, config), TDeviceResult::Done);
        const std::vector<std::uint8_t> slot = bench.slot0(sizeof(TProjectHeader) + 78 * 2);
        TProject sent;
        std::memcpy(&sent, slot.data(), slot.size());
        sent.NamesCodePage = c.instrumentTable;
        if (c.project.NamesCodePage == c.instrumentTable)
            EXPECT_EQ(std::memcmp(&sent, &c.project, sizeof(TProjectHeader) + 78 * c.project.branchCount()),
                      0)
                << "the same table: the very bytes";
        for (int i = -1; i < c.project.branchCount(); ++i) {
            const std::uint8_t* field = i < 0 ? sent.Header.Name : sent.Branches[i].Name;
            const std::uint8_t* own = i < 0 ? c.project.Header.Name : c.project.Branches[i].Name;
            const QString name = NameText(c.project, own);
            if (!c.listed.contains(name))
                EXPECT_EQ(NameText(sent, field), name);
            else
                EXPECT_NE(NameText(sent, field), name);
        }
    }
}

} // namespace
