#include "consoleclient.h"
#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QtTest>

// The failure modes of the virtual processor, each seen from a plain client socket.
class TestVirtualFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void refuseLogin();
    void loginBytes_data();
    void loginBytes();
    void delayHoldsEveryLine();
    void splitLinesArriveInTwoParts();
    void mergeLinesArriveTogether();
    void closeMidList_data();
    void closeMidList();
    void freezeHoldsTheConnection();
    void ignoredCommandGoesUnanswered_data();
    void ignoredCommandGoesUnanswered();
    void deviceVariants_data();
    void deviceVariants();
    void switchesChangeAtRunTime();
    void badSwitchesAreRefused_data();
    void badSwitchesAreRefused();
    void badStartEndsTheProcess_data();
    void badStartEndsTheProcess();
    void quitAndTerminateEndCleanly_data();
    void quitAndTerminateEndCleanly();

private:
    void startWith(const QStringList& arguments);
    void connectClient(ConsoleClient& client);

    VirtualProcessor* m_device = nullptr;
};

namespace {

const QString targetCurveEntries = QStringLiteral(R"(\\Node\Wizard\SV\TargetCurve\EN\)");
const QString deviceName = QStringLiteral(R"(\\Node\SV\DeviceName\)");
const QString loginLine = QStringLiteral(R"(connect administrator "quillrampstow")");
const QString accepted = QStringLiteral("connect logged in as administrator");

} // namespace

void TestVirtualFaults::cleanup()
{
    delete m_device;
    m_device = nullptr;
}

void TestVirtualFaults::startWith(const QStringList& arguments)
{
    m_device = new VirtualProcessor(this);
    QVERIFY(m_device->start(arguments));
}

void TestVirtualFaults::connectClient(ConsoleClient& client)
{
    QVERIFY(client.connectTo(m_device->address()));
}

void TestVirtualFaults::refuseLogin()
{
    startWith({"--fault", "refuse-login"});
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.waitForLine("Vimbal Console"));
    client.send(loginLine);
    QVERIFY(client.waitForLine("error could not connect as administrator"));
    QCOMPARE(m_device->command("fault refuse-login off"), QString("ok"));
    client.send(loginLine);
    QVERIFY(client.waitForLine(accepted));
}

void TestVirtualFaults::loginBytes_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QByteArray>("received");

    const QByteArray acceptedLine = accepted.toUtf8();
    // Answers keep their order: the refusal of the get shows that the login went unanswered.
    QTest::newRow("ignore-login") << "ignore-login"
                                  << QStringList{loginLine, "get \"" + deviceName + '"'}
                                  << QByteArray("Vimbal Console\nerror not logged in\n");
    QTest::newRow("no-banner") << "no-banner" << QStringList{loginLine} << acceptedLine + '\n';
    QTest::newRow("crlf") << "crlf" << QStringList{loginLine}
                          << "Vimbal Console\r\n" + acceptedLine + "\r\n";
}

// The bytes a client reads for the lines it sends, with one fault switched on.
void TestVirtualFaults::loginBytes()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, sent);
    QFETCH(QByteArray, received);
    startWith({"--fault", fault});
    ConsoleClient client;
    connectClient(client);
    for (const QString& line : sent)
        client.send(line);
    QTRY_COMPARE(client.receivedBytes(), received);
}

void TestVirtualFaults::delayHoldsEveryLine()
{
    startWith({"--fault", "delay=300"});
    ConsoleClient client;
    const qint64 connectedAt = client.elapsedMs();
    connectClient(client);
    QVERIFY(client.waitForLine("Vimbal Console"));
    QVERIFY(client.reads().first().atMs - connectedAt >= 290);

    const qint64 sentAt = client.elapsedMs();
    client.send(loginLine);
    QVERIFY(client.waitForLine(accepted));
    QVERIFY(client.reads().last().atMs - sentAt >= 290);
}

void TestVirtualFaults::splitLinesArriveInTwoParts()
{
    startWith({"--fault", "split-lines"});
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.waitForLine("Vimbal Console"));
    const QList<ConsoleClient::Read> reads = client.reads();
    QCOMPARE(reads.size(), 2);
    QCOMPARE(reads.at(0).bytes + reads.at(1).bytes, QByteArray("Vimbal Console\n"));
    QVERIFY(!reads.at(0).bytes.contains('\n'));
    QVERIFY(reads.at(1).atMs - reads.at(0).atMs >= 40);
}

void TestVirtualFaults::mergeLinesArriveTogether()
{
    startWith({"--fault", "merge-lines"});
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.login());
    const int readsBefore = client.reads().size();
    const qint64 sentAt = client.elapsedMs();
    client.send("get \"" + deviceName + '"');
    QVERIFY(m_device->waitForReceived("get \"" + deviceName + '"'));
    client.send(R"(get "\\Node\SV\HardwareVersion\")");
    QVERIFY(client.waitForLineCount(4));
    const QList<ConsoleClient::Read> reads = client.reads().mid(readsBefore);
    QCOMPARE(reads.size(), 1);
    QCOMPARE(reads.first().bytes, QByteArray(R"(get "\\Node\SV\DeviceName\" "Virtual QX8")"
                                             "\n"
                                             R"(get "\\Node\SV\HardwareVersion\" "QX8")"
                                             "\n"));
    QVERIFY(reads.first().atMs - sentAt >= 90);
}

void TestVirtualFaults::closeMidList_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("lc") << "lc \"" + targetCurveEntries + '"'
                        << QStringList{R"(lc "\\Node\Wizard\SV\TargetCurve\EN")",
                                       "\tRecommended PA Curve"};
    QTest::newRow("ls") << R"(ls "\\Preset\")"
                        << QStringList{R"(ls "\\Preset")", "\tInputRouter : "};
    QTest::newRow("later requests go unanswered")
        << "lc \"" + targetCurveEntries + "\"\nget \"" + deviceName + '"'
        << QStringList{R"(lc "\\Node\Wizard\SV\TargetCurve\EN")", "\tRecommended PA Curve"};
}

void TestVirtualFaults::closeMidList()
{
    QFETCH(QString, request);
    QFETCH(QStringList, expected);
    startWith({"--fault", "close-mid-list"});
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.login());
    client.send(request);
    QVERIFY(client.waitForDisconnected());
    QCOMPARE(client.lines().mid(2), expected);
}

void TestVirtualFaults::freezeHoldsTheConnection()
{
    startWith({});
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.waitForLine("Vimbal Console"));
    QCOMPARE(m_device->command("fault freeze on"), QString("ok"));
    client.send(loginLine);
    QCOMPARE(m_device->command("set " + deviceName + " Frozen"), QString("ok Frozen"));
    // The wire log is written before a control command is answered: nothing read, nothing sent.
    QCOMPARE(m_device->wireLog(), QStringList({"1 connected", "1 TX Vimbal Console"}));
    QVERIFY(client.isConnected());
    QCOMPARE(m_device->command("connections"), QString("ok 1"));

    // Thawed, the held login is answered and nothing else comes.
    QCOMPARE(m_device->command("fault freeze off"), QString("ok"));
    QCOMPARE(client.linesUntilProbe(0), QStringList({"Vimbal Console", accepted}));
}

void TestVirtualFaults::ignoredCommandGoesUnanswered_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("stateQuery"); // what the request changes
    QTest::addColumn<QString>("stateIgnored");
    QTest::addColumn<QString>("stateServed");

    QTest::newRow("lc") << "lc"
                        << "lc \"" + targetCurveEntries + '"' << "subscriptions"
                        << "ok 0"
                        << "ok 0";
    QTest::newRow("sub") << "sub"
                         << "sub \"" + deviceName + '"' << "subscriptions"
                         << "ok 0"
                         << "ok 1 " + deviceName;
    QTest::newRow("set") << "set"
                         << "set \"" + deviceName + "\" \"Renamed\""
                         << "value " + deviceName << "ok Virtual QX8"
                         << "ok Renamed";
}

// A request of the ignored word is neither answered nor carried out; the others are served (the
// probe is a `get`). Switched off at run time, the device serves that word again.
void TestVirtualFaults::ignoredCommandGoesUnanswered()
{
    QFETCH(QString, word);
    QFETCH(QString, request);
    QFETCH(QString, stateQuery);
    QFETCH(QString, stateIgnored);
    QFETCH(QString, stateServed);
    startWith({"--fault", "ignore-command=" + word});
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.login());
    client.send(request);
    QCOMPARE(client.linesUntilProbe(2), QStringList());
    QCOMPARE(m_device->command(stateQuery), stateIgnored);

    QCOMPARE(m_device->command("fault ignore-command off"), QString("ok"));
    const int before = client.lines().size();
    client.send(request);
    const QStringList answer = client.linesUntilProbe(before);
    QVERIFY(!answer.isEmpty());
    QVERIFY2(answer.first().startsWith(word), qPrintable(answer.join('\n')));
    QCOMPARE(m_device->command(stateQuery), stateServed);
}

// Where the device's side is open, the natural answer and the switched one.
void TestVirtualFaults::deviceVariants_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("answer");

    const QString gain = R"(\\Preset\Crossover\SV\Band_4_Gain\%)";
    const QString amount = R"(\\Preset\SubharmonicSynth\SV\Subharmonics\)";
    QTest::newRow("lc drops the backslash") << QStringList() << "lc \"" + targetCurveEntries
                                            << R"(lc "\\Node\Wizard\SV\TargetCurve\EN")";
    QTest::newRow("lc echoes it") << QStringList{"--fault", "lc-trailing-backslash"}
                                  << "lc \"" + targetCurveEntries
                                  << "lc \"" + targetCurveEntries + '"';
    QTest::newRow("percent with its sign")
        << QStringList() << "sub \"" + gain << "subr \"" + gain + "\" \"75%\"";
    QTest::newRow("percent bare") << QStringList{"--fault", "percent-bare"} << "sub \"" + gain
                                  << "subr \"" + gain + "\" \"75\"";
    QTest::newRow("percent unit bare") << QStringList{"--fault", "percent-bare"}
                                       << "get \"" + amount << "get \"" + amount + "\" \"45\"";
}

void TestVirtualFaults::deviceVariants()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QFETCH(QString, answer);
    startWith(arguments);
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.login());
    client.send(path + '"');
    QVERIFY(client.waitForLineCount(3));
    QCOMPARE(client.lines().at(2), answer);
}

void TestVirtualFaults::switchesChangeAtRunTime()
{
    startWith({});
    QCOMPARE(m_device->command("fault crlf on"), QString("ok"));
    QCOMPARE(m_device->command("fault no-banner=1"), QString("ok"));
    QCOMPARE(m_device->command("fault no-banner=0"), QString("ok"));
    ConsoleClient client;
    connectClient(client);
    QVERIFY(client.waitForLine("Vimbal Console"));
    QCOMPARE(client.receivedBytes(), QByteArray("Vimbal Console\r\n"));

    QCOMPARE(m_device->command("fault crlf off"), QString("ok"));
    QCOMPARE(m_device->command("fault delay=0"), QString("ok"));
    client.send(loginLine);
    QVERIFY(client.waitForLine(accepted));
    QVERIFY(client.receivedBytes().endsWith(accepted.toUtf8() + '\n'));
    QVERIFY(!client.receivedBytes().endsWith(accepted.toUtf8() + "\r\n"));
}

void TestVirtualFaults::badSwitchesAreRefused_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("unknown name") << "fault nonsense on";
    QTest::newRow("delay without time") << "fault delay on";
    QTest::newRow("negative delay") << "fault delay=-5";
    QTest::newRow("neither on nor off") << "fault crlf maybe";
    QTest::newRow("no name") << "fault";
    QTest::newRow("ignore no word") << "fault ignore-command on";
    QTest::newRow("ignore the login") << "fault ignore-command=connect";
}

void TestVirtualFaults::badSwitchesAreRefused()
{
    QFETCH(QString, command);
    startWith({});
    const QString answer = m_device->command(command);
    QVERIFY2(answer.startsWith("error "), qPrintable(answer));
}

// A bad command line ends with code 2, an address another device holds with code 3; the error
// names what is wrong.
void TestVirtualFaults::badStartEndsTheProcess_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("named"); // empty: the taken address

    const QString missing = QDir::tempPath() + "/missing/folder/wire.log";
    QTest::newRow("unknown fault") << QStringList{"--fault", "nonsense"} << 2 << "nonsense";
    QTest::newRow("bad port") << QStringList{"--port", "70000"} << 2 << "70000";
    QTest::newRow("wire log in a missing folder")
        << QStringList{"--wire-log", missing} << 2 << missing;
    QTest::newRow("address taken") << QStringList() << 3 << QString();
}

void TestVirtualFaults::badStartEndsTheProcess()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, named);
    QString address = qx8test::uniqueLoopbackAddress().toString();
    if (named.isEmpty()) {
        startWith({});
        address = named = m_device->address();
    }
    QProcess process;
    process.start(qx8test::virtualProcessorPath(), arguments + QStringList{"--address", address});
    QVERIFY(process.waitForFinished(qx8test::timeoutMs()));
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(process.readAllStandardError().contains(named.toUtf8()));
}

namespace {

bool waitForListening(QProcess& process)
{
    return QTest::qWaitFor([&] { return process.canReadLine(); }, qx8test::timeoutMs()) &&
           process.readLine().startsWith("VirtualQX8 listening on ");
}

} // namespace

void TestVirtualFaults::quitAndTerminateEndCleanly_data()
{
    QTest::addColumn<bool>("byCommand");
    QTest::addColumn<bool>("controlInputEnded"); // before the client connects: it still serves

    QTest::newRow("quit") << true << false;
    QTest::newRow("SIGTERM") << false << false;
    QTest::newRow("SIGTERM after the control input ended") << false << true;
}

void TestVirtualFaults::quitAndTerminateEndCleanly()
{
    QFETCH(bool, byCommand);
    QFETCH(bool, controlInputEnded);
    const QString address = qx8test::uniqueLoopbackAddress().toString();
    QProcess process;
    process.start(qx8test::virtualProcessorPath(), {"--address", address});
    QVERIFY(waitForListening(process));
    if (controlInputEnded)
        process.closeWriteChannel();
    ConsoleClient client;
    QVERIFY(client.connectTo(address));
    QVERIFY(client.waitForLine("Vimbal Console"));
    QCOMPARE(process.state(), QProcess::Running);
    if (byCommand) {
        process.write("quit\n");
        QVERIFY(QTest::qWaitFor([&] { return process.canReadLine(); }, qx8test::timeoutMs()));
        QCOMPARE(process.readLine(), QByteArray("ok\n"));
    } else {
        process.terminate();
    }
    QVERIFY(process.waitForFinished(qx8test::timeoutMs()));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(client.waitForDisconnected());
}

QX8_TEST_GUILESS_MAIN(TestVirtualFaults)
#include "tst_virtualfaults.moc"
