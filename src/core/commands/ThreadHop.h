// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/UserInterface.h"

#include <functional>

class QObject;

// Runs `call` on the thread `owner` lives in and returns when it has run there. On that thread itself
// it runs at once. The owner's thread must be turning its event loop (the window always is).
void RunOnThreadOf(QObject& owner, const std::function<void()>& call);

// Hands every call on to `inner` on the thread of `owner`, waiting for it: a device operation on its
// worker asks its questions and shows its texts in the window, in the order it made them.
class TThreadHopUserInterface final : public IUserInterface {
public:
    TThreadHopUserInterface(IUserInterface& inner, QObject& owner) : m_inner(inner), m_owner(owner) {}

    void setStatus(const QString& text) override;
    void showMessage(const QString& caption, const QString& text) override;
    Answer ask(const QString& caption, const QString& text) override;
    Answer askDefaultNo(const QString& caption, const QString& text) override;
    QString chooseFileToOpen(const TFileDialogOptions& options) override;
    QString chooseFileToSave(const TFileDialogOptions& options) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    void processPendingEvents() override;

private:
    IUserInterface& m_inner;
    QObject& m_owner;
};
