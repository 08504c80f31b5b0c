// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QtUserInterface.h"

#include "ui/YesNoBox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

TQtUserInterface::TQtUserInterface(QWidget* parent, std::function<void(const QString&)> statusSink)
    : m_parent(parent), m_statusSink(std::move(statusSink)) {}

void TQtUserInterface::setStatus(const QString& text) {
    if (m_statusSink)
        m_statusSink(text);
}

void TQtUserInterface::showMessage(const QString& caption, const QString& text) {
    QMessageBox::information(m_parent, caption, text, QMessageBox::Ok);
}

IUserInterface::Answer TQtUserInterface::ask(const QString& caption, const QString& text) {
    return askYesNo(m_parent, caption, text, Answer::Yes);
}

IUserInterface::Answer TQtUserInterface::askDefaultNo(const QString& caption, const QString& text) {
    return askYesNo(m_parent, caption, text, Answer::No);
}

QString TQtUserInterface::chooseFileToOpen(const TFileDialogOptions& options) {
    // A dialog object: "name" typed for "name.ext" must find the file with the default extension.
    QFileDialog dialog(m_parent, options.Title, options.InitialPath, options.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!options.DefaultExtension.isEmpty())
        dialog.setDefaultSuffix(options.DefaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString TQtUserInterface::chooseFileToSave(const TFileDialogOptions& options) {
    // Our own dialog object so that a name typed without extension gets the default one before the
    // overwrite question is asked about the right file.
    QFileDialog dialog(m_parent, options.Title, options.InitialPath, options.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!options.DefaultExtension.isEmpty())
        dialog.setDefaultSuffix(options.DefaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> TQtUserInterface::inputText(const QString& caption, const QString& prompt,
                                                   const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void TQtUserInterface::processPendingEvents() {
    // Paints what changed (the status line of a long loop on this thread) and takes no input: no
    // command can slip in half-way through the loop. Device work runs on its worker and needs none.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}
