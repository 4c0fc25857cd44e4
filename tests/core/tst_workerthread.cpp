// The worker-thread host with real threads and a real socket: where the worker lives and dies,
// what happens to queued work at the end, work that outlasts the bounded wait, and the signals
// it passes on. Threads are looked up in /proc, not taken on the host's word.
#include "testharness.h"
#include "testmain.h"
#include "workerthread.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <thread>

#include <unistd.h>

namespace {

// Whether the kernel still runs the thread `task`. Other threads of the process (Qt's own, the
// last test's) may come and go meanwhile, so threads are not counted.
bool taskAlive(pid_t task)
{
    return QDir(QStringLiteral("/proc/self/task/%1").arg(task)).exists();
}

// What a worker did, in order, and on which thread.
class Journal
{
public:
    void note(const QString& event)
    {
        const QMutexLocker lock(&m_mutex);
        m_events.append(event);
        m_threads.append(QThread::currentThread());
    }
    QStringList events() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_events;
    }
    QList<QThread*> threads() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_threads;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_events;
    QList<QThread*> m_threads;
};

class JournalWorker : public QObject
{
public:
    explicit JournalWorker(Journal& journal) : m_journal(journal) { m_journal.note("made"); }
    ~JournalWorker() override { m_journal.note("destroyed"); }
    void work(const QString& name) { m_journal.note(name); }

private:
    Journal& m_journal;
};

} // namespace

// Declared once, emitted by the worker, passed on by the owner.
class ProbeSignals : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    void said(QString text);
    void asked(int* answer);
};

class TestWorkerThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void endsOneWay_data();
    void endsOneWay();
    void queuedWorkIsDroppedAtStop();
    void workBlockedPastTheWaitIsLeftToEnd();
    void signalsArePassedOn();
};

void TestWorkerThread::endsOneWay_data()
{
    QTest::addColumn<bool>("explicitStop");
    QTest::newRow("stop()") << true;
    QTest::newRow("host destroyed") << false;
}

// Made on its own thread, work in the order posted, deleted on that thread before the host lets
// go, and the thread gone.
void TestWorkerThread::endsOneWay()
{
    QFETCH(bool, explicitStop);
    Journal journal;
    pid_t task = 0;
    {
        WorkerHost<JournalWorker> host(QStringLiteral("journal"), std::chrono::seconds(5));
        JournalWorker* worker = host.start([&journal, &task] {
            task = gettid();
            return new JournalWorker(journal);
        });
        QVERIFY(taskAlive(task));
        QCOMPARE(journal.events(), QStringList{"made"});
        QVERIFY(worker->thread() != QThread::currentThread());
        for (const char* name : {"one", "two", "three"})
            host.post([name](JournalWorker& w) { w.work(QString::fromUtf8(name)); });
        QTRY_COMPARE_WITH_TIMEOUT(journal.events().size(), 4, qx8test::timeoutMs());
        QVERIFY(host.isRunning());
        if (explicitStop) {
            QVERIFY(host.stop());
            QVERIFY(!host.isRunning());
            QVERIFY(host.stop()); // again: nothing left to do
        }
    }
    QCOMPARE(journal.events(), (QStringList{"made", "one", "two", "three", "destroyed"}));
    const QList<QThread*> threads = journal.threads();
    QVERIFY(!threads.contains(QThread::currentThread()));
    QCOMPARE(threads.count(threads.first()), threads.size());
    QTRY_VERIFY_WITH_TIMEOUT(!taskAlive(task), qx8test::timeoutMs());
}

// The work under way finishes; the work queued behind it never runs, and what it held is freed.
void TestWorkerThread::queuedWorkIsDroppedAtStop()
{
    WorkerHost<QObject> host(QStringLiteral("queued"), std::chrono::seconds(5));
    host.start([] { return new QObject; });
    std::atomic<bool> started{false};
    std::atomic<bool> release{false};
    std::atomic<int> ran{0};
    const auto held = std::make_shared<int>(0);
    host.post([&](QObject&) {
        started = true;
        while (!release)
            QThread::msleep(1);
        ++ran;
    });
    for (int i = 0; i < 5; ++i)
        host.post([&ran, held](QObject&) { ++ran; });
    QTRY_VERIFY_WITH_TIMEOUT(started, qx8test::timeoutMs());
    QCOMPARE(held.use_count(), 6);

    std::thread releaser([&release] {
        QThread::msleep(100);
        release = true;
    });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(host.stop());
    releaser.join();
    QVERIFY2(clock.elapsed() >= 90, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(ran.load(), 1);
    QCOMPARE(held.use_count(), 1);
    host.post([&ran, held](QObject&) { ++ran; }); // after the end: dropped at once
    QCOMPARE(held.use_count(), 1);
    QCOMPARE(ran.load(), 1);
}

// A worker blocked reading a silent peer outlasts the wait: stop() returns after the wait, the
// thread is neither terminated nor destroyed, and it ends on its own, deleting its worker there,
// once the peer speaks.
void TestWorkerThread::workBlockedPastTheWaitIsLeftToEnd()
{
    QTcpServer peer;
    QVERIFY(peer.listen(QHostAddress::LocalHost));
    std::atomic<Qt::HANDLE> workedOn{nullptr};
    std::atomic<Qt::HANDLE> destroyedOn{nullptr};
    struct SocketWorker : QObject
    {
        SocketWorker(quint16 port, std::atomic<Qt::HANDLE>& destroyedOn)
            : socket(new QTcpSocket(this)), destroyedOn(destroyedOn)
        {
            socket->connectToHost(QHostAddress::LocalHost, port);
        }
        ~SocketWorker() override { destroyedOn = QThread::currentThreadId(); }
        QTcpSocket* socket;
        std::atomic<Qt::HANDLE>& destroyedOn;
    };
    const quint16 port = peer.serverPort();
    QTcpSocket* far = nullptr;
    std::atomic<pid_t> workerTask{0};
    {
        WorkerHost<SocketWorker> host(QStringLiteral("blocked"), std::chrono::milliseconds(300));
        host.start([port, &destroyedOn] { return new SocketWorker(port, destroyedOn); });
        QVERIFY(peer.waitForNewConnection(qx8test::timeoutMs()));
        far = peer.nextPendingConnection();
        host.post([&workedOn, &workerTask](SocketWorker& worker) {
            workerTask = gettid();
            workedOn = QThread::currentThreadId();
            worker.socket->waitForReadyRead(-1);
        });
        QTRY_VERIFY_WITH_TIMEOUT(workedOn.load() != nullptr, qx8test::timeoutMs());

        qx8test::expectWarnings("^The thread \"blocked\" is still busy 300 ms after it was asked");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!host.stop());
        const qint64 stopMs = clock.elapsed();
        QVERIFY2(stopMs >= 290 && stopMs < 2000, qPrintable(QString::number(stopMs)));
        QVERIFY(!host.stop());
    }
    QThread::msleep(100);
    QVERIFY(taskAlive(workerTask));
    QCOMPARE(destroyedOn.load(), nullptr);

    far->write("x");
    QVERIFY(far->waitForBytesWritten(qx8test::timeoutMs()));
    QTRY_COMPARE_WITH_TIMEOUT(destroyedOn.load(), workedOn.load(), qx8test::timeoutMs());
    QTRY_VERIFY_WITH_TIMEOUT(!taskAlive(workerTask), qx8test::timeoutMs());
}

// Plain signals reach the owner's thread queued; one with a pointer is answered in the worker's
// thread during the emission.
void TestWorkerThread::signalsArePassedOn()
{
    ProbeSignals owner;
    QList<QPair<QString, QThread*>> heard;
    std::atomic<QThread*> askedOn{nullptr};
    connect(&owner, &ProbeSignals::said, this, [&heard](const QString& text) {
        heard.append({text, QThread::currentThread()});
    });
    connect(
        &owner, &ProbeSignals::asked, this,
        [&askedOn](int* answer) {
            askedOn = QThread::currentThread();
            *answer = 42;
        },
        Qt::DirectConnection);
    std::atomic<int> answered{0};
    WorkerHost<ProbeSignals> host(QStringLiteral("signals"), std::chrono::seconds(5));
    ProbeSignals* worker = host.start([&owner] {
        auto* worker = new ProbeSignals;
        WorkerThread::forwardSignals(worker, &owner, ProbeSignals::staticMetaObject);
        return worker;
    });
    host.post([&answered](ProbeSignals& worker) {
        Q_EMIT worker.said(QStringLiteral("first"));
        int answer = 0;
        Q_EMIT worker.asked(&answer);
        answered = answer;
        Q_EMIT worker.said(QStringLiteral("second"));
    });
    QTRY_COMPARE_WITH_TIMEOUT(heard.size(), 2, qx8test::timeoutMs());
    QCOMPARE(answered.load(), 42);
    QCOMPARE(askedOn.load(), worker->thread());
    QCOMPARE(heard.at(0), qMakePair(QStringLiteral("first"), QThread::currentThread()));
    QCOMPARE(heard.at(1), qMakePair(QStringLiteral("second"), QThread::currentThread()));
    QVERIFY(host.stop());
}

QX8_TEST_GUILESS_MAIN(TestWorkerThread)
#include "tst_workerthread.moc"
