// The device presets model against VirtualQX8 with its FTP server on port 21: the console lines
// of store, rename and recall and what they do to the device, refused numbers and names, a slot
// fetched and sent back byte for byte with overlapping uploads (an empty slot an error), the
// slots' names, the provider's file slots over the device's FTP, an upload to a server that
// does not answer SIZE, and sessions that fail (no device address, nothing listening).
#include "devicepresetmodel.h"
#include "ftpclientthread.h"
#include "ftpserverprocess.h"
#include "ftptestsupport.h"
#include "presetprovider.h"
#include "qx8textsv.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"
#include "tst_controlfixture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString setLine(const QString& variable, const QString& value)
{
    return QStringLiteral(R"(set "\\Storage\Presets\SV\%1\" "%2")").arg(variable, value);
}

void sendProbe()
{
    TCPAdaptor::instance()->SendRequest({QStringLiteral("NPO"),
                                         QStringLiteral("Node\\SV\\HardwareVersion"), QString(),
                                         QString(), QStringLiteral("get")});
}

// A slot's argument by the name of its registered type.
template<typename T> QGenericArgument argument(const T& value)
{
    return QGenericArgument(QMetaType::typeName(qMetaTypeId<T>()), &value);
}

// The busy notice has ended: the last signal is busy(false).
bool busyEnded(const SignalRecorder& recorder)
{
    return QTest::qWaitFor(
        [&] {
            const QList<SignalRecorder::Emission> all = recorder.emissions();
            return !all.isEmpty() && all.last().name == QLatin1String("busy") &&
                   !all.last().arguments.first().toBool();
        },
        qx8test::timeoutMs());
}

// A model whose session was opened for `address` (none when it is empty); the stored address is
// put back.
std::unique_ptr<DevicePresetModel> modelFor(const QString& address)
{
    const QVariant stored = QX8Settings().value(settingskeys::kCurrentDeviceAddress);
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, address);
    auto model = std::make_unique<DevicePresetModel>();
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, stored);
    return model;
}

} // namespace

class TestPresetDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void storeRenameAndRecallChangeTheDevice();
    void refusedRequestsSendNothing_data();
    void refusedRequestsSendNothing();
    void fetchAndSendBackByteForByte();
    void slotNamesReachTheProvider();
    void deviceFilesThroughTheProvidersSlots();
    void uploadCountsWithoutSize_data();
    void uploadCountsWithoutSize();
    void sessionFailuresAsTheClientTellsThem_data();
    void sessionFailuresAsTheClientTellsThem();

private:
    QString slotFile(int slot) const
    {
        return m_device.device.storagePath() +
               QStringLiteral("/presets/Preset_%1.preset").arg(slot);
    }
    // Preset storage lines the device received from the `from`th line on, up to a probe.
    QStringList presetLines(int from)
    {
        return m_device.device.receivedUntilProbe(sendProbe, from).filter("Storage");
    }
    QString deviceValue(const QString& path) { return m_device.device.command("value " + path); }

    LoggedInDevice m_device;
};

void TestPresetDevice::initTestCase()
{
    QVERIFY(m_device.start({"--ftp-port", "21"}));
}

void TestPresetDevice::storeRenameAndRecallChangeTheDevice()
{
    const QString gain = QStringLiteral(R"(\\Preset\HighPEQ\SV\Band_1_Gain\)");
    DevicePresetModel model;
    const QString stored = m_device.device.command("set " + gain + " 4.5");
    QVERIFY(stored.startsWith("ok 4.5"));

    int from = m_device.device.received().size();
    model.store("5", "Intro");
    QCOMPARE(presetLines(from), QStringList({setLine("Store", "5"), setLine("Name_5", "Intro"),
                                             setLine("RenamePreset", "5")}));
    QVERIFY(QFile::exists(slotFile(5)));
    QCOMPARE(deviceValue(R"(\\Storage\Presets\SV\CurrentPreset\)"), QStringLiteral("ok Intro"));

    from = m_device.device.received().size();
    model.rename("5", "Intro Live");
    QCOMPARE(presetLines(from),
             QStringList({setLine("Name_5", "Intro Live"), setLine("RenamePreset", "5")}));
    QCOMPARE(deviceValue(R"(\\Storage\Presets\SV\CurrentPreset\)"),
             QStringLiteral("ok Intro Live"));

    // A recall brings the stored value back, and a control bound to it hears so.
    auto control = boundControl<QX8TextSV>("HighPEQ", "Band_1_Gain");
    const QString changed = m_device.device.command("set " + gain + " -6");
    QTRY_COMPARE("ok " + control->value(), changed);
    QCOMPARE(m_device.device.command(R"(set \\Storage\Presets\SV\CurrentPreset\ Other)"),
             QStringLiteral("ok Other"));
    from = m_device.device.received().size();
    model.recall("5", "ignored");
    QCOMPARE(presetLines(from), QStringList({setLine("Recall", "5")}));
    QTRY_COMPARE("ok " + control->value(), stored);
    QCOMPARE(deviceValue(gain), stored);
    QCOMPARE(deviceValue(R"(\\Storage\Presets\SV\CurrentPreset\)"),
             QStringLiteral("ok Intro Live"));
}

void TestPresetDevice::refusedRequestsSendNothing_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    const char* const rows[][3] = {
        {"double quote", "3", "Say \"hi\""},
        {"path", "3", "../x"},
        {"line feed", "3", "a\nset x"},
        {"empty name", "3", ""},
        {"id 0", "0", "Zero"},
        {"id 101", "101", "Over"},
        {"id with line feed", "7\n", "Seven"},
        {"id 07", "07", "Seven"},
    };
    for (const auto& [row, id, name] : rows)
        QTest::newRow(row) << QString(id) << QString(name);
}

void TestPresetDevice::refusedRequestsSendNothing()
{
    QFETCH(QString, id);
    QFETCH(QString, name);
    DevicePresetModel model;
    SignalRecorder recorder(&model);
    const int from = m_device.device.received().size();
    const int ftpFrom = m_device.device.ftpCommands().size();
    model.store(id, name);
    model.rename(id, name);
    model.transfer(id, name, QByteArray("bytes"));
    model.recall(id, name); // carries no name: refused for its number only
    const int refusals = id == QLatin1String("3") ? 3 : 4;
    QCOMPARE(recorder.names().size(), refusals);
    QCOMPARE(recorder.count("error"), refusals);
    QVERIFY(presetLines(from).filter("Name_").isEmpty());
    QVERIFY(presetLines(from).filter("Store").isEmpty());
    QCOMPARE(m_device.device.ftpCommands().mid(ftpFrom).filter("STOR"), QStringList());
}

void TestPresetDevice::fetchAndSendBackByteForByte()
{
    const QByteArray preset = ftptest::pattern(10000);
    QVERIFY(ftptest::writeFile(slotFile(7), preset));
    DevicePresetModel model;
    SignalRecorder recorder(&model);
    QSignalSpy fetched(&model, &DevicePresetModel::presetAvailable);
    model.presetFetch("7");
    QVERIFY(busyEnded(recorder));
    QCOMPARE(recorder.names(), QStringList({"busy", "presetAvailable", "busy"}));
    QCOMPARE(fetched.first().first().toByteArray(), preset);
    const QStringList commands = m_device.device.ftpCommands();
    const int login = commands.lastIndexOf("USER qx8ftp");
    QVERIFY(login >= 0);
    QCOMPARE(commands.mid(login),
             QStringList({"USER qx8ftp", "PASS qebtorin@847", "CWD /presets", "TYPE I",
                          "SIZE Preset_7.preset", "PASV", "RETR Preset_7.preset"}));

    // Two uploads at once: each waits for the one before and names its own slot.
    recorder.clear();
    const int from = m_device.device.received().size();
    model.transfer("9", "Band", preset);
    model.transfer("12", "Second", ftptest::pattern(4000));
    QVERIFY(busyEnded(recorder));
    QCOMPARE(recorder.names(), QStringList({"busy", "busy", "busy"}));
    QCOMPARE(qx8test::fileContent(slotFile(9)), preset);
    QCOMPARE(qx8test::fileContent(slotFile(12)), ftptest::pattern(4000));
    QCOMPARE(m_device.device.ftpCommands().mid(commands.size()),
             QStringList({"CWD /presets", "TYPE I", "PASV", "ALLO 10000", "STOR Preset_9.preset",
                          "SIZE Preset_9.preset", "CWD /presets", "TYPE I", "PASV", "ALLO 4000",
                          "STOR Preset_12.preset", "SIZE Preset_12.preset"}));
    QCOMPARE(presetLines(from),
             QStringList({setLine("Name_9", "Band"), setLine("RenamePreset", "9"),
                          setLine("Name_12", "Second"), setLine("RenamePreset", "12")}));

    recorder.clear();
    model.presetFetch("42"); // an empty slot
    QVERIFY(busyEnded(recorder));
    QCOMPARE(recorder.names(), QStringList({"busy", "error", "busy"}));
    QVERIFY(recorder.emissions().at(1).arguments.first().toString().startsWith(
        "File download failed: "));
}

void TestPresetDevice::slotNamesReachTheProvider()
{
    PresetProvider provider;
    QList<PresetInfo> reported;
    connect(&provider, &PresetProvider::presetInfoAvailable, this,
            [&](PresetInfo& preset) { reported.append(preset); });
    const int from = m_device.device.received().size();
    provider.requestAllPresets();
    const QStringList subscriptions = m_device.device.receivedUntilProbe(sendProbe, from);
    QCOMPARE(subscriptions.size(), 100);
    QCOMPARE(subscriptions.first(), QStringLiteral(R"(sub "\\Storage\Presets\SV\Name_1\")"));
    QCOMPARE(subscriptions.last(), QStringLiteral(R"(sub "\\Storage\Presets\SV\Name_100\")"));
    QTRY_COMPARE(reported.size(), 100);
    QCOMPARE(reported.at(1).id, 2);
    QCOMPARE(reported.at(1).name, QStringLiteral("Speech"));

    QCOMPARE(m_device.device.command(R"(set \\Storage\Presets\SV\Name_4\ Late Show)"),
             QStringLiteral("ok Late Show"));
    QTRY_COMPARE(reported.size(), 101);
    QCOMPARE(reported.last().id, 4);
    QCOMPARE(reported.last().name, QStringLiteral("Late Show"));
}

// The provider's slots on any file of the device's storage, each outcome one signal, with the
// session's log lines; an upload into a slot says actionFinished() before it names the slot.
void TestPresetDevice::deviceFilesThroughTheProvidersSlots()
{
    const QString folder = QStringLiteral("/presets");
    const QString storage = m_device.device.storagePath() + folder + '/';
    const qx8test::LoggedMessageWatch bufferOpened("Buffer opened");
    const qx8test::LoggedMessageWatch bufferClosed("Buffer closed");
    const qx8test::LoggedMessageWatch loggedIn("Logged in");
    PresetProvider provider;
    SignalRecorder recorder(&provider);
    const auto call = [&](const char* slot, auto... arguments) {
        recorder.clear();
        return QMetaObject::invokeMethod(&provider, slot, argument(arguments)...) &&
               busyEnded(recorder);
    };

    QVERIFY(call("onRequestFileList", folder));
    QCOMPARE(recorder.names({"busy", "fileList", "error"}),
             QStringList({"busy", "fileList", "busy"}));
    const QList<SignalRecorder::Emission> emissions = recorder.emissions();
    const auto fileList = std::find_if(emissions.begin(), emissions.end(), [](const auto& e) {
        return e.name == QLatin1String("fileList");
    });
    QCOMPARE(fileList->arguments.first().toString(), folder);
    const QStringList listed = fileList->arguments.at(1).toStringList();
    for (int slot = 1; slot <= 4; ++slot)
        QVERIFY(listed.contains(QStringLiteral("Preset_%1.preset").arg(slot)));
    QVERIFY(loggedIn.waitFor(1));
    QVERIFY(bufferOpened.waitFor(1) && bufferClosed.waitFor(1));

    // A file that is not a slot's upload names no slot. (The last test's provider unsubscribed
    // its slots' names as it ended: those lines are counted before this starts.)
    const int from = m_device.device.receivedCountAfterProbe(sendProbe);
    QVERIFY(call("onPutFile", ftptest::pattern(3000), folder, QStringLiteral("Spare.preset")));
    QCOMPARE(recorder.names(), QStringList({"busy", "actionFinished", "busy"}));
    QCOMPARE(qx8test::fileContent(storage + "Spare.preset"), ftptest::pattern(3000));

    QVERIFY(call("onUpdateFile", ftptest::pattern(500), folder, QStringLiteral("Spare.preset"),
                 QStringLiteral("Other.preset")));
    QCOMPARE(recorder.names(), QStringList({"busy", "actionFinished", "busy"}));
    QVERIFY(!QFile::exists(storage + "Spare.preset"));
    QCOMPARE(qx8test::fileContent(storage + "Other.preset"), ftptest::pattern(500));

    QVERIFY(call("onGetFile", folder, QStringLiteral("Other.preset")));
    QCOMPARE(recorder.names(), QStringList({"busy", "presetAvailable", "busy"}));
    QCOMPARE(recorder.emissions().at(1).arguments.first().toByteArray(), ftptest::pattern(500));
    QVERIFY(bufferOpened.waitFor(2) && bufferClosed.waitFor(2));

    QVERIFY(call("onRemoveFile", folder, QStringLiteral("Other.preset")));
    QCOMPARE(recorder.names(), QStringList({"busy", "actionFinished", "busy"}));
    QVERIFY(!QFile::exists(storage + "Other.preset"));
    QVERIFY(call("onRemoveFile", folder, QStringLiteral("Other.preset")));
    QCOMPARE(recorder.names(), QStringList({"busy", "error", "busy"}));
    QVERIFY(
        recorder.emissions().at(1).arguments.first().toString().startsWith("File remove failed: "));
    QVERIFY(presetLines(from).isEmpty());

    // The slot's naming follows actionFinished(): both are noted as they happen.
    QStringList order;
    connect(&provider, &PresetProvider::actionFinished, this,
            [&] { order.append(QStringLiteral("actionFinished")); });
    connect(TCPAdaptor::instance(), &TCPAdaptor::sendMessage, &provider,
            [&](const QByteArray& line) { order.append(QString::fromUtf8(line).trimmed()); });
    provider.transferPreset("15", "Encore", ftptest::pattern(200));
    QVERIFY(busyEnded(recorder));
    QCOMPARE(order, QStringList({"actionFinished", setLine("Name_15", "Encore"),
                                 setLine("RenamePreset", "15")}));
}

// A server that answers SIZE with 500 or 502: the stored slot file is checked by the listing of
// its folder, counts, and the slot is named.
void TestPresetDevice::uploadCountsWithoutSize_data()
{
    QTest::addColumn<int>("sizeReply");
    QTest::newRow("500") << 500;
    QTest::newRow("502") << 502;
}

void TestPresetDevice::uploadCountsWithoutSize()
{
    QFETCH(int, sizeReply);
    QTemporaryDir storage;
    QVERIFY(QDir(storage.path()).mkdir("presets"));
    FtpServerProcess server(FtpServerProcess::Kind::PyFtpdLib);
    server.setListenAddress(qx8test::uniqueLoopbackAddress().toString(), 21);
    server.setPassword(FtpClientThread::devicePassword);
    server.setSizeRefusal(sizeReply);
    QVERIFY(server.start(storage.path()));
    const auto model = modelFor(server.address());
    SignalRecorder recorder(model.get());

    const int from = m_device.device.received().size();
    model->transfer("3", "Band", ftptest::pattern(7000));
    QVERIFY(busyEnded(recorder));
    QCOMPARE(recorder.names(), QStringList({"busy", "busy"}));
    QCOMPARE(qx8test::fileContent(storage.filePath("presets/Preset_3.preset")),
             ftptest::pattern(7000));
    const QStringList commands = server.commandLog();
    const int stored = commands.indexOf("STOR Preset_3.preset");
    QVERIFY(stored >= 0);
    QCOMPARE(commands.mid(stored + 1),
             QStringList({"SIZE Preset_3.preset", "TYPE A", "PASV", "LIST"}));
    QCOMPARE(presetLines(from),
             QStringList({setLine("Name_3", "Band"), setLine("RenamePreset", "3")}));
}

// A failed session step is told by its prefix and the FTP client's whole text. Without a stored
// address no session opens: the requests run on a client that never connected.
void TestPresetDevice::sessionFailuresAsTheClientTellsThem_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("failure");
    QTest::newRow("no stored address")
        << QString() << "Change directory failed: Changing directory failed:\nNot connected";
    const QString nobody = qx8test::uniqueLoopbackAddress().toString();
    QTest::newRow("nothing listens")
        << nobody
        << "Connection failed: Connecting to host failed:\nConnection refused to host " + nobody;
}

void TestPresetDevice::sessionFailuresAsTheClientTellsThem()
{
    QFETCH(QString, address);
    QFETCH(QString, failure);
    const auto model = modelFor(address);
    SignalRecorder recorder(model.get());
    const int ftpFrom = m_device.device.ftpCommands().size();
    const int from = m_device.device.received().size();
    const std::function<void()> requests[] = {
        [&] { model->presetFetch("7"); },
        [&] { model->transfer("9", "Band", ftptest::pattern(100)); }};
    for (const auto& request : requests) {
        recorder.clear();
        request();
        QVERIFY(busyEnded(recorder));
        QCOMPARE(recorder.names(), QStringList({"busy", "error", "busy"}));
        QCOMPARE(recorder.emissions().at(1).arguments.first().toString(), failure);
    }
    QCOMPARE(m_device.device.ftpCommands().size(), ftpFrom);
    QVERIFY(presetLines(from).isEmpty()); // no slot named
}

QX8_TEST_MAIN(TestPresetDevice)
#include "tst_presetdevice.moc"
