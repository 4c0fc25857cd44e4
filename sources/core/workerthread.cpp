#include "workerthread.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QMetaMethod>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

// The thread itself, and everything it shares with its owner, which outlive the owner's wait
// when the work under way does.
class WorkerRunner : public QThread
{
public:
    explicit WorkerRunner(std::function<QObject*()> make) : m_make(std::move(make)) {}
    // After the thread has ended. QThread::wait() ordered its end before this, but in a way race
    // detectors do not see; the lock shows them that the thread's last act came first.
    ~WorkerRunner() override { const std::lock_guard<std::mutex> lock(m_mutex); }

    // Blocks until run() has made the worker.
    QObject* waitForWorker()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_madeCondition.wait(lock, [this] { return m_made; });
        return m_worker;
    }

    void post(std::function<void()> work)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open)
            return;
        // One wake-up per item. Work is posted only once start() has returned, so the mailbox
        // exists: from the worker's making to the loop's end, when the host stops taking work.
        m_work.push_back(std::move(work));
        QCoreApplication::postEvent(m_mailbox, new QEvent(kWorkEvent));
    }

    // Drops the queued work and ends the loop after the work under way.
    void close()
    {
        std::deque<std::function<void()>> dropped;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_open = false;
            dropped.swap(m_work);
        }
        quit();
    }

protected:
    void run() override
    {
        Mailbox mailbox(*this);
        QObject* worker = m_make();
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_worker = worker;
            m_made = true;
            m_mailbox = &mailbox;
        }
        m_madeCondition.notify_all();
        exec();
        std::deque<std::function<void()>> dropped;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_open = false;
            m_mailbox = nullptr;
            dropped.swap(m_work);
        }
        dropped.clear();
        delete worker;
    }

private:
    static constexpr QEvent::Type kWorkEvent = QEvent::User;

    // Lives on the thread; each of its events runs the next item of work.
    class Mailbox : public QObject
    {
    public:
        explicit Mailbox(WorkerRunner& runner) : m_runner(runner) {}
        bool event(QEvent* event) override
        {
            if (event->type() != kWorkEvent)
                return QObject::event(event);
            m_runner.runNext();
            return true;
        }

    private:
        WorkerRunner& m_runner;
    };

    void runNext()
    {
        std::function<void()> work;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_open || m_work.empty())
                return;
            work = std::move(m_work.front());
            m_work.pop_front();
        }
        work();
    }

    const std::function<QObject*()> m_make;
    std::mutex m_mutex;
    std::condition_variable m_madeCondition;
    // Guarded by m_mutex:
    bool m_made = false;
    bool m_open = true;
    QObject* m_worker = nullptr;
    QObject* m_mailbox = nullptr;
    std::deque<std::function<void()>> m_work;
};

namespace {

// Threads whose work outlasted their owner's wait: never destroyed while they run, deleted once
// another is left here after they ended, and otherwise kept (reachable) until the process ends.
void keepUntilEnded(WorkerRunner* runner)
{
    static std::mutex mutex;
    static auto* kept = new std::vector<WorkerRunner*>;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto ended = std::stable_partition(kept->begin(), kept->end(),
                                             [](WorkerRunner* r) { return !r->isFinished(); });
    std::for_each(ended, kept->end(), [](WorkerRunner* r) { delete r; });
    kept->erase(ended, kept->end());
    kept->push_back(runner);
}

} // namespace

WorkerThread::WorkerThread(const QString& name, std::chrono::milliseconds shutdownWait)
    : m_name(name), m_shutdownWait(shutdownWait)
{
}

WorkerThread::~WorkerThread()
{
    stop();
}

QObject* WorkerThread::start(std::function<QObject*()> make)
{
    Q_ASSERT(!m_runner && !m_abandoned);
    m_runner = std::make_unique<WorkerRunner>(std::move(make));
    m_runner->setObjectName(m_name);
    m_runner->start();
    return m_runner->waitForWorker();
}

void WorkerThread::post(std::function<void()> work)
{
    if (m_runner)
        m_runner->post(std::move(work));
}

bool WorkerThread::stop()
{
    if (!m_runner)
        return !m_abandoned;
    m_runner->close();
    if (m_runner->wait(static_cast<unsigned long>(m_shutdownWait.count())))
        return true;
    qWarning().noquote() << QStringLiteral("The thread \"%1\" is still busy %2 ms after it was "
                                           "asked to end; it is left to end on its own.")
                                .arg(m_name)
                                .arg(m_shutdownWait.count());
    keepUntilEnded(m_runner.release());
    m_abandoned = true;
    return false;
}

bool WorkerThread::isRunning() const
{
    return m_runner && m_runner->isRunning();
}

void WorkerThread::forwardSignals(const QObject* worker, QObject* owner,
                                  const QMetaObject& declaredBy)
{
    Q_ASSERT(worker->metaObject()->inherits(&declaredBy));
    Q_ASSERT(owner->metaObject()->inherits(&declaredBy));
    for (int index = declaredBy.methodOffset(); index < declaredBy.methodCount(); ++index) {
        const QMetaMethod signal = declaredBy.method(index);
        if (signal.methodType() != QMetaMethod::Signal)
            continue;
        const QList<QByteArray> types = signal.parameterTypes();
        const bool pointer = std::any_of(types.cbegin(), types.cend(),
                                         [](const QByteArray& type) { return type.endsWith('*'); });
        QObject::connect(worker, signal, owner, signal,
                         pointer ? Qt::DirectConnection : Qt::QueuedConnection);
    }
}
