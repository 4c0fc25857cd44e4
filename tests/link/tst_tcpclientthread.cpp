// The console socket thread on real sockets: reads, writes, the busy drop and reconnects.
#include "appbusyflag.h"
#include "blackhole.h"
#include "scriptedpeer.h"
#include "tcpclientthread.h"
#include "testharness.h"
#include "testmain.h"
#include "workerthread.h"

#include <QRegularExpression>
#include <QTest>

namespace {

QByteArray bs(const char* text)
{
    return QByteArray(text).replace('/', '\\');
}

// The socket thread as the link runs it: a worker on a thread of its own.
class ClientUnderTest
{
public:
    ClientUnderTest()
    {
        // Recorded on this thread's side of queued connections, never in the socket thread.
        QObject::connect(client, &TcpClientThread::repliesReceived, &records,
                         [this](const ConsoleReplyBatch& batch) { batches.append(batch); });
        QObject::connect(client, &TcpClientThread::messageSent, &records, [this] { ++sentCount; });
        QObject::connect(client, &TcpClientThread::error, &records, [this] { ++errorCount; });
        QObject::connect(client, &TcpClientThread::disconnected, &records,
                         [this] { ++disconnectCount; });
    }

    void connectTo(const QString& host, quint16 port)
    {
        thread.post(
            [host, port](TcpClientThread& client) { client.connectToHost(host, qint16(port)); });
    }
    void send(const QByteArray& line)
    {
        thread.post([line](TcpClientThread& client) { client.sendMessage(line); });
    }

    // The values of all value replies, and the kinds of all replies, in arrival order.
    QStringList values() const
    {
        QStringList values;
        for (const ConsoleReplyBatch& batch : batches) {
            for (const ConsoleReply& reply : batch.replies) {
                if (reply.kind == ConsoleReply::Kind::Value)
                    values.append(batch.view(reply.value).toString());
            }
        }
        return values;
    }
    QList<ConsoleReply::Kind> kinds() const
    {
        QList<ConsoleReply::Kind> kinds;
        for (const ConsoleReplyBatch& batch : batches) {
            for (const ConsoleReply& reply : batch.replies)
                kinds.append(reply.kind);
        }
        return kinds;
    }

    WorkerHost<TcpClientThread> thread{QStringLiteral("Console socket"), std::chrono::seconds(5)};
    TcpClientThread* client = thread.start([] {
        auto* client = new TcpClientThread;
        client->onStarted();
        return client;
    });
    QObject records;
    QList<ConsoleReplyBatch> batches;
    int sentCount = 0;
    int errorCount = 0;
    int disconnectCount = 0;
};

// A scripted peer with the socket thread connected to it.
struct Session
{
    bool open()
    {
        if (!peer.listen())
            return false;
        test.connectTo(peer.address(), peer.port());
        return peer.waitForConnections() &&
               QTest::qWaitFor([this] { return test.client->isConnected(); });
    }
    ScriptedPeer peer;
    ClientUnderTest test;
};

} // namespace

class TestTcpClientThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Banner, login answer and two replies in one segment: one batch, handed over once.
    void loginAndRepliesInOneRead()
    {
        Session s;
        QVERIFY(s.open());
        QCOMPARE(s.test.client->hostAddress(), s.peer.address());
        s.peer.send("Vimbal Console\nconnect logged in as administrator\n" +
                    bs("subr \"//Preset/Crossover/AT/NumBands/\" \"3\"\n"
                       "subr \"//Preset/PEQ/SV/Gain/%\" \"40\"\n"));
        QTRY_COMPARE_WITH_TIMEOUT(s.test.batches.size(), 1, qx8test::timeoutMs());
        QCOMPARE(s.test.kinds(),
                 QList({ConsoleReply::Kind::Banner, ConsoleReply::Kind::LoginAccepted,
                        ConsoleReply::Kind::Value, ConsoleReply::Kind::Value}));
        QCOMPARE(s.test.values(), QStringList({"3", "40"}));
    }

    void repliesAndListsAcrossReads()
    {
        Session s;
        QVERIFY(s.open());
        s.peer.send(bs("subr \"//Preset/PEQ/SV/Ga"));
        QTest::qWait(100);
        QVERIFY(s.test.batches.isEmpty());
        s.peer.send(bs("in/\" \"-3.5\"\r\nlc \"//Node/Wizard/SV/TargetCurve/EN\"\n\tFlat\n"));
        QTRY_COMPARE_WITH_TIMEOUT(s.test.values(), QStringList({"-3.5"}), qx8test::timeoutMs());
        s.peer.send("\tPink\nendlc\n");
        QTRY_COMPARE_WITH_TIMEOUT(s.test.kinds().size(), 2, qx8test::timeoutMs());
        QCOMPARE(s.test.kinds().last(), ConsoleReply::Kind::EnumerationList);
        const ConsoleList& list = s.test.batches.last().lists.at(0);
        QCOMPARE(list.items, QStringList({"Flat", "Pink"}));
        QCOMPARE(list.path, QString(bs("//Node/Wizard/SV/TargetCurve/EN")));
    }

    void busyDropsPollingOnly()
    {
        Session s;
        QVERIFY(s.open());
        AppBusyFlag::instance()->setBusy(true);
        s.test.send(bs("asyncget \"//Preset/Meter/SV/Level/\"\n"));
        s.test.send(bs("set \"//Preset/PEQ/SV/Gain/\" \"1\"\n"));
        s.test.send(bs("get \"//Node/SV/DeviceName/\"\n"));
        QVERIFY(s.peer.waitForLine(bs("get \"//Node/SV/DeviceName/\"")));
        QCOMPARE(s.peer.receivedLines(), QByteArrayList({bs("set \"//Preset/PEQ/SV/Gain/\" \"1\""),
                                                         bs("get \"//Node/SV/DeviceName/\"")}));
        QTRY_COMPARE(s.test.sentCount, 2);

        AppBusyFlag::instance()->setBusy(false);
        s.test.send(bs("asyncget \"//Preset/Meter/SV/Level/\"\n"));
        QVERIFY(s.peer.waitForLine(bs("asyncget \"//Preset/Meter/SV/Level/\"")));
    }

    void writerRefusesBrokenFraming()
    {
        Session s;
        QVERIFY(s.open());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Console line dropped"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Console line dropped"));
        s.test.send("set \"x\" \"1\"\nset \"y\" \"2\"\n");
        s.test.send("set \"x\" \"1\"");
        s.test.send("get \"z\"\n");
        QVERIFY(s.peer.waitForLine("get \"z\""));
        QCOMPARE(s.peer.receivedLines(), QByteArrayList({"get \"z\""}));
    }

    // A pending attempt is abandoned at once for the new device, and reports no error.
    void switchDeviceWhileConnecting()
    {
        BlackHole blackHole;
        QVERIFY(blackHole.ok);
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        test.connectTo(blackHole.address.toString(), 19272);
        QTRY_VERIFY(test.client->isConnected()); // pending counts as connected
        QTest::qWait(300);
        QCOMPARE(test.client->hostAddress(), blackHole.address.toString());

        QElapsedTimer clock;
        clock.start();
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        QVERIFY2(clock.elapsed() < 2000, "the pending attempt blocked the switch");
        QCOMPARE(test.client->hostAddress(), peer.address());
        QCOMPARE(test.errorCount, 0);
    }

    // A remote close in the middle of a list is an error; the next session starts clean, and
    // a switch to another device reports the old one's disconnect.
    void closedMidListThenNewSessions()
    {
        ScriptedPeer second; // outlives the client, which is still connected to it at the end
        Session s;
        QVERIFY(s.open());
        s.peer.send(bs("lc \"//Node/Wizard/SV/TargetCurve/EN\"\n\tFlat\n"));
        QTest::qWait(100);
        QTest::ignoreMessage(QtWarningMsg,
                             "Error code: 1, Error String: The remote host closed the connection");
        s.peer.closeConnection();
        QTRY_VERIFY(s.test.errorCount > 0);

        s.test.connectTo(s.peer.address(), s.peer.port());
        QVERIFY(s.peer.waitForConnections(2));
        s.peer.send("Vimbal Console\n");
        QTRY_COMPARE_WITH_TIMEOUT(s.test.kinds(), QList({ConsoleReply::Kind::Banner}),
                                  qx8test::timeoutMs());

        QVERIFY(second.listen());
        const int disconnectsBefore = s.test.disconnectCount;
        s.test.connectTo(second.address(), second.port());
        QVERIFY(second.waitForConnections());
        QTRY_COMPARE(s.test.disconnectCount, disconnectsBefore + 1);
    }
};

QX8_TEST_GUILESS_MAIN(TestTcpClientThread)
#include "tst_tcpclientthread.moc"
