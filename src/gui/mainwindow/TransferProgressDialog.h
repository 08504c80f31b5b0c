// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/TransferProgress.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QProgressBar;
class TDeviceWorker;
class TMessageCatalogue;

// The modal window of a long device transfer running on `runner`'s worker: what runs, a bar, how far
// in the user's words ("Branch 320 of 1500"), and Cancel (also Escape and closing the window). It
// appears with the first report of a transfer longer than one frame. Return and Space do nothing: a
// key meant for another window must not stop a transfer.
class TTransferProgressDialog final : public QDialog {
    Q_OBJECT
public:
    TTransferProgressDialog(const TMessageCatalogue& messages, TDeviceWorker& runner, QWidget* parent);

    // Asked before a write is stopped, which leaves an incomplete project in the instrument; true
    // stops it. Without one a write stops at once, as every read does.
    void setStopWriteQuestion(std::function<bool()> question) { m_stopWrite = std::move(question); }

public slots:
    void progress(TTransferOperation operation, quint64 done, quint64 total);
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const TMessageCatalogue& m_messages;
    TDeviceWorker& m_runner;
    QLabel* m_operation;
    QLabel* m_figures;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    std::function<bool()> m_stopWrite;
    TTransferOperation m_operationRunning = TTransferOperation::ReadProject;
    bool m_asking = false;
    bool m_cancelled = false;
};
