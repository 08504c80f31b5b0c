// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileHistory.h"
#include "files/FileKind.h"
#include "commands/FolderMemoryUserInterface.h"
#include "commands/ScriptedUserInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FileHistory, RecentFilesKeepEightNewestEachOnce) {
    TRecentFiles recent;
    for (int i = 1; i <= 10; ++i)
        recent.add(QStringLiteral("/p/%1.proj").arg(i));
    recent.add(QStringLiteral("/p/7.proj"));
    recent.add(QStringLiteral("/p/x/../8.proj"));
    EXPECT_EQ(recent.paths(), (QStringList{"/p/8.proj", "/p/7.proj", "/p/10.proj", "/p/9.proj", "/p/6.proj",
                                           "/p/5.proj", "/p/4.proj", "/p/3.proj"}));
    recent.remove(QStringLiteral("/p/7.proj"));
    EXPECT_EQ(recent.paths().size(), 7);
    EXPECT_EQ(recent.paths().at(1), QStringLiteral("/p/10.proj"));
}

// The history survives a save and a load, beside the other settings and the user's own lines.
TEST(FileHistory, KeptInTheSettingsFileBesideItsOtherLines) {
    QTemporaryDir dir;
    const QString ini = QDir(dir.path()).filePath(QStringLiteral("zrv10.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; mine\r\n[Units]\r\nFlow=4\r\n[XLS]\r\ncol_valve=5\r\n");
    f.close();

    TFileHistory history;
    history.Projects.add(QStringLiteral("/home/ann/ a; b=c.proj"));
    history.Projects.add(QStringLiteral("/home/ann/Ölraum.proj"));
    history.Records.add(QStringLiteral("/r/one.r9q4"));
    history.Folders.insert(QStringLiteral("proj"), QStringLiteral("/home/ann"));
    ASSERT_TRUE(SaveFileHistory(ini, history, nullptr));
    EXPECT_EQ(LoadFileHistory(ini), history);

    // A shorter list leaves no stale entry behind.
    history.Projects.remove(QStringLiteral("/home/ann/ a; b=c.proj"));
    ASSERT_TRUE(SaveFileHistory(ini, history, nullptr));
    EXPECT_EQ(LoadFileHistory(ini), history);

    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("; mine\r\n[Units]\r\nFlow=4\r\n[XLS]\r\ncol_valve=5\r\n"));
    EXPECT_EQ(LoadFileHistory(QDir(dir.path()).filePath(QStringLiteral("none.ini"))), TFileHistory());
}

TEST(FileHistory, DialogsStartInTheLastFolderOfTheirKind) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("projects")));
    const QString projects = QDir(dir.path()).filePath(QStringLiteral("projects"));

    struct Inner final : IUserInterface {
        QList<TFileDialogOptions> Asked;
        QString Answer;
        void setStatus(const QString&) override {}
        void showMessage(const QString&, const QString&) override {}
        IUserInterface::Answer ask(const QString&, const QString&) override { return IUserInterface::Answer::No; }
        QString chooseFileToOpen(const TFileDialogOptions& o) override { Asked << o; return Answer; }
        QString chooseFileToSave(const TFileDialogOptions& o) override { Asked << o; return Answer; }
        std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return {}; }
        void processPendingEvents() override {}
    };
    auto owned = std::make_unique<Inner>();
    Inner& inner = *owned;
    TFileHistory history;
    int changes = 0;
    const QString home = dir.path();
    TFolderMemoryUserInterface ui(std::move(owned), history, [&] { ++changes; }, home);

    TFileDialogOptions project;
    project.DefaultExtension = QStringLiteral("proj");
    TFileDialogOptions record;
    record.Filter = QStringLiteral("Records (*.r9q4);;All Files (*)");

    // Nothing remembered yet: the dialog starts in the first folder (the user's home).
    inner.Answer = projects + QStringLiteral("/a.proj");
    EXPECT_EQ(ui.chooseFileToOpen(project), inner.Answer);
    EXPECT_EQ(inner.Asked.last().InitialPath, home);
    EXPECT_EQ(history.Folders.value(QStringLiteral("proj")), projects);
    EXPECT_EQ(changes, 1);

    // Same kind: the remembered folder; a proposed bare name goes into it; a full path wins.
    inner.Answer.clear();
    ui.chooseFileToOpen(project);
    EXPECT_EQ(inner.Asked.last().InitialPath, projects);
    project.InitialPath = QStringLiteral("Riser A.proj");
    ui.chooseFileToSave(project);
    EXPECT_EQ(inner.Asked.last().InitialPath, projects + QStringLiteral("/Riser A.proj"));
    project.InitialPath = QStringLiteral("/else/b.proj");
    ui.chooseFileToSave(project);
    EXPECT_EQ(inner.Asked.last().InitialPath, QStringLiteral("/else/b.proj"));
    // Another kind keeps its own folder; a cancelled dialog remembers nothing.
    ui.chooseFileToOpen(record);
    EXPECT_EQ(inner.Asked.last().InitialPath, home);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(FileDialogKind(record), QStringLiteral("r9q4"));
}

// The wrapper the window uses passes the questions on as asked: one whose Yes destroys something
// keeps No as its default.
TEST(FileHistory, TheFolderMemoryPassesQuestionsOnWithTheirDefault) {
    auto owned = std::make_unique<TScriptedUserInterface>();
    TScriptedUserInterface& inner = *owned;
    TFileHistory history;
    TFolderMemoryUserInterface ui(std::move(owned), history, [] {});
    ui.ask(QStringLiteral("c"), QStringLiteral("plain"));
    ui.askDefaultNo(QStringLiteral("c"), QStringLiteral("destructive"));
    ASSERT_EQ(inner.Log.size(), 2);
    EXPECT_FALSE(inner.Log[0].DefaultNo);
    EXPECT_TRUE(inner.Log[1].DefaultNo);
}

TEST(FileHistory, FileKindByExtension) {
    EXPECT_EQ(FileKindOf(QStringLiteral("/a/b.proj")), TFileKind::Project);
    EXPECT_EQ(FileKindOf(QStringLiteral("B.PROJ")), TFileKind::Project);
    EXPECT_EQ(FileKindOf(QStringLiteral("/a/r.R9Q4")), TFileKind::Record);
    EXPECT_EQ(FileKindOf(QStringLiteral("/a/book.xlsx")), TFileKind::Unknown);
    EXPECT_EQ(FileKindOf(QStringLiteral("/a.proj/x")), TFileKind::Unknown);
}
