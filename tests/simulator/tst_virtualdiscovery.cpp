#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <QtTest>

// The discovery side of the virtual processor: the query datagrams of the processor and the
// wall-controller scans, sent from a plain UDP socket.
class TestVirtualDiscovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void answersQueries_data();
    void answersQueries();
    void unknownLinesAreAnsweredInPlace();
    void silentUnitDoesNotAnswer();
    void delayedAnswer();
    void severalUnitsAnswerFromTheirOwnAddress();
    void unitsOnOneSubnetAnswerABroadcast();

private:
    QNetworkDatagram ask(const QString& address, const QByteArray& query);

    QUdpSocket* m_socket = nullptr;
};

namespace {

const QByteArray deviceQuery = "delay 100\n"
                               "get \\\\Node\\AT\\Class_Name\n"
                               "get \\\\Node\\AT\\Instance_Name\n"
                               "get \\\\Node\\AT\\Software_Version\n"
                               "get \\\\Node\\SV\\HardwareVersion\n";
const QByteArray wallControllerQuery = "delay 100\n"
                                       "get \\\\Node\\AT\\Class_Name\n"
                                       "get \\\\Node\\AT\\Instance_Name\n"
                                       "get \\\\Node\\AT\\Software_Version\n";

QByteArray answerLine(const char* path, const QByteArray& value)
{
    return QByteArray("get \"") + path + "\" \"" + value + "\"\n";
}

// Runs a command from the test; false when it fails or is not there.
bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    return process.waitForFinished(qx8test::timeoutMs()) &&
           process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

void TestVirtualDiscovery::init()
{
    m_socket = new QUdpSocket(this);
    QVERIFY(m_socket->bind(QHostAddress::LocalHost, 0));
}

void TestVirtualDiscovery::cleanup()
{
    delete m_socket;
    m_socket = nullptr;
}

QNetworkDatagram TestVirtualDiscovery::ask(const QString& address, const QByteArray& query)
{
    m_socket->writeDatagram(query, QHostAddress(address), 19272);
    if (!QTest::qWaitFor([this] { return m_socket->hasPendingDatagrams(); }, qx8test::timeoutMs()))
        return QNetworkDatagram();
    return m_socket->receiveDatagram();
}

void TestVirtualDiscovery::answersQueries_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("processor") << QStringList{"--name", "Stage Left"} << deviceQuery
                               << answerLine("\\\\Node\\AT\\Class_Name", "yoxlSpandrellQX8") +
                                      answerLine("\\\\Node\\AT\\Instance_Name", "Stage Left") +
                                      answerLine("\\\\Node\\AT\\Software_Version", "2.4.1") +
                                      answerLine("\\\\Node\\SV\\HardwareVersion", "QX8");
    QTest::newRow("processor asked by a wall-controller scan")
        << QStringList() << wallControllerQuery
        << answerLine("\\\\Node\\AT\\Class_Name", "yoxlSpandrellQX8") +
               answerLine("\\\\Node\\AT\\Instance_Name", "VirtualQX8") +
               answerLine("\\\\Node\\AT\\Software_Version", "2.4.1");
    QTest::newRow("wall controller")
        << QStringList{"--class", "Tessaly Wall Controller WK-4R", "--name", "Foyer"}
        << wallControllerQuery
        << answerLine("\\\\Node\\AT\\Class_Name", "Tessaly Wall Controller WK-4R") +
               answerLine("\\\\Node\\AT\\Instance_Name", "Foyer") +
               answerLine("\\\\Node\\AT\\Software_Version", "2.4.1");
}

void TestVirtualDiscovery::answersQueries()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, expected);
    VirtualProcessor device;
    QVERIFY(device.start(arguments));
    const QNetworkDatagram answer = ask(device.address(), query);
    QCOMPARE(answer.data(), expected);
    QCOMPARE(answer.senderAddress().toString(), device.address());
    QCOMPARE(answer.senderPort(), 19272);
    QVERIFY(device.wireLog().contains(
        QString("udp RX 127.0.0.1:%1 get \\\\Node\\AT\\Class_Name").arg(m_socket->localPort())));
    // The console's ledger of received lines is not mixed up with discovery.
    QCOMPARE(device.received(), QStringList());
}

void TestVirtualDiscovery::unknownLinesAreAnsweredInPlace()
{
    VirtualProcessor device;
    QVERIFY(device.start());
    const QNetworkDatagram answer =
        ask(device.address(), "get \\\\Node\\AT\\Nothing\r\nset \\\\Node\\SV\\DeviceName x\n"
                              "get \"\\\\Node\\SV\\DeviceName\\\"\n");
    const QList<QByteArray> lines = answer.data().split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(0).startsWith("error "));
    QVERIFY(lines.at(1).startsWith("error "));
    QCOMPARE(lines.at(2), QByteArray(R"(get "\\Node\SV\DeviceName\" "Virtual QX8")"));
    QCOMPARE(device.command("value \\\\Node\\SV\\DeviceName\\"), QString("ok Virtual QX8"));
}

void TestVirtualDiscovery::silentUnitDoesNotAnswer()
{
    VirtualProcessor device;
    QVERIFY(device.start({"--fault", "discovery-silent"}));
    m_socket->writeDatagram("get \\\\Node\\AT\\Instance_Name\n", QHostAddress(device.address()),
                            19272);
    QTRY_VERIFY(device.wireLog().join('\n').contains("udp RX"));
    QCOMPARE(device.command("fault discovery-silent off"), QString("ok"));
    const QNetworkDatagram answer = ask(device.address(), "get \\\\Node\\AT\\Class_Name\n");
    // Had the first query been answered, its answer would have come first.
    QCOMPARE(answer.data(), answerLine("\\\\Node\\AT\\Class_Name", "yoxlSpandrellQX8"));
    QVERIFY(!m_socket->hasPendingDatagrams());
}

void TestVirtualDiscovery::delayedAnswer()
{
    VirtualProcessor device;
    QVERIFY(device.start({"--fault", "discovery-delay=300"}));
    QElapsedTimer clock;
    clock.start();
    const QNetworkDatagram answer = ask(device.address(), wallControllerQuery);
    QVERIFY(clock.elapsed() >= 290);
    QCOMPARE(answer.data().count('\n'), 3);
}

void TestVirtualDiscovery::severalUnitsAnswerFromTheirOwnAddress()
{
    VirtualProcessor first;
    VirtualProcessor second;
    QVERIFY(first.start({"--name", "First"}));
    QVERIFY(second.start({"--name", "Second"}));
    QVERIFY(first.address() != second.address());
    const QByteArray query = "get \\\\Node\\AT\\Instance_Name\n";
    QNetworkDatagram answer = ask(second.address(), query);
    QCOMPARE(answer.senderAddress().toString(), second.address());
    QCOMPARE(answer.data(), answerLine("\\\\Node\\AT\\Instance_Name", "Second"));
    answer = ask(first.address(), query);
    QCOMPARE(answer.senderAddress().toString(), first.address());
    QCOMPARE(answer.data(), answerLine("\\\\Node\\AT\\Instance_Name", "First"));
}

// Broadcasts need an interface other than loopback: a veth pair made inside the test's own
// network namespace, never on a shared network.
void TestVirtualDiscovery::unitsOnOneSubnetAnswerABroadcast()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    const bool privateNamespace = qEnvironmentVariable("QX8_NETNS_INSIDE") == "1" &&
                                  interfaces.size() == 1 &&
                                  (interfaces.first().flags() & QNetworkInterface::IsLoopBack);
    if (!privateNamespace)
        QSKIP("needs a private network namespace with only loopback (scripts/netns-run)");
    const QString link = "qx8vp" + QString::number(QCoreApplication::applicationPid() % 100000);
    const QString subnet = QString("10.123.%1.").arg(QCoreApplication::applicationPid() % 250);
    QVERIFY(run("ip", {"link", "add", link, "type", "veth", "peer", "name", link + "p"}));
    const auto removeLink = qScopeGuard([&] { run("ip", {"link", "del", link}); });
    QVERIFY(run("ip", {"addr", "add", subnet + "1/24", "brd", "+", "dev", link}));
    QVERIFY(run("ip", {"addr", "add", subnet + "2/24", "brd", "+", "dev", link}));
    QVERIFY(run("ip", {"addr", "add", subnet + "3/24", "brd", "+", "dev", link}));
    QVERIFY(run("ip", {"link", "set", link + "p", "up"}));
    QVERIFY(run("ip", {"link", "set", link, "up"}));

    VirtualProcessor first;
    VirtualProcessor second;
    QVERIFY(first.start({"--address", subnet + "2", "--name", "First"}));
    QVERIFY(second.start({"--address", subnet + "3", "--name", "Second"}));
    QUdpSocket scanner;
    QVERIFY(scanner.bind(QHostAddress(subnet + "1"), 0));
    scanner.writeDatagram(deviceQuery, QHostAddress(subnet + "255"), 19272);

    QMap<QString, QByteArray> answers;
    QVERIFY(QTest::qWaitFor(
        [&] {
            while (scanner.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = scanner.receiveDatagram();
                answers.insert(datagram.senderAddress().toString(), datagram.data());
            }
            return answers.size() == 2;
        },
        qx8test::timeoutMs()));
    QVERIFY(answers.value(subnet + "2").contains("\"First\""));
    QVERIFY(answers.value(subnet + "3").contains("\"Second\""));
}

QX8_TEST_GUILESS_MAIN(TestVirtualDiscovery)
#include "tst_virtualdiscovery.moc"
