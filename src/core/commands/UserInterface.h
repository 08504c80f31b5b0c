// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What an operation may ask of the person in front of it. The windows answer with real dialogs; the
// command-line companion and the tests answer from a script. Every operation that talks to the user
// goes through this, so a device or file operation is the same code everywhere.
struct TFileDialogOptions {
    QString Title;
    QString Filter;           // Qt filter syntax: "Project files (*.proj);;All Files (*)"
    QString DefaultExtension; // without the dot; added to a name typed without one
    QString InitialPath;
};

class IUserInterface {
public:
    // Cancel: the question was dismissed without an answer (Escape, the box closed); whoever asked
    // then does nothing.
    enum class Answer { Yes, No, Cancel };

    virtual ~IUserInterface() = default;

    // The one-line status bar.
    virtual void setStatus(const QString& text) = 0;
    // Modal message box with an OK button.
    virtual void showMessage(const QString& caption, const QString& text) = 0;
    // Modal message box with Yes and No.
    virtual Answer ask(const QString& caption, const QString& text) = 0;
    // The same, with No as the default button: for questions whose Yes destroys something, so that a
    // stray Return does not.
    virtual Answer askDefaultNo(const QString& caption, const QString& text) { return ask(caption, text); }
    // Empty when cancelled.
    virtual QString chooseFileToOpen(const TFileDialogOptions& options) = 0;
    virtual QString chooseFileToSave(const TFileDialogOptions& options) = 0;
    // One-line input box; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initial) = 0;
    // Lets the window repaint during a long loop, and meets it once per block of a device transfer.
    virtual void processPendingEvents() = 0;
};
