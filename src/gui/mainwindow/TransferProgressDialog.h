// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/TransferProgress.h"

#include <QDialog>
#include <QElapsedTimer>

#include <functional>

class QLabel;
class QPushButton;
class QProgressBar;
class TMessageCatalogue;

// The modal window of a long device transfer: what runs, a bar, how far in the user's words ("Branch
// 320 of 1500"), and Cancel (also Escape and closing the window). It appears with the first report of
// a transfer longer than one frame, and keeps the event loop turning so that Cancel can be pressed.
// Return and Space do nothing: a key meant for another window must not stop a transfer.
class TTransferProgressDialog final : public QDialog, public ITransferProgress {
    Q_OBJECT
public:
    TTransferProgressDialog(const TMessageCatalogue& messages, QWidget* parent);

    void progress(TTransferOperation operation, std::uint64_t done, std::uint64_t total) override;
    bool cancelled() const override { return m_cancelled; }
    // Asked before a write is stopped, which leaves an incomplete project in the instrument; true
    // stops it. Without one a write stops at once, as every read does.
    void setStopWriteQuestion(std::function<bool()> question) { m_stopWrite = std::move(question); }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const TMessageCatalogue& m_messages;
    QLabel* m_operation;
    QLabel* m_figures;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    QElapsedTimer m_sinceEvents;
    std::function<bool()> m_stopWrite;
    TTransferOperation m_operationRunning = TTransferOperation::ReadProject;
    bool m_asking = false;
    bool m_cancelled = false;
};
