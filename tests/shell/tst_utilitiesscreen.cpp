// The Utilities screen of the running application against VirtualQX8 and the harness HTTP server
// as the cloud, clicked as a user clicks it: the firmware check that "Check on startup" runs when
// a device connects (quietly, on whichever screen) and what the screen then shows, the device
// strip's version rules, validation mode with the App Store notice and the cache clearing, the
// pointer to the firmware updater for Windows, a firmware update from the check to the restart
// and the version the device reports afterwards (the new one, or the old one after an image it
// rejected), and a choice the settings cannot keep on a read-only disk. QX8_SCREENSHOT_DIR, when
// set, receives pictures of it.
#include "applicationupdater.h"
#include "firmwareupdater.h"
#include "privatemounts.h"
#include "qx8settings.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"
#include "updatecloud.h"
#include "updatefeed.h"
#include "viewloader.h"
#include "virtualprocessor.h"

#include <QDir>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

class TestUtilitiesScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void firmwareCheckedOnConnection_data();
    void firmwareCheckedOnConnection();
    void deviceVersionRules_data();
    void deviceVersionRules();
    void renameWritesTheDevice();
    void emptyDeviceNameIsRefused();
    void renameWaitsForTheDeviceName();
    void digitalAudioCardStrips();
    void validationModeOffersTheAppStoreAndClearsCaches();
    void applicationUpdateWhereItInstalls();
    void firmwareCheckAskedPointsToTheTool();
    void firmwareDownloadFailureShowsNoDialog();
    void firmwareFromCheckToRestart();
    void firmwareRejectedByTheDeviceIsNotRunning();
    void unsavedChoiceIsToldOnce();

private:
    QQuickItem* item(const QString& name) const
    {
        return ShellFixture::visibleItem(m_shell.root(), name);
    }
    QString text(const QString& name) const;
    void click(const QString& name);
    void connectDevice();
    // The user leaves the device (the discovery screen resets the firmware updater) and connects
    // again.
    void reconnect();
    void openUtilities();
    bool dialogSays(const QString& message) const;
    void acceptDialog(const QString& dialogName);

    UpdateCloud m_cloud;
    VirtualProcessor m_device;
    ShellFixture m_shell;
};

void TestUtilitiesScreen::initTestCase()
{
    QVERIFY(m_cloud.start());
    QVERIFY(m_device.start());
    // Each case ticks it as it needs it.
    QX8Settings().setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QVERIFY(m_shell.start());
    m_shell.root()->setProperty("startUpScreenVisible", false);
    QQuickView* view = m_shell.loader()->view();
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    connectDevice();
    // The first connection is over with its firmware version told.
    QTRY_COMPARE_WITH_TIMEOUT(FirmwareUpdater::instance()->firmwareVersion(),
                              QStringLiteral("2.4.1"), qx8test::timeoutMs());
}

QString TestUtilitiesScreen::text(const QString& name) const
{
    QQuickItem* found = item(name);
    return found ? QQmlProperty::read(found, "text").toString() : QString();
}

void TestUtilitiesScreen::click(const QString& name)
{
    QQuickItem* target = nullptr;
    QTRY_VERIFY2((target = item(name)) && target->isEnabled(), qPrintable(name));
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(m_shell.loader()->view(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void TestUtilitiesScreen::connectDevice()
{
    m_shell.guiSignal("ConnectDevice", m_device.address() + ":quillrampstow");
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
}

void TestUtilitiesScreen::reconnect()
{
    m_shell.guiSignal("DeviceDiscovery");
    QTRY_VERIFY(m_shell.pageItem() &&
                m_shell.pageItem()->objectName() == QLatin1String("discoveryPage"));
    connectDevice();
}

void TestUtilitiesScreen::openUtilities()
{
    m_shell.guiSignal("HomeButtonPressed");
    m_shell.guiSignal("Utilities");
    QTRY_VERIFY(m_shell.pageItem() &&
                m_shell.pageItem()->objectName() == QLatin1String("utilitiesPage"));
    QTRY_COMPARE(text("deviceName"), QStringLiteral("Virtual QX8"));
}

bool TestUtilitiesScreen::dialogSays(const QString& message) const
{
    QQuickItem* dialog = item("utilitiesDialog");
    return dialog && QQmlProperty::read(dialog, "message").toString() == message;
}

void TestUtilitiesScreen::acceptDialog(const QString& dialogName)
{
    QQuickItem* dialog = item(dialogName);
    QVERIFY(dialog);
    QQuickItem* ok = ShellFixture::visibleItem(dialog, "dialogOkButton");
    QVERIFY(ok);
    QVERIFY(QMetaObject::invokeMethod(ok, "clicked"));
}

void TestUtilitiesScreen::firmwareCheckedOnConnection_data()
{
    QTest::addColumn<QString>("checkOnStart");
    QTest::addColumn<QString>("feedFault");
    QTest::addColumn<int>("checks");
    QTest::addColumn<QString>("button"); // what Utilities then offers
    QTest::newRow("ticked") << "true"
                            << "off" << 1 << "Download v2.5.0";
    QTest::newRow("unticked") << "false"
                              << "off" << 0 << "Check for Updates";
    QTest::newRow("ticked, the cloud fails") << "true"
                                             << "500" << 1 << "Check for Updates";
}

// "Check on startup" asks the feed once when a device connects, on the home screen where the
// user is; Utilities, opened afterwards (twice), shows what it found and asks nothing. A failure
// of that check is not shown: nobody asked for it.
void TestUtilitiesScreen::firmwareCheckedOnConnection()
{
    QFETCH(QString, checkOnStart);
    QFETCH(QString, feedFault);
    QFETCH(int, checks);
    QFETCH(QString, button);
    QX8Settings().setValue(settingskeys::kCheckOnStart, checkOnStart);
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFeed, feedFault));
    FirmwareUpdater* updater = FirmwareUpdater::instance();
    updater->setFirmwareVersion(QString());
    const int before = m_cloud.requestsFor(UpdateCloud::kFeed);
    SignalRecorder updates(updater);
    reconnect();
    m_shell.takeLoads();
    QTRY_COMPARE_WITH_TIMEOUT(updater->firmwareVersion(), QStringLiteral("2.4.1"),
                              qx8test::timeoutMs());
    QTRY_VERIFY_WITH_TIMEOUT(updater->isIdle(), qx8test::timeoutMs());
    QTest::qWait(200); // a second check would have started by now
    QCOMPARE(updates.count("requestCheckForUpdate"), checks);
    QCOMPARE(m_cloud.requestsFor(UpdateCloud::kFeed) - before, checks);
    QVERIFY(m_shell.loader()->isActive(ViewLoader::HomeScreen));
    QVERIFY(m_shell.takeLoads().filter("ScreenUtilities").isEmpty());

    for (int visit = 0; visit < 2; ++visit) {
        openUtilities();
        QTRY_COMPARE(text("firmwareVersion"), QStringLiteral("2.4.1"));
        QCOMPARE(text("buttonFirmwareUpdate"), button);
        QVERIFY(!item("utilitiesDialog"));
    }
    if (checks)
        m_shell.screenshot(QStringLiteral("utilities-startup-check-%1.png").arg(feedFault));
    QCOMPARE(m_cloud.requestsFor(UpdateCloud::kFeed) - before, checks);
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFeed, "off"));
    QX8Settings().setValue(settingskeys::kCheckOnStart, QStringLiteral("true"));
}

void TestUtilitiesScreen::deviceVersionRules_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("menuBar");
    QTest::addColumn<bool>("rename");
    QTest::newRow("1.0.6") << "1.0.6" << true << false;
    QTest::newRow("1.0.7") << "1.0.7" << true << true;
    QTest::newRow("0.9.0") << "0.9.0" << false << false;
    QTest::newRow("not a version") << "beta" << false << false;
    QTest::newRow("back to the virtual device's") << "2.4.1" << true << true;
}

void TestUtilitiesScreen::deviceVersionRules()
{
    QFETCH(QString, version);
    QFETCH(bool, menuBar);
    QFETCH(bool, rename);
    const QString set = QStringLiteral("set \\\\Node\\AT\\Software_Version\\ \"%1\"");
    QCOMPARE(m_device.command(set.arg(version)), "ok " + version);
    QTRY_COMPARE(text("firmwareVersion"), version);
    QCOMPARE(item("menuBar")->isEnabled(), menuBar);
    QCOMPARE(item("renameButton")->isEnabled(), rename);
    QCOMPARE(item("checkOnStartCheckBox")->isEnabled(), rename);
    QVERIFY(item("buttonFirmwareUpdate")->isEnabled());
}

void TestUtilitiesScreen::renameWritesTheDevice()
{
    click("renameButton");
    QQuickItem* field = nullptr;
    QTRY_VERIFY((field = item("dialogTextField")));
    QVERIFY(QQmlProperty::write(field, "text", "Stage Left & Right, far too long"));
    QCOMPARE(QQmlProperty::read(field, "text").toString(), QStringLiteral("Stage Left & Rig"));
    acceptDialog("renameDialog");
    QVERIFY(m_device.waitForReceived(
        QStringLiteral("set \"\\\\Node\\SV\\DeviceName\\\" \"Stage Left & Rig\"")));
    QTRY_COMPARE(text("deviceName"), QStringLiteral("Stage Left & Rig"));
    QCOMPARE(m_device.command("set \\\\Node\\SV\\DeviceName\\ \"Virtual QX8\""),
             QStringLiteral("ok Virtual QX8"));
}

// A name emptied in the rename dialog is refused, as the presets and outputs refuse theirs:
// nothing goes to the device, a dialog says why and the strip still shows the device's name.
void TestUtilitiesScreen::emptyDeviceNameIsRefused()
{
    const int wireBefore = m_device.received().size();
    click("renameButton");
    QQuickItem* field = nullptr;
    QTRY_VERIFY((field = item("dialogTextField")) && field->hasActiveFocus());
    QQuickView* view = m_shell.loader()->view();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Space);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(dialogSays(QStringLiteral("A device needs a name.")));
    m_shell.screenshot("utilities-empty-name.png");
    const QStringList sets = m_device.receivedUntilProbe(&ShellFixture::sendProbe, wireBefore)
                                 .filter(QRegularExpression("^set .*DeviceName"));
    QVERIFY2(sets.isEmpty(), qPrintable(sets.join('\n')));
    acceptDialog("utilitiesDialog");
    QTRY_VERIFY(!item("utilitiesDialog"));
    QCOMPARE(text("deviceName"), QStringLiteral("Virtual QX8"));
    QCOMPARE(m_device.command("value \\\\Node\\SV\\DeviceName\\"),
             QStringLiteral("ok Virtual QX8"));
}

// The card strips show the device's own values, and only on a device with that card.
// The rename dialog starts from the device's name: Edit takes no click until the name has come,
// even where the version already allows renaming.
void TestUtilitiesScreen::renameWaitsForTheDeviceName()
{
    m_shell.guiSignal("HomeButtonPressed");
    QCOMPARE(m_device.command("fault ignore-command=sub"), QStringLiteral("ok"));
    auto answer = qScopeGuard([this] { m_device.command("fault ignore-command off"); });
    m_shell.guiSignal("Utilities");
    QTRY_VERIFY(m_shell.pageItem() &&
                m_shell.pageItem()->objectName() == QLatin1String("utilitiesPage"));
    QVERIFY(QQmlProperty::write(item("firmwareStrip"), "presentFirmwareVersion", "2.4.1"));
    QVERIFY(QQmlProperty::read(item("firmwareStrip"), "renameAllowed").toBool());
    QCOMPARE(text("deviceName"), QString());
    QVERIFY(!item("renameButton")->isEnabled());

    QCOMPARE(m_device.command("fault ignore-command off"), QStringLiteral("ok"));
    answer.dismiss();
    openUtilities();
    QVERIFY(item("renameButton")->isEnabled());
}

void TestUtilitiesScreen::digitalAudioCardStrips()
{
    const QString set = QStringLiteral("set \\\\Node\\SV\\HardwareVersion\\ %1");
    QCOMPARE(m_device.command(set.arg("Dante")), QStringLiteral("ok Dante"));
    QTRY_COMPARE(text("PrimaryIPAddr"), QStringLiteral("169.254.20.8"));
    QVERIFY(item("danteStrip") && !item("orvelLinkStrip"));
    m_shell.screenshot("utilities-dante.png");
    QCOMPARE(m_device.command(set.arg("OrvelLink")), QStringLiteral("ok OrvelLink"));
    QTRY_COMPARE(text("MacAddr"), QStringLiteral("00:1D:C1:0A:4F:02"));
    QVERIFY(!item("danteStrip"));
    QCOMPARE(m_device.command(set.arg("QX8")), QStringLiteral("ok QX8"));
    QTRY_VERIFY(!item("orvelLinkStrip"));
}

void TestUtilitiesScreen::validationModeOffersTheAppStoreAndClearsCaches()
{
    QVERIFY(!item("clearCacheButton"));
    QVERIFY(!item("buttonAppUpdate"));
    m_shell.loader()->setValidatationMode(true);
    QTRY_VERIFY(item("clearCacheButton"));
    QCOMPARE(text("buttonAppUpdate"), QStringLiteral("Check for Updates"));

    click("buttonAppUpdate");
    QTRY_VERIFY(dialogSays("A new version '1.1.8' is available on the App Store. Please update "
                           "your application."));
    QCOMPARE(m_cloud.requestsFor(UpdateCloud::kTestFeed), 1);
    QCOMPARE(ApplicationUpdater::instance()->updateState(), ApplicationUpdater::CheckForUpdate);
    m_shell.screenshot("utilities-validation.png");
    acceptDialog("utilitiesDialog");

    const QString firmwareCache = FirmwareUpdater::instance()->cacheFolder();
    QDir().mkpath(firmwareCache);
    QFile left(firmwareCache + "/2.3.0.tmp");
    QVERIFY(left.open(QIODevice::WriteOnly));
    left.close();
    click("clearCacheButton");
    QVERIFY(QDir(firmwareCache).entryList(QDir::Files | QDir::Hidden).isEmpty());
    m_shell.loader()->setValidatationMode(false);
    QTRY_VERIFY(!item("clearCacheButton"));
}

// On macOS and Windows the strip downloads the build and asks before it installs; a cancelled
// download says so and offers the check again.
void TestUtilitiesScreen::applicationUpdateWhereItInstalls()
{
    const QString image = QStringLiteral("/sp-qx8-update-test/app/QX8Control-Mac-1.1.8.dmg");
    item("applicationStrip")->setProperty("platformOs", "osx");
    m_shell.loader()->setValidatationMode(true);
    click("buttonAppUpdate");
    QTRY_COMPARE(text("buttonAppUpdate"), QStringLiteral("Download v1.1.8"));

    QVERIFY(m_cloud.server().setFault(image, "slow:200"));
    click("buttonAppUpdate");
    QTRY_VERIFY(item("appProgress"));
    click("cancelButton");
    QTRY_VERIFY(dialogSays("The operation was canceled."));
    QCOMPARE(text("buttonAppUpdate"), QStringLiteral("Check for Updates"));
    const QString cache = ApplicationUpdater::instance()->cacheFolder();
    QVERIFY(QDir(cache).entryList(QDir::Files).isEmpty()); // no partial download left
    QVERIFY(m_cloud.server().setFault(image, "off"));
    acceptDialog("utilitiesDialog");

    click("buttonAppUpdate");
    QTRY_COMPARE(text("buttonAppUpdate"), QStringLiteral("Download v1.1.8"));
    click("buttonAppUpdate");
    QTRY_COMPARE(text("buttonAppUpdate"), QStringLiteral("Install v1.1.8"));
    click("buttonAppUpdate");
    QTRY_VERIFY(dialogSays("Do you want to close the application and install the new version?"));
    click("dialogCancelButton");
    QTRY_VERIFY(!item("utilitiesDialog"));
    QCOMPARE(ApplicationUpdater::instance()->updateState(), ApplicationUpdater::InstallUpdate);
    m_shell.loader()->setValidatationMode(false);
}

// Asked for a check, the device strip points to the firmware updater for Windows on the cloud's
// page; the feed is not asked.
void TestUtilitiesScreen::firmwareCheckAskedPointsToTheTool()
{
    openUtilities();
    QCOMPARE(FirmwareUpdater::instance()->updateState(), FirmwareUpdater::CheckForUpdate);
    const int checks = m_cloud.requestsFor(UpdateCloud::kFeed);
    click("buttonFirmwareUpdate");
    QTRY_VERIFY(item("firmwareUpdateLinkDialog"));
    const QString page =
        m_cloud.server().url("/sp-qx8-update/firmware-updater.html").toString(QUrl::FullyEncoded);
    QCOMPARE(QQmlProperty::read(item("firmwareUpdateLinkDialog"), "message").toString(),
             "Firmware updates are only possible through Windows QX8 firmware updater "
             "application.<br>To update, please download app from the <a href=\"" +
                 page + "\">download page</a>.");
    // The cloud the run command serves has that page.
    QVERIFY(m_cloud.file("/sp-qx8-update/firmware-updater.html").contains("firmware updater"));
    m_shell.screenshot("utilities-firmware-tool.png");
    acceptDialog("firmwareUpdateLinkDialog");
    QTRY_VERIFY(!item("firmwareUpdateLinkDialog"));
    QCOMPARE(m_cloud.requestsFor(UpdateCloud::kFeed), checks);
    QCOMPARE(FirmwareUpdater::instance()->updateState(), FirmwareUpdater::CheckForUpdate);
}

// A download that fails while no check runs (here an image over its ceiling) shows no dialog:
// the strip offers the check again, with the text the state's announcement gives it.
void TestUtilitiesScreen::firmwareDownloadFailureShowsNoDialog()
{
    reconnect();
    openUtilities();
    QTRY_COMPARE_WITH_TIMEOUT(text("buttonFirmwareUpdate"), QStringLiteral("Download v2.5.0"),
                              qx8test::timeoutMs());
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFirmwareImage, "length:600000000"));
    SignalRecorder updates(FirmwareUpdater::instance());
    click("buttonFirmwareUpdate");
    QTRY_COMPARE_WITH_TIMEOUT(updates.count("error"), 1, qx8test::timeoutMs());
    QVERIFY(updates.emissions()
                .at(updates.names().indexOf("error"))
                .arguments.at(0)
                .toString()
                .contains(QStringLiteral("more than the 512 MiB allowed")));
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFirmwareImage, "off"));
    QTRY_COMPARE(text("buttonFirmwareUpdate"), QStringLiteral("Check for Update"));
    ShellFixture::settle();
    QVERIFY(!item("utilitiesDialog"));
    QVERIFY(!item("firmwareProgress"));
    QVERIFY(item("menuBar")->isEnabled());
    QCOMPARE(FirmwareUpdater::instance()->updateState(), FirmwareUpdater::CheckForUpdate);
    m_shell.screenshot("utilities-firmware-download-refused.png");
}

void TestUtilitiesScreen::firmwareFromCheckToRestart()
{
    // The check on connecting offers the download.
    reconnect();
    openUtilities();
    QTRY_COMPARE_WITH_TIMEOUT(text("buttonFirmwareUpdate"), QStringLiteral("Download v2.5.0"),
                              qx8test::timeoutMs());
    m_shell.screenshot("utilities-download-offered.png");

    click("buttonFirmwareUpdate");
    QTRY_COMPARE_WITH_TIMEOUT(text("buttonFirmwareUpdate"), QStringLiteral("Load v2.5.0"),
                              qx8test::timeoutMs());
    QVERIFY(item("menuBar")->isEnabled());

    QVERIFY(m_device.command("fault delay=400") == QStringLiteral("ok")); // "writer OK" waits
    click("buttonFirmwareUpdate");
    QTRY_VERIFY(item("firmwareWarning"));
    QVERIFY(!item("menuBar")->isEnabled());
    QVERIFY(m_shell.loader()->appBusyPreventClose());
    QVERIFY(item("firmwareProgress"));
    m_shell.screenshot("utilities-uploading.png");
    QVERIFY(m_device.command("fault delay=0") == QStringLiteral("ok"));

    QTRY_VERIFY_WITH_TIMEOUT(item("restartDialog"), qx8test::timeoutMs());
    // The device reports its new version once the image it received is stored.
    QTRY_COMPARE(text("firmwareVersion"), QStringLiteral("2.5.0"));
    const QByteArray image = m_cloud.file(UpdateCloud::kFirmwareImage);
    QCOMPARE(qx8test::fileContent(m_device.storagePath() + "/firmware/updKaloTar"), image);
    QVERIFY(item("menuBar")->isEnabled());
    QVERIFY(!m_shell.loader()->appBusyPreventClose());
    m_shell.screenshot("utilities-uploaded.png");

    acceptDialog("restartDialog");
    QVERIFY(m_device.waitForReceived(QStringLiteral("set \"\\\\Node\\SV\\Reboot\\\" \"Yes\"")));
    QTRY_VERIFY(m_shell.loader()->isActive(ViewLoader::Discovery));

    // Back on the device after its restart, the strip tells which firmware runs.
    connectDevice();
    openUtilities();
    QTRY_COMPARE(text("firmwareInstallResult"),
                 QStringLiteral("Firmware v2.5.0 is running on the device."));
    m_shell.screenshot("utilities-firmware-installed.png");
}

// An image the device checks and rejects goes without a word on the wire: the upload ends as
// done, and only the version the device reports after its restart tells the user.
void TestUtilitiesScreen::firmwareRejectedByTheDeviceIsNotRunning()
{
    QCOMPARE(m_device.command("set \\\\Node\\AT\\Software_Version\\ \"2.4.1\""),
             QStringLiteral("ok 2.4.1"));
    // The image downloaded before, damaged in the cache: its size still matches the record.
    QFile image(FirmwareUpdater::instance()->cacheFolder() + "/2.5.0");
    QVERIFY(image.open(QIODevice::ReadWrite));
    QVERIFY(image.seek(image.size() - 1));
    char last = 0;
    QVERIFY(image.getChar(&last));
    QVERIFY(image.seek(image.size() - 1) && image.putChar(char(last ^ 0x5a)));
    image.close();

    reconnect();
    openUtilities();
    QTRY_COMPARE_WITH_TIMEOUT(text("buttonFirmwareUpdate"), QStringLiteral("Load v2.5.0"),
                              qx8test::timeoutMs());
    click("buttonFirmwareUpdate");
    QTRY_VERIFY_WITH_TIMEOUT(item("restartDialog"), qx8test::timeoutMs());
    QTRY_VERIFY(m_device.command("firmware").startsWith("ok rejected"));
    acceptDialog("restartDialog");
    QTRY_VERIFY(m_shell.loader()->isActive(ViewLoader::Discovery));

    connectDevice();
    openUtilities();
    QTRY_COMPARE(text("firmwareInstallResult"),
                 QStringLiteral("Firmware v2.5.0 is not running on the device: it reports v2.4.1, "
                                "so the update was not installed."));
    QCOMPARE(text("firmwareVersion"), QStringLiteral("2.4.1"));
    m_shell.screenshot("utilities-firmware-not-running.png");
}

// The analytics choice on a read-only disk: the user hears once that it will not be kept.
void TestUtilitiesScreen::unsavedChoiceIsToldOnce()
{
    const QString folder =
        QFileInfo(settingsstore::fileName(settingskeys::kApplicationStore)).absolutePath();
    QVERIFY(qx8test::mountReadOnly(folder));
    auto unmount = qScopeGuard([&] { qx8test::unmount(folder); });
    // Logged once too: the second click's failure is only counted.
    qx8test::expectWarnings("^Settings could not be saved to ");
    click("shareAnalyticsCheckBox");
    QTRY_VERIFY(item("settingsWarning"));
    QVERIFY(QQmlProperty::read(item("settingsWarning"), "message")
                .toString()
                .contains("cannot be written"));
    m_shell.screenshot("utilities-settings-not-saved.png");
    acceptDialog("settingsWarning");
    QTRY_VERIFY(!item("settingsWarning"));

    click("shareAnalyticsCheckBox");
    ShellFixture::settle();
    QVERIFY(!item("settingsWarning"));
}

QX8_PRIVATE_MOUNTS_TEST_MAIN(QX8_TEST_APPLICATION, TestUtilitiesScreen)
#include "tst_utilitiesscreen.moc"
