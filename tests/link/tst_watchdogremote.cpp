// The remote watchdog against VirtualQX8 through the link: the keep-alive, and the loss of the
// device by a broken connection, a frozen device, a failed connect, and what only stops the
// keep-alive.
#include "appbusyflag.h"
#include "clientconnectionwatchdog.h"
#include "qx8settings.h"
#include "remoteconnectionwatchdog.h"
#include "settingskeys.h"
#include "signalrecorder.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "tst_discoverynetwork.h"
#include "virtualprocessor.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

constexpr int kRepollMs = 200;
constexpr int kNoPollMs = 3600 * 1000;
const QString kKeepAlive = QStringLiteral(R"(get "\\Node\SV\DeviceName\")");

} // namespace

class TestWatchDogRemote : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
        m_client = new ClientConnectionWatchDog(kNoPollMs, this);
    }

    void cleanup()
    {
        m_lost.reset();
        m_watchDog.reset();
        delete m_client;
        AppBusyFlag::instance()->setBusy(false);
        // The link lets go first: a device that went away under it would be a reported error.
        m_link->doDisconnect();
        QTRY_VERIFY(!m_link->isConnected());
        QTRY_VERIFY(!m_link->Ready());
        m_device.reset();
        // Let the reports of this connection arrive before the next test listens.
        QTest::qWait(100);
    }

    void keepAliveWhileTheDeviceIsReady()
    {
        m_device = std::make_unique<VirtualProcessor>();
        VirtualProcessor& device = *m_device;
        QVERIFY(device.start());
        // Made before the link is ready: its names are set while there is nothing to ask yet.
        RemoteConnectionWatchDog watchDog(m_client, kRepollMs);
        SignalRecorder recorder(&watchDog);
        QTest::ignoreMessage(QtInfoMsg, "VimbalReady: starting watchdog...");
        QElapsedTimer clock;
        connectTo(device);
        clock.start();
        QVERIFY(watchDog.connectionAvailable());
        QTRY_COMPARE(keepAlives(device), 4);
        QVERIFY(clock.elapsed() >= 4 * kRepollMs - 50);
        QVERIFY(!device.wireLog()
                     .filter(QRegularExpression(
                         R"(^\d+ TX get "\\\\Node\\SV\\DeviceName\\" "Virtual QX8"$)"))
                     .isEmpty());
        // Answered keep-alives change nothing, and nothing else goes to the device.
        QCOMPARE(recorder.names({"connectionLost", "svNameChanged", "poNameChanged"}),
                 QStringList());
        QCOMPARE(device.received().filter("DeviceName").size(), keepAlives(device));
    }

    void brokenConnectionIsReported()
    {
        startKeepAlive();
        QTest::ignoreMessage(QtWarningMsg,
                             "Error code: 1, Error String: The remote host closed the connection");
        QCOMPARE(m_device->command("abort"), QString("ok"));
        QTRY_COMPARE(m_lost->size(), 1);
        QVERIFY(!m_watchDog->connectionAvailable());
        const int sent = keepAlives(*m_device);
        QTest::qWait(3 * kRepollMs);
        QCOMPARE(keepAlives(*m_device), sent);
        QCOMPARE(m_lost->size(), 1);

        // The next ready device starts the keep-alive again.
        connectTo(*m_device);
        QVERIFY(m_watchDog->connectionAvailable());
        QTRY_COMPARE(keepAlives(*m_device), sent + 1);
    }

    // The session stays open but the device no longer answers: the watchdog reports the loss after
    // its limit of unanswered keep-alives and ends the session.
    void frozenDeviceIsReported()
    {
        startKeepAlive();
        QSignalSpy disconnected(m_link, &TCPAdaptor::disconnected);
        QCOMPARE(m_device->command("fault freeze on"), QString("ok"));
        QElapsedTimer clock;
        clock.start();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("Device sent nothing for 3 keep-alive intervals"));
        QTRY_COMPARE(m_lost->size(), 1);
        QVERIFY(clock.elapsed() <=
                (RemoteConnectionWatchDog::kMissedAnswersLimit + 2) * kRepollMs + 200);
        QVERIFY(!m_watchDog->connectionAvailable());
        QTRY_COMPARE(disconnected.size(), 1);
        QVERIFY(!m_link->Ready());
        QTest::qWait(3 * kRepollMs);
        QCOMPARE(m_lost->size(), 1);
    }

    void busyDeviceIsGivenTime()
    {
        startKeepAlive();
        AppBusyFlag::instance()->setBusy(true);
        QCOMPARE(m_device->command("fault freeze on"), QString("ok"));
        QTest::qWait(2 * (RemoteConnectionWatchDog::kMissedAnswersLimit + 1) * kRepollMs);
        QCOMPARE(m_lost->size(), 0);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("Device sent nothing for 3 keep-alive intervals"));
        AppBusyFlag::instance()->setBusy(false);
        QTRY_COMPARE(m_lost->size(), 1);
    }

    // A connect that fails is a link error too, although the device never became ready.
    void failedConnectIsReported()
    {
        RemoteConnectionWatchDog watchDog(m_client, kRepollMs);
        QSignalSpy lost(&watchDog, &QX8Control::connectionLost);
        QSignalSpy ready(m_link, &TCPAdaptor::vimbalReady);
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress,
                               qx8test::uniqueLoopbackAddress().toString());
        QTest::ignoreMessage(QtWarningMsg, "Error code: 0, Error String: Connection refused");
        m_link->doConnect();
        QTRY_COMPARE(lost.size(), 1);
        QCOMPARE(ready.size(), 0);
        QVERIFY(!watchDog.connectionAvailable());
    }

    void disconnectOnlyStopsTheKeepAlive()
    {
        startKeepAlive();
        QSignalSpy disconnected(m_link, &TCPAdaptor::disconnected);
        m_link->doDisconnect();
        QTRY_COMPARE(disconnected.size(), 1);
        const int sent = keepAlives(*m_device);
        QTest::qWait(3 * kRepollMs);
        QCOMPARE(keepAlives(*m_device), sent);
        QCOMPARE(m_lost->size(), 0);
        QVERIFY(m_watchDog->connectionAvailable());
    }

    void networkLossOnlyStopsTheKeepAlive()
    {
        if (!qx8test::hasPrivateNetwork())
            QSKIP("needs a private network namespace with only loopback (scripts/netns-run)");
        m_device = std::make_unique<VirtualProcessor>();
        VirtualProcessor& device = *m_device;
        QVERIFY(device.start());
        // No interface here but loopback, and the device's address as stored is not a loopback one
        // (a documentation address, only ever compared, never contacted): every poll finds no
        // network.
        ClientConnectionWatchDog client(kRepollMs);
        QSignalSpy noNetwork(&client, &ClientConnectionWatchDog::connectionLost);
        RemoteConnectionWatchDog watchDog(&client, kRepollMs / 4);
        QSignalSpy lost(&watchDog, &QX8Control::connectionLost);
        connectTo(device);
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, "192.0.2.1");
        QTRY_COMPARE(noNetwork.size(), 1);
        const int sent = keepAlives(device);
        QTest::qWait(3 * kRepollMs / 4);
        QCOMPARE(keepAlives(device), sent);
        QCOMPARE(lost.size(), 0);
        QVERIFY(m_link->Ready());
    }

private:
    // Connects the link to the device and waits until it is ready.
    void connectTo(VirtualProcessor& device)
    {
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, device.address());
        QSignalSpy ready(m_link, &TCPAdaptor::vimbalReady);
        m_link->doConnect();
        QTRY_COMPARE(ready.size(), 1);
    }

    // Starts a device and a watchdog polling every kRepollMs, connects, and waits for the
    // first keep-alive.
    void startKeepAlive()
    {
        m_device = std::make_unique<VirtualProcessor>();
        QVERIFY(m_device->start());
        m_watchDog = std::make_unique<RemoteConnectionWatchDog>(m_client, kRepollMs);
        m_lost = std::make_unique<QSignalSpy>(m_watchDog.get(), &QX8Control::connectionLost);
        connectTo(*m_device);
        QTRY_COMPARE(keepAlives(*m_device), 1);
    }

    int keepAlives(const VirtualProcessor& device) const
    {
        return device.received().count(kKeepAlive);
    }

    TCPAdaptor* m_link = TCPAdaptor::instance();
    ClientConnectionWatchDog* m_client = nullptr;
    std::unique_ptr<VirtualProcessor> m_device;
    std::unique_ptr<RemoteConnectionWatchDog> m_watchDog;
    std::unique_ptr<QSignalSpy> m_lost;
};

QX8_NETWORK_TEST_MAIN(TestWatchDogRemote)
#include "tst_watchdogremote.moc"
