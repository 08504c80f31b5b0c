// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ThreadHop.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

void RunOnThreadOf(QObject& owner, const std::function<void()>& call) {
    // A blocking hop to the thread we are on would wait for itself.
    if (QThread::currentThread() == owner.thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(&owner, call, Qt::BlockingQueuedConnection);
}

void TThreadHopUserInterface::setStatus(const QString& text) {
    RunOnThreadOf(m_owner, [&] { m_inner.setStatus(text); });
}

void TThreadHopUserInterface::showMessage(const QString& caption, const QString& text) {
    RunOnThreadOf(m_owner, [&] { m_inner.showMessage(caption, text); });
}

IUserInterface::Answer TThreadHopUserInterface::ask(const QString& caption, const QString& text) {
    Answer answer = Answer::Cancel;
    RunOnThreadOf(m_owner, [&] { answer = m_inner.ask(caption, text); });
    return answer;
}

IUserInterface::Answer TThreadHopUserInterface::askDefaultNo(const QString& caption, const QString& text) {
    Answer answer = Answer::Cancel;
    RunOnThreadOf(m_owner, [&] { answer = m_inner.askDefaultNo(caption, text); });
    return answer;
}

QString TThreadHopUserInterface::chooseFileToOpen(const TFileDialogOptions& options) {
    QString path;
    RunOnThreadOf(m_owner, [&] { path = m_inner.chooseFileToOpen(options); });
    return path;
}

QString TThreadHopUserInterface::chooseFileToSave(const TFileDialogOptions& options) {
    QString path;
    RunOnThreadOf(m_owner, [&] { path = m_inner.chooseFileToSave(options); });
    return path;
}

std::optional<QString> TThreadHopUserInterface::inputText(const QString& caption, const QString& prompt,
                                                          const QString& initial) {
    std::optional<QString> text;
    RunOnThreadOf(m_owner, [&] { text = m_inner.inputText(caption, prompt, initial); });
    return text;
}

void TThreadHopUserInterface::processPendingEvents() {
    // The worker meets the window once per block: the window has then shown that block's progress, and
    // a Cancel given meanwhile is seen before the next block goes out.
    RunOnThreadOf(m_owner, [&] { m_inner.processPendingEvents(); });
}
