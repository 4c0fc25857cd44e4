// The device lists: merging scan results row by row in address text order, roles, and
// following the computer's network as the client watchdog reports it.
#include "clientconnectionwatchdog.h"
#include "discovereddevicesmodel.h"
#include "discovereddevicesprovider.h"
#include "discoveredwallcontrollerslistmodel.h"
#include "qx8settings.h"
#include "signalrecorder.h"
#include "tst_discoverynetwork.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kNoPollMs = 3600 * 1000;

DeviceInfo device(const QString& address, const QString& name = "QX8")
{
    return {address, "yoxlSpandrellQX8", name, "2.4.1", "QX8-B"};
}

DeviceInfoMap devices(const QStringList& addresses)
{
    DeviceInfoMap map;
    for (const QString& address : addresses)
        map.insert(address, device(address));
    return map;
}

QStringList column(const QAbstractItemModel& model, int role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.data(model.index(row, 0), role).toString());
    return values;
}

const QStringList kRowSignals = {"rowsAboutToBeInserted", "rowsInserted", "rowsAboutToBeRemoved",
                                 "rowsRemoved",           "dataChanged",  "modelReset"};

} // namespace

class TestDiscoveryModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void rolesOfTheDeviceList();
    void mergeChangesOneRowAtATime_data();
    void mergeChangesOneRowAtATime();
    void listedDeviceKeepsItsFirstRecord();
    void clearEmptiesAtOnce();
    void wallControllerList();
    void scanningFollowsTheNetwork();

private:
    ClientConnectionWatchDog* m_watchDog = nullptr;
};

void TestDiscoveryModel::init()
{
    m_watchDog = new ClientConnectionWatchDog(kNoPollMs, this);
}

void TestDiscoveryModel::cleanup()
{
    delete m_watchDog;
    QX8Settings().remove("Data/CurrentDeviceAddress");
}

void TestDiscoveryModel::rolesOfTheDeviceList()
{
    DiscoveredDevicesModel model(m_watchDog, 1000);
    const QHash<int, QByteArray> expected = {{257, "className"},
                                             {258, "instanceName"},
                                             {259, "ipAddress"},
                                             {260, "softwareVersion"},
                                             {261, "hardwareVersion"}};
    QCOMPARE(model.roleNames(), expected);
    model.onDeviceList({{"10.0.0.5", {"10.0.0.5", "yoxlSpandrellQX8", "Rack", "2.4.1", "QX8-B"}}});
    const QModelIndex row = model.index(0, 0);
    QCOMPARE(model.data(row, 257).toString(), QString("yoxlSpandrellQX8"));
    QCOMPARE(model.data(row, 258).toString(), QString("Rack"));
    QCOMPARE(model.data(row, 259).toString(), QString("10.0.0.5"));
    QCOMPARE(model.data(row, 260).toString(), QString("2.4.1"));
    QCOMPARE(model.data(row, 261).toString(), QString("QX8-B"));
    QVERIFY(!model.data(row, 256).isValid());
    QVERIFY(!model.data(row, 262).isValid());
    QVERIFY(!model.data(row, Qt::DisplayRole).isValid());
    QVERIFY(!model.data(model.index(1, 0), 257).isValid());
    QVERIFY(!model.data(model.index(-1, 0), 257).isValid());
}

void TestDiscoveryModel::mergeChangesOneRowAtATime_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("address text order")
        << QStringList() << QStringList{"192.168.1.20", "192.168.1.100", "10.0.0.9", "10.0.0.10"}
        << QStringList{"10.0.0.10", "10.0.0.9", "192.168.1.100", "192.168.1.20"}
        << QStringList{"+0", "+1", "+2", "+3"};
    QTest::newRow("new rows between listed ones")
        << QStringList{"10.0.0.10", "10.0.0.3"}
        << QStringList{"10.0.0.10", "10.0.0.2", "10.0.0.3", "10.0.0.4"}
        << QStringList{"10.0.0.10", "10.0.0.2", "10.0.0.3", "10.0.0.4"} << QStringList{"+1", "+3"};
    QTest::newRow("same result") << QStringList{"10.0.0.1", "10.0.0.2"}
                                 << QStringList{"10.0.0.2", "10.0.0.1"}
                                 << QStringList{"10.0.0.1", "10.0.0.2"} << QStringList();
    QTest::newRow("one gone, one new")
        << QStringList{"10.0.0.1", "10.0.0.3", "10.0.0.5"}
        << QStringList{"10.0.0.1", "10.0.0.4", "10.0.0.5"}
        << QStringList{"10.0.0.1", "10.0.0.4", "10.0.0.5"} << QStringList{"-1", "+1"};
    QTest::newRow("all gone") << QStringList{"10.0.0.1", "10.0.0.2"} << QStringList()
                              << QStringList() << QStringList{"-0", "-0"};
}

void TestDiscoveryModel::mergeChangesOneRowAtATime()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, changes);
    DiscoveredDevicesModel model(m_watchDog, 1000);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
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

void TestDiscoveryModel::listedDeviceKeepsItsFirstRecord()
{
    DiscoveredDevicesModel model(m_watchDog, 1000);
    model.onDeviceList({{"10.0.0.1", device("10.0.0.1", "Old")}});
    SignalRecorder recorder(&model);
    model.onDeviceList({{"10.0.0.1", device("10.0.0.1", "New")}});
    QCOMPARE(column(model, DeviceListModel::InstanceNameRole), QStringList{"Old"});
    QCOMPARE(recorder.names(kRowSignals), QStringList());
    // Once it drops out, it comes back with its new record.
    model.onDeviceList({});
    model.onDeviceList({{"10.0.0.1", device("10.0.0.1", "New")}});
    QCOMPARE(column(model, DeviceListModel::InstanceNameRole), QStringList{"New"});
}

void TestDiscoveryModel::clearEmptiesAtOnce()
{
    DiscoveredDevicesModel model(m_watchDog, 1000);
    SignalRecorder recorder(&model);
    model.clear();
    QCOMPARE(recorder.names(kRowSignals), QStringList());
    model.onDeviceList(devices({"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first().at(1).toInt(), 0);
    QCOMPARE(removed.first().at(2).toInt(), 2);
}

void TestDiscoveryModel::wallControllerList()
{
    DiscoveredWallControllersListModel model(m_watchDog, 1000);
    const QHash<int, QByteArray> expected = {
        {257, "className"}, {258, "instanceName"}, {259, "ipAddress"}, {260, "softwareVersion"}};
    QCOMPARE(model.roleNames(), expected);
    // The slot is reached by its signature, as the provider's signal reaches it.
    const DeviceInfoMap found = {
        {"10.0.0.7", {"10.0.0.7", "Tessaly Wall Controller WK-S", "Foyer", "1.0", ""}},
        {"10.0.0.10", {"10.0.0.10", "Tessaly Wall Controller WK-S", "Bar", "1.0", ""}}};
    QVERIFY(QMetaObject::invokeMethod(&model, "onDeviceList",
                                      QArgument<DeviceInfoMap>("QMap<QString,DeviceInfo>", found)));
    QCOMPARE(column(model, DeviceListModel::IpAddressRole), (QStringList{"10.0.0.10", "10.0.0.7"}));
    QCOMPARE(column(model, 260), (QStringList{"1.0", "1.0"}));
    QVERIFY(!model.data(model.index(0, 0), 261).isValid());
}

// The model starts and stops its scans as the watchdog finds the network gone and back.
void TestDiscoveryModel::scanningFollowsTheNetwork()
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
    QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}), QStringList{"noDeviceFound"});

    recorder.clear();
    model.onDeviceList(devices({"10.0.0.1"}));
    model.startScanning();
    QCOMPARE(model.rowCount(), 0);
    QTest::qWait(400);
    QCOMPARE(windows.size(), 0);
    QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}), QStringList());

    // The local device substitute counts as a network.
    QX8Settings().setValue("Data/CurrentDeviceAddress", "127.0.0.1");
    QTRY_VERIFY(watchDog.networkAvailable());
    QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}),
             QStringList{"scanningForDevices"});
    QTRY_COMPARE(windows.size(), 1);
    QCOMPARE(recorder.names({"noDeviceFound", "scanningForDevices"}),
             (QStringList{"scanningForDevices", "noDeviceFound"}));
    model.stopScanning();
}

QX8_NETWORK_TEST_MAIN(TestDiscoveryModel)
#include "tst_discoverymodel.moc"
