// The link singleton against a scripted console peer on the console port: login, time-outs,
// reconnects, guarded requests and delivery to bound receivers.
#include "appbusyflag.h"
#include "blackhole.h"
#include "qx8settings.h"
#include "requestwindow.h"
#include "scriptedpeer.h"
#include "settingskeys.h"
#include "signalrecorder.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <mutex>

namespace {

QByteArray bs(const char* text)
{
    return QByteArray(text).replace('/', '\\');
}

const QByteArray kFactoryLogin = "connect administrator \"quillrampstow\"";

// Short enough not to wait out, long enough for a loaded machine to connect and greet.
constexpr int kConnectTimeoutMs = 1000;

// While it lives, takes the messages (of any thread) that contain a text off the log and counts
// what every message would have added to the application's log; the others go on as before. A
// thread still in the handler when it goes finds it gone and passes the message on.
class LogMeter
{
public:
    explicit LogMeter(const QString& taken) : m_taken(taken)
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        s_meter = this;
        s_previous = qInstallMessageHandler(&LogMeter::handle);
    }
    ~LogMeter()
    {
        qInstallMessageHandler(s_previous);
        const std::lock_guard<std::mutex> lock(s_mutex);
        s_meter = nullptr;
    }
    LogMeter(const LogMeter&) = delete;
    LogMeter& operator=(const LogMeter&) = delete;

    QStringList taken() const
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        return m_takenMessages;
    }
    qint64 logBytes() const
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        return m_logBytes;
    }

private:
    // A line of the application's log is the message behind time, level, file, function and
    // line number: well under this many bytes.
    static constexpr int kLineFrame = 120;

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        std::unique_lock<std::mutex> lock(s_mutex);
        if (LogMeter* meter = s_meter) {
            meter->m_logBytes += message.toUtf8().size() + kLineFrame;
            if (message.contains(meter->m_taken)) {
                meter->m_takenMessages.append(message);
                return;
            }
        }
        const QtMessageHandler previous = s_previous;
        lock.unlock();
        previous(type, context, message);
    }

    static inline std::mutex s_mutex;
    static inline LogMeter* s_meter = nullptr;
    static inline QtMessageHandler s_previous = nullptr;
    const QString m_taken;
    QStringList m_takenMessages;
    qint64 m_logBytes = 0;
};

struct RecordingReceiver : ReplyReceiver
{
    void receiveReply(const DataFromDevice& reply) override
    {
        replies.append(reply);
        if (onReply)
            onReply(reply);
    }
    QList<DataFromDevice> replies;
    std::function<void(const DataFromDevice&)> onReply;
};

} // namespace

class TestTcpAdaptor : public QObject
{
    Q_OBJECT

private:
    TCPAdaptor* link = TCPAdaptor::instance();
    std::unique_ptr<ScriptedPeer> m_peer;

    // Points the link at the peer and connects.
    void connectTo(ScriptedPeer& peer, int connections = 1)
    {
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, peer.address());
        link->doConnect();
        QVERIFY(peer.waitForConnections(connections));
    }

    void logIn(ScriptedPeer& peer)
    {
        QSignalSpy ready(link, &TCPAdaptor::vimbalReady);
        peer.send("Vimbal Console\n");
        QVERIFY(peer.waitForLine(kFactoryLogin));
        peer.send("connect logged in as administrator\n");
        QTRY_COMPARE(ready.size(), 1);
    }

private Q_SLOTS:
    void initTestCase() { link->setConnectTimeout(kConnectTimeoutMs); }

    void init()
    {
        QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
        m_peer = std::make_unique<ScriptedPeer>();
    }

    // The link lets go before the peer does: a peer that goes away under it is a reported error.
    void cleanup()
    {
        link->doDisconnect();
        QTRY_VERIFY(!link->isConnected());
        QTRY_VERIFY(!link->Ready());
        m_peer.reset();
        // Let the reports of this connection arrive before the next test listens.
        QTest::qWait(100);
    }

    // A stored password is refused either by the device or, when it cannot travel in a login
    // line, before it is sent; both ask for another one, which then logs in.
    void loginRefusedThenRetried_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("sendable");
        QTest::newRow("refused by the device") << "wrong" << true;
        QTest::newRow("holds a double quote") << "pass\"word" << false;
    }
    void loginRefusedThenRetried()
    {
        QFETCH(QString, stored);
        QFETCH(bool, sendable);
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        QSignalSpy refused(link, &TCPAdaptor::incorrectPassword);
        QX8Settings().setValue(settingskeys::kCurrentDevicePassword, stored);
        connectTo(peer);
        QVERIFY(link->isConnected());
        QCOMPARE(link->hostAddress(), peer.address());
        if (!sendable)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Login line dropped"));
        peer.send("Vimbal Console\n");
        if (sendable) {
            QVERIFY(peer.waitForLine("connect administrator \"" + stored.toUtf8() + '"'));
            peer.send("error could not connect as administrator\n");
        }
        QTRY_COMPARE(refused.size(), 1);
        QCOMPARE(link->phase(), TCPAdaptor::Phase::AwaitingLogin);
        QCOMPARE(peer.receivedLines().size(), sendable ? 1 : 0);

        SignalRecorder recorder(link);
        link->enterPassword("quillrampstow");
        QVERIFY(peer.waitForLine(kFactoryLogin));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDevicePassword).toString(),
                 QString("quillrampstow"));
        peer.send("connect logged in as administrator\n");
        QTRY_VERIFY(link->Ready());
        QCOMPARE(recorder.names({"vimbalReady", "homeScreenData", "timeOutError"}),
                 QStringList({"vimbalReady", "homeScreenData"}));
    }

    // A device that accepts the connection but never greets: time-out, although a password was
    // typed meanwhile, and nothing else; the attempt is abandoned, so a retry to the same address
    // really connects again.
    void silentDeviceTimesOutAndRetryConnects()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        QSignalSpy timeouts(link, &TCPAdaptor::timeOutError);
        QSignalSpy lost(link, &TCPAdaptor::connectionLost);
        QElapsedTimer clock;
        clock.start();
        connectTo(peer);
        link->enterPassword("typed");
        QTRY_COMPARE_WITH_TIMEOUT(timeouts.size(), 1, kConnectTimeoutMs + qx8test::timeoutMs());
        QVERIFY2(clock.elapsed() >= kConnectTimeoutMs - 50,
                 qPrintable(QString::number(clock.elapsed())));
        QVERIFY(peer.receivedLines().isEmpty());
        QTRY_VERIFY(!link->isConnected());
        QCOMPARE(lost.size(), 0);
        QCOMPARE(link->phase(), TCPAdaptor::Phase::Idle);

        QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
        connectTo(peer, 2);
        logIn(peer);
    }

    // A device that greets but never answers the login: the same time-out, counted from the
    // login line, and the attempt is abandoned.
    void unansweredLoginTimesOut()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        QSignalSpy timeouts(link, &TCPAdaptor::timeOutError);
        QSignalSpy lost(link, &TCPAdaptor::connectionLost);
        connectTo(peer);
        peer.send("Vimbal Console\n");
        QVERIFY(peer.waitForLine(kFactoryLogin));
        QElapsedTimer clock;
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(timeouts.size(), 1, kConnectTimeoutMs + qx8test::timeoutMs());
        QVERIFY2(clock.elapsed() >= kConnectTimeoutMs - 50,
                 qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY(!link->isConnected());
        QCOMPARE(lost.size(), 0);
        QCOMPARE(link->phase(), TCPAdaptor::Phase::Idle);
    }

    // The password typed before the device greets is kept for the banner: one login line.
    void passwordBeforeBanner()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        connectTo(peer);
        link->enterPassword("typed");
        QTest::qWait(200);
        QVERIFY(peer.receivedLines().isEmpty());
        peer.send("Vimbal Console\n");
        QVERIFY(peer.waitForLine("connect administrator \"typed\""));
        QTest::qWait(200);
        QCOMPARE(peer.receivedLines().size(), 1);
    }

    void refusedConnectionIsLostNotTimedOut()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen(19273)); // nothing listens on the console port of this address
        QSignalSpy errors(link, &TCPAdaptor::error);
        QSignalSpy lost(link, &TCPAdaptor::connectionLost);
        QSignalSpy timeouts(link, &TCPAdaptor::timeOutError);
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, peer.address());
        QTest::ignoreMessage(QtWarningMsg, "Error code: 0, Error String: Connection refused");
        link->doConnect();
        QTRY_COMPARE(lost.size(), 1);
        QCOMPARE(errors.size(), 1);
        QTest::qWait(kConnectTimeoutMs + 300);
        QCOMPARE(timeouts.size(), 0);
    }

    // Cancelling a connect that is still pending ends it: the link is idle at once and no
    // time-out follows.
    void cancelWhilePending()
    {
        BlackHole blackHole;
        QVERIFY(blackHole.ok);
        QSignalSpy timeouts(link, &TCPAdaptor::timeOutError);
        QX8Settings().setValue("Data/CurrentDeviceAddress", blackHole.address.toString());
        link->doConnect();
        QTRY_VERIFY(link->isConnected());
        link->doDisconnect();
        QCOMPARE(link->phase(), TCPAdaptor::Phase::Idle);
        QTRY_VERIFY(!link->isConnected());
        QTest::qWait(kConnectTimeoutMs + 300);
        QCOMPARE(timeouts.size(), 0);
    }

    void requestsAreGuarded()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        connectTo(peer);
        logIn(peer);
        peer.clearLines();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Console request dropped"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Console request dropped"));
        link->SendRequest({"PEQ", "Gain", "", "1\nset \"\\\\Node\\SV\\DeviceName\\\" \"x", "set"});
        link->SendRequest({"PEQ\"", "Gain", "", "", "sub"});
        link->SendRequest({"PEQ", "", "", "", "sub"});
        link->SendRequest({"PEQ", "Gain", "%", "2.5", "set"});
        QVERIFY(peer.waitForLine(bs("set \"//Preset/PEQ/SV/Gain/%\" \"2.5\"")));
        QCOMPARE(peer.receivedLines().size(), 1);
    }

    // Leaving the device while the window is full of unanswered requests: the user's write that
    // waits behind them still reaches the device, before the connection closes; the rest do not.
    void waitingWritesLandBeforeADisconnect()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        connectTo(peer);
        logIn(peer);
        peer.clearLines();
        for (int band = 1; band <= RequestWindow::kMaxInFlight + 3; ++band)
            link->SendRequest({"PEQ", QStringLiteral("Band_%1_Gain").arg(band), "", "", "get"});
        link->SendRequest({"NPO", "Node\\SV\\Reboot", "", "Yes", "set"});
        QVERIFY(peer.waitForLineCount(RequestWindow::kMaxInFlight));
        link->doDisconnect();
        const QByteArray reboot = bs("set \"//Node/SV/Reboot/\" \"Yes\"");
        QVERIFY(peer.waitForLine(reboot));
        QTRY_VERIFY(!link->isConnected());
        QTest::qWait(100);
        const QByteArrayList lines = peer.receivedLines();
        QCOMPARE(lines.size(), RequestWindow::kMaxInFlight + 1);
        QCOMPARE(lines.last(), reboot);
    }

    // Every value reply reaches the receivers of its variable; the home-screen variables are
    // announced first, through a record that a queued receiver can still read.
    void repliesReachBoundReceivers()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        connectTo(peer);
        logIn(peer);
        RecordingReceiver bands, gain;
        link->replyRouter().bind(&bands, "Crossover", "NumBands");
        link->replyRouter().bind(&gain, "PEQ", "Gain");
        SignalRecorder recorder(link);
        QStringList announced;
        connect(
            link, &TCPAdaptor::homeScreenDataAvailable, this,
            [&announced](DataFromDevice* data) { announced << data->svName + "=" + data->value; },
            Qt::QueuedConnection);
        peer.send(bs("subr \"//Preset/Crossover/AT/NumBands/\" \"3\"\n"
                     "subr \"//Preset/PEQ/SV/Gain/%\" \"40\"\n"
                     "subr \"//Preset/Crossover/AT/MonoSub/\" \"1\"\n"
                     "subr \"//Preset/PEQ/SV/Freq/\" \"1k\"\n"));
        QTRY_COMPARE(recorder.count("dataAvailable"), 4);
        QCOMPARE(recorder.names({"homeScreenDataAvailable", "dataAvailable"}),
                 QStringList({"homeScreenDataAvailable", "dataAvailable", "dataAvailable",
                              "homeScreenDataAvailable", "dataAvailable", "dataAvailable"}));
        QTRY_COMPARE(announced, QStringList({"NumBands=3", "MonoSub=1"}));
        QCOMPARE(bands.replies.size(), 1);
        QCOMPARE(bands.replies.at(0).value, QString("3"));
        QCOMPARE(gain.replies.size(), 1);
        QCOMPARE(gain.replies.at(0).valueType, QString("%"));
        link->replyRouter().unbind(&bands, "Crossover", "NumBands");
        link->replyRouter().unbind(&gain, "PEQ", "Gain");
    }

    // A receiver that spins an event loop does not get the next read's replies before the rest
    // of the read under way.
    void repliesStayInOrderWhenAReceiverWaits()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        connectTo(peer);
        logIn(peer);
        RecordingReceiver gain;
        gain.onReply = [&peer](const DataFromDevice& reply) {
            if (reply.value != "1")
                return;
            peer.send(bs("subr \"//Preset/PEQ/SV/Gain/\" \"3\"\n"));
            QTest::qWait(200);
        };
        link->replyRouter().bind(&gain, "PEQ", "Gain");
        peer.send(
            bs("subr \"//Preset/PEQ/SV/Gain/\" \"1\"\nsubr \"//Preset/PEQ/SV/Gain/\" \"2\"\n"));
        QTRY_COMPARE(gain.replies.size(), 3);
        QStringList values;
        for (const DataFromDevice& reply : gain.replies)
            values << reply.value;
        QCOMPARE(values, QStringList({"1", "2", "3"}));
        link->replyRouter().unbind(&gain, "PEQ", "Gain");
    }

    // The completion line of a reconfiguration is raised; a disconnect in the middle of a read
    // leaves the rest of that read undelivered.
    void reconfigurationAnswerAndRepliesAfterADisconnect()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        connectTo(peer);
        logIn(peer);
        QSignalSpy answers(link, &TCPAdaptor::reconfigResponse);
        const QByteArray answer = "{\"error\":\"\",\"id\":\"builder config reconfig\"}";
        peer.send(answer + "\n");
        QTRY_COMPARE(answers.size(), 1);
        QCOMPARE(answers.at(0).at(0).toByteArray(), answer);

        RecordingReceiver gain;
        gain.onReply = [this](const DataFromDevice&) { link->doDisconnect(); };
        link->replyRouter().bind(&gain, "PEQ", "Gain");
        QSignalSpy closed(link, &TCPAdaptor::disconnected);
        peer.send(
            bs("subr \"//Preset/PEQ/SV/Gain/\" \"1\"\nsubr \"//Preset/PEQ/SV/Gain/\" \"2\"\n"));
        QTRY_COMPARE(closed.size(), 1);
        QCOMPARE(gain.replies.size(), 1);
        link->replyRouter().unbind(&gain, "PEQ", "Gain");
    }

    // Bytes without a line end are dropped as they come and told in the log once, then at most
    // once a second with their count: 50 MB of them add a few lines, counting every byte. The
    // link reads replies again after the next line end.
    void junkWithoutLineEndIsCountedNotLogged()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        connectTo(peer);
        logIn(peer);
        RecordingReceiver gain;
        link->replyRouter().bind(&gain, "PEQ", "Gain");
        constexpr int kMegabytes = 50;
        qint64 seconds = 0;
        QStringList lines;
        qint64 logBytes = 0;
        {
            const LogMeter log("Console line longer than");
            QElapsedTimer clock;
            clock.start();
            const QByteArray junk(1 << 20, 'j');
            for (int i = 0; i < kMegabytes; ++i)
                peer.send(junk);
            peer.send(bs("\nsubr \"//Preset/PEQ/SV/Gain/\" \"7\"\n"));
            QTRY_COMPARE_WITH_TIMEOUT(gain.replies.size(), 1, qx8test::timeoutMs());
            QCOMPARE(gain.replies.at(0).value, QString("7"));
            seconds = clock.elapsed() / 1000;
            // The bytes counted since the last line are told when the connection ends.
            link->doDisconnect();
            QTRY_VERIFY(!link->isConnected());
            QTRY_VERIFY(log.taken().size() >= 2);
            lines = log.taken();
            logBytes = log.logBytes();
        }
        link->replyRouter().unbind(&gain, "PEQ", "Gain");
        QVERIFY2(lines.size() <= seconds + 3, qPrintable(lines.join('\n')));
        QVERIFY2(logBytes < 4096, qPrintable(QString::number(logBytes)));
        static const QRegularExpression count(": (\\d+) bytes discarded$");
        qint64 discarded = 0;
        for (const QString& line : lines)
            discarded += count.match(line).captured(1).toLongLong();
        QCOMPARE(discarded, qint64(kMegabytes) * (1 << 20) + 1); // the line end included
    }

    void lostConnectionClearsBusy()
    {
        ScriptedPeer& peer = *m_peer;
        QVERIFY(peer.listen());
        QSignalSpy lost(link, &TCPAdaptor::connectionLost);
        connectTo(peer);
        logIn(peer);
        AppBusyFlag::instance()->setBusy(true);
        QTest::ignoreMessage(QtWarningMsg,
                             "Error code: 1, Error String: The remote host closed the connection");
        peer.abortConnection();
        QTRY_COMPARE(lost.size(), 1);
        QVERIFY(!link->Ready());
        QVERIFY(!AppBusyFlag::isBusy());
    }
};

QX8_TEST_GUILESS_MAIN(TestTcpAdaptor)
#include "tst_tcpadaptor.moc"
