// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/UserInterface.h"

#include <functional>

class QWidget;

// The seam answered with real dialogs, parented to the window that runs the operation.
class TQtUserInterface final : public IUserInterface {
public:
    // statusSink: where status texts go (the window's status bar).
    TQtUserInterface(QWidget* parent, std::function<void(const QString&)> statusSink);

    void setStatus(const QString& text) override;
    void showMessage(const QString& caption, const QString& text) override;
    Answer ask(const QString& caption, const QString& text) override;
    Answer askDefaultNo(const QString& caption, const QString& text) override;
    QString chooseFileToOpen(const TFileDialogOptions& options) override;
    QString chooseFileToSave(const TFileDialogOptions& options) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt, const QString& initial) override;
    void processPendingEvents() override;

private:
    QWidget* m_parent;
    std::function<void(const QString&)> m_statusSink;
};
