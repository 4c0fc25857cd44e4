#include "applicationupdater.h"
#include "devicecredentials.h"
#include "firmwareupdater.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "tuningfilemanager.h"
#include "viewloader.h"
#include "virtualprocessor.h"

#include <QQuickView>
#include <QStandardPaths>
#include <QtTest>

// The GUI-signal dispatcher against virtual processors on loopback, and the busy and
// validation modes.
class TestDispatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void storesTheScreensKeys_data();
    void storesTheScreensKeys();
    void uncaughtParameterIsLogged();
    void passwordStaysOutOfPayloads_data();
    void passwordStaysOutOfPayloads();
    void connectsLogsInAndGoesHome();
    void retryAfterTimeOutConnects();
    void enterPasswordWhileDisconnectedLogsInOnce();
    void passwordNeverReachesTheLog();
    void validationModeSwitchesTheServices();
    void busyFlagBlocksClose();

private:
    static QString logText();
    // Logins the device received before a probe sent through the link now.
    static int loginsUntilProbe(VirtualProcessor& device, const QString& password);

    ShellFixture m_shell;
};

namespace {
const QString kPassword = QStringLiteral("quillrampstow");

QString login(const QString& password)
{
    return QStringLiteral("connect administrator \"%1\"").arg(password);
}
} // namespace

QString TestDispatcher::logText()
{
    QFile log(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
              QStringLiteral("/yoxl/QX8/ui.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

int TestDispatcher::loginsUntilProbe(VirtualProcessor& device, const QString& password)
{
    return device.receivedUntilProbe(ShellFixture::sendProbe).count(login(password));
}

// Analytics on, pointed at loopback (the skeleton client sends nothing), so that the payload
// path to it runs; update checks off.
void TestDispatcher::initTestCase()
{
    qputenv("QX8_ANALYTICS_URL", "http://127.0.0.1:9/collect");
    qputenv("QX8_CLOUD_BASE_URL", "http://127.0.0.1:9");
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("true"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QVERIFY(m_shell.start());
}

void TestDispatcher::storesTheScreensKeys_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("stored");
    QTest::newRow("PEQ") << "PEQ"
                         << "Mid" << settingskeys::kPeqType << true;
    QTest::newRow("LMT") << "LMT"
                         << "Low" << settingskeys::kLimiterType << true;
    QTest::newRow("GEQ") << "GEQ"
                         << "LeftGEQ" << settingskeys::kGeqType << true;
    QTest::newRow("Delay") << "Delay"
                           << "High" << settingskeys::kDelayType << true;
    QTest::newRow("DLY stores nothing") << "DLY"
                                        << "Low" << settingskeys::kDelayType << false;
    QTest::newRow("MIX") << "MIX"
                         << "InMix" << settingskeys::kMixerType << true;
    QTest::newRow("3 without Output") << "3"
                                      << "Mixer" << settingskeys::kMixerType << true;
    QTest::newRow("3 with Output") << "3"
                                   << "Output 3" << settingskeys::kMixerType << false;
    QTest::newRow("A+B") << "A+B"
                         << "MidMix" << settingskeys::kMixerType << true;
    QTest::newRow("ConfigMode") << "ConfigMode"
                                << "{\"a\":1}" << settingskeys::kConfigData << true;
}

void TestDispatcher::storesTheScreensKeys()
{
    QFETCH(QString, param);
    QFETCH(QString, payload);
    QFETCH(QString, key);
    QFETCH(bool, stored);
    m_shell.guiSignal(param, payload);
    QCOMPARE(QX8Settings().value(key).toString() == payload, stored);
}

void TestDispatcher::uncaughtParameterIsLogged()
{
    m_shell.guiSignal(QStringLiteral("NoSuchParam"), QStringLiteral("x"));
    QVERIFY(logText().contains(QLatin1String("Uncaught Parameter")));
}

void TestDispatcher::passwordStaysOutOfPayloads_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("shown");
    QTest::newRow("connect") << "ConnectDevice"
                             << "10.0.0.5:secret"
                             << "10.0.0.5"
                             << "secret"
                             << "10.0.0.5";
    QTest::newRow("colon in password") << "EnterPassword"
                                       << "10.0.0.5:a:b"
                                       << "10.0.0.5"
                                       << "a:b"
                                       << "10.0.0.5";
    QTest::newRow("no separator") << "ConnectDevice"
                                  << "alone"
                                  << "alone"
                                  << "alone"
                                  << "";
    QTest::newRow("other signal") << "PEQ"
                                  << "High:x"
                                  << "High"
                                  << "x"
                                  << "High:x";
}

void TestDispatcher::passwordStaysOutOfPayloads()
{
    QFETCH(QString, param);
    QFETCH(QString, payload);
    QFETCH(QString, address);
    QFETCH(QString, password);
    QFETCH(QString, shown);
    const DeviceCredentials credentials = DeviceCredentials::fromPayload(payload);
    QCOMPARE(credentials.address, address);
    QCOMPARE(credentials.password, password);
    QCOMPARE(DeviceCredentials::payloadWithoutPassword(param, payload), shown);
}

void TestDispatcher::connectsLogsInAndGoesHome()
{
    VirtualProcessor first;
    QVERIFY(first.start());
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), first.address() + ':' + kPassword);
    QVERIFY(first.waitForReceived(login(kPassword)));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    QX8Settings settings;
    QCOMPARE(settings.value(settingskeys::kCurrentDeviceAddress).toString(), first.address());
    QCOMPARE(settings.value(settingskeys::kCurrentDevicePassword).toString(), kPassword);

    // The same device again: nothing new on the wire.
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), first.address() + ':' + kPassword);
    QCOMPARE(loginsUntilProbe(first, kPassword), 1);
    QCOMPARE(first.command(QStringLiteral("connections")), QStringLiteral("ok 1"));

    // Another device: the first connection closes, the second logs in.
    VirtualProcessor second;
    QVERIFY(second.start());
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), second.address() + ':' + kPassword);
    QVERIFY(second.waitForReceived(login(kPassword)));
    QTRY_COMPARE_WITH_TIMEOUT(first.command(QStringLiteral("connections")), QStringLiteral("ok 0"),
                              qx8test::timeoutMs());
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
    QTRY_VERIFY(m_shell.loader()->isActive(ViewLoader::Discovery));
}

void TestDispatcher::retryAfterTimeOutConnects()
{
    VirtualProcessor device;
    QVERIFY(device.start({QStringLiteral("--fault"), QStringLiteral("no-banner")}));
    QSignalSpy timeOut(TCPAdaptor::instance(), &TCPAdaptor::timeOutError);
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), device.address() + ':' + kPassword);
    QVERIFY(timeOut.wait(TCPAdaptor::kConnectTimeoutMs + qx8test::timeoutMs()));

    QCOMPARE(device.command(QStringLiteral("fault no-banner off")).left(2), QStringLiteral("ok"));
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), device.address() + ':' + kPassword);
    QVERIFY(device.waitForReceived(login(kPassword)));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    QCOMPARE(timeOut.count(), 1);
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
}

void TestDispatcher::enterPasswordWhileDisconnectedLogsInOnce()
{
    const QString password = QStringLiteral("Other-Pass_1");
    VirtualProcessor device;
    QVERIFY(device.start({QStringLiteral("--password"), password}));
    QTRY_VERIFY(!TCPAdaptor::instance()->isConnected());
    m_shell.guiSignal(QStringLiteral("EnterPassword"), device.address() + ':' + password);
    QVERIFY(device.waitForReceived(login(password)));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    QCOMPARE(loginsUntilProbe(device, password), 1);
    QCOMPARE(QX8Settings().value(settingskeys::kCurrentDevicePassword).toString(), password);
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
}

void TestDispatcher::passwordNeverReachesTheLog()
{
    const QString text = logText();
    QVERIFY(text.contains(QLatin1String("ScreenView: ConnectDevice")));
    QVERIFY(text.contains(QLatin1String("ScreenView: EnterPassword")));
    QVERIFY(!text.contains(kPassword));
    QVERIFY(!text.contains(QLatin1String("Other-Pass_1")));
}

void TestDispatcher::validationModeSwitchesTheServices()
{
    ViewLoader* loader = m_shell.loader();
    QSignalSpy changes(loader, &ViewLoader::validationModeChanged);
    qRegisterMetaType<ApplicationUpdater::UpdateState>();
    qRegisterMetaType<FirmwareUpdater::UpdateState>();
    QSignalSpy appState(ApplicationUpdater::instance(), &ApplicationUpdater::updateStateChanged);
    QSignalSpy firmwareState(FirmwareUpdater::instance(), &FirmwareUpdater::updateStateChanged);

    loader->setValidatationMode(true);
    loader->setValidatationMode(true);
    QCOMPARE(changes.count(), 1);
    QVERIFY(TuningFileManager::instance()->validationMode());
    QCOMPARE(ApplicationUpdater::instance()->feedUrl().toString(),
             QStringLiteral("http://127.0.0.1:9/sp-qx8-update-test/update.xml"));
    QCOMPARE(FirmwareUpdater::instance()->feedUrl().toString(),
             QStringLiteral("http://127.0.0.1:9/sp-qx8-update-test/update.xml"));
    QCOMPARE(appState.count(), 1);
    QCOMPARE(firmwareState.count(), 1);

    loader->setValidatationMode(false);
    QVERIFY(!TuningFileManager::instance()->validationMode());
    QCOMPARE(ApplicationUpdater::instance()->feedUrl().path(),
             QStringLiteral("/sp-qx8-update/update.xml"));
    QCOMPARE(FirmwareUpdater::instance()->feedUrl().path(),
             QStringLiteral("/sp-qx8-update/update.xml"));
    QCOMPARE(changes.count(), 2);
}

// Last: the window closes at the end.
void TestDispatcher::busyFlagBlocksClose()
{
    qApp->setQuitOnLastWindowClosed(false);
    ViewLoader* loader = m_shell.loader();
    QSignalSpy busy(loader, &ViewLoader::appBusyPreventCloseChanged);
    QSignalSpy resend(loader, &ViewLoader::resendDataRequest);
    QSignalSpy ignored(loader, &ViewLoader::closeEventIgnored);

    loader->setAppBusyPreventClose(true);
    loader->setAppBusyPreventClose(true);
    QCOMPARE(busy.count(), 1);
    QCOMPARE(resend.count(), 1);
    QCOMPARE(resend.first().first().toBool(), false);

    m_shell.guiSignal(QStringLiteral("HomeButtonPressed"));
    QVERIFY(!loader->view()->close());
    QCOMPARE(ignored.count(), 1);
    QVERIFY(loader->view()->isVisible());
    QVERIFY(loader->isActive(ViewLoader::HomeScreen));

    loader->setAppBusyPreventClose(false);
    QCOMPARE(resend.count(), 2);
    QCOMPARE(resend.last().first().toBool(), true);
    QVERIFY(loader->view()->close());
    ShellFixture::settle();
    QVERIFY(!loader->view()->isVisible());
    QVERIFY(loader->isActive(ViewLoader::Discovery));
}

QX8_TEST_MAIN(TestDispatcher)
#include "tst_dispatcher.moc"
