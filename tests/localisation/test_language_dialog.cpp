// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/test_dialogs_app.h"

#include "localisation/LanguageDialog.h"
#include "localisation/Utf16Files.h"
#include "commands/ApplicationState.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const auto* const application = ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

class LanguageDialogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TApplicationState state{dir.filePath(QStringLiteral("zrv10")), dir.path(), QLocale::c()};

    // A messages.ini with `count` languages, each named in its own script.
    void useLanguages(int count) {
        static const QStringList names = {QStringLiteral("English"), QStringLiteral("Čeština"),
                                          QStringLiteral("Ελληνικά"), QStringLiteral("Русский"),
                                          QStringLiteral("日本語")};
        QString ini = QStringLiteral("[Main]\nTotal=%1\n[Names]\n").arg(count);
        for (int i = 0; i < count; ++i)
            ini += QStringLiteral("%1=%2\n").arg(i).arg(i < names.size() ? names.at(i)
                                                                         : QStringLiteral("L%1").arg(i));
        const QString languageDir = dir.filePath(QStringLiteral("language"));
        ASSERT_TRUE(QDir().mkpath(languageDir));
        writeFile(languageDir + QStringLiteral("/messages.ini"), ini.toUtf8());
        state.Messages.LoadLanguageList();
        ASSERT_EQ(state.Messages.Languages().count(), std::min(count, TLanguageList::Capacity));
    }

    void setLanguage(int language) {
        state.Messages.SetCurrentLanguage(language);
        state.Settings.CurrentLanguage = language;
    }
};

QLabel* nameLabel(const TLanguageDialog& dialog, int row) {
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() == dialog.languageButton(row))
            return label;
    return nullptr;
}

TEST_F(LanguageDialogTest, SizeAndRowsFollowTheNumberOfLanguages) {
    for (const int count : {0, 1, 5, 25}) {
        SCOPED_TRACE(count);
        useLanguages(count);
        TLanguageDialog dialog(state.Messages);
        dialog.show();
        QApplication::processEvents();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Language"));
        EXPECT_EQ(dialog.size(), QSize(192, 20 * count + 60)) << "outer 200 x (20 x count + 90)";
        ASSERT_EQ(dialog.rowCount(), count);
        for (int i = 0; i < count; ++i) {
            QRadioButton* button = dialog.languageButton(i);
            EXPECT_EQ(QRect(button->mapTo(&dialog, QPoint()), button->size()), QRect(8, 20 * i + 8, 20, 20));
            QLabel* label = nameLabel(dialog, i);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->mapTo(&dialog, QPoint()), QPoint(28, 20 * i + 8));
            EXPECT_EQ(label->text(), state.Messages.Languages().at(i).name);
        }
        EXPECT_EQ(dialog.okButton()->geometry(), QRect(8, 20 * count + 20, 75, 25));
        EXPECT_EQ(dialog.cancelButton()->geometry(), QRect(75 + 16, 20 * count + 20, 75, 25));
        EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("Ok"));
        EXPECT_TRUE(dialog.okButton()->isDefault());
    }
}

TEST_F(LanguageDialogTest, MoreLanguagesThanRowsScrollInsteadOfGrowing) {
    useLanguages(40);
    setLanguage(33);
    TLanguageDialog dialog(state.Messages);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), QSize(192, 20 * 25 + 60));
    EXPECT_EQ(dialog.okButton()->pos(), QPoint(8, 20 * 25 + 20));
    ASSERT_EQ(dialog.rowCount(), 40);
    EXPECT_TRUE(dialog.rowArea()->verticalScrollBar()->isVisible());
    EXPECT_EQ(dialog.checkedLanguage(), 33);
    EXPECT_FALSE(dialog.languageButton(33)->visibleRegion().isEmpty()) << "the current language is in view";

    // The last language is reachable and can be chosen.
    dialog.rowArea()->ensureWidgetVisible(dialog.languageButton(39));
    QApplication::processEvents();
    EXPECT_FALSE(dialog.languageButton(39)->visibleRegion().isEmpty());
    QTest::mouseClick(dialog.languageButton(39), Qt::LeftButton);
    dialog.okButton()->click();
    EXPECT_TRUE(TakeLanguageChoice(dialog, state));
    EXPECT_EQ(state.Messages.CurrentLanguage(), 39);
}

TEST_F(LanguageDialogTest, CurrentLanguageIsCheckedWhenTheListHoldsIt) {
    useLanguages(5);
    const struct { int current, checked; } cases[] = {{0, 0}, {2, 2}, {4, 4}, {5, -1}, {-1, -1}, {250, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        setLanguage(c.current);
        TLanguageDialog dialog(state.Messages);
        EXPECT_EQ(dialog.checkedLanguage(), c.checked);
        for (int i = 0; i < dialog.rowCount(); ++i)
            EXPECT_EQ(dialog.languageButton(i)->isChecked(), i == c.checked);
    }
}

TEST_F(LanguageDialogTest, OkTakesTheCheckedLanguageCancelKeepsTheCurrentOne) {
    useLanguages(5);
    const struct {
        const char* name;
        int current;
        int click; // row to click, -1 for none
        bool confirm;
        bool taken;
        int after;
    } cases[] = {
        {"Ok on another language", 1, 3, true, true, 3},
        {"Ok on the current language", 2, -1, true, true, 2},
        {"Cancel after choosing", 1, 3, false, false, 1},
        {"Ok with a current language outside the list and nothing chosen", 7, -1, true, false, 7},
        {"Ok with a current language outside the list and one chosen", 7, 4, true, true, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setLanguage(c.current);
        TLanguageDialog dialog(state.Messages);
        dialog.show();
        if (c.click >= 0)
            QTest::mouseClick(dialog.languageButton(c.click), Qt::LeftButton);
        (c.confirm ? dialog.okButton() : dialog.cancelButton())->click();
        EXPECT_EQ(TakeLanguageChoice(dialog, state), c.taken);
        EXPECT_EQ(state.Messages.CurrentLanguage(), c.after);
        EXPECT_EQ(state.Settings.CurrentLanguage, c.after);
    }
}

TEST_F(LanguageDialogTest, ChooseLanguageRunsTheDialogWithKeyboardAndNameClicks) {
    useLanguages(5);
    setLanguage(0);
    // A click on a name chooses its row; the arrow keys move the choice; Return confirms.
    bool chosen = false;
    actInModal<TLanguageDialog>(
        [](TLanguageDialog& dialog) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            EXPECT_TRUE(dialog.languageButton(0)->hasFocus()) << "the checked row has the focus";
            QLabel* label = nameLabel(dialog, 2);
            ASSERT_NE(label, nullptr);
            QTest::mouseClick(label, Qt::LeftButton);
            EXPECT_EQ(dialog.checkedLanguage(), 2);
            QTest::keyClick(dialog.languageButton(2), Qt::Key_Down);
            EXPECT_EQ(dialog.checkedLanguage(), 3);
            QTest::keyClick(&dialog, Qt::Key_Return);
        },
        [&] {
            chosen = ChooseLanguage(state);
            return 0;
        });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(state.Messages.CurrentLanguage(), 3);

    actInModal<TLanguageDialog>(
        [](TLanguageDialog& dialog) {
            QTest::mouseClick(dialog.languageButton(1), Qt::LeftButton);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        },
        [&] {
            chosen = ChooseLanguage(state);
            return 0;
        });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(state.Messages.CurrentLanguage(), 3);
}

} // namespace
