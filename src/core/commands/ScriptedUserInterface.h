// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/UserInterface.h"

#include <QList>

#include <functional>

// Answers from prepared queues and records everything shown: for tests and for the command-line
// companion. An empty queue answers No, cancels the dialog or the input box.
class TScriptedUserInterface final : public IUserInterface {
public:
    struct Shown {
        QString Kind; // "status", "message", "ask", "open", "save", "input"
        QString Caption;
        QString Text;
        // A question whose default button is No.
        bool DefaultNo = false;
    };

    QList<Answer> Answers;
    QStringList FilesToOpen;
    QStringList FilesToSave;
    QList<std::optional<QString>> Inputs;
    QList<Shown> Log;
    // Where each file dialog was asked to start (its InitialPath), in order.
    QStringList DialogStarts;
    QString Status;
    int EventsProcessed = 0;
    // Runs where a window would process the user's input, e.g. between the blocks of a transfer.
    std::function<void()> DuringEvents;

    void setStatus(const QString& text) override;
    void showMessage(const QString& caption, const QString& text) override;
    Answer ask(const QString& caption, const QString& text) override;
    Answer askDefaultNo(const QString& caption, const QString& text) override;
    QString chooseFileToOpen(const TFileDialogOptions& options) override;
    QString chooseFileToSave(const TFileDialogOptions& options) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    void processPendingEvents() override {
        ++EventsProcessed;
        if (DuringEvents)
            DuringEvents();
    }

    // The texts of the message boxes shown so far, in order.
    QStringList messages() const;
};
