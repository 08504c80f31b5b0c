// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/test_dialogs_app.h"

#include "localisation/Utf16Files.h"
#include "commands/ApplicationState.h"
#include "mainwindow/UnitDialog.h"
#include "model/Units.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const auto* const application = ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

class UnitDialogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TApplicationState state{dir.filePath(QStringLiteral("zrv10")), dir.path(), QLocale::c()};
    TFUnitSel dialog{state.Messages};

    // Opens the dialog through the units command and acts in it as the user.
    bool runCommand(const std::function<void(TFUnitSel&)>& act) {
        bool result = false;
        actInModal<TFUnitSel>(act, [&] {
            result = RunUnitsCommand(dialog, state);
            return 0;
        });
        return result;
    }
};

TEST_F(UnitDialogTest, ControlsSitAtTheirDesignedPlacesWithTheUnitLists) {
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), QSize(312, 149));
    EXPECT_EQ(dialog.flowCaption()->pos(), QPoint(8, 8));
    EXPECT_EQ(dialog.pressureCaption()->pos(), QPoint(159, 8));
    EXPECT_EQ(dialog.flowList()->geometry(), QRect(8, 29, 145, 23));
    EXPECT_EQ(dialog.pressureList()->geometry(), QRect(159, 29, 145, 23));
    EXPECT_EQ(dialog.cancelButton()->geometry(), QRect(101, 112, 95, 28));
    EXPECT_EQ(dialog.okButton()->geometry(), QRect(207, 112, 97, 28));
    EXPECT_TRUE(dialog.okButton()->isDefault());
    EXPECT_EQ(dialog.font().pixelSize(), 12);
    EXPECT_TRUE(dialog.font().bold());

    ASSERT_EQ(dialog.flowList()->count(), FlowUnitCount);
    ASSERT_EQ(dialog.pressureList()->count(), PressureUnitCount);
    for (int unit = 0; unit < FlowUnitCount; ++unit)
        EXPECT_EQ(dialog.flowList()->itemText(unit), FlowUnitListName(unit));
    for (int unit = 0; unit < PressureUnitCount; ++unit)
        EXPECT_EQ(dialog.pressureList()->itemText(unit), PressureUnitName(unit));
    EXPECT_EQ(dialog.flowList()->itemText(7), QStringLiteral("gal/min"));
    dialog.hide();
}

TEST_F(UnitDialogTest, OkWithoutTouchingTheListsKeepsTheUnits) {
    // The second row: units from an edited settings file that no list holds.
    const struct {
        int32_t flow, pressure;
        int shownFlow, shownPressure;
    } cases[] = {{3, 5, 3, 5}, {FlowUnitCount, -1, -1, -1}};
    for (const auto& c : cases) {
        state.Units.FlowUnit = c.flow;
        state.Units.PressureUnit = c.pressure;
        const bool confirmed = runCommand([&](TFUnitSel& shown) {
            EXPECT_EQ(shown.flowList()->currentIndex(), c.shownFlow);
            EXPECT_EQ(shown.pressureList()->currentIndex(), c.shownPressure);
            shown.okButton()->click();
        });
        EXPECT_TRUE(confirmed) << "the caller redraws after every OK";
        EXPECT_EQ(state.Units.FlowUnit, c.flow);
        EXPECT_EQ(state.Units.PressureUnit, c.pressure);
    }
}

TEST_F(UnitDialogTest, CancelKeepsTheOldUnitsAndReopeningShowsThem) {
    state.Units.FlowUnit = 5;
    state.Units.PressureUnit = 2;
    state.Settings.FlowUnit = 5;
    state.Settings.PressureUnit = 2;
    EXPECT_FALSE(runCommand([](TFUnitSel& shown) {
        shown.flowList()->setCurrentIndex(0);
        shown.pressureList()->setCurrentIndex(10);
        shown.cancelButton()->click();
    }));
    EXPECT_EQ(state.Units.FlowUnit, 5);
    EXPECT_EQ(state.Units.PressureUnit, 2);
    EXPECT_EQ(state.Settings.FlowUnit, 5);
    EXPECT_EQ(state.Settings.PressureUnit, 2);

    // Reopened, the lists show the units in force; a choice confirmed with OK becomes them, also for
    // the settings saved at close.
    EXPECT_TRUE(runCommand([](TFUnitSel& shown) {
        EXPECT_EQ(shown.flowList()->currentIndex(), 5);
        EXPECT_EQ(shown.pressureList()->currentIndex(), 2);
        QTest::keyClick(shown.flowList(), Qt::Key_Down);
        shown.pressureList()->setCurrentIndex(10);
        QTest::keyClick(&shown, Qt::Key_Return);
    }));
    EXPECT_EQ(state.Units.FlowUnit, 6);
    EXPECT_EQ(state.Units.PressureUnit, 10);
    EXPECT_EQ(state.Settings.FlowUnit, 6);
    EXPECT_EQ(state.Settings.PressureUnit, 10);
    EXPECT_EQ(state.Units.FlowUnitName(), FlowUnitName(6));
}

TEST_F(UnitDialogTest, TakesTheCurrentLanguageWhenActivated) {
    const QString languageDir = dir.filePath(QStringLiteral("language"));
    ASSERT_TRUE(QDir().mkpath(languageDir));
    writeFile(languageDir + QStringLiteral("/messages.ini"),
              "[Main]\nTotal=2\n[Names]\n0=English\n1=Deutsch\n[Files]\n0=messages_uk.txt\n1=de.txt\n");
    writeFile(languageDir + QStringLiteral("/de.txt"),
              utf16Le(QStringLiteral("Unit selection;\tEinheiten\r\nFlow;\tDurchfluss\r\n"
                                     "Pressure;\tDruck\r\nCancel;\tAbbrechen\r\n")));
    writeFile(languageDir + QStringLiteral("/messages_uk.txt"), utf16Le(QString()));
    state.Messages.LoadLanguageList();

    QWidget other;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Unit selection"));
    EXPECT_EQ(dialog.flowCaption()->text(), QStringLiteral("Flow"));

    // The language changes while another window is active; the dialog follows when it is activated.
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    state.Messages.SetCurrentLanguage(1);
    ASSERT_TRUE(state.Messages.LoadLanguage());
    EXPECT_EQ(dialog.pressureCaption()->text(), QStringLiteral("Pressure"));
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Einheiten"));
    EXPECT_EQ(dialog.flowCaption()->text(), QStringLiteral("Durchfluss"));
    EXPECT_EQ(dialog.pressureCaption()->text(), QStringLiteral("Druck"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(dialog.flowList()->itemText(5), QStringLiteral("l/h")) << "unit names stay as they are";
    dialog.hide();
}

} // namespace
