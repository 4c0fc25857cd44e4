#include "homescreenmodel.h"
#include "jsoncommandchannel.h"
#include "privatemounts.h"
#include "qx8settings.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"
#include "virtualprocessor.h"

#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

// The application as a user meets it: the splash, the discovery page, the address typed into
// the manual dialog, and the way to the home screen, against VirtualQX8 on 127.0.0.1. Mouse and
// keys go to the window as the platform would deliver them.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void manualAddressReachesHome();
    void wrongPasswordThenRightOne();
    void silentDeviceTimesOutAndRetryWorks();
    void oneEditReloadsTheHomePageOnce();
    void unsavedSettingsHoldForTheRun();

private:
    QQuickItem* find(const QString& objectName, QQuickItem* within = nullptr) const;
    void click(QQuickItem* item);
    void type(const QString& text);
    void openDiscoveryPage();
    void enterAddress(const QString& address);
    // VirtualQX8 on 127.0.0.1, its address typed in, and the home screen reached.
    void connectToHome();
    bool dialogShows(const QString& dialogName, const QString& text = QString()) const;

    ShellFixture m_shell;
    QQuickView* m_view = nullptr;
    VirtualProcessor* m_device = nullptr;
};

void TestEndToEnd::initTestCase()
{
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QVERIFY(m_shell.start());
    m_view = m_shell.loader()->view();
    m_view->requestActivate();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestEndToEnd::cleanup()
{
    QQuickItem* busy = find(QStringLiteral("busyDialog"));
    if (busy && busy->isVisible())
        click(find(QStringLiteral("dialogCancelButton"), busy));
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
    delete m_device;
    m_device = nullptr;
}

QQuickItem* TestEndToEnd::find(const QString& objectName, QQuickItem* within) const
{
    return (within ? within : m_shell.root())->findChild<QQuickItem*>(objectName);
}

void TestEndToEnd::click(QQuickItem* item)
{
    QVERIFY(item);
    QTRY_VERIFY(item->isVisible());
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void TestEndToEnd::type(const QString& text)
{
    for (const QChar character : text)
        QTest::keyClick(m_view, character.toLatin1());
}

bool TestEndToEnd::dialogShows(const QString& dialogName, const QString& text) const
{
    QQuickItem* dialog = find(dialogName);
    if (!dialog || !dialog->isVisible())
        return false;
    return text.isEmpty() || QQmlProperty::read(dialog, "message").toString() == text;
}

void TestEndToEnd::openDiscoveryPage()
{
    QQuickItem* search = find(QStringLiteral("searchForDevicesButton"));
    if (search && search->isVisible())
        click(search);
    QTRY_VERIFY(m_shell.pageItem() &&
                m_shell.pageItem()->objectName() == QLatin1String("discoveryPage"));
    QVERIFY(!find(QStringLiteral("startUpSplash"))->isVisible());
}

void TestEndToEnd::enterAddress(const QString& address)
{
    click(find(QStringLiteral("manualAddressButton")));
    QQuickItem* dialog = find(QStringLiteral("manualAddressDialog"));
    QTRY_VERIFY(dialog->isVisible());
    QQuickItem* field = find(QStringLiteral("dialogTextField"), dialog);
    click(field);
    QTRY_VERIFY(field->hasActiveFocus());
    QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_Delete);
    type(address);
    QCOMPARE(QQmlProperty::read(field, "text").toString(), address);
    click(find(QStringLiteral("dialogOkButton"), dialog));
    QTRY_VERIFY(dialogShows(QStringLiteral("busyDialog"), "Connecting to Spandrell QX8"));
    QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString(), address);
}

void TestEndToEnd::connectToHome()
{
    m_device = new VirtualProcessor;
    QVERIFY(m_device->start({QStringLiteral("--address"), QStringLiteral("127.0.0.1")}));
    openDiscoveryPage();
    enterAddress(QStringLiteral("127.0.0.1"));
    QVERIFY(m_device->waitForReceived(QStringLiteral("connect administrator \"quillrampstow\"")));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
}

void TestEndToEnd::manualAddressReachesHome()
{
    connectToHome();
    QTRY_VERIFY(m_shell.pageItem() &&
                m_shell.pageItem()->findChild<QQuickItem*>(QStringLiteral("menuBar")));
}

void TestEndToEnd::wrongPasswordThenRightOne()
{
    const QString password = QStringLiteral("Stage-Left_7");
    m_device = new VirtualProcessor;
    QVERIFY(m_device->start({QStringLiteral("--address"), QStringLiteral("127.0.0.1"),
                             QStringLiteral("--password"), password}));
    openDiscoveryPage();
    enterAddress(QStringLiteral("127.0.0.1"));

    QTRY_VERIFY_WITH_TIMEOUT(
        dialogShows(QStringLiteral("passwordDialog"), "Please enter password to proceed"),
        qx8test::timeoutMs());
    QQuickItem* dialog = find(QStringLiteral("passwordDialog"));
    click(find(QStringLiteral("dialogTextField"), dialog));
    type(password);
    click(find(QStringLiteral("dialogOkButton"), dialog));
    QVERIFY(
        m_device->waitForReceived(QStringLiteral("connect administrator \"%1\"").arg(password)));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
}

void TestEndToEnd::silentDeviceTimesOutAndRetryWorks()
{
    m_device = new VirtualProcessor;
    QVERIFY(m_device->start({QStringLiteral("--address"), QStringLiteral("127.0.0.1"),
                             QStringLiteral("--fault"), QStringLiteral("no-banner")}));
    openDiscoveryPage();
    enterAddress(QStringLiteral("127.0.0.1"));

    QTRY_VERIFY_WITH_TIMEOUT(dialogShows(QStringLiteral("messageDialog"),
                                         "Could not establish connection to Spandrell QX8"),
                             10000 + qx8test::timeoutMs());
    click(find(QStringLiteral("dialogOkButton"), find(QStringLiteral("messageDialog"))));
    QVERIFY(m_device->command(QStringLiteral("fault no-banner off")).startsWith("ok"));
    enterAddress(QStringLiteral("127.0.0.1"));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
}

// A configuration edit announces itself once, on which the main QML file reloads the home page.
void TestEndToEnd::oneEditReloadsTheHomePageOnce()
{
    connectToHome();
    auto* model = m_shell.root()->findChild<HomeScreenModel*>();
    QVERIFY(model);
    QTRY_COMPARE(JsonCommandChannel::instance()->pendingCount(), 0);
    m_device->receivedUntilProbe(&ShellFixture::sendProbe);
    ShellFixture::settle();
    m_shell.takeLoads();

    QVERIFY(QMetaObject::invokeMethod(model, "link", Q_ARG(int, 3), Q_ARG(int, 0)));
    QVERIFY(model->enCfgApply());
    m_device->receivedUntilProbe(&ShellFixture::sendProbe);
    ShellFixture::settle();
    QCOMPARE(m_shell.takeLoads(), QStringList({"QX8HomeScreen.qml|HomeScreen.jpg"}));
}

// The first start in a settings folder that cannot be written: the user hears of it once, and
// what the user chose holds for the run: the typed address connects, and a block of the home
// screen opens its page, which reads from the settings which band group it shows.
void TestEndToEnd::unsavedSettingsHoldForTheRun()
{
    const QString store = settingsstore::fileName(settingskeys::kApplicationStore);
    const QString folder = QFileInfo(store).absolutePath();
    QVERIFY(QFile::remove(store));
    QVERIFY(qx8test::mountReadOnly(folder));
    auto restore = qScopeGuard([&] {
        qx8test::unmount(folder);
        QX8Settings().setValue(QStringLiteral("Data/saved"), QStringLiteral("again"));
    });
    // As the start writes its defaults.
    qx8test::expectWarnings("^Settings could not be saved to .*QX8Control.conf$");
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QTRY_VERIFY(dialogShows(QStringLiteral("settingsWarning")));
    m_shell.screenshot("settings-not-saved.png");
    click(find(QStringLiteral("dialogOkButton"), find(QStringLiteral("settingsWarning"))));
    QTRY_VERIFY(!dialogShows(QStringLiteral("settingsWarning")));

    connectToHome();
    QQuickItem* block = nullptr;
    QTRY_VERIFY(
        (block = ShellFixture::visibleItem(m_shell.pageItem(), QStringLiteral("block_PEQ_Mid"))));
    click(block);
    QTRY_VERIFY(m_shell.pageItem() && m_shell.pageItem()->objectName() == QLatin1String("peqPage"));
    const QString midBand = QStringLiteral(R"(sub "\\Preset\MidPEQ\)");
    QTRY_VERIFY_WITH_TIMEOUT(!m_device->received().filter(midBand).isEmpty(), qx8test::timeoutMs());
    QVERIFY(!dialogShows(QStringLiteral("settingsWarning")));
    QVERIFY(!QFile::exists(store));
}

QX8_PRIVATE_MOUNTS_TEST_MAIN(QX8_TEST_APPLICATION, TestEndToEnd)
#include "tst_endtoend.moc"
