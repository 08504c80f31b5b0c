// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/UserInterface.h"

#include <QDir>

#include <functional>
#include <memory>

struct TFileHistory;

// Lets every open and save dialog start in the folder last used for its kind of file (the default
// extension, else the first pattern of the filter), in `firstFolder` before any was used, and
// remembers the folder of each file chosen. Everything else goes to the wrapped interface
// unchanged. `changed` runs after a folder was remembered, so that the caller can keep it.
class TFolderMemoryUserInterface final : public IUserInterface {
public:
    TFolderMemoryUserInterface(std::unique_ptr<IUserInterface> inner, TFileHistory& history,
                               std::function<void()> changed, QString firstFolder = QDir::homePath());

    void setStatus(const QString& text) override { m_inner->setStatus(text); }
    void showMessage(const QString& caption, const QString& text) override { m_inner->showMessage(caption, text); }
    Answer ask(const QString& caption, const QString& text) override { return m_inner->ask(caption, text); }
    Answer askDefaultNo(const QString& caption, const QString& text) override {
        return m_inner->askDefaultNo(caption, text);
    }
    QString chooseFileToOpen(const TFileDialogOptions& options) override;
    QString chooseFileToSave(const TFileDialogOptions& options) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override {
        return m_inner->inputText(caption, prompt, initial);
    }
    void processPendingEvents() override { m_inner->processPendingEvents(); }

private:
    TFileDialogOptions withStartFolder(const TFileDialogOptions& options) const;
    QString remembered(const TFileDialogOptions& options, const QString& chosen);

    std::unique_ptr<IUserInterface> m_inner;
    TFileHistory& m_history;
    std::function<void()> m_changed;
    QString m_firstFolder;
};

// The kind of file a dialog is for: its default extension, else the extension of the filter's first
// pattern ("Records (*.r9q4)" gives "r9q4"), lower case; empty when there is none.
QString FileDialogKind(const TFileDialogOptions& options);
