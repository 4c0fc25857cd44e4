#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QMetaObject;
class WorkerRunner;

// Runs one worker object on a thread of its own for an owner in another thread. The worker is
// made on that thread and deleted there as the thread ends, which aborts its sockets; work
// reaches it posted, in order, handed over under a lock (so that race detectors see the hand-over
// as well as the event loop does).
//
// Lifetime: start() -> running (posted work runs in order) -> stop(): work still queued is
// dropped, the loop quits, the worker is deleted on its thread; the owner waits once, bounded.
// Work that outlasts the wait is left to finish on its own: the thread is never terminated and
// never destroyed while it runs (it is kept until the process ends).
class WorkerThread
{
public:
    WorkerThread(const QString& name, std::chrono::milliseconds shutdownWait);
    ~WorkerThread(); // stop()
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the thread, runs `make` on it and returns what it made once it is made. Once only.
    QObject* start(std::function<QObject*()> make);
    // Runs `work` on the thread after the work posted before it; dropped after stop().
    void post(std::function<void()> work);
    // Ends the thread as the lifetime above says; true when it has ended (or never started),
    // false when its work outlasted the wait. Further calls return at once.
    bool stop();
    bool isRunning() const;

    // Passes each signal that `declaredBy` declares from `worker` on to the same signal of
    // `owner` (both derive from `declaredBy`), queued to the owner's thread. A signal with a
    // pointer argument is passed on directly, in the worker's thread: what it points to lives
    // only during the call.
    static void forwardSignals(const QObject* worker, QObject* owner,
                               const QMetaObject& declaredBy);

private:
    const QString m_name;
    const std::chrono::milliseconds m_shutdownWait;
    std::unique_ptr<WorkerRunner> m_runner; // null before start() and once left to end alone
    bool m_abandoned = false;
};

// The same, typed: the worker's class is known, and posted work gets the worker.
template<class Worker> class WorkerHost
{
public:
    WorkerHost(const QString& name, std::chrono::milliseconds shutdownWait)
        : m_thread(name, shutdownWait)
    {
    }

    template<class Make> Worker* start(Make make)
    {
        m_worker = static_cast<Worker*>(m_thread.start([make]() -> QObject* { return make(); }));
        return m_worker;
    }
    void post(std::function<void(Worker&)> work)
    {
        m_thread.post([worker = m_worker, work = std::move(work)] { work(*worker); });
    }
    bool stop() { return m_thread.stop(); }
    bool isRunning() const { return m_thread.isRunning(); }

private:
    WorkerThread m_thread;
    Worker* m_worker = nullptr;
};
