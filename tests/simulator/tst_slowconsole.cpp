#include "consoleclient.h"
#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QtTest>

// The console's slow-link faults (console-rate, console-latency) seen from a plain client socket,
// and the timed wire log that tells how many requests were unanswered at once.
class TestSlowConsole : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void repliesAtRateAndLatency_data();
    void repliesAtRateAndLatency();
    void disconnectDropsQueuedReplies();

private:
    VirtualProcessor* m_device = nullptr;
};

namespace {

const QString loginLine = QStringLiteral(R"(connect administrator "quillrampstow")");
// One round of requests: a long listing, an enumeration and short values.
const QStringList requestRound = {
    QStringLiteral(R"(ls "\\Preset\")"),
    QStringLiteral(R"(lc "\\Node\Wizard\SV\TargetCurve\EN\")"),
    QStringLiteral(R"(get "\\Node\SV\DeviceName\")"),
    QStringLiteral(R"(sub "\\Preset\Crossover\SV\Band_4_Gain\%")"),
};

QStringList faultSettings(int rate, int latencyMs)
{
    QStringList settings;
    if (rate > 0)
        settings << "console-rate=" + QString::number(rate);
    if (latencyMs > 0)
        settings << "console-latency=" + QString::number(latencyMs);
    return settings;
}

void sendRounds(ConsoleClient& client, int rounds)
{
    QByteArray bytes;
    for (int i = 0; i < rounds; ++i)
        bytes += (requestRound.join('\n') + '\n').toUtf8();
    client.sendBytes(bytes);
}

int byteCount(const QStringList& lines)
{
    return (lines.join('\n') + '\n').toUtf8().size();
}

} // namespace

void TestSlowConsole::cleanup()
{
    delete m_device;
    m_device = nullptr;
}

void TestSlowConsole::repliesAtRateAndLatency_data()
{
    QTest::addColumn<int>("rate");      // bytes a second; 0: none
    QTest::addColumn<int>("latencyMs"); // 0: none
    QTest::addColumn<bool>("atStart");  // else switched on at run time

    QTest::newRow("2,000 B/s from the start") << 2000 << 0 << true;
    QTest::newRow("20,000 B/s at run time") << 20000 << 0 << false;
    QTest::newRow("300 ms from the start") << 0 << 300 << true;
    QTest::newRow("300 ms at run time") << 0 << 300 << false;
    QTest::newRow("4,000 B/s and 200 ms") << 4000 << 200 << true;
}

// Rounds of requests sent at once: every answer arrives whole and in order, its first byte no
// sooner than the latency after the request, at the rate; the timed wire log counts them all in
// flight together.
void TestSlowConsole::repliesAtRateAndLatency()
{
    QFETCH(int, rate);
    QFETCH(int, latencyMs);
    QFETCH(bool, atStart);
    QStringList arguments;
    for (const QString& setting : faultSettings(rate, latencyMs))
        arguments << "--fault" << setting;
    m_device = new VirtualProcessor(this);
    QVERIFY(m_device->start(atStart ? arguments : QStringList()));

    ConsoleClient client;
    const qint64 connectedAt = client.elapsedMs();
    QVERIFY(client.connectTo(m_device->address()));
    QVERIFY(client.login());
    if (atStart) {
        QVERIFY(client.reads().first().atMs - connectedAt >= latencyMs);
        QVERIFY(m_device->setConsoleLink(0));
    }
    // The same round answered at full speed is the reference for order and completeness.
    client.send(requestRound.join('\n'));
    const QStringList oneRound = client.linesUntilProbe(client.lines().size());
    QVERIFY(oneRound.size() > requestRound.size());
    QVERIFY(m_device->setConsoleLink(rate, latencyMs));

    // Enough rounds for a second of bytes at the rate, or one without a rate.
    const int rounds = qMax(1, rate / byteCount(oneRound));
    const int readsBefore = client.reads().size();
    const int linesBefore = client.lines().size();
    const int exchangesBefore = m_device->exchanges().size();
    const qint64 sentAt = client.elapsedMs();
    sendRounds(client, rounds);
    QStringList expected;
    for (int i = 0; i < rounds; ++i)
        expected += oneRound;
    QVERIFY(client.waitForLineCount(linesBefore + expected.size()));
    QCOMPARE(client.lines().mid(linesBefore), expected);

    const QList<ConsoleClient::Read> reads = client.reads().mid(readsBefore);
    QVERIFY(reads.first().atMs - sentAt >= latencyMs);
    if (rate > 0) {
        // From the end of the first read to the end of the last, the bytes after the first.
        const qint64 bytes = byteCount(expected) - reads.first().bytes.size();
        const double seconds = (reads.last().atMs - reads.first().atMs) / 1000.0;
        const double measured = bytes / seconds;
        QVERIFY2(qAbs(measured - rate) <= rate * 0.15,
                 qPrintable(QString("%1 B/s for %2").arg(measured).arg(rate)));
    }

    const QList<WireExchange> exchanges = m_device->exchanges().mid(exchangesBefore);
    QCOMPARE(exchanges.size(), rounds * requestRound.size());
    // Sent in one write, nearly all are read before the first answer has left; on a slow machine
    // the first few may be answered while the device is still reading.
    QVERIFY2(mostRequestsInFlight(exchanges) > exchanges.size() / 2,
             qPrintable(QString("%1 of %2 in flight together")
                            .arg(mostRequestsInFlight(exchanges))
                            .arg(exchanges.size())));
    for (const WireExchange& exchange : exchanges) {
        QVERIFY(exchange.answeredMs - exchange.requestedMs >= latencyMs);
        QVERIFY(exchange.answerBytes > 0);
    }
    qint64 answerBytes = 0;
    for (const WireExchange& exchange : exchanges)
        answerBytes += exchange.answerBytes;
    QCOMPARE(answerBytes, qint64(byteCount(expected)));
}

// A client gone mid-answer takes its queued replies with it: nothing more is written for it, and
// the next client is served.
void TestSlowConsole::disconnectDropsQueuedReplies()
{
    m_device = new VirtualProcessor(this);
    QVERIFY(m_device->start({"--fault", "console-rate=1000"}));
    {
        ConsoleClient leaving;
        QVERIFY(leaving.connectTo(m_device->address()));
        QVERIFY(leaving.login());
        sendRounds(leaving, 10);
        QVERIFY(QTest::qWaitFor([&] { return leaving.lines().size() > 3; }, qx8test::timeoutMs()));
    }
    QTRY_VERIFY(m_device->wireLog().contains("1 closed"));
    const QStringList log = m_device->wireLog();
    QCOMPARE(log.filter(QRegularExpression("^1 ")).last(), QString("1 closed"));
    const QList<WireExchange> exchanges = m_device->exchanges();
    QVERIFY(exchanges.last().answeredMs < 0);

    ConsoleClient staying;
    QVERIFY(staying.connectTo(m_device->address()));
    QVERIFY(staying.login());
    QCOMPARE(m_device->command("connections"), QString("ok 1"));
}

QX8_TEST_GUILESS_MAIN(TestSlowConsole)
#include "tst_slowconsole.moc"
