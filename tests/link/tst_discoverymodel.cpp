// The device list: merging scan results row by row in address text order, and
// following the computer's network as the client watchdog reports it.
#include "clientconnectionwatchdog.h"
#include "discovereddevicesmodel.h"
#include "discovereddevicesprovider.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "signalrecorder.h"
#include "tst_discoverynetwork.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kNoPollMs = 3600 * 1000;

DeviceInfoMap devices(const QStringList& addresses)
{
    DeviceInfoMap map;
    for (const QString& address : addresses)
        map.insert(address, {address, "yoxlSpandrellQX8", "QX8", "2.4.1", "QX8-B"});
    return map;
}

QStringList column(const QAbstractItemModel& model, int role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.data(model.index(row, 0), role).toString());
    return values;
}

} // namespace

class TestDiscoveryModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_watchDog = new ClientConnectionWatchDog(kNoPollMs, this); }

    void cleanup()
    {
        delete m_watchDog;
        QX8Settings().remove(settingskeys::kCurrentDeviceAddress);
    }

    void mergeChangesOneRowAtATime_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("changes");

        QTest::newRow("address text order")
            << QStringList()
            << QStringList{"192.168.1.20", "192.168.1.100", "10.0.0.9", "10.0.0.10"}
            << QStringList{"10.0.0.10", "10.0.0.9", "192.168.1.100", "192.168.1.20"}
            << QStringList{"+0", "+1", "+2", "+3"};
        QTest::newRow("new rows between listed ones")
            << QStringList{"10.0.0.10", "10.0.0.3"}
            << QStringList{"10.0.0.10", "10.0.0.2", "10.0.0.3", "10.0.0.4"}
            << QStringList{"10.0.0.10", "10.0.0.2", "10.0.0.3", "10.0.0.4"}
            << QStringList{"+1", "+3"};
        QTest::newRow("same result")
            << QStringList{"10.0.0.1", "10.0.0.2"} << QStringList{"10.0.0.2", "10.0.0.1"}
            << QStringList{"10.0.0.1", "10.0.0.2"} << QStringList();
        QTest::newRow("one gone, one new")
            << QStringList{"10.0.0.1", "10.0.0.3", "10.0.0.5"}
            << QStringList{"10.0.0.1", "10.0.0.4", "10.0.0.5"}
            << QStringList{"10.0.0.1", "10.0.0.4", "10.0.0.5"} << QStringList{"-1", "+1"};
        QTest::newRow("all gone") << QStringList{"10.0.0.1", "10.0.0.2"} << QStringList()
                                  << QStringList() << QStringList{"-0", "-0"};
    }

    void mergeChangesOneRowAtATime()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, changes);
        DiscoveredDevicesModel model(m_watchDog, 1000);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.onDeviceList(devices(before));
        QStringList seen;
        connect(&model, &QAbstractItemModel::rowsInserted, this,
                [&](const QModelIndex&, int first, int last) {
                    QCOMPARE(first, last);
                    seen.append("+" + QString::number(first));
                });
        connect(&model, &QAbstractItemModel::rowsRemoved, this,
                [&](const QModelIndex&, int first, int last) {
                    QCOMPARE(first, last);
                    seen.append("-" + QString::number(first));
                });
        SignalRecorder recorder(&model);
        model.onDeviceList(devices(after));
        QCOMPARE(seen, changes);
        QCOMPARE(recorder.names({"dataChanged", "modelReset", "layoutChanged"}), QStringList());
        QCOMPARE(column(model, DeviceListModel::IpAddressRole), rows);
    }

    void scanningFollowsTheNetwork()
    {
        if (!qx8test::hasPrivateNetwork())
            QSKIP("needs a private network namespace with only loopback (scripts/netns-run)");
        ClientConnectionWatchDog watchDog(100);
        DiscoveredDevicesModel model(&watchDog, 200);
        auto* provider = model.findChild<DiscoveredDevicesProvider*>();
        QSignalSpy windows(provider, &DiscoveredDevicesProvider::deviceList);
        SignalRecorder recorder(&model);
        model.onDeviceList(devices({"10.0.0.1"}));

        // No interface here but loopback: the network goes at the first poll.
        QTRY_VERIFY(!watchDog.networkAvailable());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}),
                 QStringList{"noDeviceFound"});

        recorder.clear();
        model.onDeviceList(devices({"10.0.0.1"}));
        model.startScanning();
        QCOMPARE(model.rowCount(), 0);
        QTest::qWait(400);
        QCOMPARE(windows.size(), 0);
        QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}), QStringList());

        // The local device substitute counts as a network.
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, "127.0.0.1");
        QTRY_VERIFY(watchDog.networkAvailable());
        QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}),
                 QStringList{"scanningForDevices"});
        QTRY_COMPARE(windows.size(), 1);
        QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}),
                 (QStringList{"scanningForDevices", "noDeviceFound"}));
        model.stopScanning();
    }

private:
    ClientConnectionWatchDog* m_watchDog = nullptr;
};

QX8_NETWORK_TEST_MAIN(TestDiscoveryModel)
#include "tst_discoverymodel.moc"
