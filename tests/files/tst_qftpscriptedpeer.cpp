#include "ftptestsupport.h"
#include "qftp.h"
#include "scriptedpeer.h"
#include "signalrecorder.h"
#include "testharness.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using ftptest::pattern;
using ftptest::waitForDone;

// The client against a peer whose every reply the test writes: replies no well-behaved server
// sends (garbage, a refusing greeting, silence, broken passive-mode replies, a dropped
// connection, a 226 that overtakes its data).
class TestQFtpScriptedPeer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void greetingAfter120MultiLineAndLoginWithoutPassword();
    void refusingGreetingFailsConnect();
    void garbageLinesBeforeAReplyAreSkipped();
    void droppedConnectionFailsWaitingCommand();
    void silentPeerTimesOut_data();
    void silentPeerTimesOut();
    void refusedDataConnectionLetsLaterCommandsOut();
    void malformedPassiveReplyFails_data();
    void malformedPassiveReplyFails();
    void transferReplyBeforeDataIsHeldUntilDataIsIn();
    void allo202AndEmptyUpload();
    void peerThatNeverClosesAfterQuit();
    void destroyedWhileTransferring();
    void extendedPassiveOverIpv6FallsBackOnBadReply();

private:
    // Connects and logs in through the scripted greeting and login replies.
    bool logIn(QFtp& ftp);
    bool expect(const QByteArray& line);
    QByteArray passiveReply(quint16 port) const;
    QTcpSocket* acceptData();
    // Plays the server's side of a get of "f.bin" up to the 150 reply; returns the data socket.
    QTcpSocket* openDownload(const QByteArray& typeLine, const QByteArray& sizeReply);

    std::unique_ptr<ScriptedPeer> m_peer;
    std::unique_ptr<QTcpServer> m_data;
};

void TestQFtpScriptedPeer::init()
{
    m_peer = std::make_unique<ScriptedPeer>();
    QVERIFY(m_peer->listen(0));
    m_data = std::make_unique<QTcpServer>();
    QVERIFY(m_data->listen(QHostAddress(m_peer->address()), 0));
}

void TestQFtpScriptedPeer::cleanup()
{
    m_data.reset();
    m_peer.reset();
}

bool TestQFtpScriptedPeer::expect(const QByteArray& line)
{
    // The peer keeps the CR of each line.
    if (!m_peer->waitForLine(line + '\r'))
        return false;
    m_peer->clearLines();
    return true;
}

QByteArray TestQFtpScriptedPeer::passiveReply(quint16 port) const
{
    QByteArray address = m_peer->address().toLatin1();
    address.replace('.', ',');
    return "227 Entering Passive Mode (" + address + ',' + QByteArray::number(port / 256) + ',' +
           QByteArray::number(port % 256) + ").\r\n";
}

QTcpSocket* TestQFtpScriptedPeer::acceptData()
{
    // The client connects from this thread's event loop: wait with it running.
    if (!QTest::qWaitFor([&] { return m_data->hasPendingConnections(); }, qx8test::timeoutMs()))
        return nullptr;
    return m_data->nextPendingConnection();
}

QTcpSocket* TestQFtpScriptedPeer::openDownload(const QByteArray& typeLine,
                                               const QByteArray& sizeReply)
{
    if (!expect(typeLine))
        return nullptr;
    m_peer->send("200 ok\r\n");
    if (!expect("SIZE f.bin"))
        return nullptr;
    m_peer->send(sizeReply);
    if (!expect("PASV"))
        return nullptr;
    m_peer->send(passiveReply(m_data->serverPort()));
    QTcpSocket* data = acceptData();
    if (!data || !expect("RETR f.bin"))
        return nullptr;
    m_peer->send("150 Opening\r\n");
    return data;
}

bool TestQFtpScriptedPeer::logIn(QFtp& ftp)
{
    const int connections = m_peer->connectionCount();
    ftp.connectToHost(m_peer->address(), m_peer->port());
    ftp.login(QStringLiteral("user"), QStringLiteral("secret"));
    QSignalSpy done(&ftp, &QFtp::done);
    if (!m_peer->waitForConnections(connections + 1))
        return false;
    m_peer->clearLines();
    m_peer->send("220 Ready\r\n");
    if (!expect("USER user"))
        return false;
    m_peer->send("331 Password please\r\n");
    if (!expect("PASS secret"))
        return false;
    m_peer->send("230 Welcome\r\n");
    return done.wait(qx8test::timeoutMs()) && !done.first().first().toBool();
}

void TestQFtpScriptedPeer::greetingAfter120MultiLineAndLoginWithoutPassword()
{
    QFtp ftp;
    QSignalSpy started(&ftp, &QFtp::commandStarted);
    QSignalSpy states(&ftp, &QFtp::stateChanged);
    ftp.connectToHost(m_peer->address(), m_peer->port());
    ftp.login(QStringLiteral("user"), QStringLiteral("secret"));
    QVERIFY(m_peer->waitForConnections(1));
    m_peer->send("120 Wait a moment\r\n");
    QTest::qWait(50);
    QCOMPARE(started.count(), 1); // the connect is still waiting
    m_peer->send("220-Welcome\r\n220 Ready\r\n");
    QVERIFY(expect("USER user"));
    m_peer->send("230 No password needed\r\n");
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    QCOMPARE(ftp.state(), QFtp::LoggedIn);
    QCOMPARE(states.last().first().toInt(), int(QFtp::LoggedIn));
    QVERIFY(m_peer->receivedLines().isEmpty()); // no PASS went out
}

void TestQFtpScriptedPeer::refusingGreetingFailsConnect()
{
    QFtp ftp;
    SignalRecorder recorder(&ftp);
    const int connectId = ftp.connectToHost(m_peer->address(), m_peer->port());
    ftp.login(QStringLiteral("user"), QStringLiteral("secret"));
    QVERIFY(m_peer->waitForConnections(1));
    m_peer->send("421 Too many users, try later\r\n");
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    QCOMPARE(ftp.errorString(),
             QStringLiteral("Connecting to host failed:\nToo many users, try later"));
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QCOMPARE(recorder.count(QStringLiteral("commandStarted")), 1); // the login was cancelled
    const QList<SignalRecorder::Emission> emissions = recorder.emissions();
    QCOMPARE(emissions.at(emissions.size() - 3).name, QStringLiteral("stateChanged"));
    QCOMPARE(emissions.at(emissions.size() - 2).arguments, (QVariantList{connectId, true}));

    ftp.close(); // not connected: fails, and a later connect still works
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QVERIFY(logIn(ftp));
}

void TestQFtpScriptedPeer::garbageLinesBeforeAReplyAreSkipped()
{
    QFtp ftp;
    QVERIFY(logIn(ftp));
    ftp.cd(QStringLiteral("presets"));
    QVERIFY(expect("CWD presets"));
    // One segment: the valid reply sits behind the garbage and must still be read.
    m_peer->send("garbage\r\n\r\n999 nonsense\r\n250 Directory changed\r\n");
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    ftp.remove(QStringLiteral("x"));
    QVERIFY(expect("DELE x"));
    m_peer->send("550 No such file\r\n");
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.errorString(), QStringLiteral("Removing file failed:\nNo such file"));
}

void TestQFtpScriptedPeer::droppedConnectionFailsWaitingCommand()
{
    QFtp ftp;
    QVERIFY(logIn(ftp));
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    const int cdId = ftp.cd(QStringLiteral("presets"));
    ftp.remove(QStringLiteral("queued"));
    QVERIFY(expect("CWD presets"));
    m_peer->abortConnection();
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList{cdId, true}));
    QCOMPARE(ftp.error(), QFtp::NotConnected);
    QCOMPARE(ftp.errorString(),
             QStringLiteral("Changing directory failed:\nConnection closed by host ") +
                 m_peer->address());
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QVERIFY(logIn(ftp));
}

void TestQFtpScriptedPeer::silentPeerTimesOut_data()
{
    QTest::addColumn<bool>("greet");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("no greeting") << false << QStringLiteral("Connecting to host failed:\n");
    QTest::newRow("no reply") << true << QStringLiteral("Changing directory failed:\n");
}

void TestQFtpScriptedPeer::silentPeerTimesOut()
{
    QFETCH(bool, greet);
    QFETCH(QString, prefix);
    QFtp ftp;
    ftp.setProgressTimeout(300);
    if (greet) {
        QVERIFY(logIn(ftp));
        ftp.cd(QStringLiteral("presets"));
    } else {
        ftp.connectToHost(m_peer->address(), m_peer->port());
    }
    QElapsedTimer clock;
    clock.start();
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QVERIFY(clock.elapsed() >= 290);
    QCOMPARE(ftp.error(), QFtp::ConnectionRefused);
    QCOMPARE(ftp.errorString(), prefix + "Connection timed out to host " + m_peer->address());
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QVERIFY(logIn(ftp));
}

void TestQFtpScriptedPeer::refusedDataConnectionLetsLaterCommandsOut()
{
    QFtp ftp;
    QVERIFY(logIn(ftp));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ftp.nameList(&buffer);
    QVERIFY(expect("TYPE A"));
    m_peer->send("200 Type set\r\n");
    QVERIFY(expect("PASV"));
    const quint16 closedPort = m_data->serverPort();
    m_data->close();
    m_peer->send(passiveReply(closedPort));
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.error(), QFtp::ConnectionRefused);
    QCOMPARE(ftp.errorString(), QStringLiteral("Connection refused for data connection"));

    ftp.cd(QStringLiteral("presets"));
    QVERIFY(expect("CWD presets")); // the interpreter sends again
    m_peer->send("250 ok\r\n");
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
}

void TestQFtpScriptedPeer::malformedPassiveReplyFails_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("octet over 255") << QByteArray("227 Entering Passive Mode (300,0,0,1,4,5)\r\n");
    QTest::newRow("port byte over 255") << QByteArray("227 Passive (127,0,0,1,4,999)\r\n");
    QTest::newRow("port zero") << QByteArray("227 Passive (127,0,0,1,0,0)\r\n");
    QTest::newRow("huge number") << QByteArray("227 (127,0,0,1,99999999999999999999,1)\r\n");
    QTest::newRow("no numbers") << QByteArray("227 Entering Passive Mode\r\n");
}

void TestQFtpScriptedPeer::malformedPassiveReplyFails()
{
    QFETCH(QByteArray, reply);
    QFtp ftp;
    QVERIFY(logIn(ftp));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ftp.get(QStringLiteral("f"), &buffer);
    QVERIFY(expect("TYPE I"));
    m_peer->send("200 ok\r\n");
    QVERIFY(expect("SIZE f"));
    m_peer->send("213 10\r\n");
    QVERIFY(expect("PASV"));
    m_peer->send(reply);
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    QVERIFY(ftp.errorString().startsWith(
        QStringLiteral("Downloading file failed:\nBad passive mode reply: ")));
    QVERIFY(!m_peer->receivedLines().contains("RETR f\r"));

    ftp.cd(QStringLiteral("d"));
    QVERIFY(expect("CWD d"));
    m_peer->send("250 ok\r\n");
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
}

void TestQFtpScriptedPeer::transferReplyBeforeDataIsHeldUntilDataIsIn()
{
    const QByteArray content = pattern(100000);
    QFtp ftp;
    QVERIFY(logIn(ftp));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QList<QPair<qint64, qint64>> progress;
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done, qint64 total) {
        progress.append({done, total});
    });
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    ftp.get(QStringLiteral("f.bin"), &buffer, QFtp::Ascii);
    // SIZE refused in ASCII mode: not fatal.
    QTcpSocket* data = openDownload("TYPE A", "550 SIZE not allowed in ASCII mode\r\n");
    QVERIFY(data);
    data->write(content.left(1000));
    data->flush();
    m_peer->send("226 Transfer complete\r\n");
    QTest::qWait(100);
    QCOMPARE(finished.count(), 0); // held: the data is not all in yet
    data->write(content.mid(1000));
    data->disconnectFromHost();
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
    QVERIFY(buffer.data() == content);
    QCOMPARE(progress.first(), qMakePair(qint64(0), qint64(0))); // SIZE failed: no total
    QCOMPARE(progress.last().first, qint64(content.size()));
}

void TestQFtpScriptedPeer::allo202AndEmptyUpload()
{
    QFtp ftp;
    QVERIFY(logIn(ftp));
    QList<QPair<qint64, qint64>> progress;
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done, qint64 total) {
        progress.append({done, total});
    });
    ftp.put(QByteArray(), QStringLiteral("empty.bin"));
    QVERIFY(expect("TYPE I"));
    m_peer->send("200 ok\r\n");
    QVERIFY(expect("PASV"));
    m_peer->send(passiveReply(m_data->serverPort()));
    QTcpSocket* data = acceptData();
    QVERIFY(data);
    QVERIFY(expect("ALLO 0"));
    m_peer->send("202 No storage allocation necessary\r\n"); // a failure, but not for a put
    QVERIFY(expect("STOR empty.bin"));
    // The client closes the data connection as soon as it reads the 150.
    m_peer->send("150 Ok to send\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(data->state(), QAbstractSocket::UnconnectedState,
                              qx8test::timeoutMs());
    QCOMPARE(data->readAll(), QByteArray());
    m_peer->send("226 Transfer complete\r\n");
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
    QVERIFY(progress.contains(qMakePair(qint64(0), qint64(0))));
}

void TestQFtpScriptedPeer::peerThatNeverClosesAfterQuit()
{
    QFtp ftp;
    ftp.setProgressTimeout(300);
    QVERIFY(logIn(ftp));
    SignalRecorder recorder(&ftp);
    ftp.close();
    QVERIFY(expect("QUIT"));
    m_peer->send("221 Goodbye\r\n"); // and keeps the connection open
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed); // the client closed it itself
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QCOMPARE(recorder.names(), (QStringList{"commandStarted", "stateChanged", "stateChanged",
                                            "commandFinished", "done"}));
}

void TestQFtpScriptedPeer::destroyedWhileTransferring()
{
    auto ftp = std::make_unique<QFtp>();
    QVERIFY(logIn(*ftp));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ftp->get(QStringLiteral("f.bin"), &buffer);
    ftp->remove(QStringLiteral("f.bin"));
    QTcpSocket* data = openDownload("TYPE I", "213 1000000\r\n");
    QVERIFY(data);
    data->write(pattern(1000));
    QTRY_VERIFY_WITH_TIMEOUT(buffer.size() > 0, qx8test::timeoutMs());
    ftp.reset();
    QVERIFY(expect("ABOR")); // the queued remove never goes out
    QTRY_COMPARE_WITH_TIMEOUT(data->state(), QAbstractSocket::UnconnectedState,
                              qx8test::timeoutMs());
}

void TestQFtpScriptedPeer::extendedPassiveOverIpv6FallsBackOnBadReply()
{
    QTcpServer control;
    if (!control.listen(QHostAddress::LocalHostIPv6, 0))
        QFAIL("no IPv6 loopback in this namespace");
    QFtp ftp;
    ftp.connectToHost(QStringLiteral("::1"), control.serverPort());
    QVERIFY(QTest::qWaitFor([&] { return control.hasPendingConnections(); }, qx8test::timeoutMs()));
    QTcpSocket* peer = control.nextPendingConnection();
    const auto expectLine = [&](const QByteArray& line) {
        return QTest::qWaitFor([&] { return peer->canReadLine(); }, qx8test::timeoutMs()) &&
               peer->readLine() == line + "\r\n";
    };
    peer->write("220 Ready\r\n");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ftp.nameList(&buffer);
    QVERIFY(expectLine("TYPE A"));
    peer->write("200 ok\r\n");
    QVERIFY(expectLine("EPSV"));
    // Too few fields: read as the failure of EPSV, so the client asks again the old way.
    peer->write("229 Entering Extended Passive Mode (|||)\r\n");
    QVERIFY(expectLine("PASV"));
    peer->write("425 Not now\r\n");
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.errorString(), QStringLiteral("Not now"));
}

QTEST_GUILESS_MAIN(TestQFtpScriptedPeer)
#include "tst_qftpscriptedpeer.moc"
