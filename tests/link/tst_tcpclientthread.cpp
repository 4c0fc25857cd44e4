// The console socket thread on real sockets: reads, writes, the busy drop and reconnects.
#include "appbusyflag.h"
#include "scriptedpeer.h"
#include "signalrecorder.h"
#include "tcpadaptor.h"
#include "testharness.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray bs(const char* text)
{
    return QByteArray(text).replace('/', '\\');
}

// The socket thread as the link runs it: a worker in a thread of its own.
class ClientUnderTest
{
public:
    ClientUnderTest()
    {
        registerDataFromDeviceMetaTypes();
        client->moveToThread(&thread);
        QObject::connect(&thread, &QThread::started, client, &TcpClientThread::onStarted);
        QObject::connect(&thread, &QThread::finished, client, &TcpClientThread::onFinished,
                         Qt::DirectConnection);
        QObject::connect(client, &TcpClientThread::poSvData, &records,
                         [this](const DataFromDevice& data) { values.append(data.value); });
        thread.start();
    }
    ~ClientUnderTest()
    {
        thread.quit();
        thread.wait();
        delete client;
    }

    void connectTo(const QString& host, quint16 port)
    {
        QMetaObject::invokeMethod(
            client, [this, host, port] { client->connectToHost(host, qint16(port)); });
    }
    void send(const QByteArray& line)
    {
        QMetaObject::invokeMethod(client, [this, line] { client->sendMessage(line); });
    }

    QThread thread;
    TcpClientThread* client = new TcpClientThread;
    QObject records;
    QStringList values;
};

// A listener whose accept queue is full: a connection attempt to it stays pending.
class BlackHole
{
public:
    BlackHole()
    {
        address = qx8test::uniqueLoopbackAddress();
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_port = htons(19272);
        where.sin_addr.s_addr = htonl(address.toIPv4Address());
        ok = ::bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0 &&
             ::listen(listener, 0) == 0;
        for (int i = 0; ok && i < 3; ++i) {
            const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
            ::fcntl(filler, F_SETFL, O_NONBLOCK);
            ::connect(filler, reinterpret_cast<sockaddr*>(&where), sizeof where);
            fillers.push_back(filler);
        }
    }
    ~BlackHole()
    {
        for (int filler : fillers)
            ::close(filler);
        ::close(listener);
    }

    QHostAddress address;
    int listener = -1;
    bool ok = false;
    std::vector<int> fillers;
};

} // namespace

class TestTcpClientThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notStarted()
    {
        TcpClientThread client;
        QSignalSpy errors(&client, &TcpClientThread::error);
        client.connectToHost("127.0.0.1", 19272);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), QString("Network thread is not initialized"));
        QVERIFY(!client.isConnected());
    }

    void loginAndRepliesInOrder()
    {
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        SignalRecorder recorder(test.client);
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        QTRY_VERIFY(test.client->isConnected());
        QCOMPARE(test.client->hostAddress(), peer.address());

        // Banner, login answer and two replies in one segment: all handled in one read event.
        peer.send("Vimbal Console\nconnect logged in as administrator\n" +
                  bs("subr \"//Preset/Crossover/AT/NumBands/\" \"3\"\n"
                     "subr \"//Preset/PEQ/SV/Gain/%\" \"40\"\n"));
        QTRY_COMPARE_WITH_TIMEOUT(test.values.size(), 2, qx8test::timeoutMs());
        QCOMPARE(test.values, QStringList({"3", "40"}));
        QCOMPARE(recorder.names({"connected", "enterPassword", "vimbalReady", "homeScreenData",
                                 "homeScreenDataAvailable", "poSvData"}),
                 QStringList({"connected", "enterPassword", "vimbalReady", "homeScreenData",
                              "homeScreenDataAvailable", "poSvData", "poSvData"}));
    }

    void replySplitAcrossReads()
    {
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        peer.send(bs("subr \"//Preset/PEQ/SV/Ga"));
        QTest::qWait(200);
        QVERIFY(test.values.isEmpty());
        peer.send(bs("in/\" \"-3.5\"\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(test.values, QStringList({"-3.5"}), qx8test::timeoutMs());
    }

    void listAcrossReads()
    {
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        QSignalSpy lists(test.client, &TcpClientThread::enumsReceived);
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        peer.send(bs("lc \"//Node/Wizard/SV/TargetCurve/EN\"\n\tFlat\n"));
        QTest::qWait(100);
        peer.send("\tPink\nendlc\n");
        QTRY_COMPARE_WITH_TIMEOUT(lists.size(), 1, qx8test::timeoutMs());
        QCOMPARE(lists.at(0).at(0).toStringList(), QStringList({"Flat", "Pink"}));
        QCOMPARE(lists.at(0).at(1).toString(), QString(bs("//Node/Wizard/SV/TargetCurve/EN")));
    }

    void busyDropsPollingOnly()
    {
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        QSignalSpy sent(test.client, &TcpClientThread::messageSent);
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        QTRY_VERIFY(test.client->isConnected());

        AppBusyFlag::instance()->setBusy(true);
        test.send(bs("asyncget \"//Preset/Meter/SV/Level/\"\n"));
        test.send(bs("set \"//Preset/PEQ/SV/Gain/\" \"1\"\n"));
        test.send(bs("get \"//Node/SV/DeviceName/\"\n"));
        QVERIFY(peer.waitForLine(bs("get \"//Node/SV/DeviceName/\"")));
        QCOMPARE(peer.receivedLines(), QByteArrayList({bs("set \"//Preset/PEQ/SV/Gain/\" \"1\""),
                                                       bs("get \"//Node/SV/DeviceName/\"")}));
        QCOMPARE(sent.size(), 2);

        AppBusyFlag::instance()->setBusy(false);
        test.send(bs("asyncget \"//Preset/Meter/SV/Level/\"\n"));
        QVERIFY(peer.waitForLine(bs("asyncget \"//Preset/Meter/SV/Level/\"")));
    }

    void writerRefusesBrokenFraming()
    {
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        QTRY_VERIFY(test.client->isConnected());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Console line dropped"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Console line dropped"));
        test.send("set \"x\" \"1\"\nset \"y\" \"2\"\n");
        test.send("set \"x\" \"1\"");
        test.send("get \"z\"\n");
        QVERIFY(peer.waitForLine("get \"z\""));
        QCOMPARE(peer.receivedLines(), QByteArrayList({"get \"z\""}));
    }

    void switchDeviceWhileConnecting()
    {
        BlackHole blackHole;
        QVERIFY(blackHole.ok);
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        QSignalSpy errors(test.client, &TcpClientThread::error);
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
        QCOMPARE(errors.size(), 0);
    }

    void reconnectReportsOldDisconnect()
    {
        ScriptedPeer first, second;
        QVERIFY(first.listen());
        QVERIFY(second.listen());
        ClientUnderTest test;
        QSignalSpy disconnects(test.client, &TcpClientThread::disconnected);
        test.connectTo(first.address(), first.port());
        QVERIFY(first.waitForConnections());
        QTRY_VERIFY(test.client->isConnected());
        test.connectTo(second.address(), second.port());
        QVERIFY(second.waitForConnections());
        QTRY_COMPARE(disconnects.size(), 1);
    }

    void closedMidListThenNewLogin()
    {
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        QSignalSpy banners(test.client, &TcpClientThread::enterPassword);
        QSignalSpy errors(test.client, &TcpClientThread::error);
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        peer.send(bs("lc \"//Node/Wizard/SV/TargetCurve/EN\"\n\tFlat\n"));
        QTest::qWait(100);
        peer.closeConnection();
        QTRY_VERIFY(!errors.isEmpty()); // remote close is reported as an error

        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections(2));
        peer.send("Vimbal Console\n");
        QTRY_COMPARE_WITH_TIMEOUT(banners.size(), 1, qx8test::timeoutMs());
    }

    void remoteResetIsAnError()
    {
        ScriptedPeer peer;
        QVERIFY(peer.listen());
        ClientUnderTest test;
        QSignalSpy errors(test.client, &TcpClientThread::error);
        test.connectTo(peer.address(), peer.port());
        QVERIFY(peer.waitForConnections());
        QTRY_VERIFY(test.client->isConnected());
        peer.abortConnection();
        QTRY_COMPARE(errors.size(), 1);
        QVERIFY(!errors.at(0).at(0).toString().isEmpty());
        QTRY_VERIFY(!test.client->isConnected());
    }
};

QTEST_GUILESS_MAIN(TestTcpClientThread)
#include "tst_tcpclientthread.moc"
