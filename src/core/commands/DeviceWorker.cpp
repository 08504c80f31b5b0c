// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DeviceWorker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>

TDeviceWorker::TDeviceWorker(TLinkGuard& guard, IUsbDriver& driver, IPause& pause, IUserInterface& ui,
                             const TMessageCatalogue& catalogue, QObject* parent)
    : QObject(parent), m_guard(guard), m_driver(driver), m_pause(pause), m_ui(ui, *this),
      m_catalogue(catalogue) {
    qRegisterMetaType<TTransferOperation>();
    qRegisterMetaType<TDeviceResult>();
}

TDeviceWorker::~TDeviceWorker() {
    if (!m_thread)
        return;
    // Only when this thread's event loops were told to end (the program quits) before the result
    // came. The worker may be waiting for this thread: its calls are dropped unanswered, which
    // releases it, and it stops before its next chunk.
    cancel();
    while (!m_thread->wait(20))
        QCoreApplication::removePostedEvents(nullptr, QEvent::MetaCall);
    delete m_thread;
}

bool TDeviceWorker::start(TOperation operation) {
    if (m_thread)
        return false;
    m_cancelled = false;
    {
        const std::lock_guard lock(m_holdMutex);
        m_held = false;
    }
    m_thread = QThread::create([this, operation = std::move(operation)] {
        TDeviceOperationContext context{m_guard, m_driver, m_pause, m_events};
        context.Progress = &m_progress;
        m_result = operation(context);
    });
    m_thread->setObjectName(QStringLiteral("device"));
    connect(m_thread, &QThread::finished, this, &TDeviceWorker::threadEnded, Qt::QueuedConnection);
    m_thread->start();
    return true;
}

TDeviceResult TDeviceWorker::run(TOperation operation) {
    TDeviceResult result = TDeviceResult::Failed;
    QEventLoop loop;
    const QMetaObject::Connection done = connect(this, &TDeviceWorker::finished, &loop, [&](TDeviceResult r) {
        result = r;
        loop.quit();
    });
    if (start(std::move(operation)))
        loop.exec();
    disconnect(done);
    return result;
}

void TDeviceWorker::threadEnded() {
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    emit finished(m_result);
}

void TDeviceWorker::cancel() {
    m_cancelled = true;
    resume();
}

void TDeviceWorker::hold() {
    const std::lock_guard lock(m_holdMutex);
    m_held = true;
}

void TDeviceWorker::resume() {
    {
        const std::lock_guard lock(m_holdMutex);
        m_held = false;
    }
    m_resumed.notify_all();
}

void TDeviceWorker::TWorkerProgress::progress(TTransferOperation operation, std::uint64_t done,
                                              std::uint64_t total) {
    emit m_runner.progressed(operation, done, total);
}

bool TDeviceWorker::TWorkerProgress::cancelled() const {
    std::unique_lock lock(m_runner.m_holdMutex);
    m_runner.m_resumed.wait(lock, [this] { return !m_runner.m_held; });
    return m_runner.m_cancelled;
}
