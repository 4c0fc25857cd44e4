// Discovery answers and the typed-address query against VirtualQX8 and hand-made peers on
// loopback, and scan windows on a computer without a usable network.
#include "discovereddevicesprovider.h"
#include "discoveredwallcontrollerslistprovider.h"
#include "testharness.h"
#include "tst_discoverynetwork.h"
#include "virtualprocessor.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

namespace {

constexpr int kWindowMs = 500;

const QByteArray kDeviceQuery = "delay 100\n"
                                "get \\\\Node\\AT\\Class_Name\n"
                                "get \\\\Node\\AT\\Instance_Name\n"
                                "get \\\\Node\\AT\\Software_Version\n"
                                "get \\\\Node\\SV\\HardwareVersion\n";

QByteArray answer(const QByteArray& className, const QByteArray& hardwareVersion = "QX8")
{
    return "get \"\\\\Node\\AT\\Class_Name\" \"" + className +
           "\"\n"
           "get \"\\\\Node\\AT\\Instance_Name\" \"Stage Left\"\n"
           "get \"\\\\Node\\AT\\Software_Version\" \"2.4.1\"\n"
           "get \"\\\\Node\\SV\\HardwareVersion\" \"" +
           hardwareVersion + "\"\n";
}

// Waits until the device has sent `count` discovery answers.
bool waitForAnswers(VirtualProcessor& device, int count)
{
    return QTest::qWaitFor(
        [&] {
            return device.wireLog()
                       .filter(QRegularExpression("^udp TX .* get .*Class_Name"))
                       .size() >= count;
        },
        qx8test::timeoutMs());
}

// A typed-address query with its two outcomes recorded.
struct Query
{
    explicit Query(int windowMs = kWindowMs) : provider(nullptr, windowMs) {}
    DiscoveredDevicesProvider provider;
    QSignalSpy confirmed{&provider, &DiscoveredDevicesProvider::kalo480Confirmed};
    QSignalSpy invalid{&provider, &DiscoveredDevicesProvider::invalidIPForKalo480};
};

} // namespace

class TestDiscoveryProvider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Answers as devices and strangers may send them: lenient about quotes and blanks, strict
    // about the class and the order of the lines.
    void deviceAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("unquoted, no final line feed, blanks around the values")
            << "get \\\\Node\\AT\\Class_Name   yoxlSpandrellQX8 \n"
               "get \\\\Node\\AT\\Instance_Name\tFoyer\n"
               "get \\\\Node\\AT\\Software_Version 1.0\n"
               "get \\\\Node\\SV\\HardwareVersion QX8-B"
            << true << QStringList{"yoxlSpandrellQX8", "Foyer", "1.0", "QX8-B"};
        QTest::newRow("quotes anywhere, further lines ignored")
            << "\"get \\\\Node\\AT\\Class_Name\" yoxl\"Spandrell\"QX8\n"
               "get \\\\Node\\AT\\Instance_Name \"<b>Rack</b>\"\n"
               "get \\\\Node\\AT\\Software_Version 3\n"
               "get \\\\Node\\SV\\HardwareVersion 4\n"
               "get \\\\Node\\SV\\Other 5\n"
            << true << QStringList{"yoxlSpandrellQX8", "<b>Rack</b>", "3", "4"};
        QTest::newRow("class in other letter case")
            << QString(answer("YoxlSpandrellQX8")) << false
            << QStringList{"YoxlSpandrellQX8", "Stage Left", "2.4.1", "QX8"};
        QTest::newRow("first line is not the class answer")
            << "get \\\\Node\\AT\\Instance_Name A\n"
               "get \\\\Node\\AT\\Class_Name yoxlSpandrellQX8\n"
               "get \\\\Node\\AT\\Software_Version 1\n"
               "get \\\\Node\\SV\\HardwareVersion 2\n"
            << false << QStringList{"", "", "1", "2"};
        QTest::newRow("three lines") << QString(answer("yoxlSpandrellQX8")).section('\n', 0, 2)
                                     << false << QStringList{"", "", "", ""};
        const QString longest(BroadcastDiscovery::kMaximumFieldLength, QLatin1Char('n'));
        QTest::newRow("a name of the longest length")
            << QString(answer("yoxlSpandrellQX8")).replace("Stage Left", longest) << true
            << QStringList{"yoxlSpandrellQX8", longest, "2.4.1", "QX8"};
        QTest::newRow("a longer name and version, cut")
            << QString(answer("yoxlSpandrellQX8"))
                   .replace("Stage Left", longest + "n")
                   .replace("2.4.1", QString(1000, '9'))
            << true
            << QStringList{"yoxlSpandrellQX8", longest, QString(longest.size(), '9'), "QX8"};
    }
    void deviceAnswers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QStringList, fields);
        if (text.count('\n') < 3)
            QTest::ignoreMessage(QtDebugMsg, "Incomplete response received.");
        if (text.size() > 1000) {
            QTest::ignoreMessage(QtInfoMsg, "Discovery: a field longer than 64 characters cut to "
                                            "that length in the answer from 10.0.0.9");
        }
        DiscoveredDevicesProvider provider;
        DeviceInfo info;
        info.ipAddress = "10.0.0.9";
        QCOMPARE(provider.parseDatagram(text, info), valid);
        QCOMPARE((QStringList{info.className, info.instanceName, info.softwareVersion,
                              info.hardwareVersion}),
                 fields);
        QCOMPARE(info.ipAddress, QString("10.0.0.9"));
    }

    // Wall controllers answer three lines; only the four known classes count.
    void wallControllerAnswers()
    {
        for (const QString& className :
             QStringList{"Tessaly Wall Controller WK-S", "tessaly wall controller wk-s",
                         "Tessaly Wall Controller WK-8R"}) {
            DiscoveredWallControllersListProvider provider;
            DeviceInfo info;
            info.ipAddress = "10.0.0.9";
            const QString text = "get \"\\\\Node\\AT\\Class_Name\" \"" + className +
                                 "\"\nget \"\\\\Node\\AT\\Instance_Name\" \"Foyer\"\n"
                                 "get \"\\\\Node\\AT\\Software_Version\" \"1.2\"";
            QTest::ignoreMessage(QtDebugMsg, qPrintable(className + " Foyer 1.2 10.0.0.9"));
            QCOMPARE(provider.parseDatagram(text, info), className.endsWith("WK-S"));
            QCOMPARE((QStringList{info.className, info.instanceName, info.softwareVersion,
                                  info.hardwareVersion}),
                     (QStringList{className, "Foyer", "1.2", ""}));
        }
    }

    void datagramIsReadUpToNul()
    {
        const QByteArray data =
            answer("yoxlSpandrellQX8").replace("Stage Left", QByteArray("St\0ge", 5));
        const QString text = BroadcastDiscovery::decodeDatagram(data);
        QCOMPARE(text, QString("get \"\\\\Node\\AT\\Class_Name\" \"yoxlSpandrellQX8\"\n"
                               "get \"\\\\Node\\AT\\Instance_Name\" \"St"));
        DiscoveredDevicesProvider provider;
        DeviceInfo info;
        QTest::ignoreMessage(QtDebugMsg, "Incomplete response received.");
        QVERIFY(!provider.parseDatagram(text, info));
    }

    // A processor confirms at once, any other class is refused at once; the time-out of the
    // finished query reports nothing.
    void typedAddressAnswered_data()
    {
        QTest::addColumn<QString>("className");
        QTest::newRow("processor") << "yoxlSpandrellQX8";
        QTest::newRow("other class") << "Tessaly Wall Controller WK-4R";
    }
    void typedAddressAnswered()
    {
        QFETCH(QString, className);
        const bool processor = className == "yoxlSpandrellQX8";
        VirtualProcessor device;
        QVERIFY(device.start({"--class", className}));
        Query query;
        auto& [provider, confirmed, invalid] = query;
        QElapsedTimer clock;
        clock.start();
        provider.getDeviceDetailsForIP(device.address());
        QTRY_COMPARE(confirmed.size() + invalid.size(), 1);
        QVERIFY(clock.elapsed() < kWindowMs);
        QCOMPARE(confirmed.size(), processor ? 1 : 0);
        if (processor)
            QCOMPARE(confirmed.first().first().toString(), QString("QX8"));
        QTest::qWait(kWindowMs + 200);
        QCOMPARE(confirmed.size() + invalid.size(), 1);
        QVERIFY(!device.wireLog()
                     .filter(QRegularExpression(
                         "^udp RX \\S+ get \\\\\\\\Node\\\\SV\\\\HardwareVersion$"))
                     .isEmpty());
    }

    // Silence is reported after the window, except while the password is being asked for; a
    // new query clears that.
    void silentAddressTimesOut_data()
    {
        QTest::addColumn<bool>("validAddress");
        QTest::addColumn<bool>("askingForPassword");
        QTest::newRow("silent device") << true << false;
        QTest::newRow("not an address") << false << false;
        QTest::newRow("asking for the password") << true << true;
    }
    void silentAddressTimesOut()
    {
        QFETCH(bool, validAddress);
        QFETCH(bool, askingForPassword);
        VirtualProcessor device;
        QVERIFY(device.start({"--fault", "discovery-silent"}));
        Query query;
        QElapsedTimer clock;
        clock.start();
        query.provider.getDeviceDetailsForIP(validAddress ? device.address() : "10.0.0.300");
        if (askingForPassword) {
            query.provider.waitForPassword(true);
            QTest::qWait(2 * kWindowMs);
            QCOMPARE(query.invalid.size(), 0);
            clock.restart();
            query.provider.getDeviceDetailsForIP(device.address());
        }
        QTRY_COMPARE(query.invalid.size(), 1);
        QVERIFY(clock.elapsed() >= kWindowMs - 20);
    }

    void lateAnswerIsIgnoredAndNextQueryWorks_data()
    {
        QTest::addColumn<bool>("ignored");
        QTest::newRow("after the time-out") << false;
        QTest::newRow("after the screen dropped the query") << true;
    }

    void lateAnswerIsIgnoredAndNextQueryWorks()
    {
        QFETCH(bool, ignored);
        VirtualProcessor device;
        QVERIFY(device.start({"--fault", QString("discovery-delay=%1").arg(2 * kWindowMs)}));
        Query query;
        auto& [provider, confirmed, invalid] = query;
        provider.getDeviceDetailsForIP(device.address());
        if (ignored)
            provider.ignoreDeviceDetailsResponse();
        QVERIFY(waitForAnswers(device, 1));
        QTest::qWait(100);
        QCOMPARE(invalid.size(), ignored ? 0 : 1);
        QCOMPARE(confirmed.size(), 0);

        QCOMPARE(device.command("fault discovery-delay=0"), QString("ok"));
        provider.getDeviceDetailsForIP(device.address());
        QTRY_COMPARE(confirmed.size(), 1);
        QCOMPARE(invalid.size(), ignored ? 0 : 1);
    }

    // The first query's answer arrives while the second waits for a device that no longer answers:
    // it must not confirm the second.
    void lateAnswerDoesNotCountForNextQuery()
    {
        constexpr int windowMs = 800;
        VirtualProcessor device;
        QVERIFY(device.start({"--fault", "discovery-delay=1200"}));
        Query query(windowMs);
        auto& [provider, confirmed, invalid] = query;
        provider.getDeviceDetailsForIP(device.address());
        QTRY_COMPARE(invalid.size(), 1);
        QCOMPARE(device.command("fault discovery-silent on"), QString("ok"));
        provider.getDeviceDetailsForIP(device.address());
        QVERIFY(waitForAnswers(device, 1));
        QTRY_COMPARE(invalid.size(), 2);
        QCOMPARE(confirmed.size(), 0);
    }

    // A hand-made device checks the query bytes; an answer from another address, and a second
    // answer, do not count.
    void onlyTheTypedAddressAnswersOnce()
    {
        QUdpSocket unit;
        QUdpSocket stranger;
        QHostAddress unitAddress;
        for (int attempt = 0; attempt < 20 && unit.state() != QAbstractSocket::BoundState;
             ++attempt) {
            unitAddress = qx8test::uniqueLoopbackAddress();
            unit.bind(unitAddress, DiscoveredDevicesProvider::kDiscoveryPort);
        }
        QCOMPARE(unit.state(), QAbstractSocket::BoundState);
        QVERIFY(stranger.bind(qx8test::uniqueLoopbackAddress(), 0));

        Query typed(4 * kWindowMs);
        auto& [provider, confirmed, invalid] = typed;
        provider.getDeviceDetailsForIP(unitAddress.toString());
        QVERIFY(QTest::qWaitFor([&] { return unit.hasPendingDatagrams(); }, qx8test::timeoutMs()));
        const QNetworkDatagram query = unit.receiveDatagram();
        QCOMPARE(query.data(), kDeviceQuery);

        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable("Answer from " + stranger.localAddress().toString() +
                                        " ignored: asked was " + unitAddress.toString()));
        stranger.writeDatagram(answer("yoxlSpandrellQX8", "stranger"), query.senderAddress(),
                               quint16(query.senderPort()));
        QTest::qWait(200);
        QCOMPARE(confirmed.size(), 0);
        QCOMPARE(invalid.size(), 0);

        unit.writeDatagram(answer("yoxlSpandrellQX8", "QX8-A") +
                               answer("yoxlSpandrellQX8", "QX8-B"),
                           query.senderAddress(), quint16(query.senderPort()));
        unit.writeDatagram(answer("Other"), query.senderAddress(), quint16(query.senderPort()));
        QTRY_COMPARE(confirmed.size(), 1);
        QCOMPARE(confirmed.first().first().toString(), QString("QX8-A"));
        QTest::qWait(200);
        QCOMPARE(confirmed.size(), 1);
        QCOMPARE(invalid.size(), 0);
    }

    void windowsWithoutNetworkFindNothing()
    {
        if (!qx8test::hasPrivateNetwork())
            QSKIP("needs a private network namespace with only loopback (scripts/netns-run)");
        DiscoveredDevicesProvider provider(nullptr, 200);
        QSignalSpy lists(&provider, &DiscoveredDevicesProvider::deviceList);
        QSignalSpy none(&provider, &DiscoveredDevicesProvider::noDeviceFound);
        QElapsedTimer clock;
        clock.start();
        provider.startScanning();
        QTRY_COMPARE(none.size(), 2);
        QVERIFY(clock.elapsed() >= 2 * 200 - 20);
        QCOMPARE(lists.size(), 2);
        QVERIFY(lists.first().first().value<DeviceInfoMap>().isEmpty());
        provider.stopScanning();
        QTest::qWait(400);
        QCOMPARE(lists.size(), 2);

        // The typed-address query ends the scan; a new scan starts over.
        provider.startScanning();
        provider.getDeviceDetailsForIP("127.0.0.1");
        QTest::qWait(400);
        QCOMPARE(lists.size(), 2);
        provider.startScanning();
        QTRY_COMPARE(lists.size(), 3);
    }

    void wallControllerScanReportsAtOnce()
    {
        if (!qx8test::hasPrivateNetwork())
            QSKIP("needs a private network namespace with only loopback (scripts/netns-run)");
        DiscoveredWallControllersListProvider provider(nullptr, 300);
        QSignalSpy lists(&provider, &DiscoveredWallControllersListProvider::deviceList);
        QSignalSpy none(&provider, &DiscoveredWallControllersListProvider::noDeviceFound);
        provider.startScanning();
        QCOMPARE(lists.size(), 1);
        QCOMPARE(none.size(), 1);
        QVERIFY(lists.first().first().value<DeviceInfoMap>().isEmpty());
        QTRY_COMPARE(none.size(), 2);
        provider.stopBroadcasting();
        QTest::qWait(500);
        QCOMPARE(none.size(), 2);
    }
};

QX8_NETWORK_TEST_MAIN(TestDiscoveryProvider)
#include "tst_discoveryprovider.moc"
