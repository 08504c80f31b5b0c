// SPDX-License-Identifier: GPL-3.0-or-later
// The close of the main window after real writes, exports and edits, and the progress window's keys,
// against the simulated instrument beside the program.
#include "DocumentState.h"
#include "NoPause.h"
#include "ProgramFolder.h"
#include "OneValveCache.h"
#include "files/ProjectFile.h"
#include "commands/ApplicationState.h"
#include "mainwindow/BranchPage.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/ProjectTree.h"
#include "mainwindow/ProjectPage.h"
#include "mainwindow/TransferProgressDialog.h"
#include "mainwindow/test_dialogs_app.h"
#include "model/BranchList.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

using Answer = IUserInterface::Answer;

class MainWindowCloseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state = MakeProgramFolder(dir);
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_SIMULATOR_DRIVER), state->DriverPath));
        WriteOneValveCache(state->CacheDir);
        window = std::make_unique<TMainF>(*state, ui, clock);
        window->setPause(noPause);
        window->setExitFunction([](int) {});
        window->show();
        window->StartupSequence();
        ui.Log.clear();
    }

    // A project file of `count` branches "B0", "B1", ... on the catalogue's one valve.
    QString projectFile(const char* name, int count) {
        auto p = std::make_unique<TProject>();
        EncodeInstrumentText(QStringLiteral("Plant"), p->Header.Name, NameFieldSize, 0);
        for (int i = 0; i < count; ++i) {
            InitBranch(*p, i);
            EncodeInstrumentText(QStringLiteral("B%1").arg(i), p->Branches[i].Name, NameFieldSize, 0);
            p->Branches[i].Request_Flow = 100.0 + i;
        }
        p->Header.Branch_Count = static_cast<std::int16_t>(count);
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(SaveProjectFile(path, *p, 0));
        return path;
    }

    void pick(const char* item) {
        QAction* a = window->action(QLatin1String(item));
        ASSERT_NE(a, nullptr) << item;
        ASSERT_TRUE(a->isEnabled()) << item;
        a->trigger();
    }
    bool enabled(const char* item) const { return window->action(QLatin1String(item))->isEnabled(); }

    // Selects the branch in the tree, types the name on its page and confirms it, as the user does.
    void renameBranch(int index, const QString& name) {
        QTreeView* tree = window->editor().tree();
        tree->setCurrentIndex(window->editor().treeModel().branchIndex(index));
        auto* page = qobject_cast<TBranchPage*>(window->editor().pages()->widget(1));
        ASSERT_NE(page, nullptr);
        page->Name->setText(name);
        QTest::mouseClick(page->Confirm->Ok, Qt::LeftButton);
        ASSERT_FALSE(window->editor().BranchEditPending()) << ui.messages().join(u'\n').toStdString();
    }

    QStringList asked() const {
        QStringList texts;
        for (const auto& shown : ui.Log)
            if (shown.Kind == QLatin1String("ask"))
                texts << shown.Text;
        return texts;
    }

    QStringList namesIn(const QString& path) const {
        auto p = std::make_unique<TProject>();
        QString error;
        EXPECT_TRUE(LoadProjectFile(path, *p, 0, QLocale::c(), &error)) << error.toStdString();
        QStringList names;
        for (int i = 0; i < p->branchCount(); ++i)
            names << DecodeInstrumentText(p->Branches[i].Name, NameFieldSize, 0);
        return names;
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TMainF> window;
};

// Open a file, write it to the instrument, rename a branch: Save still writes the file, the status
// no longer claims it saved, and the close offers the later rename for saving.
TEST_F(MainWindowCloseTest, EditsAfterAWriteToTheInstrumentAreSavedToTheProjectsFile) {
    const QString file = projectFile("a.proj", 3);
    ui.FilesToOpen << file;
    pick("mOpenPrj");
    ui.Answers = {Answer::Yes};
    pick("mSaveProjectToDevice");
    ASSERT_EQ(ui.Status, QStringLiteral("The project was successfully written"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZRV 10 User Software - ") + file);

    renameBranch(1, QStringLiteral("Renamed"));
    EXPECT_TRUE(window->windowTitle().endsWith(u'*'));
    EXPECT_TRUE(enabled("mSave"));
    pick("mSave");
    EXPECT_EQ(namesIn(file), (QStringList{"B0", "Renamed", "B2"}));
    EXPECT_EQ(ui.Status, QStringLiteral("Project saved"));
    // The program's status bar shows what the commands report; the scripted one only records it.
    window->SetStatus(ui.Status);

    renameBranch(1, QStringLiteral("Later")); // the branch shown: the status is not replaced by a selection
    EXPECT_EQ(window->statusText(), QString()) << "\"Project saved\" is no longer true";
    ui.Log.clear();
    ui.Answers = {Answer::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(asked(), QStringList{QStringLiteral("Save now?")});
    EXPECT_EQ(namesIn(file), (QStringList{"B0", "Later", "B2"}));
}

// Read from the instrument, move a branch, export into the workbook: the close offers the project,
// which has no file of its own, for Save as.
TEST_F(MainWindowCloseTest, EditsAfterAnExportAreOfferedForSavingOnClose) {
    pick("mOpenPrjFromDevice");
    ASSERT_GT(state->Document.project().branchCount(), 1);
    window->editor().setCurrentBranch(0);
    window->UpdateWindowState();
    pick("mMoveBranchDown");
    const QString second = DecodeInstrumentText(state->Document.project().Branches[1].Name, NameFieldSize, 0);

    const QString book = dir.filePath(QStringLiteral("book.xlsx"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/spreadsheet/book_plain.xlsx"), book));
    QFile::setPermissions(book, QFile::ReadOwner | QFile::WriteOwner);
    ui.FilesToOpen << book;
    pick("mExportXLS2");
    ASSERT_EQ(ui.Status, QStringLiteral("The project was successfully exported."));

    ui.Log.clear();
    const QString saved = dir.filePath(QStringLiteral("from-device.proj"));
    ui.Answers = {Answer::Yes};
    ui.FilesToSave << saved;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(asked(), QStringList{QStringLiteral("Save now?")});
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(namesIn(saved).value(1), second);
}

// A 100-branch project written in eight blocks; `during` runs between them as the user.
void writeWhile(TMainF& w, TApplicationState& state, TScriptedUserInterface& ui,
                std::function<void(int)> during) {
    replaceProject(state.Document, [](TProject& p) {
        p.Header.Branch_Count = 100;
        for (int i = 0; i < 100; ++i)
            EncodeInstrumentText(QStringLiteral("R%1").arg(i), p.Branches[i].Name, 16, 0);
    });
    int block = 0;
    ui.DuringEvents = [&] { during(++block); };
    w.SaveProjectToInstrument();
    ui.DuringEvents = nullptr;
}

TTransferProgressDialog* progressWindow(TMainF& w) {
    auto* dialog = w.findChild<TTransferProgressDialog*>();
    EXPECT_NE(dialog, nullptr);
    return dialog;
}

// Keys go where the user's keyboard sends them: the window's focus, else the window.
void press(QWidget* dialog, Qt::Key key) {
    QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, key);
}

TEST_F(MainWindowCloseTest, ReturnAndSpaceDoNothingAndStoppingAWriteIsAskedFirst) {
    pick("mOpenPrjFromDevice");

    // Return and Space, then Escape and the close box answered No: the write goes on to the end.
    ui.Log.clear();
    ui.Answers = {Answer::Yes, Answer::No, Answer::No};
    writeWhile(*window, *state, ui, [&](int block) {
        TTransferProgressDialog* dialog = progressWindow(*window);
        if (block == 1)
            press(dialog, Qt::Key_Return);
        if (block == 2)
            press(dialog, Qt::Key_Space);
        if (block == 3)
            press(dialog, Qt::Key_Escape);
        if (block == 4)
            dialog->close();
    });
    EXPECT_EQ(ui.Status, QStringLiteral("The project was successfully written"));
    EXPECT_FALSE(state->Document.state().Modified);
    const QString stop = QStringLiteral("Stop writing? The device will then hold an incomplete project.");
    EXPECT_EQ(asked(),
              (QStringList{QStringLiteral("Do you want to overwrite the project  ZRV 10?"), stop, stop}));
    for (const auto& shown : ui.Log)
        if (shown.Text == stop)
            EXPECT_TRUE(shown.DefaultNo);

    // Yes stops it; the status gives the outcome before the message explains it.
    state->Document.setModified(true);
    ui.Log.clear();
    ui.Answers = {Answer::Yes, Answer::Yes};
    writeWhile(*window, *state, ui, [&](int block) {
        if (block == 2)
            press(progressWindow(*window), Qt::Key_Escape);
    });
    EXPECT_EQ(ui.Status, QStringLiteral("The write was cancelled!"));
    ASSERT_GE(ui.Log.size(), 2);
    EXPECT_EQ(ui.Log.last().Kind, QStringLiteral("message"));
    EXPECT_EQ(ui.Log.at(ui.Log.size() - 2).Text, QStringLiteral("The write was cancelled!"));
    EXPECT_TRUE(state->Document.state().Modified);

    // A read stops at once, without a question.
    ui.Log.clear();
    ui.Answers = {Answer::No, Answer::No}; // the changed project is not saved first
    int blocks = 0;
    ui.DuringEvents = [&] {
        if (++blocks == 2)
            press(progressWindow(*window), Qt::Key_Escape);
    };
    window->ReadProjectFromInstrument();
    ui.DuringEvents = nullptr;
    EXPECT_EQ(asked(), (QStringList{QStringLiteral("Save now?"), QStringLiteral("Save now to ZRV10?")}));
    EXPECT_EQ(ui.Status, QStringLiteral("The read was cancelled!"));
}

} // namespace
