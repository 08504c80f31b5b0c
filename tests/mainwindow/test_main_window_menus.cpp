#include "NoPause.h"
#include "OneValveCache.h"
#include "localisation/MenuAccelerators.h"
#include "mainwindow/ApplicationState.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/test_dialogs_app.h"
#include "model/Clock.h"
#include "ui/ScriptedUserInterface.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

class MainWindowMenus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("bin"));
        QDir(dir.path()).mkpath(QStringLiteral("cache"));
        state = std::make_unique<TApplicationState>(dir.filePath(QStringLiteral("bin/zrv10")),
                                                    dir.filePath(QStringLiteral("cache")), QLocale::c());
        WriteOneValveCache(state->CacheDir);
        window = std::make_unique<TMainF>(*state, ui, clock);
        window->setPause(noPause);
    }

    // The object names of a menu's items in order; "-" for a separator line.
    QStringList itemsOf(const char* menuName) const {
        QStringList names;
        const auto* menu = window->findChild<QMenu*>(QLatin1String(menuName));
        EXPECT_NE(menu, nullptr) << menuName;
        if (menu)
            for (const QAction* a : menu->actions())
                names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return names;
    }

    QAction* item(const QString& name) const {
        QAction* a = window->action(name);
        EXPECT_NE(a, nullptr) << name.toStdString();
        return a;
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TMainF> window;
};

TEST_F(MainWindowMenus, ItemsKeepTheirPlacesCaptionsAndKeys) {
    QStringList bar;
    for (const QAction* a : window->menuBar()->actions())
        bar << a->objectName();
    EXPECT_EQ(bar, QStringList({"mFile", "mEdit", "mPrint2", "mOptions"}));
    EXPECT_EQ(
        itemsOf("mFileMenu"),
        QStringList({"mPCProjects", "mNewPrj", "mOpenPrj", "mRecentProjects", "mSave", "mSaveAsPrj",
                     "mImportXLS", "mExportXLS2", "mProjects", "mOpenPrjFromDevice", "mSaveProjectToDevice",
                     "mRecords", "mOpenRec", "mOpenRecordFromDevice", "-", "mExit"}));
    EXPECT_EQ(itemsOf("mEditMenu"), QStringList({"mAddBranch", "mDeleteBranch", "mMoveBranchUp",
                                                 "mMoveBranchDown", "-", "mUndo", "mRedo"}));
    EXPECT_EQ(itemsOf("mPrint2Menu"),
              QStringList({"mSetupPrinter", "mSetupPage", "mPrint", "mBalancingReport"}));
    EXPECT_EQ(itemsOf("mOptionsMenu"), QStringList({"mUnits", "mLanguage", "mBalancingSummary"}));
    EXPECT_EQ(itemsOf("PopupMenu1"),
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
        EXPECT_EQ(item(QLatin1String(row.Name))->text(), QLatin1String(row.Designed));
        EXPECT_EQ(item(QLatin1String(row.Name))->shortcuts(), row.Keys);
    }
    for (const char* name :
         {"mPCProjects", "mProjects", "mRecords", "mSave", "mSaveProjectToDevice", "mUndo", "mRedo"})
        EXPECT_FALSE(item(QLatin1String(name))->isEnabled()) << name;
    EXPECT_FALSE(item(QStringLiteral("mSetupPrinter"))->isVisible());
    EXPECT_FALSE(item(QStringLiteral("mSetupPage"))->isVisible());
    EXPECT_EQ(item(QStringLiteral("mAddBranch2"))->shortcutContext(), Qt::WidgetWithChildrenShortcut);

    window->StartupSequence();
    for (const auto& row : rows)
        EXPECT_EQ(WithoutAccelerator(item(QLatin1String(row.Name))->text()), QLatin1String(row.Applied))
            << row.Name;
}

TEST_F(MainWindowMenus, NothingCanBeUsedWhileADeviceOperationRuns) {
    window->StartupSequence();
    state->Project->Header.Branch_Count = 3;
    state->Main.CurrentBranch = 1;
    state->Main.IsNewProject = false;
    const QList<QAction*> items = window->findChildren<QAction*>();
    auto enabledNames = [&] {
        QStringList names;
        for (const QAction* a : items)
            if (a->isEnabled() && !a->objectName().isEmpty() && !a->menu())
                names << a->objectName();
        return names;
    };
    window->UpdateWindowState();
    const QStringList before = enabledNames();
    EXPECT_TRUE(before.contains(QStringLiteral("mDeleteBranch2")));
    EXPECT_TRUE(before.contains(QStringLiteral("mOpenPrjFromDevice")));

    state->LinkGuard.Busy = true;
    window->UpdateWindowState();
    EXPECT_EQ(enabledNames(), QStringList());

    state->LinkGuard.Busy = false;
    window->UpdateWindowState();
    EXPECT_EQ(enabledNames(), before);
}

} // namespace
