// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// One QApplication for the whole test program (gtest_main owns main()).
class DialogTestApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_dialogs";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

// Runs the modal loop that `run` starts, acting as the user once it is up. An action that leaves
// the dialog open fails the test instead of hanging it.
template <typename Dialog>
int actInModal(const std::function<void(Dialog&)>& act, const std::function<int()>& run) {
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog is open";
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* open = qobject_cast<QDialog*>(widget); open && open->isVisible())
                    open->done(-1);
            return;
        }
        act(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            dialog->done(-1);
        }
    });
    return run();
}
