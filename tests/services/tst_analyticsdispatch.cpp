// The application's analytics as the collector on loopback receives them: nothing at all while
// the user has not opted in ("Share App Analytics"), screen views from the GUI signals once
// they have, and never the device password.
#include "appanalytics.h"
#include "collectedhits.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QTemporaryDir>
#include <QtTest>

class TestAnalyticsDispatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void nothingLeavesUntilTheUserOptsIn();
    void passwordNeverReachesTheCollector();
    void cleanupTestCase();

private:
    // The accepted screen views since the test began.
    QList<CollectedHit> screenViews() const;

    QTemporaryDir m_served;
    HttpServerProcess m_collector;
    ShellFixture m_shell;
};

void TestAnalyticsDispatch::initTestCase()
{
    QVERIFY(m_collector.start(m_served.path()));
    qputenv("QX8_ANALYTICS_URL", m_collector.url(QStringLiteral("/collect")).toEncoded());
    QX8Settings settings;
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    QVERIFY(m_shell.start());
    AppAnalytics::getInstance()->setSendInterval(50);
}

QList<CollectedHit> TestAnalyticsDispatch::screenViews() const
{
    QList<CollectedHit> views;
    for (const CollectedHit& hit : accepted(collectedHits(m_collector))) {
        if (hit.value(QStringLiteral("t")) == QLatin1String("screenview"))
            views << hit;
    }
    return views;
}

// Start-up queued the platform event; it waits, and the opted-out view is never built.
void TestAnalyticsDispatch::nothingLeavesUntilTheUserOptsIn()
{
    m_shell.guiSignal(QStringLiteral("Presets"), QStringLiteral("p 1"));
    QTest::qWait(300);
    QVERIFY(collectedHits(m_collector).isEmpty());

    QX8Settings().setValue(settingskeys::kAppAnalytics, QStringLiteral("true"));
    m_shell.guiSignal(QStringLiteral("Utilities"), QStringLiteral("u 1"));
    QTRY_COMPARE_WITH_TIMEOUT(collectedHits(m_collector).size(), 2, qx8test::timeoutMs());
    QCOMPARE(collectedHits(m_collector).at(0).value(QStringLiteral("ec")),
             QStringLiteral("Platform"));
    const CollectedHit view = screenViews().value(0);
    QCOMPARE(view.value(QStringLiteral("cd")), QStringLiteral("Utilities"));
    QCOMPARE(view.items.at(view.items.size() - 2),
             qMakePair(QStringLiteral("Payload"), QStringLiteral("u 1")));
}

// The password is also the name of a screen: only that screen's own view may carry the text.
void TestAnalyticsDispatch::passwordNeverReachesTheCollector()
{
    const QString password = QStringLiteral("Utilities");
    const int before = screenViews().size();
    VirtualProcessor device;
    QVERIFY(device.start({QStringLiteral("--password"), password}));
    const QString payload = device.address() + ':' + password;
    const QString login = QStringLiteral("connect administrator \"%1\"").arg(password);
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), payload);
    QVERIFY(device.waitForReceived(login));
    m_shell.guiSignal(QStringLiteral("EnterPassword"), payload);
    m_shell.guiSignal(QStringLiteral("Utilities"));
    // Hits leave in order: once this screen's view is in, the two before it are too.
    const auto screenViewArrived = [&] {
        const QList<CollectedHit> views = screenViews().mid(before);
        return std::any_of(views.begin(), views.end(), [&](const CollectedHit& hit) {
            return hit.value(QStringLiteral("cd")) == password;
        });
    };
    QTRY_VERIFY_WITH_TIMEOUT(screenViewArrived(), qx8test::timeoutMs());

    QStringList logins;
    QStringList carriers;
    for (const CollectedHit& hit : screenViews().mid(before)) {
        const QString screen = hit.value(QStringLiteral("cd"));
        if (screen == QLatin1String("ConnectDevice") || screen == QLatin1String("EnterPassword")) {
            logins << screen;
            QCOMPARE(hit.value(QStringLiteral("Payload")), device.address());
        }
        if (hit.request.body.contains(password.toUtf8()))
            carriers << screen;
    }
    QCOMPARE(logins, QStringList({"ConnectDevice", "EnterPassword"}));
    QCOMPARE(carriers, QStringList{password});
    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
}

// The application ends as it does for a user: its event loop returns and the client closes
// its connections before the objects go.
void TestAnalyticsDispatch::cleanupTestCase()
{
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    QCOMPARE(qApp->exec(), 0);
}

QX8_TEST_MAIN(TestAnalyticsDispatch)
#include "tst_analyticsdispatch.moc"
