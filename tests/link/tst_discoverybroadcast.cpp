// Discovery by broadcast between two network namespaces: this process's own, and a second one
// behind a veth pair where VirtualQX8 units answer.
#include "clientconnectionwatchdog.h"
#include "discovereddevicesmodel.h"
#include "discovereddevicesprovider.h"
#include "discoveredwallcontrollerslistmodel.h"
#include "testharness.h"
#include "tst_discoverynetwork.h"
#include "virtualprocessor.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>
#include <ctime>
#include <memory>

namespace {

constexpr int kWindowMs = 500;
// Never polls during a test: the network is there from the start.
constexpr int kNoPollMs = 3600 * 1000;

const QByteArray kWallControllerQuery = "delay 100\n"
                                        "get \\\\Node\\AT\\Class_Name\n"
                                        "get \\\\Node\\AT\\Instance_Name\n"
                                        "get \\\\Node\\AT\\Software_Version\n";

QString address(int host)
{
    return qx8test::VethNetwork::kSubnet + QString::number(host);
}

int queriesReceived(const VirtualProcessor& device)
{
    return device.wireLog().filter(QRegularExpression("^udp RX .* get .*Class_Name$")).size();
}

// Sends to argv[1]:argv[2] one answer with a 60,000-character name, then 10,000 answers, each
// from an address of its own in 10.78.0.0/16 (a local route on the far side makes them its own).
const char* const kFloodScript = R"(
import socket, sys
target = (sys.argv[1], int(sys.argv[2]))
def answer(name):
    return ('get "\\\\Node\\AT\\Class_Name" "yoxlSpandrellQX8"\n'
            'get "\\\\Node\\AT\\Instance_Name" "%s"\n'
            'get "\\\\Node\\AT\\Software_Version" "2.4.1"\n'
            'get "\\\\Node\\SV\\HardwareVersion" "QX8"\n' % name).encode()
def send(source, data):
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind((source, 0))
        s.sendto(data, target)
send("10.78.255.1", answer("x" * 60000))
for i in range(10000):
    send("10.78.%d.%d" % (i // 250, i % 250 + 1), answer("Spoof %d" % i))
)";

QString roleText(const QAbstractItemModel& model, int row, const QByteArray& roleName)
{
    const int role = model.roleNames().key(roleName, -1);
    return model.data(model.index(row, 0), role).toString();
}

} // namespace

class TestDiscoveryBroadcast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!qx8test::hasPrivateNetwork())
            QSKIP("needs a private network namespace with only loopback (scripts/netns-run)");
        m_network = std::make_unique<qx8test::VethNetwork>();
        QVERIFY(m_network->create());
        QVERIFY(m_network->addNearAddress(1));
        for (int host : {100, 20, 30})
            QVERIFY(m_network->addFarAddress(host));
        m_left = std::make_unique<VirtualProcessor>();
        m_right = std::make_unique<VirtualProcessor>();
        m_wallController = std::make_unique<VirtualProcessor>();
        QVERIFY(m_network->startDevice(*m_left, 100, {"--name", "Stage Left"}));
        QVERIFY(m_network->startDevice(*m_right, 20, {"--name", "Stage <i>Right</i>"}));
        QVERIFY(m_network->startDevice(
            *m_wallController, 30,
            {"--class", "Tessaly Wall Controller WK-4R", "--name", "Foyer"}));
    }

    void init()
    {
        m_watchDog = new ClientConnectionWatchDog(kNoPollMs, this);
        m_listener = new QUdpSocket(this);
        QVERIFY(m_listener->bind(QHostAddress::AnyIPv4, DiscoveredDevicesProvider::kDiscoveryPort,
                                 QAbstractSocket::ShareAddress));
    }

    void cleanup()
    {
        delete m_listener;
        delete m_watchDog;
    }

    void cleanupTestCase()
    {
        m_left.reset();
        m_right.reset();
        m_wallController.reset();
        m_network.reset();
    }

    void processorsAreListedInAddressOrder()
    {
        DiscoveredDevicesModel model(m_watchDog, kWindowMs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy scanning(&model, &DiscoveredDevicesModel::scanningForDevices);
        model.startScanning();
        QCOMPARE(scanning.size(), 1);

        QVERIFY(QTest::qWaitFor([&] { return m_listener->hasPendingDatagrams(); },
                                qx8test::timeoutMs()));
        const QNetworkDatagram query = m_listener->receiveDatagram();
        QCOMPARE(query.data().size(), 124);
        QCOMPARE(query.senderAddress().toString(), address(1));

        QTRY_COMPARE(model.rowCount(), 2);
        QCOMPARE(roleText(model, 0, "ipAddress"), address(100));
        QCOMPARE(roleText(model, 1, "ipAddress"), address(20));
        QCOMPARE(roleText(model, 0, "className"), QString("yoxlSpandrellQX8"));
        QCOMPARE(roleText(model, 0, "instanceName"), QString("Stage Left"));
        QCOMPARE(roleText(model, 1, "instanceName"), QString("Stage <i>Right</i>"));
        QCOMPARE(roleText(model, 1, "softwareVersion"), QString("2.4.1"));
        QCOMPARE(roleText(model, 1, "hardwareVersion"), QString("QX8"));
        model.stopScanning();
    }

    void rowsFollowTheScans()
    {
        DiscoveredDevicesModel model(m_watchDog, kWindowMs);
        auto* provider = model.findChild<DiscoveredDevicesProvider*>();
        QVERIFY(provider);
        QSignalSpy windows(provider, &DiscoveredDevicesProvider::deviceList);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.startScanning();
        QTRY_COMPARE(model.rowCount(), 2);

        // A renamed unit keeps its first name while it answers.
        QVERIFY(m_left->command("set \\\\Node\\AT\\Instance_Name \"Renamed\"").startsWith("ok"));
        const int seen = windows.size();
        QTRY_VERIFY(windows.size() >= seen + 2);
        QCOMPARE(windows.last().first().value<DeviceInfoMap>().value(address(100)).instanceName,
                 QString("Renamed"));
        QCOMPARE(roleText(model, 0, "instanceName"), QString("Stage Left"));
        QCOMPARE(removed.size(), 0);

        // A silent unit drops out with its one row.
        QCOMPARE(m_right->command("fault discovery-silent on"), QString("ok"));
        QTRY_COMPARE(model.rowCount(), 1);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.first().at(1).toInt(), 1);
        QCOMPARE(removed.first().at(2).toInt(), 1);
        QCOMPARE(roleText(model, 0, "ipAddress"), address(100));
        model.stopScanning();
        QCOMPARE(m_right->command("fault discovery-silent off"), QString("ok"));
        QVERIFY(m_left->command("set \\\\Node\\AT\\Instance_Name \"Stage Left\"").startsWith("ok"));
    }

    void wallControllersAreListed()
    {
        DiscoveredWallControllersListModel model(m_watchDog, kWindowMs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy none(&model, &DiscoveredWallControllersListModel::noDeviceFound);
        model.startScanning();
        QCOMPARE(none.size(), 1);

        QVERIFY(QTest::qWaitFor([&] { return m_listener->hasPendingDatagrams(); },
                                qx8test::timeoutMs()));
        QCOMPARE(m_listener->receiveDatagram().data(), kWallControllerQuery);

        QTRY_COMPARE(model.rowCount(), 1);
        QCOMPARE(roleText(model, 0, "ipAddress"), address(30));
        QCOMPARE(roleText(model, 0, "className"), QString("Tessaly Wall Controller WK-4R"));
        QCOMPARE(roleText(model, 0, "instanceName"), QString("Foyer"));
        QVERIFY(!model.roleNames().contains(DeviceListModel::HardwareVersionRole));
        QVERIFY(!model.data(model.index(0, 0), DeviceListModel::HardwareVersionRole).isValid());
        QCOMPARE(none.size(), 1);
        model.stopScanning();
    }

    void typedQueryEndsTheScan()
    {
        DiscoveredDevicesProvider provider(nullptr, kWindowMs);
        QSignalSpy confirmed(&provider, &DiscoveredDevicesProvider::kalo480Confirmed);
        QSignalSpy windows(&provider, &DiscoveredDevicesProvider::deviceList);
        provider.startScanning();
        QTRY_VERIFY(windows.size() >= 1);
        provider.getDeviceDetailsForIP(address(100));
        QTRY_COMPARE(confirmed.size(), 1);
        const int queries = queriesReceived(*m_right);
        const int reported = windows.size();
        QTest::qWait(3 * kWindowMs);
        QCOMPARE(queriesReceived(*m_right), queries);
        QCOMPARE(windows.size(), reported);
    }

    // A source that keeps sending, junk or the same answer again, must not put off the report.
    void chatterDoesNotHoldTheWindowOpen()
    {
        DiscoveredDevicesProvider provider(nullptr, kWindowMs);
        QSignalSpy windows(&provider, &DiscoveredDevicesProvider::deviceList);
        QElapsedTimer clock;
        provider.startScanning();
        clock.start();
        QVERIFY(QTest::qWaitFor([&] { return m_listener->hasPendingDatagrams(); },
                                qx8test::timeoutMs()));
        const QNetworkDatagram query = m_listener->receiveDatagram();

        QUdpSocket chatter;
        QVERIFY(chatter.bind(QHostAddress::LocalHost, 0));
        const QByteArray valid = "get \\\\Node\\AT\\Class_Name yoxlSpandrellQX8\n\n\n\n";
        QTimer repeat;
        connect(&repeat, &QTimer::timeout, &chatter, [&] {
            chatter.writeDatagram("junk", query.senderAddress(), quint16(query.senderPort()));
            chatter.writeDatagram(valid, query.senderAddress(), quint16(query.senderPort()));
        });
        repeat.start(50);
        QTRY_COMPARE_WITH_TIMEOUT(windows.size(), 1, 3 * kWindowMs);
        QVERIFY(clock.elapsed() < 3 * kWindowMs);
        const DeviceInfoMap found = windows.first().first().value<DeviceInfoMap>();
        QCOMPARE(found.keys(), (QStringList{address(100), address(20), "127.0.0.1"}));
        QCOMPARE(found.value("127.0.0.1").className, QString("yoxlSpandrellQX8"));
    }

    // Ten thousand answers from as many addresses, sent from the far side as fast as it can,
    // after one whose name is 60,000 characters long: the list holds the first units up to its
    // limit, the long name cut to 64 characters (said once in the log), and the GUI thread never
    // works longer than a frame's time between two turns of its event loop (measured in its own
    // CPU time, which other processes on the machine do not stretch).
    void floodIsCappedAndKeepsTheLoopTurning()
    {
        QVERIFY(m_network->runFar({"ip", "route", "add", "local", "10.78.0.0/16", "dev", "lo"}));
        DiscoveredDevicesModel model(m_watchDog, kWindowMs);
        auto* provider = model.findChild<DiscoveredDevicesProvider*>();
        QSignalSpy windows(provider, &DiscoveredDevicesProvider::deviceList);
        model.startScanning();
        QVERIFY(QTest::qWaitFor([&] { return m_listener->hasPendingDatagrams(); },
                                qx8test::timeoutMs()));
        const QNetworkDatagram query = m_listener->receiveDatagram();

        std::chrono::nanoseconds longestTurn{0};
        std::chrono::nanoseconds last = threadCpuTime();
        QTimer turns;
        turns.setTimerType(Qt::PreciseTimer);
        connect(&turns, &QTimer::timeout, this, [&] {
            const std::chrono::nanoseconds now = threadCpuTime();
            longestTurn = std::max(longestTurn, now - last);
            last = threadCpuTime();
        });
        turns.start(1);
        const qx8test::LoggedMessageWatch cut("cut to that length in the answer from 10.78.");
        QProcess flood;
        m_network->startFar(flood, {"python3", "-c", kFloodScript, query.senderAddress().toString(),
                                    QString::number(query.senderPort())});
        QVERIFY(flood.waitForStarted(qx8test::timeoutMs()));
        QVERIFY(QTest::qWaitFor([&] { return flood.state() == QProcess::NotRunning; },
                                qx8test::timeoutMs()));
        QCOMPARE(flood.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!windows.isEmpty(), qx8test::timeoutMs());
        turns.stop();
        model.stopScanning();

        QCOMPARE(model.rowCount(), BroadcastDiscovery::kMaximumUnits);
        for (int row = 0; row < model.rowCount(); ++row)
            QVERIFY(roleText(model, row, "instanceName").size() <= 64);
        QCOMPARE(windows.first().first().value<DeviceInfoMap>().value("10.78.255.1").instanceName,
                 QString(64, 'x'));
        QCOMPARE(cut.seen(), 1);
        QVERIFY2(longestTurn < std::chrono::milliseconds(16),
                 qPrintable(QString("%1 ms").arg(longestTurn.count() / 1e6)));
    }

private:
    static std::chrono::nanoseconds threadCpuTime()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    }

    std::unique_ptr<qx8test::VethNetwork> m_network;
    std::unique_ptr<VirtualProcessor> m_left;
    std::unique_ptr<VirtualProcessor> m_right;
    std::unique_ptr<VirtualProcessor> m_wallController;
    ClientConnectionWatchDog* m_watchDog = nullptr;
    // Receives the broadcasts of this namespace, as a unit on this side would.
    QUdpSocket* m_listener = nullptr;
};

QX8_NETWORK_TEST_MAIN(TestDiscoveryBroadcast)
#include "tst_discoverybroadcast.moc"
