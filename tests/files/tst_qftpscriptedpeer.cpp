#include "ftpclientthread.h"
#include "ftptestsupport.h"
#include "qftp.h"
#include "scriptedpeer.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using ftptest::fails;
using ftptest::pattern;
using ftptest::succeeds;

// The client against a peer whose every reply the test writes: replies no well-behaved server
// sends (garbage, a refusing greeting, silence, broken passive-mode replies, a dropped
// connection, a 226 that overtakes its data). Each failure leaves a client that connects again.
class TestQFtpScriptedPeer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void greetingAndRepliesBehindGarbage();
    void controlConnectionFails_data();
    void controlConnectionFails();
    void passiveModeFails_data();
    void passiveModeFails();
    void passiveReplyCannotSendDataElsewhere_data();
    void passiveReplyCannotSendDataElsewhere();
    void commandQueuedFromDoneIsSent_data();
    void commandQueuedFromDoneIsSent();
    void dataErrorEndsWithItsTransfer_data();
    void dataErrorEndsWithItsTransfer();
    void transferReplyBeforeDataIsHeldUntilDataIsIn();
    void peerThatNeverClosesAfterQuit();
    void destroyedWhileTransferring();
    void extendedPassiveOverIpv6FallsBackOnBadReply();
    void sessionRefusesADownloadCutShort();
    void sessionErrorsCarryTheWholeText_data();
    void sessionErrorsCarryTheWholeText();
    void sessionChecksWhatItStored_data();
    void sessionChecksWhatItStored();
    void sessionListsNamesAsTheyCame_data();
    void sessionListsNamesAsTheyCame();

private:
    // Connects and logs in through the scripted greeting and login replies.
    bool logIn(QFtp& ftp);
    bool expect(const QByteArray& line);
    QByteArray passiveReply(quint16 port) const;
    // Play the server's side of a get of "f.bin" up to PASV, or up to the 150 reply returning
    // the data socket.
    bool answerUpToPassive(const QByteArray& typeLine, const QByteArray& sizeReply);
    QTcpSocket* openDownload(const QByteArray& typeLine, const QByteArray& sizeReply);
    // Answers the PASV just received with the data server's address; returns the client's data
    // connection.
    QTcpSocket* acceptPassive();
    // Play the server's side of a put of `bytes` into "f.bin" up to its 226, and of a listing
    // that sends `lines` (a refused LIST when empty).
    bool answerStore(const QByteArray& bytes);
    bool answerListing(const QByteArray& lines);
    // Logs a session in through the scripted greeting.
    bool logIn(FtpClientThread& session);
    // Logs a session in and asks it for the name listing of "/d", answered up to its PASV.
    bool requestListingUpToPassive(FtpClientThread& session);

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

bool TestQFtpScriptedPeer::answerUpToPassive(const QByteArray& typeLine,
                                             const QByteArray& sizeReply)
{
    if (!expect(typeLine))
        return false;
    m_peer->send("200 ok\r\n");
    if (!expect("SIZE f.bin"))
        return false;
    m_peer->send(sizeReply);
    return expect("PASV");
}

QTcpSocket* TestQFtpScriptedPeer::acceptPassive()
{
    m_peer->send(passiveReply(m_data->serverPort()));
    // The client connects from this thread's event loop: wait with it running.
    if (!QTest::qWaitFor([&] { return m_data->hasPendingConnections(); }, qx8test::timeoutMs()))
        return nullptr;
    return m_data->nextPendingConnection();
}

bool TestQFtpScriptedPeer::answerStore(const QByteArray& bytes)
{
    if (!expect("TYPE I"))
        return false;
    m_peer->send("200 ok\r\n");
    QTcpSocket* data = expect("PASV") ? acceptPassive() : nullptr;
    if (!data || !expect("ALLO " + QByteArray::number(bytes.size())))
        return false;
    m_peer->send("200 ok\r\n");
    if (!expect("STOR f.bin"))
        return false;
    m_peer->send("150 Ok to send data\r\n");
    QByteArray received;
    const bool whole = QTest::qWaitFor(
        [&] {
            received += data->readAll();
            return received.size() >= bytes.size();
        },
        qx8test::timeoutMs());
    data->close();
    m_peer->send("226 Transfer complete\r\n");
    return whole && received == bytes;
}

bool TestQFtpScriptedPeer::answerListing(const QByteArray& lines)
{
    if (!expect("TYPE A"))
        return false;
    m_peer->send("200 ok\r\n");
    QTcpSocket* data = expect("PASV") ? acceptPassive() : nullptr;
    if (!data || !expect("LIST"))
        return false;
    if (lines.isEmpty()) {
        m_peer->send("500 Command LIST not understood\r\n");
        return true;
    }
    m_peer->send("150 Here comes the listing\r\n");
    data->write(lines);
    data->flush();
    data->close();
    m_peer->send("226 Directory send OK\r\n");
    return true;
}

bool TestQFtpScriptedPeer::logIn(FtpClientThread& session)
{
    QSignalSpy connected(&session, &FtpClientThread::connected);
    const int connections = m_peer->connectionCount();
    session.onConnectToHost(m_peer->address(), QStringLiteral("user"), QStringLiteral("secret"));
    if (!m_peer->waitForConnections(connections + 1))
        return false;
    m_peer->send("220 Ready\r\n");
    if (!expect("USER user"))
        return false;
    m_peer->send("230 No password needed\r\n");
    return QTest::qWaitFor([&] { return !connected.isEmpty(); }, qx8test::timeoutMs());
}

bool TestQFtpScriptedPeer::requestListingUpToPassive(FtpClientThread& session)
{
    if (!logIn(session))
        return false;
    session.onRequestFileList(QStringLiteral("/d"));
    if (!expect("CWD /d"))
        return false;
    m_peer->send("250 Directory changed\r\n");
    if (!expect("TYPE A"))
        return false;
    m_peer->send("200 ok\r\n");
    return expect("PASV");
}

QTcpSocket* TestQFtpScriptedPeer::openDownload(const QByteArray& typeLine,
                                               const QByteArray& sizeReply)
{
    if (!answerUpToPassive(typeLine, sizeReply))
        return nullptr;
    QTcpSocket* data = acceptPassive();
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
    return succeeds(ftp);
}

void TestQFtpScriptedPeer::greetingAndRepliesBehindGarbage()
{
    QFtp ftp;
    ftp.connectToHost(m_peer->address(), m_peer->port());
    ftp.login(QStringLiteral("user"), QStringLiteral("secret"));
    ftp.cd(QStringLiteral("presets"));
    QVERIFY(m_peer->waitForConnections(1));
    // One segment each: the valid reply sits behind the garbage and must still be read.
    m_peer->send(
        "120 Wait a moment\r\ngarbage\r\n\r\n999 nonsense\r\n220-Welcome\r\n220 Ready\r\n");
    QVERIFY(expect("USER user"));
    m_peer->send("230 No password needed\r\n");
    QVERIFY(expect("CWD presets")); // no PASS went out
    m_peer->send("garbage\r\n6xx\r\n250 Directory changed\r\n");
    QVERIFY(succeeds(ftp));
    QCOMPARE(ftp.state(), QFtp::LoggedIn);
}

void TestQFtpScriptedPeer::controlConnectionFails_data()
{
    QTest::addColumn<bool>("loggedIn"); // else the greeting is awaited
    // "drop" drops the connection, "trickle" sends a byte now and then, empty is silence
    QTest::addColumn<QByteArray>("peerSends");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message"); // %1: the peer's address

    const QString connecting = QStringLiteral("Connecting to host failed:\n");
    const QString cd = QStringLiteral("Changing directory failed:\n");
    const QString timedOut = QStringLiteral("Connection timed out to host %1");
    QTest::newRow("421 greeting") << false << QByteArray("421 Too many users, try later\r\n")
                                  << int(QFtp::UnknownError)
                                  << connecting + "Too many users, try later";
    QTest::newRow("no greeting") << false << QByteArray() << int(QFtp::ConnectionRefused)
                                 << connecting + timedOut;
    QTest::newRow("no reply") << true << QByteArray() << int(QFtp::ConnectionRefused)
                              << cd + timedOut;
    QTest::newRow("dropped") << true << QByteArray("drop") << int(QFtp::NotConnected)
                             << cd + "Connection closed by host %1";
    QTest::newRow("line without end")
        << true << QByteArray(100 * 1024, 'x') << int(QFtp::UnknownError)
        << cd + "Reply from host %1 too long";
    QTest::newRow("trickle without line end")
        << true << QByteArray("trickle") << int(QFtp::ConnectionRefused) << cd + timedOut;
}

void TestQFtpScriptedPeer::controlConnectionFails()
{
    QFETCH(bool, loggedIn);
    QFETCH(QByteArray, peerSends);
    QFETCH(int, error);
    QFETCH(QString, message);
    QFtp ftp;
    ftp.setProgressTimeout(300);
    if (loggedIn)
        QVERIFY(logIn(ftp));
    QSignalSpy started(&ftp, &QFtp::commandStarted);
    QElapsedTimer clock;
    clock.start();
    if (loggedIn)
        ftp.cd(QStringLiteral("presets"));
    else
        ftp.connectToHost(m_peer->address(), m_peer->port());
    ftp.remove(QStringLiteral("queued"));
    QVERIFY(loggedIn ? expect("CWD presets") : m_peer->waitForConnections(1));
    QTimer trickle;
    connect(&trickle, &QTimer::timeout, this, [&] { m_peer->send("x"); });
    if (peerSends == "drop")
        m_peer->abortConnection();
    else if (peerSends == "trickle")
        trickle.start(50);
    else if (!peerSends.isEmpty())
        m_peer->send(peerSends);
    QVERIFY(fails(ftp));
    trickle.stop();
    if (peerSends.isEmpty())
        QVERIFY(clock.elapsed() >= 290);
    QCOMPARE(started.count(), 1); // the queued remove was dropped
    QCOMPARE(int(ftp.error()), error);
    QCOMPARE(ftp.errorString(), QString(message).replace("%1", m_peer->address()));
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QVERIFY(logIn(ftp));
}

void TestQFtpScriptedPeer::passiveModeFails_data()
{
    QTest::addColumn<QByteArray>("reply"); // empty: a valid one to a closed port
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");
    const int unknown = QFtp::UnknownError;
    const QString bad = QStringLiteral("Bad passive mode reply: ");
    QTest::newRow("refused data connection")
        << QByteArray() << int(QFtp::ConnectionRefused) << "Connection refused for data connection";
    QTest::newRow("octet over 255")
        << QByteArray("227 Entering Passive Mode (300,0,0,1,4,5)\r\n") << unknown << bad;
    QTest::newRow("port byte over 255")
        << QByteArray("227 Passive (127,0,0,1,4,999)\r\n") << unknown << bad;
    QTest::newRow("port zero") << QByteArray("227 Passive (127,0,0,1,0,0)\r\n") << unknown << bad;
    QTest::newRow("huge number") << QByteArray("227 (127,0,0,1,99999999999999999999,1)\r\n")
                                 << unknown << bad;
    QTest::newRow("no numbers") << QByteArray("227 Entering Passive Mode\r\n") << unknown << bad;
}

void TestQFtpScriptedPeer::passiveModeFails()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, error);
    QFETCH(QString, message);
    QFtp ftp;
    QVERIFY(logIn(ftp));
    ftp.get(QStringLiteral("f.bin"));
    QVERIFY(answerUpToPassive("TYPE I", "213 10\r\n"));
    if (reply.isEmpty()) {
        reply = passiveReply(m_data->serverPort());
        m_data->close();
    }
    m_peer->send(reply);
    QVERIFY(fails(ftp));
    QCOMPARE(int(ftp.error()), error);
    QVERIFY2(ftp.errorString().startsWith("Downloading file failed:\n" + message),
             qPrintable(ftp.errorString()));
    QVERIFY(!m_peer->receivedLines().contains("RETR f.bin\r"));

    ftp.cd(QStringLiteral("d"));
    QVERIFY(expect("CWD d")); // the interpreter sends again
    m_peer->send("250 ok\r\n");
    QVERIFY(succeeds(ftp));
}

void TestQFtpScriptedPeer::passiveReplyCannotSendDataElsewhere_data()
{
    QTest::addColumn<bool>("upload"); // else a download
    QTest::newRow("download") << false;
    QTest::newRow("upload") << true;
}

// The 227 names a decoy listening on another address with the same port: the data connection
// still goes to the server the client talks to, and the decoy hears nothing.
void TestQFtpScriptedPeer::passiveReplyCannotSendDataElsewhere()
{
    QFETCH(bool, upload);
    QTcpServer decoy;
    for (int attempt = 0; attempt < 50 && !decoy.isListening(); ++attempt)
        decoy.listen(qx8test::uniqueLoopbackAddress(), m_data->serverPort());
    QVERIFY(decoy.isListening());
    QByteArray decoyReply = passiveReply(m_data->serverPort());
    decoyReply.replace(m_peer->address().replace('.', ',').toLatin1(),
                       decoy.serverAddress().toString().replace('.', ',').toLatin1());
    const QByteArray content = pattern(5000);
    QFtp ftp;
    QVERIFY(logIn(ftp));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (upload) {
        ftp.put(content, QStringLiteral("p.preset"));
        QVERIFY(expect("TYPE I"));
        m_peer->send("200 ok\r\n");
        QVERIFY(expect("PASV"));
    } else {
        ftp.get(QStringLiteral("f.bin"), &buffer);
        QVERIFY(answerUpToPassive("TYPE I", "213 5000\r\n"));
    }
    qx8test::LoggedMessageWatch noted("FTP passive reply names " +
                                      decoy.serverAddress().toString());
    m_peer->send(decoyReply);
    QVERIFY(QTest::qWaitFor([&] { return m_data->hasPendingConnections(); }, qx8test::timeoutMs()));
    QVERIFY(noted.waitFor());
    QTcpSocket* data = m_data->nextPendingConnection();
    if (upload) {
        QVERIFY(expect("ALLO 5000"));
        m_peer->send("200 ok\r\n");
        QVERIFY(expect("STOR p.preset"));
        m_peer->send("150 Opening\r\n");
        QTRY_COMPARE(data->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(data->readAll() == content);
    } else {
        QVERIFY(expect("RETR f.bin"));
        m_peer->send("150 Opening\r\n");
        data->write(content);
        data->disconnectFromHost();
    }
    m_peer->send("226 Transfer complete\r\n");
    QVERIFY(succeeds(ftp));
    QVERIFY(upload || buffer.data() == content);
    QVERIFY(!decoy.hasPendingConnections());
}

void TestQFtpScriptedPeer::commandQueuedFromDoneIsSent_data()
{
    QTest::addColumn<QString>("before"); // what ends with the done() that queues the command
    QTest::newRow("lone connect") << QStringLiteral("connect");
    QTest::newRow("failure reply") << QStringLiteral("failure");
    QTest::newRow("refused data connection") << QStringLiteral("refused");
}

void TestQFtpScriptedPeer::commandQueuedFromDoneIsSent()
{
    QFETCH(QString, before);
    QFtp ftp;
    if (before == QLatin1String("connect")) {
        ftp.connectToHost(m_peer->address(), m_peer->port());
        QVERIFY(m_peer->waitForConnections(1));
    } else {
        QVERIFY(logIn(ftp));
    }
    int nextId = 0;
    connect(&ftp, &QFtp::done, this, [&] {
        if (!nextId)
            nextId = ftp.cd(QStringLiteral("next"));
    });
    SignalRecorder recorder(&ftp);
    if (before == QLatin1String("connect")) {
        m_peer->send("220 Ready\r\n");
    } else if (before == QLatin1String("failure")) {
        ftp.cd(QStringLiteral("missing"));
        QVERIFY(expect("CWD missing"));
        m_peer->send("550 No such folder\r\n");
    } else {
        ftp.get(QStringLiteral("f.bin"));
        QVERIFY(answerUpToPassive("TYPE I", "213 10\r\n"));
        const QByteArray reply = passiveReply(m_data->serverPort());
        m_data->close();
        m_peer->send(reply);
    }
    QVERIFY(expect("CWD next"));
    m_peer->send("250 ok\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(recorder.count(QStringLiteral("done")), 2, qx8test::timeoutMs());
    QStringList afterFirstDone = recorder.names({"commandStarted", "commandFinished", "done"});
    afterFirstDone = afterFirstDone.mid(afterFirstDone.indexOf(QStringLiteral("done")) + 1);
    QCOMPARE(afterFirstDone, (QStringList{"commandStarted", "commandFinished", "done"}));
    QCOMPARE(recorder.emissions().last().arguments, QVariantList{false});
}

namespace {

// A download target that refuses every write, as a full disk does.
class FullDevice : public QIODevice
{
public:
    FullDevice() { open(QIODevice::WriteOnly); }
    int writes = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override
    {
        ++writes;
        setErrorString(QStringLiteral("No space left on device"));
        return -1;
    }
};

} // namespace

void TestQFtpScriptedPeer::dataErrorEndsWithItsTransfer_data()
{
    QTest::addColumn<bool>("newSession"); // else the next command on the same connection
    QTest::newRow("next command") << false;
    QTest::newRow("next session's login") << true;
}

void TestQFtpScriptedPeer::dataErrorEndsWithItsTransfer()
{
    QFETCH(bool, newSession);
    QFtp ftp;
    QVERIFY(logIn(ftp));
    FullDevice full;
    ftp.get(QStringLiteral("f.bin"), &full);
    QTcpSocket* data = openDownload("TYPE I", "213 4\r\n");
    QVERIFY(data);
    data->write("data");
    QTRY_VERIFY_WITH_TIMEOUT(full.writes > 0, qx8test::timeoutMs());
    m_peer->send("426 Transfer aborted\r\n");
    QVERIFY(fails(ftp));
    QCOMPARE(ftp.errorString(), QStringLiteral("Downloading file failed:\nTransfer aborted"));

    if (newSession) {
        m_peer->abortConnection();
        QVERIFY(logIn(ftp));
        return;
    }
    ftp.cd(QStringLiteral("d"));
    QVERIFY(expect("CWD d"));
    m_peer->send("250 ok\r\n");
    QVERIFY(succeeds(ftp));
}

void TestQFtpScriptedPeer::transferReplyBeforeDataIsHeldUntilDataIsIn()
{
    const QByteArray content = pattern(100000);
    QFtp ftp;
    QVERIFY(logIn(ftp));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSignalSpy progress(&ftp, &QFtp::dataTransferProgress);
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    ftp.get(QStringLiteral("f.bin"), &buffer, QFtp::Ascii);
    // SIZE refused in ASCII mode: not fatal.
    QTcpSocket* data = openDownload("TYPE A", "550 SIZE not allowed in ASCII mode\r\n");
    QVERIFY(data);
    data->write(content.left(1000));
    data->flush();
    // The client logs every reply it reads: once this one is read, nothing may finish yet.
    qx8test::LoggedMessageWatch replyRead(QStringLiteral("Ftp reply code:"));
    m_peer->send("226 Transfer complete\r\n");
    QVERIFY(replyRead.waitFor());
    QCOMPARE(finished.count(), 0); // held: the data is not all in yet
    data->write(content.mid(1000));
    data->disconnectFromHost();
    QVERIFY(succeeds(ftp));
    QVERIFY(buffer.data() == content);
    QCOMPARE(progress.first(), (QVariantList{qint64(0), qint64(0)})); // SIZE refused: no total
    QCOMPARE(progress.last().first(), qint64(content.size()));
}

void TestQFtpScriptedPeer::peerThatNeverClosesAfterQuit()
{
    QFtp ftp;
    ftp.setProgressTimeout(300);
    QVERIFY(logIn(ftp));
    ftp.close();
    QVERIFY(expect("QUIT"));
    m_peer->send("221 Goodbye\r\n"); // and keeps the connection open
    QVERIFY(succeeds(ftp));          // the client closes it itself
    QCOMPARE(ftp.state(), QFtp::Unconnected);
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
    ftp.nameList(nullptr);
    QVERIFY(expectLine("TYPE A"));
    peer->write("200 ok\r\n");
    QVERIFY(expectLine("EPSV"));
    // Too few fields: read as the failure of EPSV, so the client asks again the old way.
    peer->write("229 Entering Extended Passive Mode (|||)\r\n");
    QVERIFY(expectLine("PASV"));
    peer->write("425 Not now\r\n");
    QVERIFY(fails(ftp));
    QCOMPARE(ftp.errorString(), QStringLiteral("Not now"));
}

// The FTP session of the presets and tuning files: a download shorter than the size the peer
// announced is an error, though the peer ends it with 226.
void TestQFtpScriptedPeer::sessionRefusesADownloadCutShort()
{
    FtpClientThread session(m_peer->port(), std::chrono::milliseconds(qx8test::timeoutMs()));
    QSignalSpy failed(&session, &FtpClientThread::error);
    QSignalSpy fetched(&session, &FtpClientThread::fileData);
    QVERIFY(logIn(session));
    session.onGetFile(QStringLiteral("/d"), QStringLiteral("f.bin"));
    QVERIFY(expect("CWD /d"));
    m_peer->send("250 Directory changed\r\n");
    QTcpSocket* data = openDownload("TYPE I", "213 100\r\n");
    QVERIFY(data);
    data->write(pattern(50));
    data->disconnectFromHost();
    m_peer->send("226 Transfer complete\r\n");
    QVERIFY(failed.wait(qx8test::timeoutMs()));
    QCOMPARE(failed.first().first().toString(),
             QStringLiteral("File download failed: f.bin holds 100 bytes on the device, 50 came"));
    QCOMPARE(fetched.count(), 0);
}

// A failed request's error is its step and the client's whole text; a screen shows the step once
// and the first line of the cause.
void TestQFtpScriptedPeer::sessionErrorsCarryTheWholeText_data()
{
    QTest::addColumn<QString>("step");  // what fails: "connect", "login", "list", "nlst" or "cwd"
    QTest::addColumn<QString>("error"); // %1: the peer's address
    QTest::addColumn<QString>("brief");
    QTest::newRow("connection refused")
        << "connect"
        << "Connection failed: Connecting to host failed:\nConnection refused to host %1"
        << "Connection failed: Connection refused to host %1";
    QTest::newRow("login refused in two lines")
        << "login"
        << "Login failed: Login failed:\nNot today\r\nGo away"
        << "Login failed: Not today";
    // The text of a failed listing is the server's reply itself.
    QTest::newRow("listing refused in two lines")
        << "list"
        << "File listing failed: No data connection\r\ntoday"
        << "File listing failed: No data connection";
    QTest::newRow("name listing refused in two lines")
        << "nlst"
        << "File listing failed: No listing now:\r\nthe folder is being written"
        << "File listing failed: No listing now:";
    QTest::newRow("change of directory refused")
        << "cwd"
        << "Change directory failed: Changing directory failed:\nNo such folder"
        << "Change directory failed: No such folder";
}

void TestQFtpScriptedPeer::sessionErrorsCarryTheWholeText()
{
    QFETCH(QString, step);
    quint16 port = m_peer->port();
    if (step == "connect") {
        QTcpServer closed; // a port of the peer's address, given up again
        QVERIFY(closed.listen(QHostAddress(m_peer->address()), 0));
        port = closed.serverPort();
    }
    FtpClientThread session(port, std::chrono::milliseconds(qx8test::timeoutMs()));
    QSignalSpy failed(&session, &FtpClientThread::error);
    if (step == "connect" || step == "login") {
        session.onConnectToHost(m_peer->address(), QStringLiteral("user"),
                                QStringLiteral("secret"));
        if (step == "login") {
            QVERIFY(m_peer->waitForConnections(1));
            m_peer->send("220 Ready\r\n");
            QVERIFY(expect("USER user"));
            m_peer->send("530-Not today\r\n530 Go away\r\n");
        }
    } else if (step == "cwd") {
        QVERIFY(logIn(session));
        session.onGetFile(QStringLiteral("/gone"), QStringLiteral("f.bin"));
        QVERIFY(expect("CWD /gone"));
        m_peer->send("550 No such folder\r\n");
    } else {
        QVERIFY(requestListingUpToPassive(session));
        if (step == "list") {
            m_peer->send("425-No data connection\r\n425 today\r\n");
        } else {
            QVERIFY(acceptPassive());
            QVERIFY(expect("NLST"));
            m_peer->send("550-No listing now:\r\n550 the folder is being written\r\n");
        }
    }
    QVERIFY(failed.wait(qx8test::timeoutMs()));
    QFETCH(QString, error);
    QFETCH(QString, brief);
    const QString said = failed.first().first().toString();
    QCOMPARE(said, error.replace("%1", m_peer->address()));
    QCOMPARE(FtpClientThread::briefError(said), brief.replace("%1", m_peer->address()));
}

// A stored file counts when the peer confirms its size: by SIZE, else by a listing of the folder,
// else (neither answered) by the 226 alone. A replaced file goes only once the new one counts.
void TestQFtpScriptedPeer::sessionChecksWhatItStored_data()
{
    QTest::addColumn<QByteArray>("sizeReply");
    QTest::addColumn<QByteArray>("listing"); // empty: no listing asked for, or LIST refused
    QTest::addColumn<bool>("listingAsked");
    QTest::addColumn<QString>("failure"); // empty: the file counts
    const QByteArray line = "-rw-r--r--   1 owner    group    %1 Jan 01 12:00 %2\r\n";
    const auto entry = [&](int size, const char* name) {
        return QByteArray(line).replace("%1", QByteArray::number(size)).replace("%2", name);
    };
    const QString prefix = QStringLiteral("File upload failed: ");
    QTest::newRow("SIZE agrees") << QByteArray("213 100\r\n") << QByteArray() << false << "";
    QTest::newRow("SIZE disagrees")
        << QByteArray("213 99\r\n") << QByteArray() << false
        << prefix + "f.bin holds 99 bytes on the device, not 100 (by SIZE)";
    QTest::newRow("SIZE refused, listing agrees")
        << QByteArray("502 Command not implemented\r\n") << entry(7, "e.bin") + entry(100, "f.bin")
        << true << "";
    QTest::newRow("SIZE refused, listing disagrees")
        << QByteArray("500 Command SIZE not understood\r\n") << entry(60, "f.bin") << true
        << prefix + "f.bin holds 60 bytes on the device, not 100 (by the listing)";
    QTest::newRow("SIZE refused, not listed")
        << QByteArray("502 Command not implemented\r\n") << entry(100, "g.bin") << true
        << prefix + "f.bin is not in the folder on the device";
    QTest::newRow("SIZE and LIST refused")
        << QByteArray("502 Command not implemented\r\n") << QByteArray() << true << "";
    QTest::newRow("SIZE refused, listing unreadable")
        << QByteArray("500 Command SIZE not understood\r\n") << QByteArray("total 0\r\n") << true
        << "";
}

void TestQFtpScriptedPeer::sessionChecksWhatItStored()
{
    QFETCH(QByteArray, sizeReply);
    QFETCH(QByteArray, listing);
    QFETCH(bool, listingAsked);
    QFETCH(QString, failure);
    const QByteArray bytes = pattern(100);
    for (const bool replacing : {false, true}) {
        m_peer->clearLines();
        FtpClientThread session(m_peer->port(), std::chrono::milliseconds(qx8test::timeoutMs()));
        QSignalSpy failed(&session, &FtpClientThread::error);
        QSignalSpy done(&session, &FtpClientThread::actionFinished);
        QVERIFY(logIn(session));
        if (replacing)
            session.onUpdateFile(bytes, QStringLiteral("/d"), QStringLiteral("old.bin"),
                                 QStringLiteral("f.bin"));
        else
            session.onPutFile(bytes, QStringLiteral("/d"), QStringLiteral("f.bin"));
        QVERIFY(expect("CWD /d"));
        m_peer->send("250 Directory changed\r\n");
        QVERIFY(answerStore(bytes));
        QVERIFY(expect("SIZE f.bin"));
        m_peer->send(sizeReply);
        if (listingAsked)
            QVERIFY(answerListing(listing));
        if (!failure.isEmpty()) {
            QVERIFY(failed.wait(qx8test::timeoutMs()));
            QCOMPARE(failed.first().first().toString(), failure);
            QCOMPARE(done.count(), 0);
            QVERIFY(!m_peer->receivedLines().join().contains("DELE"));
        } else {
            if (replacing) {
                QVERIFY(expect("DELE old.bin"));
                m_peer->send("250 Deleted\r\n");
            }
            QVERIFY(done.wait(qx8test::timeoutMs()));
            QCOMPARE(failed.count(), 0);
        }
    }
}

// A name listing is split at its line ends as it came, an empty last name kept, and ends at the
// first NUL; a refused one of an empty folder lists nothing. Each command logs its name alone.
void TestQFtpScriptedPeer::sessionListsNamesAsTheyCame_data()
{
    QTest::addColumn<QByteArray>("listing"); // null: NLST refused as for an empty folder
    QTest::addColumn<QStringList>("names");
    QTest::newRow("CR LF after the last name")
        << QByteArray("a.tun\r\nb.tun\r\n") << QStringList{"a.tun", "b.tun", ""};
    QTest::newRow("no line end after the last name")
        << QByteArray("a.tun\nb.tun") << QStringList{"a.tun", "b.tun"};
    QTest::newRow("bytes after a NUL")
        << QByteArray("a.tun\r\nb.tun\0c.tun\r\n", 20) << QStringList{"a.tun", "b.tun"};
    QTest::newRow("empty line kept")
        << QByteArray("a.tun\r\n\r\nb.tun") << QStringList{"a.tun", "", "b.tun"};
    QTest::newRow("UTF-8") << QByteArray("B\xc3\xbchne.tun") << QStringList{"B\u00fchne.tun"};
    QTest::newRow("empty folder") << QByteArray() << QStringList();
}

void TestQFtpScriptedPeer::sessionListsNamesAsTheyCame()
{
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, names);
    for (const char* command : {"ConnectToHost", "Login", "Cd", "NameList"}) {
        const QByteArray line = QByteArray("Command finished: QFtp::") + command;
        QTest::ignoreMessage(QtDebugMsg, line.constData());
    }
    FtpClientThread session(m_peer->port(), std::chrono::milliseconds(qx8test::timeoutMs()));
    QSignalSpy listed(&session, &FtpClientThread::fileList);
    QVERIFY(requestListingUpToPassive(session));
    QTcpSocket* data = acceptPassive();
    QVERIFY(data);
    QVERIFY(expect("NLST"));
    if (listing.isNull()) {
        m_peer->send("450 No files found\r\n");
    } else {
        m_peer->send("150 Here comes the listing\r\n");
        data->write(listing);
        data->flush();
        data->disconnectFromHost();
        m_peer->send("226 Directory send OK\r\n");
    }
    QVERIFY(listed.wait(qx8test::timeoutMs()));
    QCOMPARE(listed.first().at(0).toString(), QStringLiteral("/d"));
    QCOMPARE(listed.first().at(1).toStringList(), names);
}

QX8_TEST_GUILESS_MAIN(TestQFtpScriptedPeer)
#include "tst_qftpscriptedpeer.moc"
