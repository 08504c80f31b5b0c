// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoPause.h"
#include "OneValveCache.h"
#include "link/Pause.h"
#include "localisation/InstrumentCodePage.h"
#include "localisation/MenuAccelerators.h"
#include "commands/ApplicationState.h"
#include "mainwindow/CommissioningDialog.h"
#include "mainwindow/ComparisonCommands.h"
#include "mainwindow/ComparisonWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectEditor.h"
#include "mainwindow/ProjectPage.h"
#include "mainwindow/UnitDialog.h"
#include "mainwindow/test_dialogs_app.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "printing/PrintPreview.h"
#include "records/RecordOpenDialog.h"
#include "records/RecordsWindow.h"
#include "commands/ScriptedUserInterface.h"
#include "Utf16Files.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// Texts the user sees that no shipped language may leave in English.
const std::pair<QString, QString> MainWindowControls[] = {
    {u"mFile"_s, u"File"_s}, {u"mEdit"_s, u"Edit"_s}, {u"mOptions"_s, u"Options"_s},
    {u"mNewPrj"_s, u"New"_s}, {u"mAddBranch"_s, u"Add branch"_s}, {u"mOpenPrj"_s, u"Open..."_s}};

// The program folder with the shipped language folder beside the executable.
class WindowLanguagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir root(dir.path());
        ASSERT_TRUE(root.mkpath(u"bin/language"_s) && root.mkpath(u"cache"_s));
        const QDir shipped(QStringLiteral(ZRV_LANGUAGE_DIR));
        for (const QString& name : shipped.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), root.filePath(u"bin/language/"_s + name)));
        state = std::make_unique<TApplicationState>(root.filePath(u"bin/zrv10"_s), root.filePath(u"cache"_s),
                                                    QLocale::c());
        WriteOneValveCache(state->CacheDir);
    }

    TMainF& startIn(int language) {
        writeFile(state->SettingsPath, "[Options]\nLanguage=" + QByteArray::number(language) + "\n");
        mainF = std::make_unique<TMainF>(*state, ui, clock);
        mainF->setPause(noPause);
        mainF->setExitFunction([](int) {});
        mainF->StartupSequence();
        return *mainF;
    }

    void switchTo(int language) {
        state->Messages.SetCurrentLanguage(language);
        mainF->ApplyMainWindowTexts();
        mainF->editor().RefreshAfterLanguage();
    }

    // The language's own text for an English one, read from its file by a catalogue of its own.
    QString expected(int language, const QString& english) const {
        TMessageCatalogue reference(dir.filePath(u"bin/language/"_s), QLocale::c());
        reference.LoadLanguageList();
        reference.SetCurrentLanguage(language);
        reference.LoadLanguage();
        return reference.Translate(english);
    }

    // The texts the current language lacked while the windows were shown.
    QString missedTexts() const { return readUtf16Text(state->Messages.TodoPath()); }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TMainF> mainF;
};

// Every label, button and tab of a shown window is wide enough for its text.
void expectTextsFit(QWidget& window, const QString& language) {
    QApplication::processEvents();
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->wordWrap() || label->text().isEmpty() ||
            label->textFormat() == Qt::RichText || !label->pixmap().isNull())
            continue;
        // A caption with a buddy draws its Alt key's marker as an underline.
        const QString shown = label->buddy() ? WithoutAccelerator(label->text()) : label->text();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width())
            << qPrintable(language) << ": label " << qPrintable(label->objectName()) << " \""
            << qPrintable(label->text()) << "\" in " << qPrintable(window.objectName());
    }
    // A push button draws its text with a few pixels of frame either side.
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(&window) || button->text().isEmpty())
            continue;
        EXPECT_LE(button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&')) + 6, button->width())
            << qPrintable(language) << ": button \"" << qPrintable(button->text()) << "\" in "
            << qPrintable(window.objectName());
    }
    for (QHeaderView* header : window.findChildren<QHeaderView*>()) {
        if (!header->isVisibleTo(&window))
            continue;
        for (int i = 0; i < header->count(); ++i)
            EXPECT_LE(header->sectionSizeHint(i), header->sectionSize(i))
                << qPrintable(language) << ": column heading \""
                << qPrintable(header->model()->headerData(i, header->orientation()).toString()) << "\"";
    }
    for (QTabBar* tabs : window.findChildren<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabVisible(i))
                EXPECT_LE(tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)), tabs->tabRect(i).width())
                << qPrintable(language) << ": tab \"" << qPrintable(tabs->tabText(i)) << "\"";
    }
}

void activate(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST_F(WindowLanguagesTest, EveryWindowShowsEachShippedLanguageAndItsTextsFit) {
    TMainF& w = startIn(0);
    w.show();
    // The longest unit names, so that the table's headings are as wide as they get.
    state->Units.FlowUnit = 1;      // m3/min
    state->Units.PressureUnit = 10; // mmHg
    TRecordsF records(*state, ui);
    state->Records.CurrentHeader.Description = u"Riser 1"_s;
    state->Records.CurrentHeader.Medium_Index = 1;
    TTiskF preview(state->Messages);
    TRecordOpenF recordList(state->Messages);

    const int languages = state->Messages.Languages().count();
    ASSERT_EQ(languages, 6);
    for (int language = 1; language < languages; ++language) {
        const QString name = state->Messages.Languages().at(language).name;
        SCOPED_TRACE(qPrintable(name));
        switchTo(language);
        for (const auto& [control, english] : MainWindowControls)
            EXPECT_NE(WithoutAccelerator(w.action(control)->text()), english) << qPrintable(control);
        EXPECT_EQ(WithoutAccelerator(w.action(u"mFile"_s)->text()), expected(language, u"File"_s));
        EXPECT_EQ(WithoutAccelerator(w.action(u"mLanguage"_s)->text()), expected(language, u"Language"_s) + u"..."_s);
        EXPECT_EQ(w.windowTitle(), u"ZRV 10 User Software - "_s + expected(language, u"New project"_s));
        // A branch, so that the branch page with its value captions and hints is shown once.
        w.editor().AddBranch();
        w.editor().EndBranchEdit();
        expectTextsFit(w, name);

        records.ShowCurrentRecord();
        records.FillTableAndCharts();
        activate(records);
        EXPECT_EQ(records.windowTitle(), expected(language, u"Records"_s));
        EXPECT_EQ(records.pages()->tabText(0), expected(language, u"Table of records"_s));
        EXPECT_NE(records.pages()->tabText(0), u"Table of records"_s);
        EXPECT_EQ(WithoutAccelerator(records.action(u"mClose"_s)->text()), expected(language, u"Close"_s));
        for (int page = 0; page < records.pages()->count(); ++page) {
            records.pages()->setCurrentIndex(page);
            expectTextsFit(records, name);
        }
        records.hide();

        TFUnitSel& units = w.unitDialog();
        activate(units);
        EXPECT_EQ(units.windowTitle(), expected(language, u"Unit selection"_s));
        expectTextsFit(units, name);
        units.hide();
        activate(preview);
        EXPECT_EQ(preview.windowTitle(), expected(language, u"Print preview"_s));
        expectTextsFit(preview, name);
        preview.hide();
        recordList.ApplyDialogTexts();
        recordList.show();
        EXPECT_EQ(recordList.windowTitle(), expected(language, u"Open record from device"_s));
        expectTextsFit(recordList, name);
        recordList.hide();

        EXPECT_EQ(missedTexts().toStdString(), "") << "shown but not in the language file";
    }
}

// Every title of the bar and every item of each menu has an accelerator, unique where it must be.
void expectAccelerators(const QList<QAction*>& actions, const QString& where) {
    QSet<QChar> seen;
    for (const QAction* a : actions) {
        if (a->isSeparator() || a->text().startsWith(u'-') || a->text().isEmpty())
            continue;
        const QChar key = AcceleratorOf(a->text());
        EXPECT_FALSE(key.isNull()) << qPrintable(where) << ": no accelerator in \"" << qPrintable(a->text()) << '"';
        EXPECT_FALSE(seen.contains(key)) << qPrintable(where) << ": \"" << qPrintable(a->text()) << "\" repeats one";
        seen.insert(key);
        if (a->menu()) {
            // A submenu filled when it opens: show its entries once.
            emit a->menu()->aboutToShow();
            expectAccelerators(a->menu()->actions(), where + u" > "_s + WithoutAccelerator(a->text()));
        }
    }
}

TEST_F(WindowLanguagesTest, EveryMenuHasUniqueAcceleratorsInEachShippedLanguage) {
    TMainF& w = startIn(0);
    TRecordsF records(*state, ui);
    const int languages = state->Messages.Languages().count();
    for (int language = 0; language < languages; ++language) {
        const QString name = language == 0 ? u"English"_s : state->Messages.Languages().at(language).name;
        switchTo(language);
        records.ApplyRecordsWindowTexts();
        expectAccelerators(w.menuBar()->actions(), name + u": main window"_s);
        expectAccelerators(w.findChild<QMenu*>(u"PopupMenu1"_s)->actions(), name + u": tree pop-up"_s);
        expectAccelerators(records.menuBar()->actions(), name + u": records window"_s);
    }
}

// The commissioning item sits so low in the File menu that every item above it keeps the Alt key
// it had without it, and its dialog shows each language's texts in full.
TEST_F(WindowLanguagesTest, TheCommissioningDetailsLeaveTheMenusAltKeysAndFitEachLanguage) {
    TMainF& w = startIn(0);
    const int languages = state->Messages.Languages().count();
    for (int language = 0; language < languages; ++language) {
        const QString name = language == 0 ? u"English"_s : state->Messages.Languages().at(language).name;
        SCOPED_TRACE(qPrintable(name));
        switchTo(language);
        QList<QAction*> designed;
        QStringList plain;
        for (QAction* a : w.findChild<QMenu*>(u"mFileMenu"_s)->actions()) {
            if (a->objectName() == u"mCommissioningDetails"_s)
                break;
            if (a->isSeparator() || a->text().startsWith(u'-') || a->text().isEmpty())
                continue;
            designed << a;
            plain << WithoutAccelerator(a->text());
        }
        const QStringList alone = AssignAccelerators(plain);
        for (qsizetype i = 0; i < designed.size(); ++i)
            EXPECT_EQ(designed.at(i)->text(), alone.at(i));

        TCommissioningDialog dialog(state->Messages, ui, state->Units, 10, &w);
        activate(dialog);
        EXPECT_EQ(dialog.windowTitle(), expected(language, u"Commissioning details"_s));
        expectTextsFit(dialog, name);
        dialog.hide();
    }
    EXPECT_EQ(missedTexts().toStdString(), "") << "shown but not in the language file";
}

// The comparison's item takes its Alt key from what the File menu leaves free: every other item keeps
// the one it had without it. Its window shows each language's texts.
TEST_F(WindowLanguagesTest, TheComparisonLeavesTheFileMenusAltKeysAndShowsEachLanguage) {
    TMainF& w = startIn(0);
    w.OpenProjectPath(QStringLiteral(ZRV_FIXTURES "/files/recheck.proj"));
    const int languages = state->Messages.Languages().count();
    for (int language = 0; language < languages; ++language) {
        const QString name = language == 0 ? u"English"_s : state->Messages.Languages().at(language).name;
        SCOPED_TRACE(qPrintable(name));
        switchTo(language);
        QList<QAction*> others;
        QStringList plain;
        for (QAction* a : w.findChild<QMenu*>(u"mFileMenu"_s)->actions()) {
            if (a->isSeparator() || a->text().startsWith(u'-') || a->text().isEmpty() ||
                a->objectName() == u"mCompareWithProject"_s)
                continue;
            others << a;
            plain << WithoutAccelerator(a->text());
        }
        const QStringList alone = AssignAccelerators(plain);
        for (qsizetype i = 0; i < others.size(); ++i)
            EXPECT_EQ(others.at(i)->text(), alone.at(i)) << qPrintable(alone.join(u" | "_s));
        EXPECT_EQ(WithoutAccelerator(w.action(u"mCompareWithProject"_s)->text()),
                  expected(language, u"Compare with project"_s) + u"..."_s);

        ui.FilesToOpen << QStringLiteral(ZRV_FIXTURES "/files/handover.proj");
        w.action(u"mCompareWithProject"_s)->trigger();
        TComparisonWindow* comparison = w.comparison().window();
        ASSERT_NE(comparison, nullptr);
        activate(*comparison);
        EXPECT_TRUE(comparison->windowTitle().startsWith(expected(language, u"Project comparison"_s)));
        comparison->hide();
    }
    EXPECT_EQ(missedTexts().toStdString(), "") << "shown but not in the language file";
}

void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

struct TypedName {
    int language;
    const char16_t* typed;
    std::vector<std::uint8_t> stored; // the instrument's bytes
    const char16_t* readBack;
};

// A project name typed in Czech, Polish or Russian is stored in that language's character table of
// the instrument. Table D stores its listed Polish letters as plain Latin ones, and Latin-1 letters
// such as "ó" as themselves.
TEST_F(WindowLanguagesTest, ProjectNamesAreStoredInTheTableOfTheLanguage) {
    const TypedName cases[] = {
        {1, u"Kotelna \u0158\u00ED\u010Dany", {'K', 'o', 't', 'e', 'l', 'n', 'a', ' ', 216, 237, 232, 'a', 'n', 'y'},
         u"Kotelna \u0158\u00ED\u010Dany"},
        {4, u"\u017Bywiec \u0118\u00F3", {'Z', 'y', 'w', 'i', 'e', 'c', ' ', 'E', 243}, u"Zywiec E\u00F3"},
        {5, u"\u041A\u043E\u0442\u0435\u043B\u044C\u043D\u0430\u044F 2",
         {202, 238, 242, 229, 235, 252, 237, 224, 255, ' ', '2'},
         u"\u041A\u043E\u0442\u0435\u043B\u044C\u043D\u0430\u044F 2"},
    };
    for (const TypedName& c : cases) {
        SCOPED_TRACE(c.language);
        TMainF& w = startIn(c.language);
        EXPECT_EQ(state->codePage(), InstrumentCodePageFor(c.language, -1));
        auto* page = qobject_cast<TProjectPage*>(w.editor().pages()->widget(0));
        ASSERT_NE(page, nullptr);
        w.editor().ShowProjectPage();
        page->Name->setFocus();
        page->Name->selectAll();
        typeText(page->Name, QString::fromUtf16(c.typed));
        QTest::keyClick(page->Name, Qt::Key_Return);
        ASSERT_FALSE(w.editor().ProjectEditPending());

        const auto* name = reinterpret_cast<const std::uint8_t*>(state->Document.project().Header.Name);
        std::vector<std::uint8_t> bytes(name, name + 16);
        std::vector<std::uint8_t> stored = c.stored;
        stored.resize(16, 0);
        EXPECT_EQ(bytes, stored);
        EXPECT_EQ(DecodeInstrumentText(state->Document.project().Header.Name, 16, state->codePage()),
                  QString::fromUtf16(c.readBack));
        w.editor().ShowProjectPage();
        EXPECT_EQ(page->Name->text(), QString::fromUtf16(c.readBack));
    }
}

} // namespace
