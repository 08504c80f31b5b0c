// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Settings.h"
#include "NoPause.h"
#include "ProgramFolder.h"
#include "OneValveCache.h"
#include "link/Pause.h"
#include "localisation/MenuAccelerators.h"
#include "commands/ApplicationState.h"
#include "DocumentState.h"
#include "document/ProjectUndo.h"
#include "mainwindow/CommissioningDialog.h"
#include "mainwindow/DecimalSpinBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/TransferProgressDialog.h"
#include "mainwindow/UnitDialog.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/ProjectTree.h"
#include "mainwindow/test_dialogs_app.h"
#include "model/BranchList.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSemaphore>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSet>
#include <QCheckBox>
#include <QDateEdit>
#include <QUndoStack>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

using Answer = IUserInterface::Answer;

// A program folder of its own: no driver library beside it (so no instrument answers), the settings
// file beside the fake executable, the cache files in a folder of their own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state = MakeProgramFolder(dir);
    }

    void writeCacheFiles() {
        WriteOneValveCache(state->CacheDir);
    }

    void writeSettings(const QByteArray& text) {
        QFile file(state->SettingsPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray settingsBytes() const {
        QFile file(state->SettingsPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    TMainF& window() {
        if (!mainF) {
            mainF = std::make_unique<TMainF>(*state, ui, clock);
            mainF->setPause(noPause);
            mainF->setExitFunction([this](int code) { exitCode = code; });
        }
        return *mainF;
    }

    // A started window with an empty new project, as the user first sees it.
    TMainF& startedWindow() {
        writeCacheFiles();
        TMainF& w = window();
        w.StartupSequence();
        ui.Log.clear();
        return w;
    }

    bool enabled(const char* name) {
        QAction* a = window().action(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a && a->isEnabled();
    }

    QString text(const char* name) {
        QAction* a = window().action(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a ? WithoutAccelerator(a->text()) : QString();
    }

    QStringList asked() const {
        QStringList texts;
        for (const auto& shown : ui.Log)
            if (shown.Kind == QLatin1String("ask"))
                texts << shown.Text;
        return texts;
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::optional<int> exitCode;
    std::unique_ptr<TMainF> mainF;
};

TEST_F(MainWindowTest, StartsSilentlyWithCacheFilesOnAnEmptyNewProject) {
    writeSettings("[Units]\nFlow=3\n");
    TMainF& w = startedWindow();

    EXPECT_FALSE(exitCode.has_value());
    EXPECT_EQ(w.statusText(), QStringLiteral("New project"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZRV 10 User Software - New project"));
    EXPECT_TRUE(state->Document.state().IsNewProject);
    EXPECT_FALSE(state->Document.state().Modified);
    EXPECT_EQ(state->Document.project().branchCount(), 0);
    EXPECT_EQ(ManufacturerCountOf(*state->Catalogue), 1);
    // The settings were read before anything was shown.
    EXPECT_EQ(state->Units.FlowUnit, 3);
    // The designed captions are replaced by the run-time texts.
    EXPECT_EQ(text("mOpenPrj"), QStringLiteral("Open..."));
    EXPECT_EQ(text("mSaveProjectToDevice"), QStringLiteral("Save project to ZRV10"));
    EXPECT_EQ(text("mPCProjects"), QStringLiteral("------ PC Projects ------"));
    // The timer that started the sequence cannot run it a second time.
    ui.Log.clear();
    w.StartupSequence();
    EXPECT_TRUE(ui.Log.isEmpty());
}

TEST_F(MainWindowTest, WithoutCacheFilesOrInstrumentEndsWithMinusOneAndLeavesTheSettingsAlone) {
    const QByteArray settings = "[Options]\r\nLanguage=0\r\n; kept as it is\r\n";
    writeSettings(settings);
    TMainF& w = window();
    w.StartupSequence();

    EXPECT_EQ(ui.messages(),
              (QStringList{QStringLiteral("Connect device and press Ok"),
                           QStringLiteral("The driver library %1 is missing. Reinstall the program.")
                               .arg(state->DriverPath),
                           QStringLiteral("Application will be terminated")}));
    EXPECT_EQ(ui.Log.first().Caption, QStringLiteral("Reading Valves from device"));
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error reading valves"));
    EXPECT_EQ(exitCode, -1);
    EXPECT_TRUE(w.isTerminated());
    // Ending the program asks nothing and writes nothing.
    ui.Log.clear();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(ui.Log.isEmpty());
    EXPECT_EQ(settingsBytes(), settings);
    EXPECT_NE(w.statusText(), QStringLiteral("New project"));
}

// The settings, languages and catalogue load only once the window is on screen, and a catalogue that
// cannot be had still ends the program with its messages.
TEST_F(MainWindowTest, StartsAfterTheFirstPaintAndStillReportsAMissingCatalogue) {
    TMainF& w = window();
    QTest::qWait(300);
    EXPECT_TRUE(ui.Log.isEmpty());
    EXPECT_FALSE(exitCode.has_value());

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(QTest::qWaitFor([this] { return exitCode.has_value(); }, 2000));
    EXPECT_EQ(exitCode, -1);
    EXPECT_EQ(ui.Log.first().Caption, QStringLiteral("Reading Valves from device"));
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error reading valves"));
    EXPECT_EQ(ui.messages().last(), QStringLiteral("Application will be terminated"));
    w.hide();
}

TEST_F(MainWindowTest, StartsOnceOnScreenWithTheCatalogueTheSettingsAndTheUnitDialog) {
    writeCacheFiles();
    writeSettings("[Units]\nFlow=3\n");
    TMainF& w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.statusText() == QLatin1String("New project"); }, 2000));
    EXPECT_FALSE(exitCode.has_value());
    EXPECT_EQ(ManufacturerCountOf(*state->Catalogue), 1);
    EXPECT_EQ(state->Units.FlowUnit, 3);
    // The unit dialog, made on first use, belongs to the window.
    EXPECT_EQ(w.findChild<TFUnitSel*>(), nullptr);
    EXPECT_EQ(w.unitDialog().parent(), &w);
    EXPECT_EQ(&w.unitDialog(), w.findChild<TFUnitSel*>());
    w.hide();
}

TEST_F(MainWindowTest, ClosedBeforeStartingLeavesTheSettingsAlone) {
    const QByteArray settings = "[Units]\nFlow=7\n";
    writeSettings(settings);
    EXPECT_TRUE(window().close());
    EXPECT_EQ(settingsBytes(), settings);
}

TEST_F(MainWindowTest, StartupAppliesTheLanguageFromTheSettings) {
    writeCacheFiles();
    writeSettings("[Options]\nLanguage=1\n");
    QDir(dir.path()).mkpath(QStringLiteral("bin/language"));
    QFile ini(dir.filePath(QStringLiteral("bin/language/messages.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Main]\nTotal=2\n[Files]\n0=messages_uk.txt\n1=messages_cz.txt\n");
    ini.close();
    QFile language(dir.filePath(QStringLiteral("bin/language/messages_cz.txt")));
    ASSERT_TRUE(language.open(QIODevice::WriteOnly));
    const QString lines =
        QStringLiteral("\uFEFFFile;\tSoubor\r\nVersion;\tVerze\r\nNew project;\tNový projekt\r\n");
    language.write(reinterpret_cast<const char*>(lines.utf16()), lines.size() * 2);
    language.close();

    TMainF& w = window();
    w.StartupSequence();

    EXPECT_EQ(text("mFile"), QStringLiteral("Soubor"));
    EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("diaVersion"))->property("text").toString(),
              QStringLiteral(" Verze 0.2.4"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZRV 10 User Software - Nový projekt"));
    EXPECT_EQ(state->codePage(), 0);
}

struct FlagRow {
    const char* Event;
    bool IsNew, Modified, Linked, HasFile;
    const char* FileName;
    const char* Title;
    bool Save, SaveToDevice;
};

TEST_F(MainWindowTest, TitleAndFileCommandsFollowTheProjectFlags) {
    TMainF& w = startedWindow();
    const FlagRow rows[] = {
        {"new", true, false, false, false, "", "ZRV 10 User Software - New project", false, false},
        {"new, changed", true, true, false, false, "", "ZRV 10 User Software - New project", false, false},
        {"opened", false, false, false, true, "/p/a.proj", "ZRV 10 User Software - /p/a.proj", false, true},
        {"opened, changed", false, true, false, true, "/p/a.proj", "ZRV 10 User Software - /p/a.proj*", true,
         true},
        {"read from instrument", false, false, true, false, "ZRV 10: Demo",
         "ZRV 10 User Software - ZRV 10: Demo", false, true},
        {"read, changed", false, true, true, false, "ZRV 10: Demo", "ZRV 10 User Software - ZRV 10: Demo*",
         false, true},
    };
    for (const FlagRow& row : rows) {
        SCOPED_TRACE(row.Event);
        changeState(state->Document, [&](TDocumentState& s) {
            s.IsNewProject = row.IsNew;
            s.Modified = row.Modified;
            s.LinkedToInstrument = row.Linked;
            s.HasFileName = row.HasFile;
            s.ProjectFileName = QString::fromUtf8(row.FileName);
        });
        w.UpdateWindowState();
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(row.Title));
        EXPECT_EQ(enabled("mSave"), row.Save);
        EXPECT_EQ(enabled("mSaveProjectToDevice"), row.SaveToDevice);
        EXPECT_EQ(enabled("mExportXLS2"), row.SaveToDevice);
        for (const char* always :
             {"mNewPrj", "mOpenPrj", "mSaveAsPrj", "mImportXLS", "mOpenPrjFromDevice", "mOpenRec",
              "mOpenRecordFromDevice", "mExit", "mPrint", "mCommissioningCertificate", "mUnits", "mLanguage"})
            EXPECT_TRUE(enabled(always)) << always;
        for (const char* never : {"mPCProjects", "mProjects", "mRecords"})
            EXPECT_FALSE(enabled(never)) << never;
    }
}

struct BranchRow {
    const char* Case;
    int Count, Current;
    bool Locked;
    bool Add, Delete, Up, Down;
};

TEST_F(MainWindowTest, BranchCommandsFollowSelectionAndLock) {
    TMainF& w = startedWindow();
    const BranchRow rows[] = {
        {"no branches", 0, 0, false, true, false, false, false},
        {"first of three", 3, 0, false, true, true, false, true},
        {"middle of three", 3, 1, false, true, true, true, true},
        {"last of three", 3, 2, false, true, true, true, false},
        {"only branch", 1, 0, false, true, true, false, false},
        {"index past the end", 3, 3, false, true, false, false, false},
        {"negative index", 3, -1, false, true, false, false, false},
        {"locked, middle of three", 3, 1, true, false, false, false, false},
    };
    for (const BranchRow& row : rows) {
        SCOPED_TRACE(row.Case);
        replaceProject(state->Document, [&](TProject& p) {
            p.Header.Branch_Count = static_cast<std::int16_t>(row.Count);
            p.Header.State = row.Locked ? StateLocked : 0;
        });
        window().editor().setCurrentBranch(row.Current);
        w.UpdateWindowState();
        EXPECT_EQ(enabled("mAddBranch"), row.Add);
        EXPECT_EQ(enabled("mAddBranch2"), row.Add);
        EXPECT_EQ(enabled("mDeleteBranch"), row.Delete);
        EXPECT_EQ(enabled("mDeleteBranch2"), row.Delete);
        EXPECT_EQ(enabled("mMoveBranchUp"), row.Up);
        EXPECT_EQ(enabled("mMoveBranchUp2"), row.Up);
        EXPECT_EQ(enabled("mMoveBranchDown"), row.Down);
        EXPECT_EQ(enabled("mMoveBranchDown2"), row.Down);
    }
}

TEST_F(MainWindowTest, ALockedProjectLocksTheInputsAndNewUnlocksIt) {
    TMainF& w = startedWindow();
    w.show();
    replaceProject(state->Document, [](TProject& p) { p.Header.State = StateLocked | 0x01; });
    state->Document.setModified(false);
    w.UpdateWindowState();
    auto* projectPage = w.findChild<QWidget*>(QStringLiteral("TabPrj"));
    ASSERT_NE(projectPage, nullptr);
    const QList<QLineEdit*> edits = projectPage->findChildren<QLineEdit*>();
    ASSERT_FALSE(edits.isEmpty());
    auto anyEnabled = [&] {
        return std::any_of(edits.begin(), edits.end(), [](QLineEdit* e) { return e->isEnabled(); });
    };
    EXPECT_FALSE(anyEnabled());

    w.NewProject();
    EXPECT_EQ(state->Document.project().Header.State, 0x01); // only the lock is cleared
    EXPECT_TRUE(anyEnabled());
    EXPECT_TRUE(enabled("mAddBranch"));
}

TEST_F(MainWindowTest, AnOpenConfirmPanelKeepsTheMainCommandsOff) {
    TMainF& w = startedWindow();
    replaceProject(state->Document, [](TProject& p) { p.Header.Branch_Count = 3; });
    window().editor().setCurrentBranch(1);
    changeState(state->Document, [&](TDocumentState& s) {
        s.Modified = true;
        s.HasFileName = true;
        s.IsNewProject = false;
    });
    w.UpdateWindowState();

    w.EnableMainCommands(false);
    // Operations that refresh the window state meanwhile do not switch them back on.
    w.UpdateWindowState();
    for (const char* off :
         {"mNewPrj", "mOpenPrj", "mSave", "mSaveAsPrj", "mOpenRec", "mExit", "mAddBranch", "mDeleteBranch",
          "mMoveBranchUp", "mMoveBranchDown", "mPrint", "mCommissioningCertificate", "mUnits", "mLanguage"})
        EXPECT_FALSE(enabled(off)) << off;
    for (const char* untouched : {"mOpenPrjFromDevice", "mSaveProjectToDevice", "mOpenRecordFromDevice",
                                  "mImportXLS", "mExportXLS2", "mDeleteBranch2"})
        EXPECT_TRUE(enabled(untouched)) << untouched;

    w.EnableMainCommands(true);
    for (const char* on : {"mNewPrj", "mSave", "mDeleteBranch", "mMoveBranchUp", "mMoveBranchDown", "mExit"})
        EXPECT_TRUE(enabled(on)) << on;
}

struct CloseRow {
    const char* Case;
    bool IsNew, Modified, Linked, HasFile;
    QList<Answer> Answers;
    QStringList FilesToSave;
    QStringList Asked;
    bool Closes;
};

TEST_F(MainWindowTest, CloseQuestions) {
    const QString disk = QStringLiteral("Save now?");
    const QString device = QStringLiteral("Save now to ZRV10?");
    const QString saved = dir.filePath(QStringLiteral("saved.proj"));
    const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/x.proj"));
    const CloseRow rows[] = {
        {"unchanged, from the instrument", false, false, true, false, {}, {}, {}, true},
        // Changes in no file are offered for saving to disk too, whatever the project came from.
        {"changed, from the instrument after New",
         false,
         true,
         true,
         false,
         {Answer::No, Answer::No},
         {},
         {disk, device},
         true},
        {"changed file, No", false, true, false, true, {Answer::No}, {}, {disk}, true},
        {"changed new project, Yes", true, true, false, false, {Answer::Yes}, {saved}, {disk}, true},
        {"changed new project, save fails",
         true,
         true,
         true,
         false,
         {Answer::Yes},
         {unwritable},
         {disk},
         false},
        {"changed new project, dialog cancelled", true, true, false, false, {Answer::Yes}, {}, {disk}, false},
        {"changed, instrument write fails",
         false,
         true,
         true,
         false,
         {Answer::No, Answer::Yes},
         {},
         {disk, device},
         false},
        {"changed file, No to both",
         false,
         true,
         true,
         true,
         {Answer::No, Answer::No},
         {},
         {disk, device},
         true},
        // Escape or the box's close button: the window stays, with the changes.
        {"changed file, Escape at the disk question", false, true, true, true, {Answer::Cancel}, {}, {disk},
         false},
        {"changed, Escape at the instrument question",
         false,
         true,
         true,
         false,
         {Answer::No, Answer::Cancel},
         {},
         {disk, device},
         false},
    };
    for (const CloseRow& row : rows) {
        SCOPED_TRACE(row.Case);
        mainF.reset();
        ui = TScriptedUserInterface();
        TMainF& w = startedWindow();
        changeState(state->Document, [&](TDocumentState& s) {
            s.IsNewProject = row.IsNew;
            s.Modified = row.Modified;
            s.LinkedToInstrument = row.Linked;
            s.HasFileName = row.HasFile;
            s.ProjectFileName = row.HasFile ? dir.filePath(QStringLiteral("a.proj")) : QString();
        });
        ui.Answers = row.Answers;
        ui.FilesToSave = row.FilesToSave;

        EXPECT_EQ(w.close(), row.Closes);
        EXPECT_EQ(asked(), row.Asked);
        if (!row.Closes)
            EXPECT_TRUE(state->Document.state().Modified); // nothing lost: still marked for saving
    }
    EXPECT_TRUE(QFile::exists(saved));
}

TEST_F(MainWindowTest, AFailedSaveOnCloseShowsTheErrorAndKeepsTheWindowOpen) {
    TMainF& w = startedWindow();
    w.show();
    changeState(state->Document, [&](TDocumentState& s) {
        s.IsNewProject = false;
        s.HasFileName = true;
        s.Modified = true;
        s.ProjectFileName = dir.filePath(QStringLiteral("gone/a.proj"));
    });
    ui.Answers = {Answer::Yes};

    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));

    // Once the file can be written the same close goes through.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("gone")));
    ui.Answers = {Answer::Yes};
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(QFile::exists(state->Document.state().ProjectFileName));
}

TEST_F(MainWindowTest, CloseSavesTheSettingsAndTellsWhenItCannot) {
    TMainF& w = startedWindow();
    state->Units.FlowUnit = 5;
    state->Units.PressureUnit = 7;
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(ui.messages().isEmpty());
    const TSettings saved = LoadSettings(state->SettingsPath);
    EXPECT_EQ(saved.FlowUnit, 5);
    EXPECT_EQ(saved.PressureUnit, 7);

    mainF.reset();
    TMainF& again = startedWindow();
    state->SettingsPath = dir.filePath(QStringLiteral("no/such/folder/zrv10.ini"));
    EXPECT_TRUE(again.close()); // the program still ends
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error"));
}

TEST_F(MainWindowTest, NewAsksAboutChangesThenStartsAnEmptyProject) {
    TMainF& w = startedWindow();
    replaceProject(state->Document, [](TProject& p) {
        p.Header.Branch_Count = 2;
        p.Header.Name[0] = 'X';
    });
    changeState(state->Document, [&](TDocumentState& s) {
        s.IsNewProject = false;
        s.HasFileName = true;
        s.Modified = true;
        s.ProjectFileName = dir.filePath(QStringLiteral("a.proj"));
    });
    ui.Answers = {Answer::No};

    w.NewProject();

    EXPECT_EQ(asked(), QStringList{QStringLiteral("Save now?")});
    EXPECT_EQ(state->Document.project().branchCount(), 0);
    EXPECT_EQ(state->Document.project().Header.Name[0], 0);
    EXPECT_TRUE(state->Document.state().IsNewProject);
    EXPECT_FALSE(state->Document.state().HasFileName);
    EXPECT_TRUE(state->Document.state().ProjectFileName.isEmpty());
    EXPECT_EQ(w.statusText(), QStringLiteral("New project"));
    EXPECT_FALSE(enabled("mSaveProjectToDevice"));
}

TEST_F(MainWindowTest, TheTestUsbButtonIsNeverVisibleButTestsTheConnection) {
    TMainF& w = startedWindow();
    w.show();
    QApplication::processEvents();
    EXPECT_FALSE(w.testUsbButton()->isVisible());
    w.testUsbButton()->click();
    EXPECT_EQ(ui.Status, QStringLiteral("Device is not connected!"));
}

} // namespace

namespace {

// The simulated instrument beside the program, as in the build tree; its memory image is made
// afresh with demo content in the test's own folder.
class MainWindowWithInstrumentTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_SIMULATOR_DRIVER), state->DriverPath));
    }
};

TEST_F(MainWindowWithInstrumentTest, MissingCacheIsReadFromTheInstrumentAtStartup) {
    TMainF& w = window();
    w.StartupSequence();
    EXPECT_EQ(ui.messages(), QStringList{QStringLiteral("Connect device and press Ok")});
    EXPECT_FALSE(exitCode.has_value());
    EXPECT_EQ(w.statusText(), QStringLiteral("New project"));
    EXPECT_GT(ManufacturerCountOf(*state->Catalogue), 0);
    EXPECT_TRUE(QFile::exists(QDir(state->CacheDir).filePath(QLatin1String(ValvesCacheName))));
}

TEST_F(MainWindowWithInstrumentTest, ACatalogueReadWholeServesEvenWhenItsCacheCannotBeWritten) {
    state->CacheDir = dir.filePath(QStringLiteral("no/such/folder"));
    TMainF& w = window();
    w.StartupSequence();
    const QStringList shown = ui.messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.first(), QStringLiteral("Connect device and press Ok"));
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Error")); // why the cache is missing
    EXPECT_FALSE(exitCode.has_value());
    EXPECT_GT(ManufacturerCountOf(*state->Catalogue), 0);
    EXPECT_EQ(w.statusText(), QStringLiteral("New project"));
}

} // namespace

namespace {

TEST_F(MainWindowTest, MenuItemsAndTreeShortcutsReachTheEditor) {
    TMainF& w = startedWindow();
    w.show();
    QApplication::setActiveWindow(&w);
    replaceProject(state->Document, [](TProject& p) {
        for (int i = 0; i < 3; ++i)
            InitBranch(p, i);
        p.Header.Branch_Count = 3;
    });
    window().editor().setCurrentBranch(1);
    w.UpdateWindowState();

    auto* tree = w.findChild<QTreeView*>(QStringLiteral("PrjTree"));
    ASSERT_NE(tree, nullptr);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(window().editor().currentBranch(), 2);
    EXPECT_TRUE(state->Document.state().Modified);
    QTest::keyClick(tree, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(window().editor().currentBranch(), 1);

    // Adding opens the new branch's confirm panel, which switches the main commands off.
    w.action(QStringLiteral("mMoveBranchDown"))->trigger();
    EXPECT_EQ(window().editor().currentBranch(), 2);
    QTest::keyClick(tree, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(state->Document.project().branchCount(), 4);
    EXPECT_FALSE(enabled("mNewPrj"));
    EXPECT_FALSE(enabled("mExit"));
}

} // namespace

namespace {

QByteArray projectBytes(const TProject& p) {
    QByteArray bytes(reinterpret_cast<const char*>(&p.Header), sizeof(TProjectHeader));
    bytes.append(reinterpret_cast<const char*>(p.Branches.data()),
                 static_cast<qsizetype>(sizeof(TBranch)) * p.branchCount());
    return bytes;
}

// What a user may try while a transfer lets the window repaint: a menu command, an edit in the tree
// and on the page, opening a file, a new project.
void tryToInterfere(TMainF& w) {
    for (const char* name : {"mDeleteBranch", "mDeleteBranch2", "mAddBranch", "mMoveBranchDown", "mOpenPrj",
                             "mNewPrj", "mImportXLS", "mOpenPrjFromDevice", "mUnits"})
        w.action(QLatin1String(name))->trigger();
    auto* tree = w.findChild<QTreeView*>(QStringLiteral("PrjTree"));
    QTest::keyClick(tree, Qt::Key_D, Qt::ControlModifier);
    for (QLineEdit* edit : w.findChildren<QLineEdit*>())
        QTest::keyClicks(edit, QStringLiteral("9"));
}

TEST_F(MainWindowWithInstrumentTest, NothingChangesTheProjectWhileATransferRuns) {
    writeCacheFiles();
    TMainF& w = window();
    w.show();
    w.StartupSequence();
    w.ReadProjectFromInstrument();
    ASSERT_GT(state->Document.project().branchCount(), 0);
    const QByteArray read = projectBytes(state->Document.project());

    for (const char* operation : {"write", "read"}) {
        SCOPED_TRACE(operation);
        ui.Log.clear();
        int attempts = 0;
        ui.DuringEvents = [&] {
            ++attempts;
            tryToInterfere(w);
        };
        if (QLatin1String(operation) == QLatin1String("write")) {
            ui.Answers = {Answer::Yes}; // the overwrite question
            EXPECT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Done);
            EXPECT_EQ(ui.Status, QStringLiteral("The project was successfully written"));
        } else {
            w.ReadProjectFromInstrument();
            EXPECT_EQ(ui.Status, QStringLiteral("The project was successfully read"));
        }
        ui.DuringEvents = nullptr;
        EXPECT_GT(attempts, 0);
        EXPECT_EQ(projectBytes(state->Document.project()), read);
        EXPECT_FALSE(state->Document.state().Modified);
        for (const auto& shown : ui.Log)
            EXPECT_TRUE(shown.Kind == QLatin1String("status") ||
                        shown.Text.startsWith(QLatin1String("Do you want to overwrite")))
                << shown.Kind.toStdString() << ": " << shown.Text.toStdString();
    }
    // Afterwards the commands work again.
    EXPECT_TRUE(enabled("mOpenPrj"));
    EXPECT_TRUE(enabled("mDeleteBranch2"));
    EXPECT_TRUE(w.findChild<QTreeView*>(QStringLiteral("PrjTree"))->isEnabled());
}

// The write sends the project as it was at the Yes, even if it changes between the blocks.
TEST_F(MainWindowWithInstrumentTest, TheInstrumentGetsTheProjectAsItWasWhenTheWriteStarted) {
    writeCacheFiles();
    TMainF& w = window();
    w.StartupSequence();
    w.ReadProjectFromInstrument();
    const int count = state->Document.project().branchCount();
    ASSERT_GT(count, 1);
    const QByteArray sent = projectBytes(state->Document.project());
    ui.Answers = {Answer::Yes};
    ui.DuringEvents = [&] {
        if (state->Document.project().branchCount() == count)
            state->Document.removeBranch(0);
    };
    ASSERT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Done);
    ui.DuringEvents = nullptr;
    state->Document.setModified(false);
    w.ReadProjectFromInstrument();
    EXPECT_EQ(projectBytes(state->Document.project()), sent);
}

TEST_F(MainWindowWithInstrumentTest, EveryCommandThatReplacesAChangedProjectAsksFirst) {
    writeCacheFiles();
    TMainF& w = window();
    w.StartupSequence();
    w.ReadProjectFromInstrument();
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"New", [&] { w.NewProject(); }},
        {"Open", [&] { w.OpenProject(); }},
        {"Open from the instrument", [&] { w.ReadProjectFromInstrument(); }},
        {"Import from the workbook", [&] { w.ImportWorkbook(); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        replaceProject(state->Document, [](TProject& p) {
            EncodeInstrumentText(QStringLiteral("Changed"), p.Header.Name, 16, 0);
        });
        state->Document.setModified(true);
        const QByteArray changed = projectBytes(state->Document.project());
        ui.Log.clear();
        ui.Answers = {Answer::Cancel};
        command();
        EXPECT_EQ(asked(), QStringList{QStringLiteral("Save now?")});
        EXPECT_EQ(projectBytes(state->Document.project()), changed);
        EXPECT_TRUE(state->Document.state().Modified);
        EXPECT_TRUE(w.windowTitle().endsWith(u'*'));
        for (const auto& shown : ui.Log)
            EXPECT_NE(shown.Kind, QStringLiteral("open"));
    }
    // No to both questions: the read replaces the project.
    ui.Log.clear();
    ui.Answers = {Answer::No, Answer::No};
    w.ReadProjectFromInstrument();
    EXPECT_EQ(asked(), (QStringList{QStringLiteral("Save now?"), QStringLiteral("Save now to ZRV10?")}));
    EXPECT_FALSE(state->Document.state().Modified);
    EXPECT_NE(DecodeInstrumentText(state->Document.project().Header.Name, 16, 0), QStringLiteral("Changed"));
}

// A 100-branch project in the window and on the instrument: eight blocks each way.
void writeHundredBranches(TMainF& w, TApplicationState& state, TScriptedUserInterface& ui) {
    replaceProject(state.Document, [](TProject& p) {
        p.Header.Branch_Count = 100;
        for (int i = 0; i < 100; ++i)
            EncodeInstrumentText(QStringLiteral("R%1").arg(i), p.Branches[i].Name, 16, 0);
    });
    ui.Answers = {Answer::Yes};
    ASSERT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Done);
}

TEST_F(MainWindowWithInstrumentTest, CancelInTheProgressWindowStopsReadAndWriteWithThePromisedOutcome) {
    writeCacheFiles();
    TMainF& w = window();
    w.show();
    w.StartupSequence();
    w.ReadProjectFromInstrument();
    writeHundredBranches(w, *state, ui);

    // Escape in the progress window once `blocks` blocks have moved; the figures seen on the way.
    QStringList figures;
    int blocksMoved = 0;
    auto cancelAfter = [&](int blocks) {
        figures.clear();
        blocksMoved = 0;
        ui.DuringEvents = [&, blocks] {
            auto* dialog = w.findChild<TTransferProgressDialog*>();
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(dialog->isModal());
            figures << dialog->findChild<QLabel*>(QStringLiteral("diaFigures"))->text();
            if (++blocksMoved == blocks)
                QTest::keyClick(dialog, Qt::Key_Escape);
        };
    };

    // The read: nothing in memory changes.
    replaceProject(state->Document,
                   [](TProject& p) { EncodeInstrumentText(QStringLiteral("Mine"), p.Header.Name, 16, 0); });
    changeState(state->Document, [](TDocumentState& s) {
        s.Modified = false;
        s.ProjectFileName = QStringLiteral("/home/u/mine.proj");
        s.HasFileName = true;
    });
    const QByteArray mine = projectBytes(state->Document.project());
    const QByteArray valvesBefore = [&] {
        QFile f(QDir(state->CacheDir).filePath(QStringLiteral("valves.bin")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    cancelAfter(3);
    w.ReadProjectFromInstrument();
    EXPECT_EQ(figures, (QStringList{QStringLiteral("Branch 13 of 100"), QStringLiteral("Branch 26 of 100"),
                                    QStringLiteral("Branch 40 of 100")}));
    EXPECT_EQ(projectBytes(state->Document.project()), mine);
    EXPECT_EQ(state->Document.state().ProjectFileName, QStringLiteral("/home/u/mine.proj"));
    EXPECT_TRUE(state->Document.state().HasFileName);
    EXPECT_EQ(ui.Status, QStringLiteral("The read was cancelled!"));
    QFile valves(QDir(state->CacheDir).filePath(QStringLiteral("valves.bin")));
    ASSERT_TRUE(valves.open(QIODevice::ReadOnly));
    EXPECT_EQ(valves.readAll(), valvesBefore);
    EXPECT_FALSE(w.findChild<TTransferProgressDialog*>()) << "the progress window is gone";

    // The write: the project keeps its "*", and the user learns what the instrument now holds.
    state->Document.setModified(true);
    ui.Log.clear();
    ui.Answers = {Answer::Yes, Answer::Yes}; // overwrite, then stop the write
    cancelAfter(2);
    EXPECT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Cancelled);
    EXPECT_EQ(blocksMoved, 2);
    EXPECT_TRUE(state->Document.state().Modified);
    EXPECT_TRUE(w.windowTitle().endsWith(u'*'));
    EXPECT_EQ(ui.messages(), QStringList{QStringLiteral("The write was cancelled. The device now holds an "
                                                        "incomplete project. Write the project again to "
                                                        "repair it.")});
    EXPECT_EQ(ui.Status, QStringLiteral("The write was cancelled!"));
    EXPECT_TRUE(enabled("mOpenPrj")) << "the window is usable again";

    // Writing again repairs it.
    ui.DuringEvents = nullptr;
    ui.Answers = {Answer::Yes};
    EXPECT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Done);
    EXPECT_FALSE(state->Document.state().Modified);
}

// The link's pauses, noting the thread they run on; the one numbered `GateAt` holds the link in the
// middle of the branches until the window's own timer lets it go.
class TGatedPause final : public IPause {
public:
    void pauseMs(int) override {
        Threads.insert(QThread::currentThread());
        if (++m_calls != GateAt)
            return;
        Parked = true;
        Released = Gate.tryAcquire(1, 5000);
    }
    void arm(int gateAt) {
        m_calls = 0;
        GateAt = gateAt;
        Parked = false;
        Released = false;
        Threads.clear();
    }
    int GateAt = -1;
    QSemaphore Gate;
    std::atomic<bool> Parked{false};
    bool Released = false;
    QSet<QThread*> Threads;

private:
    int m_calls = 0;
};

// While the link is held up between two frames, the window goes on: its timer finds the progress
// window, the document read-only, and clicks Cancel; the read then leaves the project as it was and
// the write stops after asking.
TEST_F(MainWindowWithInstrumentTest, TransfersRunOnTheWorkerWhileTheWindowGoesOnAndCancelStopsThem) {
    writeCacheFiles();
    TMainF& w = window();
    w.show();
    w.StartupSequence();
    w.ReadProjectFromInstrument();
    writeHundredBranches(w, *state, ui);
    TGatedPause pause;
    w.setPause(pause);

    QTimer poll;
    bool clicked = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = w.findChild<TTransferProgressDialog*>();
        if (clicked || !pause.Parked || !dialog || !dialog->isVisible())
            return;
        clicked = true;
        EXPECT_FALSE(w.centralWidget()->isEnabled()) << "the document is read-only meanwhile";
        EXPECT_FALSE(enabled("mOpenPrj"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("diaCancel")), Qt::LeftButton);
        pause.Gate.release();
    });
    poll.start(5);
    QThread* const gui = QThread::currentThread();

    const QByteArray mine = projectBytes(state->Document.project());
    pause.arm(60);
    clicked = false;
    w.ReadProjectFromInstrument();
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(pause.Released) << "the window's timer ran while the link waited";
    EXPECT_FALSE(pause.Threads.isEmpty());
    EXPECT_FALSE(pause.Threads.contains(gui));
    EXPECT_EQ(ui.Status, QStringLiteral("The read was cancelled!"));
    EXPECT_EQ(projectBytes(state->Document.project()), mine);
    EXPECT_TRUE(w.centralWidget()->isEnabled());

    state->Document.setModified(true);
    ui.Log.clear();
    ui.Answers = {Answer::Yes, Answer::Yes}; // overwrite, then stop the write
    pause.arm(60);
    clicked = false;
    EXPECT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Cancelled);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(pause.Released);
    EXPECT_FALSE(pause.Threads.contains(gui));
    EXPECT_EQ(asked(), (QStringList{QStringLiteral("Do you want to overwrite the project  ZRV 10?"),
                                    QStringLiteral("Stop writing? The device will then hold an incomplete "
                                                   "project.")}));
    EXPECT_EQ(ui.Status, QStringLiteral("The write was cancelled!"));
    EXPECT_TRUE(state->Document.state().Modified);
    EXPECT_TRUE(enabled("mOpenPrj"));
    w.setPause(noPause);
}

// The simulated instrument spoils a byte of branch 2: the check after writing fails and names it, the
// project stays changed; with the Options item off nothing is checked.
TEST_F(MainWindowWithInstrumentTest, VerifyAfterWritingFollowsTheOptionsItem) {
    struct FaultyCell {
        FaultyCell() { qputenv("ZRV10_SIM_FAULTY_CELL", QByteArray::number(4140 + 78 + 5)); }
        ~FaultyCell() { qunsetenv("ZRV10_SIM_FAULTY_CELL"); }
    } faulty;
    writeCacheFiles();
    TMainF& w = window();
    w.StartupSequence();
    w.ReadProjectFromInstrument();
    ASSERT_GE(state->Document.project().branchCount(), 2);
    const QString second =
        DecodeInstrumentText(state->Document.project().Branches[1].Name, 16, state->codePage());
    QAction* verify = w.action(QStringLiteral("mVerifyAfterWrite"));
    ASSERT_NE(verify, nullptr);
    EXPECT_TRUE(verify->isCheckable());
    EXPECT_TRUE(verify->isChecked());
    EXPECT_EQ(text("mVerifyAfterWrite"), QStringLiteral("Verify after writing to device"));

    state->Document.setModified(true);
    ui.Log.clear();
    ui.Answers = {Answer::Yes};
    EXPECT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Failed);
    EXPECT_EQ(ui.messages(), QStringList{QStringLiteral("Branch 2 (%1) in the device differs from the one "
                                                        "written. Write the project again.")
                                             .arg(second)});
    EXPECT_EQ(ui.Status, QStringLiteral("Writing failed: branch 2 (%1) differs in the device!").arg(second));
    EXPECT_TRUE(state->Document.state().Modified);
    EXPECT_TRUE(w.windowTitle().endsWith(u'*'));

    verify->trigger();
    EXPECT_FALSE(state->Settings.VerifyAfterWrite);
    ui.Answers = {Answer::Yes};
    EXPECT_EQ(w.SaveProjectToInstrument(), TDeviceResult::Done);
    EXPECT_FALSE(state->Document.state().Modified);
}

} // namespace

namespace {

// The object names of a menu's items in order; "-" for a separator line.
QStringList itemsOf(const TMainF& w, const char* menuName) {
    QStringList names;
    const auto* menu = w.findChild<QMenu*>(QLatin1String(menuName));
    EXPECT_NE(menu, nullptr) << menuName;
    if (menu)
        for (const QAction* a : menu->actions())
            names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

TEST_F(MainWindowTest, MenuItemsKeepTheirPlacesCaptionsAndKeys) {
    writeCacheFiles();
    TMainF& w = window();
    QStringList bar;
    for (const QAction* a : w.menuBar()->actions())
        bar << a->objectName();
    EXPECT_EQ(bar, QStringList({"mFile", "mEdit", "mPrint2", "mOptions"}));
    EXPECT_EQ(itemsOf(w, "mFileMenu"),
              QStringList({"mPCProjects", "mNewPrj", "mOpenPrj", "mRecentProjects", "mSave", "mSaveAsPrj",
                           "mImportXLS", "mExportXLS2", "mProjects", "mOpenPrjFromDevice",
                           "mSaveProjectToDevice", "mRecords", "mOpenRec", "mOpenRecordFromDevice", "-",
                           "mCommissioningDetails", "mCompareWithProject", "-", "mExit"}));
    EXPECT_EQ(itemsOf(w, "mEditMenu"), QStringList({"mAddBranch", "mDeleteBranch", "mMoveBranchUp",
                                                    "mMoveBranchDown", "-", "mUndo", "mRedo"}));
    EXPECT_EQ(itemsOf(w, "mPrint2Menu"),
              QStringList({"mSetupPrinter", "mSetupPage", "mPrint", "mBalancingReport", "mCommissioningCertificate"}));
    EXPECT_EQ(itemsOf(w, "mOptionsMenu"), QStringList({"mUnits", "mLanguage", "mBalancingSummary", "mVerifyAfterWrite"}));
    EXPECT_EQ(itemsOf(w, "PopupMenu1"),
              QStringList({"mAddBranch2", "mDeleteBranch2", "mMoveBranchUp2", "mMoveBranchDown2"}));

    // Captions as designed until the start-up sequence applies the texts; then the texts'.
    const struct {
        const char* Name;
        const char* Designed;
        const char* Applied;
        QList<QKeySequence> Keys;
    } rows[] = {
        {"mPCProjects", "----- K9Q4 Projects -----", "------ PC Projects ------", {}},
        {"mNewPrj", "New", "New", {QKeySequence(QKeySequence::New)}},
        {"mOpenPrj", "Open...", "Open...", {QKeySequence(QKeySequence::Open)}},
        {"mSave", "Save", "Save", {QKeySequence(QKeySequence::Save)}},
        {"mCommissioningDetails", "Commissioning details...", "Commissioning details...", {}},
        {"mCompareWithProject", "Compare with project...", "Compare with project...", {}},
        {"mOpenPrjFromDevice", "Open project from device...", "Open project from ZRV10...", {}},
        {"mSaveProjectToDevice", "Save project to device...", "Save project to ZRV10", {}},
        {"mOpenRec", "Open record...", "Open...", {}},
        {"mOpenRecordFromDevice", "Open record from device...", "Open record from ZRV10...", {}},
        {"mExit", "Exit", "Exit", {QKeySequence(QKeySequence::Quit)}},
        {"mSetupPage", "Setup page...", "Setup page...", {}},
        {"mUndo", "Undo", "Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
        {"mRedo",
         "Redo",
         "Redo",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}},
        {"mBalancingSummary",
         "Balancing summary...",
         "Balancing summary...",
         {QKeySequence(Qt::CTRL | Qt::Key_B)}},
        {"mAddBranch2", "Add branch", "Add branch", {QKeySequence(Qt::CTRL | Qt::Key_A)}},
        {"mDeleteBranch2", "Delete branch...", "Delete branch...", {}},
        {"mMoveBranchUp2", "Move branch up", "Move branch up", {QKeySequence(Qt::CTRL | Qt::Key_U)}},
        {"mMoveBranchDown2", "Move branch down", "Move branch down", {QKeySequence(Qt::CTRL | Qt::Key_D)}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(w.action(QLatin1String(row.Name))->text(), QLatin1String(row.Designed));
        EXPECT_EQ(w.action(QLatin1String(row.Name))->shortcuts(), row.Keys);
    }
    for (const char* name :
         {"mPCProjects", "mProjects", "mRecords", "mSave", "mSaveProjectToDevice", "mUndo", "mRedo"})
        EXPECT_FALSE(w.action(QLatin1String(name))->isEnabled()) << name;
    EXPECT_FALSE(w.action(QStringLiteral("mSetupPrinter"))->isVisible());
    EXPECT_FALSE(w.action(QStringLiteral("mSetupPage"))->isVisible());
    EXPECT_EQ(w.action(QStringLiteral("mAddBranch2"))->shortcutContext(), Qt::WidgetWithChildrenShortcut);

    w.StartupSequence();
    for (const auto& row : rows)
        EXPECT_EQ(WithoutAccelerator(w.action(QLatin1String(row.Name))->text()), QLatin1String(row.Applied))
            << row.Name;
}

TEST_F(MainWindowTest, NothingCanBeUsedWhileADeviceOperationRuns) {
    TMainF& w = startedWindow();
    replaceProject(state->Document, [](TProject& p) { p.Header.Branch_Count = 3; });
    window().editor().setCurrentBranch(1);
    changeState(state->Document, [](TDocumentState& s) { s.IsNewProject = false; });
    const QList<QAction*> items = w.findChildren<QAction*>();
    auto enabledNames = [&] {
        QStringList names;
        for (const QAction* a : items)
            if (a->isEnabled() && !a->objectName().isEmpty() && !a->menu())
                names << a->objectName();
        return names;
    };
    w.UpdateWindowState();
    const QStringList before = enabledNames();
    EXPECT_TRUE(before.contains(QStringLiteral("mDeleteBranch2")));
    EXPECT_TRUE(before.contains(QStringLiteral("mOpenPrjFromDevice")));

    state->LinkGuard.Busy = true;
    w.UpdateWindowState();
    EXPECT_EQ(enabledNames(), QStringList());

    state->LinkGuard.Busy = false;
    w.UpdateWindowState();
    EXPECT_EQ(enabledNames(), before);
}

} // namespace

namespace {

// Edit > Undo and Redo name the edit, follow the history and the confirm panels, and take the
// title's "*" away when the project is back where it was saved.
TEST_F(MainWindowTest, UndoAndRedoNameTheEditAndTheTitleFollowsTheSavedPoint) {
    TMainF& w = startedWindow();
    w.show();
    QApplication::setActiveWindow(&w);
    auto project = std::make_unique<TProject>();
    project->Header.Branch_Count = 3;
    for (int i = 0; i < 3; ++i) {
        InitBranch(*project, i);
        EncodeInstrumentText(QStringLiteral("B%1").arg(i), project->Branches[i].Name, 16, 0);
    }
    state->Document.replaceFromFile(*project, QStringLiteral("/p/a.proj"));
    const QString saved = QStringLiteral("ZRV 10 User Software - /p/a.proj");
    QAction* undo = w.action(QStringLiteral("mUndo"));
    QAction* redo = w.action(QStringLiteral("mRedo"));
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(w.windowTitle(), saved);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(WithoutAccelerator(undo->text()), QStringLiteral("Undo"));

    auto* tree = w.findChild<QTreeView*>(QStringLiteral("PrjTree"));
    tree->setCurrentIndex(tree->model()->index(3, 0, tree->model()->index(0, 0))); // branch 1
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(w.windowTitle(), saved + u'*');
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(WithoutAccelerator(undo->text()), QStringLiteral("Undo move of branch B1"));
    EXPECT_FALSE(AcceleratorOf(undo->text()).isNull());

    QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.windowTitle(), saved);
    EXPECT_EQ(WithoutAccelerator(redo->text()), QStringLiteral("Redo move of branch B1"));
    EXPECT_EQ(w.statusText(), QStringLiteral("1 / 3")) << "the branch it concerned is shown";
    QTest::keyClick(tree, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.windowTitle(), saved + u'*');
    QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.windowTitle(), saved + u'*');
    EXPECT_EQ(state->Document.project().Branches[2].Name[1], '1');

    // A save marks the point the title is clean at; before it the project is changed again.
    state->Document.markSavedToFile(QStringLiteral("/p/a.proj"));
    EXPECT_EQ(w.windowTitle(), saved);
    undo->trigger();
    EXPECT_EQ(w.windowTitle(), saved + u'*');

    w.EnableMainCommands(false);
    EXPECT_FALSE(redo->isEnabled());
    w.EnableMainCommands(true);
    EXPECT_TRUE(redo->isEnabled());
}

} // namespace

namespace {

// The window is never told after a command: its title and items follow the document's announcements
// and the editor's current branch, whoever changed them (a worker's result lands the same way).
TEST_F(MainWindowTest, TheWindowFollowsTheDocumentAndTheCurrentBranchWithoutBeingTold) {
    TMainF& w = startedWindow();
    auto project = std::make_unique<TProject>();
    project->Header.Branch_Count = 3;
    for (int i = 0; i < 3; ++i)
        InitBranch(*project, i);
    state->Document.replaceFromFile(*project, QStringLiteral("/p/b.proj"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZRV 10 User Software - /p/b.proj"));
    EXPECT_FALSE(enabled("mMoveBranchUp")) << "a replaced project starts at its top";
    state->Document.setModified(true);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZRV 10 User Software - /p/b.proj*"));

    TProjectEditor& editor = w.editor();
    QSignalSpy announced(&editor, &TProjectEditor::currentBranchChanged);
    editor.tree()->setCurrentIndex(editor.treeModel().branchIndex(2));
    EXPECT_EQ(announced.count(), 1);
    EXPECT_TRUE(enabled("mDeleteBranch"));
    EXPECT_TRUE(enabled("mMoveBranchUp"));
    EXPECT_FALSE(enabled("mMoveBranchDown"));

    editor.MoveBranchUp();
    EXPECT_EQ(announced.count(), 2);
    EXPECT_EQ(editor.currentBranch(), 1);
    EXPECT_TRUE(enabled("mMoveBranchDown"));
    EXPECT_TRUE(text("mUndo").startsWith(QStringLiteral("Undo move of branch")));

    state->Document.replaceFromFile(*project, QStringLiteral("/p/c.proj"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZRV 10 User Software - /p/c.proj"));
    EXPECT_FALSE(enabled("mMoveBranchUp")) << "a replaced project starts at its top";
    EXPECT_FALSE(enabled("mUndo"));
}

} // namespace

namespace {

// File > Commissioning details...: OK applies the project's part as one edit and the user's part
// into the settings file; Escape, a refused value and an unchanged OK change nothing.
TEST_F(MainWindowTest, TheCommissioningDetailsDialogAppliesOnOkOnly) {
    TMainF& w = startedWindow();
    w.show();
    state->Units.PressureUnit = 2; // kPa
    const QUndoStack& history = w.editor().undo().stack();
    QAction* item = w.action(QStringLiteral("mCommissioningDetails"));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());

    // The dialog is modal: `inside` runs in it once it is up.
    auto run = [&](const std::function<void(TCommissioningDialog&)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TCommissioningDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            QApplication::setActiveWindow(dialog);
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            inside(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        item->trigger();
        EXPECT_TRUE(ran);
    };

    run([&](TCommissioningDialog& d) {
        EXPECT_EQ(QApplication::focusWidget(), d.Client);
        EXPECT_EQ(d.MinPressure->text(), state->Units.FormatPressure(DefaultMinDifferentialPressure));
        d.OwnTolerance->setChecked(true);
        d.Tested->setChecked(true);
        // Every field on the way of the Tab key.
        QSet<QWidget*> reached;
        for (int i = 0; i < 30; ++i) {
            QWidget* focus = QApplication::focusWidget();
            reached << focus << focus->parentWidget();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        const QWidget* fields[] = {d.Client,           d.Site,           d.System,     d.Standard,
                                   d.LowerTolerance,   d.UpperTolerance, d.Tested,     d.TestDate,
                                   d.Witness,          d.Remarks,        d.Engineer,   d.Firm,
                                   d.InstrumentSerial, d.Calibrated,     d.MinPressure};
        for (const QWidget* field : fields)
            EXPECT_TRUE(reached.contains(const_cast<QWidget*>(field))) << field->metaObject()->className();

        d.Client->setText(QStringLiteral("City hospital"));
        d.LowerTolerance->setValue(4);
        d.UpperTolerance->setValue(8);
        d.TestDate->setDate(QDate(2026, 12, 1));
        d.Remarks->setPlainText(QStringLiteral("line 1\nline 2"));
        d.Engineer->setText(QStringLiteral("A. Engineer"));
        d.MinPressure->setText(QStringLiteral("5.5"));
        d.Client->setFocus();
        QTest::keyClick(d.Client, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    const TCommissioningDetails& details = state->Document.commissioning();
    EXPECT_EQ(details.Client, QStringLiteral("City hospital"));
    EXPECT_EQ(details.LowerTolerancePercent, 4.0);
    EXPECT_EQ(details.UpperTolerancePercent, 8.0);
    EXPECT_EQ(details.TestDate, QDate(2026, 12, 1));
    EXPECT_EQ(details.Remarks, QStringLiteral("line 1\nline 2"));
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(state->Document.state().Modified);
    const TSettings saved = LoadSettings(state->SettingsPath);
    EXPECT_EQ(saved.Commissioning.Engineer, QStringLiteral("A. Engineer"));
    EXPECT_NEAR(saved.Commissioning.MinDifferentialPressure, 5500, 0.01);

    const TCommissioningDetails before = details;
    const QByteArray settingsBefore = settingsBytes();
    run([&](TCommissioningDialog& d) {
        EXPECT_EQ(d.Client->text(), QStringLiteral("City hospital"));
        EXPECT_TRUE(d.OwnTolerance->isChecked());
        d.Client->setText(QStringLiteral("typed, then dropped"));
        d.Engineer->setText(QStringLiteral("nobody"));
        QTest::keyClick(d.Client, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    run([&](TCommissioningDialog& d) {
        d.MinPressure->setText(QStringLiteral("much"));
        QTest::keyClick(d.Client, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible()) << "a refused value keeps the dialog open";
        EXPECT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(QApplication::focusWidget(), d.MinPressure);
    });
    run([&](TCommissioningDialog& d) { QTest::keyClick(d.Client, Qt::Key_Return); });
    EXPECT_EQ(state->Document.commissioning(), before);
    EXPECT_EQ(history.count(), 1) << "an OK that changed nothing is no edit";
    EXPECT_EQ(settingsBytes(), settingsBefore);

    w.Undo();
    EXPECT_EQ(state->Document.commissioning().Client, QString());
}

} // namespace
