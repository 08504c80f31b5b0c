// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordOpenDialog.h"

#include "mainwindow/test_dialogs_app.h"
#include "records/FixedTranslator.h"
#include "model/RecordModel.h"

#include <QLabel>
#include <QHeaderView>
#include <QTreeWidget>
#include <QPushButton>
#include <QTest>

#include <optional>

namespace {

const auto* const application = ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

const QStringList Captions = {"Riser 1", "Boiler room 12", "Class 2.01"};

QTreeWidget* listOf(TRecordOpenF& d) {
    return d.findChild<QTreeWidget*>(QStringLiteral("RecordListView"));
}
QPushButton* okOf(TRecordOpenF& d) {
    return d.findChild<QPushButton*>(QStringLiteral("diaOk"));
}
QPushButton* cancelOf(TRecordOpenF& d) {
    return d.findChild<QPushButton*>(QStringLiteral("diaCancel"));
}

QPoint centreOfItem(TRecordOpenF& d, int row) {
    QTreeWidget* list = listOf(d);
    return list->visualItemRect(list->topLevelItem(row)).center();
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
                                 {"Cancel", "Zrušit"},
                                 {"Description", "Popis"},
                                 {"First sample", "První vzorek"},
                                 {"Samples", "Vzorky"}}};
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
        QTreeWidget* list = listOf(d);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->geometry(), QRect(0, 0, 442, 173));
        EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Popis"));
        EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("První vzorek"));
        EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Vzorky"));
        ASSERT_EQ(list->topLevelItemCount(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(list->topLevelItem(i)->text(0), Captions[i]);
            EXPECT_FALSE(list->topLevelItem(i)->icon(0).isNull());
            // Shown whole, not cut to the width of the shortest caption.
            EXPECT_GE(list->header()->sectionSize(0), list->fontMetrics().horizontalAdvance(Captions[i])) << i;
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
             listOf(d)->setCurrentItem(listOf(d)->topLevelItem(1));
             EXPECT_EQ(d.chosenIndex(), 1);
             cancelOf(d)->click();
         },
         std::nullopt},
        {"Return while nothing is chosen, then arrows and Return",
         [](TRecordOpenF& d) {
             QTreeWidget* list = listOf(d);
             QTest::keyClick(list, Qt::Key_Return);
             EXPECT_TRUE(d.isVisible());
             // The first arrow selects the first item instead of jumping past it.
             QTest::keyClick(list, Qt::Key_Down);
             EXPECT_EQ(d.chosenIndex(), 0);
             QTest::keyClick(list, Qt::Key_Down);
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

// The instrument read switches off the window the list belongs to; the list still takes the choice.
TEST_F(RecordOpenDialogTest, AnswersWhileTheWindowItBelongsToIsSwitchedOff) {
    QWidget window;
    TRecordOpenF list(translator, &window);
    window.setEnabled(false);
    std::optional<int> chosen;
    actInModal<TRecordOpenF>(
        [](TRecordOpenF& d) {
            EXPECT_TRUE(d.isEnabled());
            QTest::mouseClick(listOf(d)->viewport(), Qt::LeftButton, {}, centreOfItem(d, 1));
            okOf(d)->click();
        },
        [&] {
            chosen = list.choose(Captions);
            return 0;
        });
    EXPECT_EQ(chosen, 1);
}

TEST_F(RecordOpenDialogTest, DeselectingDisablesOkAgain) {
    const std::optional<int> chosen = choose([](TRecordOpenF& d) {
        listOf(d)->setCurrentItem(listOf(d)->topLevelItem(0));
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
            ASSERT_EQ(listOf(d)->topLevelItemCount(), 1);
            EXPECT_EQ(listOf(d)->topLevelItem(0)->text(0), QStringLiteral("Only one"));
            QTest::keyClick(listOf(d), Qt::Key_Down);
            QTest::keyClick(listOf(d), Qt::Key_Down);
            QTest::keyClick(listOf(d), Qt::Key_Return);
        },
        {"Only one"});
    EXPECT_EQ(chosen, 0);
}

// Several records of one branch are told apart by their first sample and their length.
TEST_F(RecordOpenDialogTest, ShowsFirstSampleAndSampleCountOfEachRecord) {
    auto store = std::make_unique<TRecordStore>();
    store->RecordCount = 3;
    store->RecordHeaders[0].Description = QStringLiteral("Riser 1");
    store->RecordHeaders[1].Description = QStringLiteral("Riser 1");
    store->RecordHeaders[2].Description = QStringLiteral("Empty");
    const struct {
        int Record;
        const char* Date;
        const char* Time;
    } samples[] = {{0, "05.03.2012", "07:04:09"}, {0, "05.03.2012", "07:05:09"}, {1, "06.03.2012", "10:00:00"},
                   {7, "01.01.2000", "00:00:00"}, {-1, "01.01.2000", "00:00:00"}};
    for (const auto& sample : samples) {
        TZaznamData& data = store->Samples[static_cast<std::size_t>(store->SampleCount++)];
        data.RecordIndex = sample.Record;
        data.Date = QLatin1String(sample.Date);
        data.Time = QLatin1String(sample.Time);
    }
    const std::vector<TRecordListRow> rows = RecordListRows(*store);
    const std::vector<TRecordListRow> expected{{"Riser 1", "05.03.2012 07:04:09", 2},
                                               {"Riser 1", "06.03.2012 10:00:00", 1},
                                               {"Empty", "", 0}};
    EXPECT_EQ(rows, expected);

    std::optional<int> chosen;
    actInModal<TRecordOpenF>(
        [](TRecordOpenF& d) {
            QTreeWidget* list = listOf(d);
            ASSERT_EQ(list->topLevelItemCount(), 3);
            EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("06.03.2012 10:00:00"));
            EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("2"));
            EXPECT_EQ(list->topLevelItem(2)->text(2), QString());
            // Every column is readable in the dialog's width.
            EXPECT_LE(list->header()->length(), list->viewport()->width());
            EXPECT_GE(list->header()->sectionSize(1),
                      list->fontMetrics().horizontalAdvance(list->topLevelItem(1)->text(1)));
            doubleClick(d, centreOfItem(d, 1));
        },
        [&] {
            chosen = dialog.choose(rows);
            return 0;
        });
    EXPECT_EQ(chosen, 1);
}

} // namespace
