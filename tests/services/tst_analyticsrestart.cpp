// Hits queued while the collector is down survive a deactivation and a killed process: the
// real QX8Control, started again, sends them once each and in order when its window becomes
// active. A probe plays the first run (nothing outside can take the focus from the window).
#include "collectedhits.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestAnalyticsRestart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void queuedHitsSurviveAKill();
};

void TestAnalyticsRestart::queuedHitsSurviveAKill()
{
    QTemporaryDir served;
    HttpServerProcess collector;
    QVERIFY(collector.start(served.path(), {QStringLiteral("/collect=503")}));
    qputenv("QX8_ANALYTICS_URL", collector.url(QStringLiteral("/collect")).toEncoded());
    QFile queueFile(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/yoxl/QX8/appanalytics/analyticsData.json"));
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(QX8_ANALYTICS_PROBE), {"Presets", "Utilities"});
    QTRY_VERIFY_WITH_TIMEOUT(probe.canReadLine(), qx8test::timeoutMs());
    QCOMPARE(probe.readLine(), QByteArray("deactivated\n"));
    QElapsedTimer downtime;
    downtime.start();
    probe.kill();
    QVERIFY(probe.waitForFinished(qx8test::timeoutMs()));
    QVERIFY(queueFile.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(queueFile.readAll()).array().size(), 3);

    QVERIFY(collector.setFault(QStringLiteral("/collect"), QStringLiteral("off")));
    QX8Settings().setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QProcess application;
    application.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 down = downtime.elapsed();
    application.start(QStringLiteral(QX8_CONTROL_PATH), QStringList());
    // An event is named by its category, a screen view by its screen.
    const auto sent = [&collector] {
        QStringList names;
        for (const CollectedHit& hit : accepted(collectedHits(collector)))
            names << hit.value(QStringLiteral("ec")) + hit.value(QStringLiteral("cd"));
        return names;
    };
    QTRY_COMPARE_WITH_TIMEOUT(sent().mid(0, 3), QStringList({"Platform", "Presets", "Utilities"}),
                              5000 + qx8test::timeoutMs());
    QTRY_VERIFY(!queueFile.exists());
    application.terminate();
    QVERIFY(application.waitForFinished(qx8test::timeoutMs()));
    QCOMPARE(sent().count(QStringLiteral("Platform")), 1);

    // The queue time counts from the first run's queueing, across the downtime.
    const CollectedHit platform = accepted(collectedHits(collector)).first();
    QVERIFY(platform.value(QStringLiteral("qt")).toLongLong() >= down);
    QCOMPARE(platform.value(QStringLiteral("tid")), QStringLiteral("UA-502846137-3"));
    const QSettings store(QLatin1String(settingskeys::kDefaultStore.organization),
                          QLatin1String(settingskeys::kDefaultStore.application));
    QCOMPARE(platform.value(QStringLiteral("cid")),
             store.value(settingskeys::kAnalyticsClientId).toString());
    QVERIFY(store.value(settingskeys::kAnalyticsPlatformSent).toBool());
}

QX8_TEST_MAIN(TestAnalyticsRestart)
#include "tst_analyticsrestart.moc"
