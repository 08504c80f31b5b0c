// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoPause.h"
#include "OneValveCache.h"
#include "files/FileHistory.h"
#include "files/ProjectFile.h"
#include "files/RecordFile.h"
#include "localisation/LanguageDialog.h"
#include "commands/ApplicationState.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OpenFiles.h"
#include "mainwindow/TreeLines.h"
#include "mainwindow/test_dialogs_app.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "records/RecordsWindow.h"
#include "commands/ScriptedUserInterface.h"
#include "ui/WindowComforts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>

#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// A started main window with its records window, in a program folder of its own.
class MainWindowFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin")));
        state = std::make_unique<TApplicationState>(dir.filePath(QStringLiteral("bin/zrv10")), dir.path(),
                                                    QLocale::c());
        WriteOneValveCache(state->CacheDir);
        mainF = std::make_unique<TMainF>(*state, ui, clock);
        mainF->setPause(noPause);
        mainF->setExitFunction([](int) {});
        records = std::make_unique<TRecordsF>(*state, ui);
        mainF->setRecordsWindow(records.get());
        mainF->StartupSequence();
    }

    QString projectFile(const char* name) {
        auto project = std::make_unique<TProject>();
        EncodeInstrumentText(QStringLiteral("Riser A"), project->Header.Name, NameFieldSize, 0);
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(SaveProjectFile(path, *project));
        return path;
    }

    // Opens the submenu as the user does and answers its entries' texts.
    QStringList recentEntries(QWidget& window, const char* name) {
        QMenu* menu = window.findChild<QMenu*>(QLatin1String(name) + QStringLiteral("Menu"));
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return {};
        emit menu->aboutToShow();
        QStringList texts;
        for (const QAction* a : menu->actions())
            texts << a->text();
        return texts;
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TMainF> mainF;
    std::unique_ptr<TRecordsF> records;
};

// Every line of the project tree, as the user reads it.
QStringList treeLines(const QWidget& window) {
    QStringList lines;
    auto* tree = window.findChild<QTreeView*>(QStringLiteral("PrjTree"));
    EXPECT_NE(tree, nullptr);
    if (tree)
        lines = allLineTexts(tree);
    return lines;
}

// The language dialog as the user answers it: a row, then Ok.
void chooseLanguage(TMainF& window, int language) {
    actInModal<TLanguageDialog>(
        [language](TLanguageDialog& dialog) {
            dialog.languageButton(language)->click();
            dialog.okButton()->click();
        },
        [&] {
            window.ChooseLanguage();
            return 0;
        });
}

// Names keep their text whatever the interface language: the tree shows them, the save writes them.
TEST_F(MainWindowFilesTest, CzechNamesSurviveAnEnglishInterfaceAndLanguageChanges) {
    const QString czech = QStringLiteral(ZRV_FIXTURES "/files/czech.proj");
    mainF->OpenProjectPath(czech);
    const QStringList names{QStringLiteral("Škola Čechy"), QStringLiteral("Kotelna Žižkov"),
                            QStringLiteral("Přípojka ů")};
    auto showsEveryName = [&] {
        const QString tree = treeLines(*mainF).join(u'\n');
        for (const QString& name : names)
            EXPECT_TRUE(tree.contains(name)) << tree.toStdString();
    };
    showsEveryName();
    for (const int language : {1, 0, 4, 0}) {
        SCOPED_TRACE(language);
        chooseLanguage(*mainF, language);
        ASSERT_EQ(state->Messages.CurrentLanguage(), language);
        showsEveryName();
    }
    EXPECT_EQ(state->codePage(), 3) << "English: the Latin table is in force again";
    for (const auto& shown : ui.Log)
        EXPECT_NE(shown.Kind, QStringLiteral("ask")) << "nothing to warn about: " << shown.Text.toStdString();

    const QString saved = dir.filePath(QStringLiteral("saved.proj"));
    ui.FilesToSave = {saved};
    mainF->SaveProjectAs();
    QFile original(czech);
    QFile written(saved);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), original.readAll());
}

TEST_F(MainWindowFilesTest, FilesGivenOrDroppedOpenByTheirKind) {
    const QString project = projectFile("riser.proj");
    const QString record = dir.filePath(QStringLiteral("one.r9q4"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/records/small.r9q4"), record));
    QStringList unknown;
    const TFileOpeners openers{[this](const QString& p) { mainF->OpenProjectPath(p); },
                               [this](const QString& p) { mainF->OpenRecordPath(p); },
                               [&](const QString& p) { unknown << p; }};
    OpenFiles({project, dir.filePath(QStringLiteral("book.xlsx")), record, projectFile("second.proj")}, openers);

    EXPECT_EQ(state->Document.state().ProjectFileName, project);
    EXPECT_FALSE(state->Document.state().IsNewProject);
    EXPECT_TRUE(records->isVisible());
    EXPECT_EQ(state->Records.CurrentHeader.Description, QStringLiteral("Riser 1"));
    EXPECT_EQ(unknown, QStringList{dir.filePath(QStringLiteral("book.xlsx"))});
    // Both lists remember their file, in the settings file at once.
    const TFileHistory saved = LoadFileHistory(state->SettingsPath);
    EXPECT_EQ(saved.Projects.paths(), QStringList{project});
    EXPECT_EQ(saved.Records.paths(), QStringList{record});
    records->hide();
}

// The program makes its records window when a record command first needs it.
TEST_F(MainWindowFilesTest, ARecordsWindowMadeOnFirstUseShowsTheRecordOpened) {
    const QString record = dir.filePath(QStringLiteral("one.r9q4"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_FIXTURES "/records/small.r9q4"), record));
    std::unique_ptr<TRecordsF> made;
    int makes = 0;
    mainF->setRecordsWindow(nullptr);
    mainF->setRecordsWindowMaker([&] {
        ++makes;
        made = std::make_unique<TRecordsF>(*state, ui);
        return made.get();
    });
    EXPECT_EQ(makes, 0);

    mainF->OpenRecordPath(record);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isVisible());
    EXPECT_EQ(state->Records.CurrentHeader.Description, QStringLiteral("Riser 1"));
    made->hide();
    mainF->OpenRecordPath(record);
    EXPECT_EQ(makes, 1);
    EXPECT_TRUE(made->isVisible());
    made->hide();
}

// A file dragged from the file manager is taken and opened once the drop has ended.
TEST_F(MainWindowFilesTest, AFileDroppedOnTheWindowOpens) {
    const QString project = projectFile("dropped.proj");
    QStringList opened;
    new TFileDropFilter(*mainF, TFileOpeners{[&](const QString& p) { opened << p; }, {}, {}});
    EXPECT_TRUE(mainF->acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(project)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(mainF.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    QCoreApplication::sendEvent(mainF.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(opened.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, QStringList{project});

    // Text without files is left to the widgets.
    QMimeData text;
    text.setText(QStringLiteral("Riser"));
    QDragEnterEvent other(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    other.setAccepted(false);
    QCoreApplication::sendEvent(mainF.get(), &other);
    EXPECT_FALSE(other.isAccepted());
}

TEST_F(MainWindowFilesTest, AFailedOpenShowsItsErrorAsTheMenuCommandDoes) {
    const QString missing = dir.filePath(QStringLiteral("gone.proj"));
    ui.Log.clear();
    mainF->OpenProjectPath(missing);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(state->Document.state().IsNewProject);
    EXPECT_TRUE(state->History.Projects.paths().isEmpty());
}

TEST_F(MainWindowFilesTest, RecentProjectsOpenAndDropMissingFilesWithAMessage) {
    const QString first = projectFile("first.proj");
    const QString second = projectFile("second.proj");
    EXPECT_EQ(recentEntries(*mainF, "mRecentProjects"), QStringList{"&No recent files"});
    mainF->OpenProjectPath(first);
    mainF->OpenProjectPath(second);
    const QStringList entries = recentEntries(*mainF, "mRecentProjects");
    ASSERT_EQ(entries.size(), 2);
    EXPECT_TRUE(entries.at(0).startsWith(QStringLiteral("&1 second.proj"))) << qPrintable(entries.at(0));
    EXPECT_TRUE(entries.at(1).startsWith(QStringLiteral("&2 first.proj")));

    // The second entry opens its project.
    QMenu* menu = mainF->findChild<QMenu*>(QStringLiteral("mRecentProjectsMenu"));
    menu->actions().at(1)->trigger();
    EXPECT_EQ(state->Document.state().ProjectFileName, first);

    // A file gone since is dropped from the list, with a message, and nothing else changes.
    ASSERT_TRUE(QFile::remove(second));
    recentEntries(*mainF, "mRecentProjects");
    ui.Log.clear();
    menu->actions().at(1)->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().first().endsWith(second));
    EXPECT_EQ(state->Document.state().ProjectFileName, first);
    EXPECT_EQ(LoadFileHistory(state->SettingsPath).Projects.paths(), QStringList{first});
}

TEST_F(MainWindowFilesTest, RecordsWindowClosesByKeyAndOpensCentredOverTheMainWindow) {
    QAction* close = records->action(QStringLiteral("mClose"));
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->shortcuts().contains(QKeySequence(Qt::Key_Escape)));
    EXPECT_TRUE(close->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)));

    // The main window fills the screen: the records window, smaller, fits centred over it without the
    // screen's edges moving it.
    mainF->setGeometry(mainF->screen()->availableGeometry());
    mainF->show();
    records->setCentredOver(mainF.get());
    records->resize(300, 200);
    records->show();
    EXPECT_LE((records->frameGeometry().center() - mainF->frameGeometry().center()).manhattanLength(), 2);
    close->trigger();
    EXPECT_FALSE(records->isVisible());
}

} // namespace
