// The discovery page of the running application on a network of its own: VirtualQX8 answers
// from behind a veth pair, so the page's scans and queries really travel.
#include "discovereddevicesmodel.h"
#include "discovereddevicesprovider.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "tst_discoverynetwork.h"
#include "viewloader.h"
#include "virtualprocessor.h"

#include <QApplication>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QRegularExpression>
#include <QtTest>
#include <atomic>

namespace {
const QString kMarkupName = QStringLiteral("<b>Stage</b> <img src=file:///x.png> Left");
constexpr int kDeviceHost = 2;

QString deviceAddress()
{
    return qx8test::VethNetwork::kSubnet + QString::number(kDeviceHost);
}
} // namespace

class TestDiscoveryPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void deviceTextsArePlain();
    void pageVisitsEndTheirScans();
    void manualAddressNeedsFourNumbers_data();
    void manualAddressNeedsFourNumbers();
    void manualAddressKeepsWhatWasTyped_data();
    void manualAddressKeepsWhatWasTyped();
    void refusedPasswordIsSaid();
    void unansweredConnectionIsSaid();
    void openDialogsDrawOnlyWhatMoves();

private:
    QObject* pageObject(const char* name) const;
    void verifyFirstPageShownAfterItsFrame();
    void click(QObject* target);
    void type(const QString& text);
    // Opens the manual-address dialog afresh, the stored address the offline model's.
    QObject* openManualDialog();
    // Types the device's address into the manual address dialog and confirms it.
    bool enterDeviceAddress();
    int connections() const;
    int liveModels() const;
    int queriesReceived() const;
    int framesDrawnIn(int milliseconds) const;
    void visit(const QString& param, ViewLoader::Screen screen);

    qx8test::VethNetwork m_network;
    VirtualProcessor m_device;
    ShellFixture m_shell;
};

QObject* TestDiscoveryPage::pageObject(const char* name) const
{
    QQuickItem* page = m_shell.pageItem();
    return page ? page->findChild<QObject*>(QLatin1String(name)) : nullptr;
}

void TestDiscoveryPage::click(QObject* target)
{
    auto* item = qobject_cast<QQuickItem*>(target);
    QVERIFY(item && item->isVisible());
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(m_shell.loader()->view(), Qt::LeftButton, {}, centre.toPoint());
}

void TestDiscoveryPage::type(const QString& text)
{
    for (const QChar character : text)
        QTest::keyClick(m_shell.loader()->view(), character.toLatin1());
}

QObject* TestDiscoveryPage::openManualDialog()
{
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("127.0.0.1"));
    if (!QTest::qWaitFor([this] { return pageObject("manualAddressButton") != nullptr; }))
        return nullptr;
    QMetaObject::invokeMethod(m_shell.pageItem(), "closeDialogs");
    click(pageObject("manualAddressButton"));
    QObject* dialog = pageObject("manualAddressDialog");
    return QTest::qWaitFor([dialog] { return dialog->property("visible").toBool(); }) ? dialog
                                                                                      : nullptr;
}

bool TestDiscoveryPage::enterDeviceAddress()
{
    QObject* dialog = openManualDialog();
    if (!dialog)
        return false;
    type(deviceAddress());
    click(dialog->findChild<QObject*>(QStringLiteral("dialogOkButton")));
    return !QTest::currentTestFailed();
}

int TestDiscoveryPage::connections() const
{
    return m_device.wireLog().filter(QRegularExpression(QStringLiteral("^\\d+ connected$"))).size();
}

int TestDiscoveryPage::liveModels() const
{
    return m_shell.root()->findChildren<DiscoveredDevicesModel*>().size();
}

int TestDiscoveryPage::queriesReceived() const
{
    return m_device.wireLog().filter(QRegularExpression("^udp RX .* get .*Class_Name$")).size();
}

int TestDiscoveryPage::framesDrawnIn(int milliseconds) const
{
    std::atomic<int> frames{0};
    QObject watch;
    connect(
        m_shell.loader()->view(), &QQuickWindow::frameSwapped, &watch, [&] { ++frames; },
        Qt::DirectConnection);
    QTest::qWait(milliseconds);
    return frames;
}

void TestDiscoveryPage::visit(const QString& param, ViewLoader::Screen screen)
{
    m_shell.guiSignal(param);
    QTRY_VERIFY(m_shell.loader()->isActive(screen));
    QTRY_VERIFY(m_shell.pageItem());
}

// The work left for after the first page waits for a frame that was synchronised with the page
// in it, not merely for a frame swapped while the page was loading.
void TestDiscoveryPage::verifyFirstPageShownAfterItsFrame()
{
    QQuickView* view = m_shell.loader()->view();
    const QObject* pageLoader = m_shell.root()->findChild<QObject*>(QStringLiteral("pageLoader"));
    QVERIFY(pageLoader);
    std::atomic<bool> syncedWithPage{false};
    std::atomic<int> framesWithPage{0};
    QObject watch;
    connect(
        view, &QQuickWindow::afterSynchronizing, &watch,
        [&] { syncedWithPage = syncedWithPage || pageLoader->property("item").value<QObject*>(); },
        Qt::DirectConnection);
    connect(
        view, &QQuickWindow::frameSwapped, &watch,
        [&] {
            if (syncedWithPage)
                ++framesWithPage;
        },
        Qt::DirectConnection);
    int framesWhenShown = -1;
    connect(m_shell.loader(), &ViewLoader::firstPageShown, &watch,
            [&] { framesWhenShown = framesWithPage; });
    QTRY_VERIFY_WITH_TIMEOUT(framesWhenShown >= 0, qx8test::timeoutMs());
    QVERIFY(framesWhenShown >= 1);
}

void TestDiscoveryPage::initTestCase()
{
    QVERIFY(qx8test::hasPrivateNetwork());
    QVERIFY(m_network.create());
    QVERIFY(m_network.addNearAddress(1));
    QVERIFY(m_network.addFarAddress(kDeviceHost));
    QVERIFY(m_network.startDevice(m_device, kDeviceHost, {"--name", kMarkupName}));
    QX8Settings settings;
    settings.setValue(QStringLiteral("Data/appAnalytics"), QStringLiteral("false"));
    settings.setValue(QStringLiteral("Data/checkOnStart"), QStringLiteral("false"));
    QVERIFY(m_shell.start());
    verifyFirstPageShownAfterItsFrame();
    if (QTest::currentTestFailed())
        return;
    m_shell.loader()->view()->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_shell.loader()->view()));
    m_shell.screenshot(QStringLiteral("splash.png"));
    click(m_shell.root()->findChild<QObject*>(QStringLiteral("searchForDevicesButton")));
    QTRY_VERIFY(!m_shell.root()->findChild<QQuickItem*>("startUpSplash")->isVisible());
}

// A name that looks like markup is shown as the characters the device sent.
void TestDiscoveryPage::deviceTextsArePlain()
{
    QTRY_VERIFY(m_shell.pageItem());
    QQuickItem* shown = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((shown = ShellFixture::visibleItem(
                                  m_shell.pageItem(), QStringLiteral("deviceName"))) != nullptr,
                             qx8test::timeoutMs());
    QCOMPARE(QQmlProperty::read(shown, "text").toString(), kMarkupName);
    QCOMPARE(QQmlProperty::read(shown, "textFormat").toInt(), int(Qt::PlainText));
    m_shell.screenshot(QStringLiteral("discovery-list.png"));
}

// The page owns its model: leaving it ends the model and its broadcasts, however often the
// page was shown.
void TestDiscoveryPage::pageVisitsEndTheirScans()
{
    for (int visitCount = 0; visitCount < 10; ++visitCount) {
        visit(QStringLiteral("HomeButtonPressed"), ViewLoader::HomeScreen);
        visit(QStringLiteral("DeviceDiscovery"), ViewLoader::Discovery);
    }
    QTRY_COMPARE(liveModels(), 1);
    visit(QStringLiteral("HomeButtonPressed"), ViewLoader::HomeScreen);
    QTRY_COMPARE(liveModels(), 0);

    // Quiet for a whole scan window and more: no scan is left running.
    const int before = queriesReceived();
    QTest::qWait(DiscoveredDevicesProvider::kScanWindowMs * 3 / 2);
    QCOMPARE(queriesReceived(), before);
    visit(QStringLiteral("DeviceDiscovery"), ViewLoader::Discovery);
}

void TestDiscoveryPage::manualAddressNeedsFourNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("two numbers") << "10.1" << false;
    QTest::newRow("trailing dot") << "1.2.3." << false;
    QTest::newRow("one number") << "1." << false;
    QTest::newRow("the device") << deviceAddress() << true;
}

// Only a complete address is taken; the device at it is asked, confirms, and the application
// logs in to it.
void TestDiscoveryPage::manualAddressNeedsFourNumbers()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("127.0.0.1"));
    QTRY_VERIFY(pageObject("manualAddressButton"));
    QMetaObject::invokeMethod(m_shell.pageItem(), "closeDialogs");
    click(pageObject("manualAddressButton"));
    QObject* dialog = pageObject("manualAddressDialog");
    QTRY_VERIFY(dialog->property("visible").toBool());
    for (const QChar character : typed)
        QTest::keyClick(m_shell.loader()->view(), character.toLatin1());
    if (accepted)
        m_shell.screenshot(QStringLiteral("discovery-manual-address.png"));
    click(dialog->findChild<QObject*>(QStringLiteral("dialogOkButton")));

    QObject* message = pageObject("messageDialog");
    if (!accepted) {
        QTRY_VERIFY(message->property("visible").toBool());
        QCOMPARE(message->property("message").toString(),
                 QStringLiteral("Please enter a valid IP Address"));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString(),
                 QStringLiteral("127.0.0.1"));
        return;
    }
    QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString(), typed);
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
}

void TestDiscoveryPage::manualAddressKeepsWhatWasTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("a letter after the device address") << deviceAddress() + "x";
    QTest::newRow("a number too large") << "300.1.2.3";
    QTest::newRow("five numbers") << deviceAddress() + ".5";
}

// A typed address that is not one is refused with every key kept, and nothing is asked of any
// address until the user has typed one: then the device at it is the one connection made.
void TestDiscoveryPage::manualAddressKeepsWhatWasTyped()
{
    QFETCH(QString, typed);
    const int connectionsBefore = connections();
    QObject* dialog = openManualDialog();
    QVERIFY(dialog);
    type(typed);
    QCOMPARE(dialog->property("inputText").toString(), typed);
    click(dialog->findChild<QObject*>(QStringLiteral("dialogOkButton")));

    QObject* message = pageObject("messageDialog");
    QTRY_VERIFY(message->property("visible").toBool());
    QCOMPARE(message->property("message").toString(),
             QStringLiteral("Please enter a valid IP Address"));
    QTRY_VERIFY(message->findChild<QObject*>(QStringLiteral("dialogOkButton")));
    click(message->findChild<QObject*>(QStringLiteral("dialogOkButton")));
    QTRY_VERIFY(dialog->property("visible").toBool());
    QCOMPARE(dialog->property("inputText").toString(), typed);
    QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString(),
             QStringLiteral("127.0.0.1"));
    m_shell.screenshot(QStringLiteral("discovery-address-kept-%1.png")
                           .arg(QString(QTest::currentDataTag()).replace(' ', '-')));

    QTest::keyClick(m_shell.loader()->view(), Qt::Key_A, Qt::ControlModifier);
    type(deviceAddress());
    click(dialog->findChild<QObject*>(QStringLiteral("dialogOkButton")));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    QCOMPARE(connections(), connectionsBefore + 1);
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
    visit(QStringLiteral("DeviceDiscovery"), ViewLoader::Discovery);
}

// The first refusal (of the default password) asks for one; a refusal of the password typed
// says so, and the right one then logs in.
void TestDiscoveryPage::refusedPasswordIsSaid()
{
    QCOMPARE(m_device.command(QStringLiteral("fault refuse-login on")), QStringLiteral("ok"));
    QVERIFY(enterDeviceAddress());

    QObject* password = pageObject("passwordDialog");
    QTRY_VERIFY_WITH_TIMEOUT(password->property("visible").toBool(), qx8test::timeoutMs());
    QCOMPARE(password->property("title").toString(), QString());
    QCOMPARE(password->property("message").toString(),
             QStringLiteral("Please enter password to proceed"));
    type(QStringLiteral("notthepassword"));
    click(password->findChild<QObject*>(QStringLiteral("dialogOkButton")));
    QTRY_VERIFY_WITH_TIMEOUT(password->property("visible").toBool() &&
                                 password->property("title").toString() ==
                                     QStringLiteral("The device refused the password"),
                             qx8test::timeoutMs());
    QVERIFY(password->property("showWarning").toBool());
    m_shell.screenshot(QStringLiteral("discovery-password-refused.png"));
    QCOMPARE(password->property("inputText").toString(), QString());
    QVERIFY(!m_device.wireLog()
                 .filter(QRegularExpression(
                     QStringLiteral("RX connect administrator \"notthepassword\"$")))
                 .isEmpty());

    QCOMPARE(m_device.command(QStringLiteral("fault refuse-login off")), QStringLiteral("ok"));
    type(QStringLiteral("quillrampstow"));
    click(password->findChild<QObject*>(QStringLiteral("dialogOkButton")));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::HomeScreen),
                             qx8test::timeoutMs());
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
    visit(QStringLiteral("DeviceDiscovery"), ViewLoader::Discovery);
}

// A device that never greets: the page says it is connecting, then that it could not connect,
// and scans again once the user has read it.
void TestDiscoveryPage::unansweredConnectionIsSaid()
{
    QCOMPARE(m_device.command(QStringLiteral("fault no-banner on")), QStringLiteral("ok"));
    QVERIFY(enterDeviceAddress());

    QObject* busy = pageObject("busyDialog");
    QTRY_VERIFY_WITH_TIMEOUT(busy->property("visible").toBool(), qx8test::timeoutMs());
    QCOMPARE(busy->property("message").toString(), QStringLiteral("Connecting to Spandrell QX8"));
    m_shell.screenshot(QStringLiteral("discovery-connecting.png"));
    QObject* message = pageObject("messageDialog");
    QTRY_VERIFY_WITH_TIMEOUT(message->property("visible").toBool(),
                             TCPAdaptor::kConnectTimeoutMs + qx8test::timeoutMs());
    QCOMPARE(message->property("message").toString(),
             QStringLiteral("Could not establish connection to Spandrell QX8"));
    QVERIFY(!busy->property("visible").toBool());
    m_shell.screenshot(QStringLiteral("discovery-connection-error.png"));

    QCOMPARE(m_device.command(QStringLiteral("fault no-banner off")), QStringLiteral("ok"));
    const int queries = queriesReceived();
    click(message->findChild<QObject*>(QStringLiteral("dialogOkButton")));
    QTRY_VERIFY(!message->property("visible").toBool());
    QTRY_VERIFY_WITH_TIMEOUT(queriesReceived() > queries, qx8test::timeoutMs());
    QVERIFY(m_shell.loader()->isActive(ViewLoader::Discovery));
}

// An open dialog costs the page behind it plus its cursor's blink: a busy animation hidden in
// every dialog kept turning, and the window redrew without a pause while any dialog was open.
// The busy dialog's animation still turns.
void TestDiscoveryPage::openDialogsDrawOnlyWhatMoves()
{
    constexpr int kWindowMs = 2000;
    QTRY_VERIFY(pageObject("manualAddressButton"));
    QMetaObject::invokeMethod(m_shell.pageItem(), "closeDialogs");
    const int pageAlone = framesDrawnIn(kWindowMs);

    QVERIFY(openManualDialog());
    const int withAddressDialog = framesDrawnIn(kWindowMs);
    QVERIFY2(withAddressDialog <= pageAlone + 2 * kWindowMs / 500 + 2,
             qPrintable(QStringLiteral("%1 frames with the dialog open, %2 without")
                            .arg(withAddressDialog)
                            .arg(pageAlone)));

    QMetaObject::invokeMethod(m_shell.pageItem(), "closeDialogs");
    QMetaObject::invokeMethod(m_shell.pageItem(), "showBusy",
                              Q_ARG(QVariant, QStringLiteral("Connecting to Spandrell QX8")));
    QVERIFY(framesDrawnIn(kWindowMs) > pageAlone + 10);
    QMetaObject::invokeMethod(m_shell.pageItem(), "closeDialogs");
}

int main(int argc, char** argv)
{
    qx8test::enterPrivateNetwork();
    QApplication application(argc, argv);
    TestDiscoveryPage test;
    return qx8test::exec(&test, argc, argv);
}

#include "tst_discoverypage.moc"
