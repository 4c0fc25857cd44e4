// Random fault schedules against the real link, bound controls, presets, tunings, updaters and
// firmware upload, with VirtualQX8 and the harness HTTP server as peers: every operation ends in
// its success or error within its limit, a success holds what it claims, and nothing reports
// after its outcome. Each schedule follows from its seed; QX8_FAULT_SEEDS ("SEED SEED ...") runs
// those seeds instead of the fixed rows.
#include "faultoperations.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "tuningfilemanager.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QRandomGenerator>
#include <QtTest>

using faultplan::FaultEvent;
using faultplan::Schedule;
using faultplan::Step;

namespace {

// Seeds that once found a fault, each with what it found.
const QList<QPair<quint32, const char*>> kRegressionSeeds = {
    {2986957047, "a login the device ignores left the link waiting for ever"},
    {1702358544, "the same, with the banner late and lines merged"},
    {2796680130, "the same, with the device frozen after the login"},
};

constexpr quint32 kFixedSeed = 20261206;
constexpr int kFixedSchedules = 16;
constexpr int kPrepareAttempts = 3;

// Under faults the application warns as it should; the warnings are kept for the report of a
// failing schedule. Warnings of Qt itself about misuse (objects across threads, sockets, timers)
// are faults of the application.
class WarningCollector
{
public:
    WarningCollector()
    {
        s_active = this;
        m_previous = qInstallMessageHandler(collect);
    }
    ~WarningCollector()
    {
        qInstallMessageHandler(m_previous);
        s_active = nullptr;
    }

    QStringList warnings() const
    {
        QMutexLocker lock(&m_mutex);
        return m_warnings;
    }
    QStringList misuses() const
    {
        static const QRegularExpression misuse(
            QStringLiteral("^(QObject|QThread|QSocketNotifier|QTimer|QMetaObject|QIODevice|"
                           "QBasicTimer|QCoreApplication|QTcpSocket|QAbstractSocket)\\b|ASSERT"));
        return warnings().filter(misuse);
    }

private:
    static void collect(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type != QtWarningMsg && type != QtCriticalMsg)
            return;
        QMutexLocker lock(&s_active->m_mutex);
        s_active->m_warnings.append(message);
    }

    static WarningCollector* s_active;
    QtMessageHandler m_previous = nullptr;
    mutable QMutex m_mutex;
    QStringList m_warnings;
};

WarningCollector* WarningCollector::s_active = nullptr;

QList<quint32> seedsFromEnvironment()
{
    QList<quint32> seeds;
    const QStringList words =
        qEnvironmentVariable("QX8_FAULT_SEEDS").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words)
        seeds.append(word.toUInt());
    return seeds;
}

} // namespace

class TestFaultSchedules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void schedule_data();
    void schedule();

private:
    QStringList runSchedule(const Schedule& schedule);
    QStringList runStep(FaultOperations& operations, const Step& step, int index);

    FaultPeers m_peers;
};

void TestFaultSchedules::initTestCase()
{
    QVERIFY(m_peers.prepare());
    TCPAdaptor::instance()->setConnectTimeout(FaultContext::kConnectTimeoutMs);
    QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
}

void TestFaultSchedules::cleanupTestCase()
{
    TuningFileManager::instance()->shutdown();
    TCPAdaptor::instance()->shutdown();
}

void TestFaultSchedules::schedule_data()
{
    QTest::addColumn<quint32>("seed");
    QList<quint32> seeds = seedsFromEnvironment();
    if (seeds.isEmpty()) {
        for (const auto& regression : kRegressionSeeds)
            seeds.append(regression.first);
        QRandomGenerator random(kFixedSeed);
        for (int index = 0; index < kFixedSchedules; ++index)
            seeds.append(random.generate());
    }
    for (quint32 seed : qAsConst(seeds))
        QTest::addRow("seed %u", seed) << seed;
}

void TestFaultSchedules::schedule()
{
    QFETCH(quint32, seed);
    const Schedule schedule = faultplan::scheduleFor(seed);
    QVERIFY(m_peers.startDevice(seed));
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, m_peers.device().address());
    const QStringList problems = runSchedule(schedule);
    m_peers.stopDevice();
    if (!problems.isEmpty()) {
        qInfo().noquote() << "FAULT SCHEDULE FAILED, seed" << seed;
        QFAIL(qPrintable(schedule.describe() + QStringLiteral("\n") +
                         problems.join(QLatin1Char('\n'))));
    }
}

QStringList TestFaultSchedules::runSchedule(const Schedule& schedule)
{
    QStringList problems;
    WarningCollector warnings;
    {
        FaultContext context(m_peers);
        FaultOperations operations(context);
        for (int index = 0; index < schedule.steps.size(); ++index)
            problems += runStep(operations, schedule.steps.at(index), index + 1);
        TCPAdaptor::instance()->doDisconnect();
        if (!QTest::qWaitFor([] { return !TCPAdaptor::instance()->isConnected(); },
                             qx8test::timeoutMs()))
            problems.append(QStringLiteral("the link did not log out at the end"));
        problems += context.violations();
    }
    for (const QString& misuse : warnings.misuses())
        problems.append(QStringLiteral("Qt warned: ") + misuse);
    if (!problems.isEmpty())
        problems.append(QStringLiteral("warnings on the way:\n  ") +
                        warnings.warnings().join(QStringLiteral("\n  ")));
    return problems;
}

QStringList TestFaultSchedules::runStep(FaultOperations& operations, const Step& step, int index)
{
    const QString name =
        QStringLiteral("step %1 (%2)").arg(index).arg(faultplan::operationName(step.operation));
    // What an operation needs is no part of the test: a busy machine gets a second try.
    QString unprepared;
    for (int attempt = 0; attempt < kPrepareAttempts; ++attempt) {
        unprepared = operations.prepare(step);
        if (unprepared.isEmpty())
            break;
    }
    if (!unprepared.isEmpty())
        return {name + QStringLiteral(": ") + unprepared};
    QStringList problems;
    QElapsedTimer clock;
    int next = 0;
    const auto applyDue = [&] {
        for (; next < step.events.size() && step.events.at(next).atMs <= clock.elapsed(); ++next) {
            if (const QString refused = m_peers.apply(step.events.at(next)); !refused.isEmpty())
                problems.append(name + QStringLiteral(": ") + refused);
        }
    };
    clock.start();
    applyDue();
    OutcomeLog& log = operations.start(step, index);
    const int deadline = step.lastEventMs() + FaultOperations::limitMs(step.operation);
    while (!log.outcome() && clock.elapsed() < deadline) {
        applyDue();
        QTest::qWait(5);
    }
    // Late reports of the operation, which would break its outcome, have a moment to come.
    QTest::qWait(100);
    const std::optional<OutcomeLog::Report> outcome = log.outcome();
    operations.finish(step);
    // A success is checked on calm peers: a frozen device cannot say what it has.
    if (const QString failure = m_peers.calm(); !failure.isEmpty())
        problems.append(name + QStringLiteral(": ") + failure);
    if (!outcome)
        problems.append(name + QStringLiteral(": no outcome within %1 ms").arg(deadline));
    else if (outcome->kind == OutcomeLog::Kind::Success) {
        if (const QString wrong = operations.checkSuccess(step); !wrong.isEmpty())
            problems.append(name + QStringLiteral(": reported success, but ") + wrong);
    } else if (step.events.isEmpty()) {
        problems.append(name + QStringLiteral(": failed without a fault: ") + outcome->text);
    }
    return problems;
}

QX8_TEST_GUILESS_MAIN(TestFaultSchedules)
#include "tst_faultschedules.moc"
