// The analytics opt-in and settings-transfer strips in an offscreen window, clicked as a user
// clicks them: the opt-in lands in the settings file on disk, the transfer goes out as GUI
// signals and follows the sync signals.
#include "applicationupdater.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QStandardPaths>
#include <QtQml>
#include <QtTest>
#include <memory>

class TestUtilityStrips : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void optInIsStoredOnDisk();
    void transferFollowsTheSyncSignals();

private:
    QQuickItem* item(const QString& within, const QString& name) const;
    void click(QQuickItem* target);
    static QByteArray settingsFile();

    std::unique_ptr<QQuickView> m_view;
};

void TestUtilityStrips::initTestCase()
{
    qmlRegisterType<QX8Settings>("QX8Settings", 1, 0, "QX8Settings");
    qmlRegisterType<ApplicationUpdater>("ApplicationUpdater", 1, 0, "ApplicationUpdater");
    QX8Settings().setValue(settingskeys::kAppAnalytics, QStringLiteral("true"));
}

void TestUtilityStrips::init()
{
    m_view = std::make_unique<QQuickView>();
    m_view->rootContext()->setContextProperty(QStringLiteral("applicationUpdater"),
                                              ApplicationUpdater::instance());
    m_view->setSource(
        QUrl::fromLocalFile(qx8test::sourceDir() + "/tests/services/qml/StripsPage.qml"));
    QCOMPARE(m_view->status(), QQuickView::Ready);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

QQuickItem* TestUtilityStrips::item(const QString& within, const QString& name) const
{
    QQuickItem* strip = m_view->rootObject()->findChild<QQuickItem*>(within);
    return strip ? strip->findChild<QQuickItem*>(name) : nullptr;
}

void TestUtilityStrips::click(QQuickItem* target)
{
    QVERIFY(target);
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

QByteArray TestUtilityStrips::settingsFile()
{
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/Velmor/QX8Control.conf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestUtilityStrips::optInIsStoredOnDisk()
{
    QCOMPARE(item("applicationStrip", "currentVersion")->property("text").toString(),
             ApplicationUpdater::instance()->applicationVersion());
    QQuickItem* inApplicationStrip = item("applicationStrip", "shareAnalyticsCheckBox");
    QQuickItem* ownStrip = item("shareAnalytics", "shareAnalyticsCheckBox");
    QVERIFY(inApplicationStrip->property("checked").toBool());
    QVERIFY(ownStrip->property("checked").toBool());

    click(inApplicationStrip);
    QVERIFY(settingsFile().contains("appAnalytics=false"));
    init();
    QVERIFY(!item("shareAnalytics", "shareAnalyticsCheckBox")->property("checked").toBool());
    click(item("shareAnalytics", "shareAnalyticsCheckBox"));
    QVERIFY(settingsFile().contains("appAnalytics=true"));
}

void TestUtilityStrips::transferFollowsTheSyncSignals()
{
    QSignalSpy sent(m_view->rootObject(), SIGNAL(guiSignal(QString, QString)));
    QObject* loader = m_view->rootObject()->findChild<QObject*>(QStringLiteral("viewLoader"));
    QQuickItem* send = item("transferSettingsStrip", "sendSettingsButton");
    QQuickItem* receive = item("transferSettingsStrip", "receiveSettingsButton");
    QQuickItem* status = item("transferSettingsStrip", "transferStatus");

    click(send);
    QCOMPARE(sent.takeFirst(), QVariantList({"SendDB", ""}));
    QVERIFY(!send->isEnabled() && !receive->isEnabled());
    QMetaObject::invokeMethod(loader, "syncProgress", Q_ARG(double, 40));
    QCOMPARE(item("transferSettingsStrip", "transferProgress")->property("value").toDouble(), 40);
    QMetaObject::invokeMethod(loader, "syncError", Q_ARG(QString, "The device went away."));
    QVERIFY(send->isEnabled());
    QCOMPARE(status->property("text").toString(), QStringLiteral("The device went away."));

    click(receive);
    QCOMPARE(sent.takeFirst(), QVariantList({"ReceiveDB", ""}));
    QMetaObject::invokeMethod(loader, "syncFinished");
    QVERIFY(receive->isEnabled());
    QCOMPARE(status->property("text").toString(), QStringLiteral("Settings transferred."));
}

QX8_TEST_MAIN(TestUtilityStrips)
#include "tst_utilitystrips.moc"
