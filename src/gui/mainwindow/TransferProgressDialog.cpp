// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/TransferProgressDialog.h"

#include "commands/DeviceWorker.h"
#include "link/Frame.h"
#include "link/MemoryMap.h"
#include "localisation/MessageCatalogue.h"
#include "model/ProjectRecords.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString operationName(const TMessageCatalogue& t, TTransferOperation operation) {
    switch (operation) {
    case TTransferOperation::ReadProject:
        return t.Translate(QStringLiteral("Reading project from device"));
    case TTransferOperation::WriteProject:
        return t.Translate(QStringLiteral("Writing project to device"));
    case TTransferOperation::VerifyProject:
        return t.Translate(QStringLiteral("Verifying project in device"));
    case TTransferOperation::ReadRecords:
        return t.Translate(QStringLiteral("Reading records from device"));
    case TTransferOperation::ReadValves:
        return t.Translate(QStringLiteral("Reading valve catalogue from device"));
    }
    return {};
}

// How far, in the units the user thinks in: "Branch 320 of 1500".
QString figures(const TMessageCatalogue& t, TTransferOperation operation, std::uint64_t done,
                std::uint64_t total) {
    switch (operation) {
    case TTransferOperation::ReadProject:
    case TTransferOperation::WriteProject:
    case TTransferOperation::VerifyProject:
        return t.Translate(QStringLiteral("Branch %1 of %2"))
            .arg(done / sizeof(TBranch))
            .arg(total / sizeof(TBranch));
    case TTransferOperation::ReadValves:
        return t.Translate(QStringLiteral("Valve %1 of %2"))
            .arg(done / ValveRecordSize)
            .arg(total / ValveRecordSize);
    case TTransferOperation::ReadRecords:
        return t.Translate(QStringLiteral("%1 of %2 bytes")).arg(done).arg(total);
    }
    return {};
}

} // namespace

TTransferProgressDialog::TTransferProgressDialog(const TMessageCatalogue& messages, TDeviceWorker& runner,
                                                 QWidget* parent)
    : QDialog(parent), m_messages(messages), m_runner(runner) {
    setObjectName(QStringLiteral("TransferProgress"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    m_operation = new QLabel;
    m_operation->setObjectName(QStringLiteral("diaOperation"));
    QFont bold = m_operation->font();
    bold.setBold(true);
    m_operation->setFont(bold);
    layout->addWidget(m_operation);
    m_bar = new QProgressBar;
    m_bar->setObjectName(QStringLiteral("diaProgress"));
    m_bar->setMinimumWidth(360);
    layout->addWidget(m_bar);
    m_figures = new QLabel;
    m_figures->setObjectName(QStringLiteral("diaFigures"));
    layout->addWidget(m_figures);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("diaCancel"));
    m_cancel->setText(messages.Translate(QStringLiteral("Cancel")));
    // Neither the default button nor one that Space presses: only a click, Escape or the close box
    // cancel.
    m_cancel->setAutoDefault(false);
    m_cancel->setDefault(false);
    m_cancel->setFocusPolicy(Qt::NoFocus);
    connect(buttons, &QDialogButtonBox::rejected, this, &TTransferProgressDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(&runner, &TDeviceWorker::progressed, this, &TTransferProgressDialog::progress);
}

void TTransferProgressDialog::progress(TTransferOperation operation, quint64 done, quint64 total) {
    // One frame is over before anyone could read the window.
    if (!isVisible() && total <= FrameDataSize)
        return;
    m_operationRunning = operation;
    m_operation->setText(operationName(m_messages, operation));
    setWindowTitle(m_operation->text());
    m_figures->setText(figures(m_messages, operation, done, total));
    // The bar counts in thousandths: a byte count may not fit its int.
    m_bar->setRange(0, 1000);
    m_bar->setValue(total ? static_cast<int>(done * 1000 / total) : 0);
    if (!isVisible())
        show();
}

void TTransferProgressDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TTransferProgressDialog::reject() {
    if (m_cancelled || m_asking)
        return;
    if (m_operationRunning == TTransferOperation::WriteProject && m_stopWrite) {
        // The transfer finishes the block it is moving and waits there for the answer: nothing more
        // goes out while the question is open, and No goes on from that block.
        m_asking = true;
        m_cancel->setEnabled(false);
        m_runner.hold();
        const bool stop = m_stopWrite();
        m_asking = false;
        m_cancel->setEnabled(!stop);
        if (!stop) {
            m_runner.resume();
            return;
        }
    }
    // The window stays until the transfer has stopped after its current block.
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_runner.cancel();
}
