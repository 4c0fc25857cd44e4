#include "consoleclient.h"
#include "devicemodel.h"
#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QtTest>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// The console of the virtual processor, driven over a real socket.
class TestVirtualConsole : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void bannerComesFirst();
    void loginAnswers_data();
    void loginAnswers();
    void linesGetTheirAnswers_data();
    void linesGetTheirAnswers();
    void subscribeAnswersCurrentValue_data();
    void subscribeAnswersCurrentValue();
    void setConvertsBetweenForms_data();
    void setConvertsBetweenForms();
    void setReachesEverySubscriberInItsOwnForm();
    void badRequestsGetErrorLines_data();
    void badRequestsGetErrorLines();
    void unsubscribeEndsExactlyThatPath();
    void subscriptionsEndWithTheirConnection();
    void listBlocks();
    void wireLogRecordsBothDirections();
    void deviceSideChangesArePushed();
    void metersReadTheirChannel();
    void gainReductionOnlyWhereTheBlockActs_data();
    void gainReductionOnlyWhereTheBlockActs();
    void sendAndSendBytesReachEveryClient();
    void closeSendsFinAndAbortSendsReset();

private:
    bool loggedIn(ConsoleClient& client);

    VirtualProcessor* m_device = nullptr;
};

namespace {

const QString gain4 = QStringLiteral(R"(\\Preset\Crossover\SV\Band_4_Gain\)");
const QString gain4Percent = QStringLiteral(R"(\\Preset\Crossover\SV\Band_4_Gain\%)");

} // namespace

void TestVirtualConsole::init()
{
    m_device = new VirtualProcessor(this);
    QVERIFY(m_device->start());
}

void TestVirtualConsole::cleanup()
{
    delete m_device;
    m_device = nullptr;
}

bool TestVirtualConsole::loggedIn(ConsoleClient& client)
{
    return client.connectTo(m_device->address()) && client.login();
}

void TestVirtualConsole::bannerComesFirst()
{
    ConsoleClient client;
    QVERIFY(client.connectTo(m_device->address()));
    QTRY_COMPARE(client.receivedBytes(), QByteArray("Vimbal Console\n"));
}

void TestVirtualConsole::loginAnswers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("expected");

    const QString accepted = "connect logged in as administrator";
    const QString refused = "error could not connect as administrator";
    QTest::newRow("default password")
        << QStringList() << QStringList{R"(connect administrator "quillrampstow")"}
        << QStringList{accepted};
    QTest::newRow("wrong, then right on the same connection")
        << QStringList()
        << QStringList{R"(connect administrator "guess")",
                       R"(connect administrator "quillrampstow")"}
        << QStringList{refused, accepted};
    QTest::newRow("password from the command line")
        << QStringList{"--password", "open sesame"}
        << QStringList{R"(connect administrator "quillrampstow")",
                       R"(connect administrator "open sesame")"}
        << QStringList{refused, accepted};
    QTest::newRow("other user") << QStringList() << QStringList{R"(connect guest "quillrampstow")"}
                                << QStringList{"error could not connect as guest"};
}

void TestVirtualConsole::loginAnswers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, expected);
    if (!arguments.isEmpty()) {
        m_device->stop();
        QVERIFY(m_device->start(arguments));
    }
    ConsoleClient client;
    QVERIFY(client.connectTo(m_device->address()));
    QVERIFY(client.waitForLine("Vimbal Console"));
    for (const QString& line : sent)
        client.send(line);
    QVERIFY(client.waitForLineCount(1 + expected.size()));
    QCOMPARE(client.lines().mid(1), expected);
    QVERIFY(client.isConnected());
}

void TestVirtualConsole::linesGetTheirAnswers_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("answers");  // after the banner
    QTest::addColumn<QStringList>("received"); // the lines the device took; empty: the sent ones

    const QByteArray login = "connect administrator \"quillrampstow\"\n";
    const QString accepted = "connect logged in as administrator";
    const QByteArray getGain = "get \"" + gain4.toUtf8() + "\"\n";
    const QString gainAnswer = "get \"" + gain4 + "\" \"0dB\"";
    QTest::newRow("before the login") << "sub \"" + gain4.toUtf8() + "\"\n"
                                      << QStringList{"error not logged in"} << QStringList();
    QTest::newRow("reads echo their word")
        << login + R"(get "\\Node\SV\DeviceName\")" + "\nasyncget \"" + gain4Percent.toUtf8() +
               "\"\n"
        << QStringList{accepted, R"(get "\\Node\SV\DeviceName\" "Virtual QX8")",
                       "asyncget \"" + gain4Percent + "\" \"75%\""}
        << QStringList();
    QTest::newRow("CR LF line ends")
        << QByteArray(login).replace('\n', "\r\n") + QByteArray(getGain).replace('\n', "\r\n")
        << QStringList{accepted, gainAnswer} << QStringList{login.trimmed(), getGain.trimmed()};
    QTest::newRow("overlong line")
        << login + QByteArray(70 * 1024, 'x') + '\n' + getGain
        << QStringList{accepted, "error line too long", gainAnswer} << QStringList();
}

// None of them subscribes.
void TestVirtualConsole::linesGetTheirAnswers()
{
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, received);
    ConsoleClient client;
    QVERIFY(client.connectTo(m_device->address()));
    client.sendBytes(sent);
    QVERIFY(client.waitForLineCount(1 + answers.size()));
    QCOMPARE(client.lines().mid(1), answers);
    if (!received.isEmpty())
        QCOMPARE(m_device->received(), received);
    QCOMPARE(m_device->command("subscriptions"), QString("ok 0"));
}

void TestVirtualConsole::subscribeAnswersCurrentValue_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value");

    QTest::newRow("native with unit") << gain4 << "0dB";
    QTest::newRow("percent") << gain4Percent << "75%";
    QTest::newRow("attribute") << R"(\\Preset\Crossover\AT\NumBands\)"
                               << "3";
    QTest::newRow("node") << R"(\\Node\Wizard\SV\WizardState\)"
                          << "Inactive";
    QTest::newRow("preset name") << R"(\\Storage\Presets\SV\Name_1\)"
                                 << "Factory Default";
    QTest::newRow("minimum") << R"(\\Preset\RoomEQ\SV\Band_2_Gain\Min\)"
                             << "-15dB";
    QTest::newRow("maximum in kHz") << R"(\\Preset\RoomEQ\SV\Band_2_Frequency\Max\)"
                                    << "20kHz";
    QTest::newRow("enumeration") << R"(\\Preset\Crossover\SV\Band_1_HPType\)"
                                 << "LR 24";
}

void TestVirtualConsole::subscribeAnswersCurrentValue()
{
    QFETCH(QString, path);
    QFETCH(QString, value);
    ConsoleClient client;
    QVERIFY(loggedIn(client));
    client.send("sub \"" + path + '"');
    QVERIFY(client.waitForLineCount(3));
    QCOMPARE(client.lines().at(2), "subr \"" + path + "\" \"" + value + '"');
    QCOMPARE(m_device->command("subscriptions"), "ok 1 " + path);
}

void TestVirtualConsole::setConvertsBetweenForms_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("answered");
    QTest::addColumn<QString>("native");
    QTest::addColumn<QString>("percent");

    const auto row = [](const char* name, const QString& path, const char* written,
                        const char* answered, const char* native, const char* percent) {
        QTest::newRow(name) << path << written << answered << native << percent;
    };
    const QString roomQ = R"(\\Preset\RoomEQ\SV\Band_1_Q\)";
    const QString roomFrequency = R"(\\Preset\RoomEQ\SV\Band_1_Frequency\)";
    row("native dB", gain4, "-3.5", "-3.5dB", "-3.5dB", "70.625%");
    row("native with unit", gain4, "-3.5dB", "-3.5dB", "-3.5dB", "70.625%");
    row("percent", gain4Percent, "50", "50%", "-20dB", "50%");
    row("percent with its sign", gain4Percent, "25%", "25%", "-40dB", "25%");
    row("clamped high", gain4, "99", "20dB", "20dB", "100%");
    row("clamped percent", gain4Percent, "-10", "0%", "-60dB", "0%");
    row("six digits", roomQ, "1.23456789", "1.23457", "1.23457", "7.13565%");
    row("kHz", roomFrequency, "2.5kHz", "2.5kHz", "2.5kHz", "12.4124%");
    row("Hz below 1k", roomFrequency, "440", "440Hz", "440Hz", "2.1021%");
    row("ratio", R"(\\Preset\Compressor\SV\Ratio\)", "4.5:1", "4.5:1", "4.5:1", "3.53535%");
    row("ratio at its end", R"(\\Preset\Compressor\SV\Ratio\)", "Inf:1", "Inf:1", "Inf:1", "100%");
    row("prefix", R"(\\Preset\Gate\SV\Ratio\)", "1:4", "1:4", "1:4", "21.4286%");
    row("word at the end", R"(\\Preset\Crossover\SV\Band_1_HPFrequency\)", "Out", "Out", "Out",
        "0%");
    row("clock", R"(\\Preset\Nuq\SV\LiftTime\)", "2m 5s", "2m 5s", "2m 5s", "3.33797%");
    row("several units", R"(\\Preset\HighDelay\SV\Amount\)", "12ms", "12.00ms/13.50ft/4.12m",
        "12.00ms/13.50ft/4.12m", "1.2%");
    row("percent unit", R"(\\Preset\SubharmonicSynth\SV\Subharmonics\)", "30%", "30%", "30%",
        "30%");
}

void TestVirtualConsole::setConvertsBetweenForms()
{
    QFETCH(QString, path);
    QFETCH(QString, written);
    QFETCH(QString, answered);
    QFETCH(QString, native);
    QFETCH(QString, percent);
    const QString base = path.endsWith('%') ? path.chopped(1) : path;
    ConsoleClient client;
    QVERIFY(loggedIn(client));
    client.send("set \"" + path + "\" \"" + written + '"');
    QVERIFY(client.waitForLineCount(3));
    QCOMPARE(client.lines().at(2), "setr \"" + path + "\" \"" + answered + '"');
    QCOMPARE(m_device->command("value " + base), "ok " + native);
    QCOMPARE(m_device->command("value " + base + '%'), "ok " + percent);
}

void TestVirtualConsole::setReachesEverySubscriberInItsOwnForm()
{
    ConsoleClient writer;
    ConsoleClient listener;
    QVERIFY(loggedIn(writer));
    QVERIFY(loggedIn(listener));
    writer.send("sub \"" + gain4Percent + '"');
    listener.send("sub \"" + gain4 + '"');
    QVERIFY(writer.waitForLineCount(3));
    QVERIFY(listener.waitForLineCount(3));

    writer.send("set \"" + gain4 + "\" \"-3.5\"");
    QVERIFY(writer.waitForLineCount(5));
    QCOMPARE(writer.lines().mid(3), (QStringList{"setr \"" + gain4 + "\" \"-3.5dB\"",
                                                 "subr \"" + gain4Percent + "\" \"70.625%\""}));
    QVERIFY(listener.waitForLineCount(4));
    QCOMPARE(listener.lines().at(3), "subr \"" + gain4 + "\" \"-3.5dB\"");

    // Choices travel inside double quotes.
    const QString type = R"(\\Preset\RoomEQ\SV\Band_1_Type\)";
    listener.send("sub \"" + type + '"');
    writer.send("set \"" + type + "\" \"High Shelf\"");
    QVERIFY(listener.waitForLine("subr \"" + type + "\" \"High Shelf\""));
}

void TestVirtualConsole::badRequestsGetErrorLines_data()
{
    QTest::addColumn<QString>("request");

    QTest::newRow("unknown path") << R"(sub "\\Preset\Nothing\SV\Gain\")";
    QTest::newRow("percent of a text") << R"(sub "\\Node\SV\DeviceName\%")";
    QTest::newRow("entry outside the list") << R"(set "\\Preset\RoomEQ\SV\Band_1_Type\" "Notch")";
    QTest::newRow("not a number") << "set \"" + gain4 + "\" \"loud\"";
    QTest::newRow("set without value") << "set \"" + gain4 + '"';
    QTest::newRow("write a limit") << R"(set "\\Preset\RoomEQ\SV\Band_1_Gain\Max\" "3")";
    QTest::newRow("lc on a number") << "lc \"" + gain4 + "EN\\\"";
    QTest::newRow("ls below a variable") << "ls \"" + gain4 + '"';
    QTest::newRow("unknown word") << "frobnicate \"" + gain4 + '"';
    QTest::newRow("store into slot 0") << R"(set "\\Storage\Presets\SV\Store\" "0")";
    QTest::newRow("store into slot 101") << R"(set "\\Storage\Presets\SV\Store\" "101")";
    QTest::newRow("recall an empty slot") << R"(set "\\Storage\Presets\SV\Recall\" "50")";
}

void TestVirtualConsole::badRequestsGetErrorLines()
{
    QFETCH(QString, request);
    ConsoleClient client;
    QVERIFY(loggedIn(client));
    client.send(request);
    QVERIFY(client.waitForLineCount(3));
    QVERIFY2(client.lines().at(2).startsWith("error "), qPrintable(client.lines().at(2)));
    QCOMPARE(m_device->command("value " + gain4), QString("ok 0dB"));
    QCOMPARE(m_device->command("value \\\\Preset\\RoomEQ\\SV\\Band_1_Type\\"), QString("ok Bell"));
}

void TestVirtualConsole::unsubscribeEndsExactlyThatPath()
{
    ConsoleClient client;
    QVERIFY(loggedIn(client));
    client.send("sub \"" + gain4 + '"');
    client.send("sub \"" + gain4Percent + '"');
    client.send("sub \"" + gain4 + '"'); // a repeated sub is answered and counted once
    QVERIFY(client.waitForLineCount(5));
    QCOMPARE(m_device->command("subscriptions"), "ok 2 " + gain4 + " | " + gain4Percent);

    client.send("unsub \"" + gain4 + '"');
    QVERIFY(client.waitForLineCount(6));
    QCOMPARE(client.lines().at(5), "unsubr \"" + gain4 + '"');
    QCOMPARE(m_device->command("subscriptions"), "ok 1 " + gain4Percent);

    QCOMPARE(m_device->command("set " + gain4 + " -6"), QString("ok -6dB"));
    QVERIFY(client.waitForLineCount(7));
    QCOMPARE(client.lines().at(6), "subr \"" + gain4Percent + "\" \"67.5%\"");
}

void TestVirtualConsole::subscriptionsEndWithTheirConnection()
{
    {
        ConsoleClient client;
        QVERIFY(loggedIn(client));
        client.send("sub \"" + gain4 + '"');
        QVERIFY(client.waitForLineCount(3));
        QCOMPARE(m_device->command("connections"), QString("ok 1"));
    }
    QTRY_COMPARE(m_device->command("connections"), QString("ok 0"));
    QCOMPARE(m_device->command("subscriptions"), QString("ok 0"));
}

void TestVirtualConsole::listBlocks()
{
    ConsoleClient client;
    QVERIFY(loggedIn(client));
    client.send(R"(lc "\\Node\Wizard\SV\TargetCurve\EN\")");
    client.send(R"(ls "\\Preset\")");
    QVERIFY(client.waitForLine("endls"));
    QStringList expected{R"(lc "\\Node\Wizard\SV\TargetCurve\EN")",
                         "\tRecommended PA Curve",
                         "\tFlat",
                         "\tReflective Room",
                         "endlc",
                         R"(ls "\\Preset")"};
    // The objects the model lists, in its order, each followed by " : ", with the objects of the
    // configurable chain that the device's (default) configuration holds.
    static const QRegularExpression defaultConfiguration(
        "^((Nuq|GEQ|SubharmonicSynth|InMixer)[1-3]|"
        "(AutoEQ|CompressorMid|PEQOut|Limiter|DelayOut|MidMixer|CrossoverIIR)[1-6]|"
        "Meters123|MetersABC|MidMeters)$");
    QString error;
    const std::optional<DeviceModel> model =
        DeviceModel::load(qx8test::sourceDir() + "/simulator/devicemodel.json", &error);
    QVERIFY2(model, qPrintable(error));
    for (const DeviceModel::ProcessingObject& object : model->processingObjects()) {
        if (object.listed ||
            (object.configured && defaultConfiguration.match(object.name).hasMatch()))
            expected.append("\t" + object.name + " : ");
    }
    QVERIFY(expected.contains("\tStereoGEQ : ") && !expected.contains("\tLeftGEQ : "));
    QVERIFY(expected.contains("\tGEQ3 : ") && !expected.contains("\tGate1 : "));
    expected.append("endls");
    QCOMPARE(client.lines().mid(2), expected);
}

void TestVirtualConsole::wireLogRecordsBothDirections()
{
    {
        ConsoleClient client;
        QVERIFY(loggedIn(client));
        client.send(R"(get "\\Node\SV\HardwareVersion\")");
        QVERIFY(client.waitForLineCount(3));
    }
    QTRY_VERIFY(m_device->wireLog().contains("1 closed"));
    ConsoleClient second;
    QVERIFY(second.connectTo(m_device->address()));
    QVERIFY(second.waitForLine("Vimbal Console"));
    const QStringList expected{"1 connected",
                               "1 TX Vimbal Console",
                               R"(1 RX connect administrator "quillrampstow")",
                               "1 TX connect logged in as administrator",
                               R"(1 RX get "\\Node\SV\HardwareVersion\")",
                               R"(1 TX get "\\Node\SV\HardwareVersion\" "QX8")",
                               "1 closed",
                               "2 connected",
                               "2 TX Vimbal Console"};
    QCOMPARE(m_device->wireLog(), expected);
    QVERIFY(m_device->waitForReceived(R"(get "\\Node\SV\HardwareVersion\")"));
}

void TestVirtualConsole::deviceSideChangesArePushed()
{
    ConsoleClient client;
    QVERIFY(loggedIn(client));
    const QString name = R"(\\Node\SV\DeviceName\)";
    client.send("sub \"" + name + '"');
    QVERIFY(client.waitForLineCount(3));
    QCOMPARE(m_device->command("set " + name + " \"Hall B\""), QString("ok Hall B"));
    QVERIFY(client.waitForLine("subr \"" + name + "\" \"Hall B\""));
    QCOMPARE(m_device->command("value " + name), QString("ok Hall B"));
    QVERIFY(m_device->command("set \\\\Preset\\Nothing\\ 1").startsWith("error "));
    QVERIFY(m_device->command("frobnicate").startsWith("error "));
}

// Over one sweep of the output meters: a muted output reads its floor, one turned down by its
// gain never reaches full scale, and a clip light is lit exactly when its level is at full scale.
void TestVirtualConsole::metersReadTheirChannel()
{
    const auto path = [](int channel, const char* variable) {
        return QStringLiteral(R"(\\Preset\OutputMeters\SV\Channel_%1_%2\)")
            .arg(channel)
            .arg(variable);
    };
    QCOMPARE(m_device->command(R"(set "\\Preset\OutputGains\SV\Channel_2_Mute\" "On")"),
             QString("ok On"));
    QCOMPARE(m_device->command(R"(set "\\Preset\OutputGains\SV\Channel_3_Gain\" "-20")"),
             QString("ok -20dB"));
    ConsoleClient client;
    QVERIFY(loggedIn(client));

    // The level and the clip light of one channel read one after the other; a level read right
    // before a clip read stands for it (the sweep moves far less than a dB between them).
    QMap<int, QStringList> clips;
    QMap<int, double> loudest;
    QElapsedTimer sweep;
    sweep.start();
    while (sweep.elapsed() < 2600) {
        for (int channel = 1; channel <= 3; ++channel) {
            const int from = client.lines().size();
            client.send("get \"" + path(channel, "Level") + '"');
            client.send("get \"" + path(channel, "Clip") + '"');
            QVERIFY(client.waitForLineCount(from + 2));
            const QString level = client.lines().at(from).section('"', 3, 3);
            const QString clip = client.lines().at(from + 1).section('"', 3, 3);
            QVERIFY2(level.endsWith("dB"), qPrintable(level));
            const double db = level.chopped(2).toDouble();
            loudest[channel] = qMax(loudest.value(channel, -1000.0), db);
            if (db < -0.5 || db > 0.5)
                QCOMPARE(clip, QString(db >= 0.0 ? "On" : "Off"));
            clips[channel].append(clip);
        }
        QTest::qWait(20);
    }
    QVERIFY(clips[1].contains("On") && clips[1].contains("Off"));
    QCOMPARE(loudest[2], -80.0);
    QVERIFY(!clips[2].contains("On"));
    QVERIFY2(loudest[3] <= -14.0 && loudest[3] > -20.0, qPrintable(QString::number(loudest[3])));
    QVERIFY(!clips[3].contains("On"));
}

void TestVirtualConsole::gainReductionOnlyWhereTheBlockActs_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QStringList>("settings"); // "Variable value", set first
    QTest::addColumn<int>("side"); // where it acts: -1 below the threshold, 1 above it, 0 nowhere
    QTest::addColumn<double>("threshold");
    QTest::newRow("gate off") << "Gate" << QStringList() << 0 << -60.0;
    QTest::newRow("gate on") << "Gate" << QStringList{"Gate On"} << -1 << -60.0;
    QTest::newRow("compressor") << "Compressor" << QStringList() << 1 << -20.0;
    QTest::newRow("compressor off") << "Compressor" << QStringList{"Compressor Off"} << 0 << -20.0;
    QTest::newRow("high limiter as it starts") << "HighLimiter" << QStringList() << 0 << 10.0;
    QTest::newRow("high limiter turned down")
        << "HighLimiter" << QStringList{"Threshold -20"} << 1 << -20.0;
}

// Over one sweep of the first input, the signal every dynamics block sees: a block's meter reads
// 0 dB while the block is off or the signal lies on the side of the threshold it leaves alone,
// and well below 0 dB where it acts. A level read right before the meter stands for the signal
// it was read from, 3 dB off the threshold (the sweep moves well under that between the reads).
void TestVirtualConsole::gainReductionOnlyWhereTheBlockActs()
{
    QFETCH(QString, object);
    QFETCH(QStringList, settings);
    QFETCH(int, side);
    QFETCH(double, threshold);
    const auto path = [&](const QString& variable) {
        return QStringLiteral(R"(\\Preset\%1\SV\%2\)").arg(object, variable);
    };
    for (const QString& setting : settings) {
        const QString line =
            "set \"" + path(setting.section(' ', 0, 0)) + "\" \"" + setting.section(' ', 1) + '"';
        QVERIFY2(m_device->command(line).startsWith("ok"), qPrintable(line));
    }
    ConsoleClient client;
    QVERIFY(loggedIn(client));
    const QString input = QStringLiteral(R"(\\Preset\InputMeters\SV\Channel_1_Level\)");
    const auto decibels = [](const QString& answer) {
        const QString value = answer.section('"', 3, 3);
        return value.endsWith("dB") ? value.chopped(2).toDouble() : qQNaN();
    };
    double most = 0.0;
    QElapsedTimer sweep;
    sweep.start();
    while (sweep.elapsed() < 2000) {
        const int from = client.lines().size();
        client.send("get \"" + input + '"');
        client.send("get \"" + path("GainReduction") + '"');
        QVERIFY(client.waitForLineCount(from + 2));
        const double level = decibels(client.lines().at(from));
        const double reduction = decibels(client.lines().at(from + 1));
        QVERIFY2(level >= -80.0 && level <= 6.0, qPrintable(client.lines().at(from)));
        QVERIFY2(reduction <= 0.0, qPrintable(client.lines().at(from + 1)));
        if (side == 0 || side * (level - threshold) < -3.0)
            QCOMPARE(reduction, 0.0);
        most = qMin(most, reduction);
        QTest::qWait(20);
    }
    if (side != 0)
        QVERIFY2(most <= -10.0, qPrintable(QString::number(most)));
}

void TestVirtualConsole::sendAndSendBytesReachEveryClient()
{
    ConsoleClient first;
    ConsoleClient second;
    QVERIFY(first.connectTo(m_device->address()));
    QVERIFY(second.connectTo(m_device->address()));
    QVERIFY(first.waitForLine("Vimbal Console"));
    QVERIFY(second.waitForLine("Vimbal Console"));
    QCOMPARE(m_device->command("connections"), QString("ok 2"));

    QCOMPARE(m_device->command(R"(send subr "\\Preset\A\SV\B\" "1")"), QString("ok"));
    QCOMPARE(m_device->command(R"(sendbytes half\tline\r\nsecond \"quoted\" \\ no end)"),
             QString("ok"));
    const QByteArray expected = "Vimbal Console\n"
                                R"(subr "\\Preset\A\SV\B\" "1")"
                                "\nhalf\tline\r\nsecond \"quoted\" \\ no end";
    QTRY_COMPARE(first.receivedBytes(), expected);
    QTRY_COMPARE(second.receivedBytes(), expected);
    QVERIFY(m_device->command(R"(sendbytes bad\q)").startsWith("error "));
    QVERIFY(m_device->wireLog().contains(R"(1 TX subr "\\Preset\A\SV\B\" "1")"));
}

namespace {

// Reads from a plain socket until the peer ends the connection: 0 for FIN, the errno for RST.
int endOfStream(int descriptor)
{
    char buffer[256];
    ssize_t count;
    while ((count = ::recv(descriptor, buffer, sizeof buffer, 0)) > 0) {
    }
    return count == 0 ? 0 : errno;
}

int connectedSocket(const QString& address)
{
    const int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer = {};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(19272);
    peer.sin_addr.s_addr = htonl(QHostAddress(address).toIPv4Address());
    timeval limit{qx8test::timeoutMs() / 1000, 0};
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (::connect(descriptor, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

} // namespace

void TestVirtualConsole::closeSendsFinAndAbortSendsReset()
{
    const int finished = connectedSocket(m_device->address());
    QVERIFY(finished >= 0);
    QTRY_COMPARE(m_device->command("connections"), QString("ok 1"));
    QCOMPARE(m_device->command("close"), QString("ok"));
    QCOMPARE(endOfStream(finished), 0);
    ::close(finished);

    const int reset = connectedSocket(m_device->address());
    QVERIFY(reset >= 0);
    QTRY_COMPARE(m_device->command("connections"), QString("ok 1"));
    QCOMPARE(m_device->command("abort"), QString("ok"));
    QCOMPARE(endOfStream(reset), ECONNRESET);
    ::close(reset);
    QTRY_COMPARE(m_device->command("connections"), QString("ok 0"));
}

QX8_TEST_GUILESS_MAIN(TestVirtualConsole)
#include "tst_virtualconsole.moc"
