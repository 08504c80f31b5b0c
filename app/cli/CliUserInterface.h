// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/UserInterface.h"

#include <QTextStream>

// The companion's side of the user-interface seam: status texts go to standard output, message boxes
// to standard error, questions are answered by --yes or on the terminal. The latest status text is
// held back until the next one comes or the operation ends, so that a failure's message goes to
// standard error only.
class TCliUserInterface final : public IUserInterface {
public:
    TCliUserInterface(QTextStream& out, QTextStream& err, bool assumeYes);

    // Ends the operation: the held-back status goes to standard output, or to standard error after a
    // failure.
    void finish(bool succeeded);

    void setStatus(const QString& text) override;
    void showMessage(const QString& caption, const QString& text) override;
    Answer ask(const QString& caption, const QString& text) override;
    QString chooseFileToOpen(const TFileDialogOptions&) override { return {}; }
    QString chooseFileToSave(const TFileDialogOptions&) override { return {}; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void processPendingEvents() override {}

    // A question can be put to someone: standard input is a terminal.
    static bool isInteractive();

private:
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_assumeYes;
    QString m_pending;
};
