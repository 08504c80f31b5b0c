// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/DeviceUserInterface.h"
#include "commands/ThreadHop.h"
#include "link/DeviceOperation.h"
#include "link/TransferProgress.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

class QThread;

// Runs one device operation at a time on a worker thread, so that a slow or hanging instrument never
// holds up the thread that started it. Progress comes back as the queued signal `progressed`, the
// outcome as `finished`; the operation's questions and texts go to `ui` on the starting thread, one
// at a time, while the operation waits for them. Cancel is a flag the link reads between two chunks.
// Whatever the operation reads or writes must stay untouched by the starting thread until `finished`.
class TDeviceWorker final : public QObject {
    Q_OBJECT
public:
    using TOperation = std::function<TDeviceResult(const TDeviceOperationContext&)>;

    // Everything but `ui` is handed to the worker as it is; `ui` is reached through the thread of
    // this object.
    TDeviceWorker(TLinkGuard& guard, IUsbDriver& driver, IPause& pause, IUserInterface& ui,
                  const TMessageCatalogue& catalogue, QObject* parent = nullptr);
    // Waits for an operation still running, after cancelling it.
    ~TDeviceWorker() override;

    // False while an operation runs: nothing is started.
    bool start(TOperation operation);
    // start, then turns this thread's events until `finished`: the caller gets the result in place.
    TDeviceResult run(TOperation operation);
    bool running() const { return m_thread != nullptr; }

    // The operation stops before its next chunk.
    void cancel();
    // The operation waits before its next chunk until resume(): nothing moves while the user is asked
    // whether to stop.
    void hold();
    void resume();

signals:
    void progressed(TTransferOperation operation, quint64 done, quint64 total);
    void finished(TDeviceResult result);

private:
    class TWorkerProgress final : public ITransferProgress {
    public:
        explicit TWorkerProgress(TDeviceWorker& runner) : m_runner(runner) {}
        void progress(TTransferOperation operation, std::uint64_t done, std::uint64_t total) override;
        bool cancelled() const override;

    private:
        TDeviceWorker& m_runner;
    };

    void threadEnded();

    TLinkGuard& m_guard;
    IUsbDriver& m_driver;
    IPause& m_pause;
    TThreadHopUserInterface m_ui;
    const TMessageCatalogue& m_catalogue;
    // Worded on the worker, shown through m_ui on the starting thread.
    TDeviceUserInterface m_events{m_ui, m_catalogue};
    TWorkerProgress m_progress{*this};
    QThread* m_thread = nullptr;
    TDeviceResult m_result = TDeviceResult::Failed;
    std::atomic<bool> m_cancelled{false};
    mutable std::mutex m_holdMutex;
    mutable std::condition_variable m_resumed;
    bool m_held = false;
};
