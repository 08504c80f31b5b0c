#include "records/RecordOpenDialog.h"

#include "mainwindow/test_dialogs_app.h"
#include "records/FixedTranslator.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <optional>

namespace {

const auto* const application = ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

const QStringList Captions = {"Riser 1", "Boiler room 12", "Class 2.01"};

QListWidget* listOf(TRecordOpenF& d) {
    return d.findChild<QListWidget*>(QStringLiteral("RecordListView"));
}
QPushButton* okOf(TRecordOpenF& d) {
    return d.findChild<QPushButton*>(QStringLiteral("diaOk"));
}
QPushButton* cancelOf(TRecordOpenF& d) {
    return d.findChild<QPushButton*>(QStringLiteral("diaCancel"));
}

QPoint centreOfItem(TRecordOpenF& d, int row) {
    QListWidget* list = listOf(d);
    return list->visualItemRect(list->item(row)).center();
}

// Where no item lies: the bottom right corner of a list of three.
QPoint emptySpot(TRecordOpenF& d) {
    return listOf(d)->viewport()->rect().bottomRight() - QPoint(4, 4);
}

// As the window system delivers a double click: a click, then the second press as a double click.
void doubleClick(TRecordOpenF& d, QPoint pos) {
    QTest::mouseClick(listOf(d)->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(listOf(d)->viewport(), Qt::LeftButton, {}, pos);
}

class RecordOpenDialogTest : public ::testing::Test {
protected:
    TFixedTranslator translator{{{"Open record from device", "Záznam z přístroje"},
                                 {"Select record to open", "Vyberte záznam"},
                                 {"Ok", "Dobře"},
                                 {"Cancel", "Zrušit"}}};
    TRecordOpenF dialog{translator};

    std::optional<int> choose(const std::function<void(TRecordOpenF&)>& act,
                              const QStringList& captions = Captions) {
        std::optional<int> result;
        actInModal<TRecordOpenF>(act, [&] {
            result = dialog.choose(captions);
            return 0;
        });
        return result;
    }
};

TEST_F(RecordOpenDialogTest, ListsTheCaptionsInTheLanguageOfTheMomentItIsShown) {
    const std::optional<int> chosen = choose([](TRecordOpenF& d) {
        EXPECT_EQ(d.size(), QSize(442, 229));
        EXPECT_EQ(d.minimumSize(), d.maximumSize());
        QListWidget* list = listOf(d);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->geometry(), QRect(0, 0, 442, 173));
        EXPECT_EQ(list->viewMode(), QListView::IconMode);
        EXPECT_EQ(list->iconSize(), QSize(32, 32));
        ASSERT_EQ(list->count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(list->item(i)->text(), Captions[i]);
            EXPECT_FALSE(list->item(i)->icon().isNull());
            // Shown whole, not cut to the width of the shortest caption.
            EXPECT_GE(list->visualItemRect(list->item(i)).width(),
                      list->fontMetrics().horizontalAdvance(Captions[i]))
                << i;
        }
        auto* label = d.findChild<QLabel*>(QStringLiteral("diaLabel"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QStringLiteral("Vyberte záznam"));
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(218, 227, 250));
        EXPECT_TRUE(label->autoFillBackground());
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Záznam z přístroje"));
        EXPECT_EQ(okOf(d)->text(), QStringLiteral("Dobře"));
        EXPECT_EQ(cancelOf(d)->text(), QStringLiteral("Zrušit"));
        // Cancel left of Ok, both at the bottom right under the label.
        EXPECT_EQ(cancelOf(d)->y(), okOf(d)->y());
        EXPECT_LT(cancelOf(d)->geometry().right(), okOf(d)->x());
        EXPECT_GT(okOf(d)->geometry().right(), 442 - 20);
        EXPECT_GE(okOf(d)->y(), label->geometry().bottom());
        EXPECT_LE(okOf(d)->geometry().bottom(), 228);
        cancelOf(d)->click();
    });
    EXPECT_EQ(chosen, std::nullopt);
}

TEST_F(RecordOpenDialogTest, OkNeedsAChoiceAndAnswersIt) {
    const struct {
        const char* what;
        std::function<void(TRecordOpenF&)> act;
        std::optional<int> chosen;
    } cases[] = {
        {"Ok after a click on an item",
         [](TRecordOpenF& d) {
             QTest::mouseClick(listOf(d)->viewport(), Qt::LeftButton, {}, centreOfItem(d, 2));
             EXPECT_EQ(d.chosenIndex(), 2);
             ASSERT_TRUE(okOf(d)->isEnabled());
             okOf(d)->click();
         },
         2},
        {"double click on an item", [](TRecordOpenF& d) { doubleClick(d, centreOfItem(d, 1)); }, 1},
        {"double click where no item is, then Escape",
         [](TRecordOpenF& d) {
             doubleClick(d, emptySpot(d));
             EXPECT_TRUE(d.isVisible());
             EXPECT_EQ(d.chosenIndex(), -1);
             QTest::keyClick(listOf(d), Qt::Key_Escape);
         },
         std::nullopt},
        {"Cancel after a selection",
         [](TRecordOpenF& d) {
             listOf(d)->setCurrentRow(1);
             EXPECT_EQ(d.chosenIndex(), 1);
             cancelOf(d)->click();
         },
         std::nullopt},
        {"Return while nothing is chosen, then arrows and Return",
         [](TRecordOpenF& d) {
             QListWidget* list = listOf(d);
             QTest::keyClick(list, Qt::Key_Return);
             EXPECT_TRUE(d.isVisible());
             // The first arrow selects the first item instead of jumping past it.
             QTest::keyClick(list, Qt::Key_Right);
             EXPECT_EQ(d.chosenIndex(), 0);
             QTest::keyClick(list, Qt::Key_Right);
             EXPECT_EQ(d.chosenIndex(), 1);
             QTest::keyClick(list, Qt::Key_Return);
         },
         1},
    };
    for (const auto& c : cases) {
        bool startedClean = false;
        const std::optional<int> chosen = choose([&](TRecordOpenF& d) {
            // Every showing starts without a choice, whatever the last one ended with.
            startedClean =
                d.chosenIndex() == -1 && !okOf(d)->isEnabled() && listOf(d)->selectedItems().isEmpty();
            c.act(d);
        });
        EXPECT_TRUE(startedClean) << c.what;
        EXPECT_EQ(chosen, c.chosen) << c.what;
    }
}

TEST_F(RecordOpenDialogTest, DeselectingDisablesOkAgain) {
    const std::optional<int> chosen = choose([](TRecordOpenF& d) {
        listOf(d)->setCurrentRow(0);
        ASSERT_TRUE(okOf(d)->isEnabled());
        listOf(d)->clearSelection();
        EXPECT_FALSE(okOf(d)->isEnabled());
        EXPECT_EQ(d.chosenIndex(), -1);
        okOf(d)->click();
        EXPECT_TRUE(d.isVisible());
        doubleClick(d, centreOfItem(d, 0));
    });
    EXPECT_EQ(chosen, 0);
}

TEST_F(RecordOpenDialogTest, ARefilledListHoldsOnlyTheNewCaptions) {
    choose([](TRecordOpenF& d) { cancelOf(d)->click(); });
    const std::optional<int> chosen = choose(
        [](TRecordOpenF& d) {
            ASSERT_EQ(listOf(d)->count(), 1);
            EXPECT_EQ(listOf(d)->item(0)->text(), QStringLiteral("Only one"));
            QTest::keyClick(listOf(d), Qt::Key_Down);
            QTest::keyClick(listOf(d), Qt::Key_Down);
            QTest::keyClick(listOf(d), Qt::Key_Return);
        },
        {"Only one"});
    EXPECT_EQ(chosen, 0);
}

} // namespace
