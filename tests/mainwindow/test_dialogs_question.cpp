// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/test_dialogs_app.h"

#include "ui/QtUserInterface.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

namespace {

// The program's one application comes from the unit dialog's tests.

using Answer = IUserInterface::Answer;

// A dismissed question must not count as No: No to "Save now?" throws the changes away.
TEST(QuestionBox, EscapeAndCloseCancelReturnTakesTheDefault) {
    TQtUserInterface ui(nullptr, {});
    struct Case {
        const char* What;
        bool DefaultNo;
        std::function<void(QMessageBox&)> Act;
        Answer Expected;
    };
    const Case cases[] = {
        {"Escape", false, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, Answer::Cancel},
        {"close button", false, [](QMessageBox& box) { box.close(); }, Answer::Cancel},
        {"Return", false, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, Answer::Yes},
        {"Return where Yes destroys", true, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); },
         Answer::No},
        {"No clicked", false, [](QMessageBox& box) { box.button(QMessageBox::No)->click(); }, Answer::No},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Answer answer = Answer::Yes;
        actInModal<QMessageBox>(c.Act, [&] {
            answer = c.DefaultNo ? ui.askDefaultNo(QStringLiteral("Caption"), QStringLiteral("Text"))
                                 : ui.ask(QStringLiteral("Caption"), QStringLiteral("Text"));
            return 0;
        });
        EXPECT_EQ(answer, c.Expected);
    }
}

} // namespace
