// The client watchdog against this process's own network namespace: loopback only, then a
// veth interface that gets an address and goes down.
#include "clientconnectionwatchdog.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "signalrecorder.h"
#include "tst_discoverynetwork.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kPollMs = 200;

} // namespace

class TestWatchDogClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!qx8test::hasPrivateNetwork())
            QSKIP("needs a private network namespace with only loopback (scripts/netns-run)");
    }

    void cleanup() { QX8Settings().remove(settingskeys::kCurrentDeviceAddress); }

    // Without a network every poll reports the loss again; a device on this machine (the offline
    // model on 127.0.0.1, or another loopback address) needs none.
    void loopbackAloneIsNoNetwork()
    {
        ClientConnectionWatchDog watchDog(kPollMs);
        SignalRecorder recorder(&watchDog);
        QElapsedTimer clock;
        clock.start();
        QTRY_COMPARE(recorder.count("connectionLost"), 3);
        QVERIFY(clock.elapsed() >= 3 * kPollMs - 20);
        QCOMPARE(recorder.names(), (QStringList{"networkAvailableChanged", "connectionLost",
                                                "connectionLost", "connectionLost"}));
        QCOMPARE(recorder.emissions().first().arguments, QVariantList{false});

        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, "10.0.0.5");
        QVERIFY(!watchDog.isConnectedToNetwork());
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, "127.42.0.9");
        QVERIFY(watchDog.isConnectedToNetwork());
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, "127.0.0.1");
        QVERIFY(watchDog.isConnectedToNetwork());
        recorder.clear();
        QTRY_COMPARE(recorder.count("networkAvailableChanged"), 1);
        QTest::qWait(2 * kPollMs);
        QCOMPARE(recorder.names(), QStringList{"networkAvailableChanged"});
        QCOMPARE(recorder.emissions().first().arguments, QVariantList{true});
    }

    void interfaceWithIPv4AddressIsANetwork()
    {
        qx8test::VethNetwork network;
        QVERIFY(network.create());
        ClientConnectionWatchDog watchDog(kPollMs);
        SignalRecorder recorder(&watchDog);
        // Up and running, but with no more than its IPv6 link-local address.
        QTRY_COMPARE(recorder.count("connectionLost"), 2);
        QCOMPARE(recorder.count("networkAvailableChanged"), 1);

        QVERIFY(network.addNearAddress(1));
        recorder.clear();
        QTRY_COMPARE(recorder.count("networkAvailableChanged"), 1);
        QCOMPARE(recorder.emissions().first().arguments, QVariantList{true});
        QTest::qWait(2 * kPollMs);
        QCOMPARE(recorder.count("connectionLost"), 0);

        recorder.clear();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(network.setNearUp(false));
        QTRY_COMPARE(recorder.count("connectionLost"), 1);
        QVERIFY(clock.elapsed() < 2 * kPollMs);
        QCOMPARE(recorder.names(), (QStringList{"networkAvailableChanged", "connectionLost"}));
        QCOMPARE(recorder.emissions().first().arguments, QVariantList{false});
    }

    void pollingEndsWhenTheApplicationQuits()
    {
        ClientConnectionWatchDog watchDog(kPollMs);
        SignalRecorder recorder(&watchDog);
        QTRY_COMPARE(recorder.count("connectionLost"), 1);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        recorder.clear();
        QTest::qWait(3 * kPollMs);
        QCOMPARE(recorder.names(), QStringList());
    }
};

QX8_NETWORK_TEST_MAIN(TestWatchDogClient)
#include "tst_watchdogclient.moc"
