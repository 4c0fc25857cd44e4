// The analytics client against a collector on loopback: every parameter of a hit in order, the
// headers, and the queue while the collector refuses, holds and comes back, and across
// deactivation (announced as the platform announces it) with sound and damaged queue files, and
// in the flat list of the queue, read back by another client that sends it.
#include "analyticsqueuefile.h"
#include "appanalytics.h"
#include "appanalytics_p.h"
#include "collectedhits.h"
#include "datafolders.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"
#include "watchedfifo.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

using Action = std::function<void(AppAnalytics&)>;
using Items = QList<QPair<QString, QString>>;
Q_DECLARE_METATYPE(Action)

class TestAnalyticsClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void hitCarriesItsParameters_data();
    void hitCarriesItsParameters();
    void userIdGoesWithLaterHits();
    void headersAndQueueTime();
    void waitsForTheCollectorAndKeepsOrder();
    void limitDropsTheOldest();
    void lateAnswerRemovesItsOwnHit();
    void queueFileIsRestored_data();
    void queueFileIsRestored();
    void queueFileReadsBackWhatItWrote_data();
    void queueFileReadsBackWhatItWrote();
    void fullQueueFileIsReadOffTheGuiThread();
    void queueFileLeftAloneIsSaidOnce();
    void flatListCarriesTheQueue();

private:
    QList<CollectedHit> newHits() const { return collectedHits(m_collector).mid(m_before); }
    // Screen names of the new hits the collector accepted, in order.
    QStringList acceptedScreens() const;
    bool sendAndWaitUntilIdle();
    static void announce(Qt::ApplicationState state)
    {
        Q_EMIT qGuiApp->applicationStateChanged(state);
    }
    static Items standardItems(const QString& type);

    QTemporaryDir m_data;
    QString m_queueFile;
    HttpServerProcess m_collector;
    std::unique_ptr<AppAnalytics> m_client;
    int m_before = 0;
};

namespace {
const QString kTrackingId = QStringLiteral("UA-1-1");
const Items kApplication{{"an", "Spandrell QX8"}, {"av", "1.1.2"}};
} // namespace

void TestAnalyticsClient::initTestCase()
{
    qApp->setOrganizationName(QLatin1String(settingskeys::kDefaultStore.organization));
    qApp->setApplicationName(QLatin1String(settingskeys::kDefaultStore.application));
    g_genericDataLocation = m_data.path();
    m_queueFile = m_data.filePath(QStringLiteral("appanalytics/analyticsData.json"));
    QX8Settings().setValue(settingskeys::kAppAnalytics, QStringLiteral("true"));
    QVERIFY(m_collector.start(m_data.path()));
    qputenv("QX8_ANALYTICS_URL", m_collector.url(QStringLiteral("/collect")).toEncoded());
    // The first hit of an installation makes the client id that every hit then carries.
    QVERIFY(!QSettings().contains(settingskeys::kAnalyticsClientId));
    AppAnalytics().sendEvent(QStringLiteral("Session"), QStringLiteral("Start"));
    QCOMPARE(QSettings().value(settingskeys::kAnalyticsClientId).toString().size(), 38);
    QFile::remove(m_queueFile); // the hit stays unsent
}

void TestAnalyticsClient::init()
{
    QVERIFY(m_collector.setFault(QStringLiteral("/collect"), QStringLiteral("off")));
    m_before = collectedHits(m_collector).size();
    m_client = std::make_unique<AppAnalytics>();
    m_client->setTrackingID(kTrackingId);
    m_client->setSendInterval(50);
}

void TestAnalyticsClient::cleanup()
{
    m_client.reset();
    QFile::remove(m_queueFile);
}

QStringList TestAnalyticsClient::acceptedScreens() const
{
    QStringList screens;
    for (const CollectedHit& hit : accepted(newHits()))
        screens << hit.value(QStringLiteral("cd"));
    return screens;
}

// The queue is empty once the client stops sending after the collector accepted everything.
bool TestAnalyticsClient::sendAndWaitUntilIdle()
{
    QSignalSpy idle(m_client.get(), &AppAnalytics::isSendingChanged);
    m_client->startSending();
    return QTest::qWaitFor([&] { return !idle.isEmpty() && !m_client->isSending(); },
                           qx8test::timeoutMs());
}

// Under the test launcher the locale is C and the offscreen screen 800 x 600.
Items TestAnalyticsClient::standardItems(const QString& type)
{
    const QString clientId = QSettings().value(settingskeys::kAnalyticsClientId).toString();
    return {{"v", "1"},  {"tid", kTrackingId}, {"cid", clientId}, {"t", type},
            {"ul", "c"}, {"vp", ""},           {"sr", "800x600"}};
}

// Each row queues exactly one hit; the derived events are asked for twice.
void TestAnalyticsClient::hitCarriesItsParameters_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<Items>("expected");
    const QString odd = QStringLiteral("1+2+3 & a=b %41\r\nx\u00dc\u65e5");
    const Items view = standardItems("screenview");
    const Items event = standardItems("event") + kApplication;
    QTest::newRow("screen view") << Action([](AppAnalytics& a) {
        a.sendScreenView("Presets", {{"Payload", "p"}});
    }) << view + Items{{"cd", "Presets"}} + kApplication + Items{{"Payload", "p"}};
    QTest::newRow("characters a form must protect")
        << Action([odd](AppAnalytics& a) { a.sendScreenView(odd); })
        << view + Items{{"cd", odd}} + kApplication;
    QTest::newRow("event with label and value 0")
        << Action([](AppAnalytics& a) { a.sendEvent("C", "A", "x", 0); })
        << event + Items{{"ec", "C"}, {"ea", "A"}, {"el", "x"}, {"ev", "0"}};
    QTest::newRow("exception, custom values in key order")
        << Action([](AppAnalytics& a) {
               a.sendException("E", false, {{"b", 2}, {"a", "x"}});
           })
        << standardItems("exception") + kApplication +
               Items{{"exd", "E"}, {"exf", "0"}, {"a", "x"}, {"b", "2"}};
    QTest::newRow("device by prefix, once per run") << Action([](AppAnalytics& a) {
        for (int run = 0; run < 2; ++run)
            a.sendUniqueDeviceEvents({"Console", "zq2 Stage"});
    }) << event + Items{{"ec", "ioSYSDevice"}, {"ea", "Mic_Zq2"}};
    QTest::newRow("platform once per installation") << Action([](AppAnalytics& a) {
        QSettings().remove(settingskeys::kAnalyticsPlatformSent);
        a.sendPlatformData();
        AppAnalytics().sendPlatformData();
    }) << event + Items{{"ec", "Platform"}, {"ea", AppAnalytics::getOSVersion()}};
}

void TestAnalyticsClient::hitCarriesItsParameters()
{
    QFETCH(Action, action);
    QFETCH(Items, expected);
    action(*m_client);
    QVERIFY(sendAndWaitUntilIdle());
    QCOMPARE(newHits().size(), 1);
    QCOMPARE(newHits().first().withoutQueueTime(), expected);
    QCOMPARE(newHits().first().items.last().first, QStringLiteral("qt"));
    QVERIFY(!newHits().first().request.body.contains('+'));
}

// Set once, the user id goes with the hits of every client made afterwards, after "cid".
void TestAnalyticsClient::userIdGoesWithLaterHits()
{
    AppAnalytics::Private(m_client.get()).setUserID(QStringLiteral("stage left"));
    QCOMPARE(QSettings().value(settingskeys::kAnalyticsUserId).toString(),
             QStringLiteral("stage left"));
    m_client = std::make_unique<AppAnalytics>();
    m_client->setTrackingID(kTrackingId);
    m_client->sendScreenView(QStringLiteral("Presets"));
    QVERIFY(sendAndWaitUntilIdle());
    QSettings().remove(settingskeys::kAnalyticsUserId);
    Items expected = standardItems("screenview");
    expected.insert(3, {"uid", "stage left"});
    QCOMPARE(newHits().size(), 1);
    const Items view{{"cd", "Presets"}};
    QCOMPARE(newHits().first().withoutQueueTime(), expected + view + kApplication);
}

void TestAnalyticsClient::headersAndQueueTime()
{
    m_client = std::make_unique<AppAnalytics>();
    QElapsedTimer sinceQueued;
    sinceQueued.start();
    m_client->sendScreenView(QStringLiteral("first"));
    m_client->sendScreenView(QStringLiteral("second"));
    QTest::qWait(250);
    QVERIFY(sendAndWaitUntilIdle());
    const QString userAgent = QStringLiteral("Spandrell QX8/1.1.2 (%1; %2; C) AppAnalytics/1.0 "
                                             "(Qt/5.15.2)")
                                  .arg(QSysInfo::productType(), QSysInfo::productVersion());
    for (const CollectedHit& hit : newHits()) {
        QCOMPARE(hit.request.header("Content-Type"), "application/x-www-form-urlencoded");
        QCOMPARE(hit.request.header("User-Agent"), userAgent.toUtf8());
        QCOMPARE(hit.request.header("Content-Length").toInt(), hit.request.body.size());
        const int queueTime = hit.value(QStringLiteral("qt")).toInt();
        QVERIFY(queueTime >= 250 && queueTime <= sinceQueued.elapsed());
    }
    QCOMPARE(newHits().at(0).request.header("Connection").toLower(), "keep-alive");
    QCOMPARE(newHits().at(1).request.header("Connection").toLower(), "close");
    // Neither a tracking id nor a viewport size was set: bare keys.
    QVERIFY(newHits().at(0).request.body.startsWith("v=1&tid&cid="));
    QVERIFY(newHits().at(0).request.body.contains("&vp&sr="));
}

// Only the head is tried while the collector refuses, each time with a longer queue time.
void TestAnalyticsClient::waitsForTheCollectorAndKeepsOrder()
{
    QVERIFY(m_collector.setFault(QStringLiteral("/collect"), QStringLiteral("503")));
    for (const char* screen : {"A", "B", "C"})
        m_client->sendScreenView(screen);
    QTRY_VERIFY_WITH_TIMEOUT(newHits().size() >= 3, qx8test::timeoutMs());
    QVERIFY(m_collector.setFault(QStringLiteral("/collect"), QStringLiteral("off")));
    QTRY_COMPARE_WITH_TIMEOUT(acceptedScreens(), QStringList({"A", "B", "C"}),
                              qx8test::timeoutMs());
    int lastQueueTime = -1;
    for (const CollectedHit& hit : newHits()) {
        if (hit.request.status == 503) {
            QCOMPARE(hit.value(QStringLiteral("cd")), QStringLiteral("A"));
            QVERIFY(hit.value(QStringLiteral("qt")).toInt() > lastQueueTime);
            lastQueueTime = hit.value(QStringLiteral("qt")).toInt();
        }
    }
    QTest::qWait(200);
    QCOMPARE(acceptedScreens(), QStringList({"A", "B", "C"}));
}

void TestAnalyticsClient::limitDropsTheOldest()
{
    QStringList expected;
    for (int hit = 0; hit <= 100; ++hit) {
        m_client->sendScreenView(QString::number(hit));
        expected << QString::number(hit);
    }
    expected.removeFirst();
    QTRY_COMPARE_WITH_TIMEOUT(acceptedScreens().size(), 100, qx8test::timeoutMs());
    QCOMPARE(acceptedScreens(), expected);
}

// The hit in flight went to the file and a new one was queued: the late acceptance takes the
// sent hit out of the file and leaves the new one, so each arrives once.
void TestAnalyticsClient::lateAnswerRemovesItsOwnHit()
{
    QVERIFY(m_collector.setFault(QStringLiteral("/collect"), QStringLiteral("hold")));
    m_client->sendScreenView(QStringLiteral("A"));
    m_client->startSending();
    announce(Qt::ApplicationInactive);
    QVERIFY(QFile::exists(m_queueFile));
    m_client->sendScreenView(QStringLiteral("B"));
    QVERIFY(m_collector.setFault(QStringLiteral("/collect"), QStringLiteral("off")));
    QTRY_COMPARE_WITH_TIMEOUT(acceptedScreens(), QStringList({"A", "B"}), qx8test::timeoutMs());
    QVERIFY(!QFile::exists(m_queueFile));
    announce(Qt::ApplicationActive);
    m_client->sendScreenView(QStringLiteral("C"));
    QTRY_COMPARE_WITH_TIMEOUT(acceptedScreens(), QStringList({"A", "B", "C"}),
                              qx8test::timeoutMs());
}

void TestAnalyticsClient::queueFileIsRestored_data()
{
    const QString now = QDateTime::currentDateTime().toString(Qt::TextDate);
    const auto hit = [&now](const char* screen) {
        return QJsonObject{{"time", now}, {"url", QStringLiteral("v=1&cd=") + screen}};
    };
    const QByteArray whole = QJsonDocument(QJsonArray{hit("X"), hit("Y")}).toJson();
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QStringList>("restored");
    QTest::addColumn<QString>("warning");
    QTest::newRow("whole") << whole << qint64(-1) << QStringList({"X", "Y"}) << QString();
    QTest::newRow("cut") << whole.left(whole.size() / 2) << qint64(-1) << QStringList()
                         << "not a JSON array: unterminated array";
    QTest::newRow("100 MiB") << whole << qint64(100) * 1024 * 1024 << QStringList()
                             << "of 104857600 bytes, more than 4194304";
    QTest::newRow("object") << QJsonDocument(hit("X")).toJson() << qint64(-1) << QStringList()
                            << "not a JSON array";
    QTest::newRow("hostile elements")
        << QJsonDocument(QJsonArray{5, QJsonObject{{"url", 7}}, hit("Y"),
                                    QJsonObject{{"time", "never"}, {"url", "cd=Z"}}})
               .toJson()
        << qint64(-1) << QStringList({"Y"}) << "Ignored 3 unreadable hits";
}

// Restored hits follow the hit queued before the activation; the file is gone either way.
void TestAnalyticsClient::queueFileIsRestored()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(QStringList, restored);
    QFETCH(QString, warning);
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
    QFile file(m_queueFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    QVERIFY(size < 0 || file.resize(size));
    file.close();
    m_client->sendScreenView(QStringLiteral("first"));
    announce(Qt::ApplicationActive);
    QVERIFY(!QFile::exists(m_queueFile));
    QTRY_COMPARE_WITH_TIMEOUT(acceptedScreens(), QStringList{"first"} + restored,
                              qx8test::timeoutMs());
}

void TestAnalyticsClient::queueFileReadsBackWhatItWrote_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QDateTime>("read");
    const QDateTime sixth(QDate(2023, 12, 6), QTime(22, 10, 2));
    QTest::newRow("whole seconds") << sixth.toString(Qt::TextDate) << sixth;
    QTest::newRow("fraction of a second") << "Wed Dec  6 22:10:02.25 2023" << sixth;
    QTest::newRow("two-digit year")
        << "Sat Dec  6 22:10:02.999 03" << QDateTime(QDate(3, 12, 6), QTime(22, 10, 2));
}

// The file holds whole seconds: a time another program wrote with a fraction is read without
// it, and what is written back reads back the same.
void TestAnalyticsClient::queueFileReadsBackWhatItWrote()
{
    QFETCH(QString, written);
    QFETCH(QDateTime, read);
    QFile file(m_queueFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QJsonDocument(QJsonArray{QJsonObject{{"time", written}, {"url", "v=1&cd=X"}}}).toJson());
    file.close();
    const AnalyticsQueueFile queue(m_queueFile);
    const QList<QueryBuffer> hits = queue.take();
    QCOMPARE(hits.size(), 1);
    QCOMPARE(hits.first().time, read);
    QVERIFY(queue.write(hits));
    const QList<QueryBuffer> again = queue.take();
    QCOMPARE(again.size(), 1);
    QCOMPARE(again.first().time, read);
    QCOMPARE(again.first().postQuery.text(), QByteArray("v=1&cd=X"));
}

// A queue file of 4 MiB of sound hits: the activation takes it in about the time it takes with
// no file at all (reading its hits would hold the GUI thread for a second), and its last 1,000
// hits, in order, come back into the queue, as the deactivation then writes them.
void TestAnalyticsClient::fullQueueFileIsReadOffTheGuiThread()
{
    m_client->setIsAnalyticsAllowed(false); // the hits stay queued
    auto allow = qScopeGuard([&] { m_client->setIsAnalyticsAllowed(true); });
    QElapsedTimer clock;
    clock.start();
    announce(Qt::ApplicationActive);
    const qint64 withoutFile = clock.elapsed();
    announce(Qt::ApplicationInactive);

    const QString time = QDateTime::currentDateTime().toString(Qt::TextDate);
    const QString hit =
        QStringLiteral("{\"time\": \"%1\", \"url\": \"v=1&tid=UA-1-1&cid=%7B6c0c7e9e-"
                       "1d0c-4a83-9a3c-2f2a8d5e3c11%7D&t=screenview&ul=c&vp=1024x768&"
                       "sr=800x600&an=Spandrell%20QX8&av=1.1.2&cd=%2\"}");
    QByteArray content = "[";
    int hits = 0;
    for (; content.size() < AnalyticsQueueFile::kMaximumBytes - 1024; ++hits)
        content += (hits ? ",\n" : "\n") + hit.arg(time).arg(hits).toUtf8();
    content += "\n]\n";
    QFile file(m_queueFile);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();

    clock.restart();
    announce(Qt::ApplicationActive);
    const qint64 withFile = clock.elapsed();
    qInfo("activation: %lld ms with %d hits in the file, %lld ms without", withFile, hits,
          withoutFile);
    QVERIFY(!QFile::exists(m_queueFile));
    QVERIFY2(withFile - withoutFile < 50, qPrintable(QString::number(withFile)));

    announce(Qt::ApplicationInactive);
    const QJsonArray written = QJsonDocument::fromJson(qx8test::fileContent(m_queueFile)).array();
    QCOMPARE(written.size(), AnalyticsQueueFile::kMaximumHits);
    const auto screen = [&written](int index) {
        return FormQuery::fromText(written.at(index).toObject().value("url").toString().toUtf8())
            .text()
            .split('=')
            .last();
    };
    QCOMPARE(screen(0), QByteArray::number(hits - AnalyticsQueueFile::kMaximumHits));
    QCOMPARE(screen(AnalyticsQueueFile::kMaximumHits - 1), QByteArray::number(hits - 1));
}

// A FIFO in the queue file's place is left alone, unopened, at every activation and every
// deactivation that would write the queue, and that is said once.
void TestAnalyticsClient::queueFileLeftAloneIsSaidOnce()
{
    QVERIFY(m_collector.setFault(QStringLiteral("/collect"), QStringLiteral("503")));
    m_client->sendScreenView(QStringLiteral("kept"));
    QVERIFY(QDir().mkpath(QFileInfo(m_queueFile).path()));
    const qx8test::WatchedFifo fifo(m_queueFile);
    QVERIFY(fifo.isMade());
    qx8test::expectWarnings("Left the queue file .* alone: it is not a regular file$");
    for (int round = 0; round < 3; ++round) {
        announce(Qt::ApplicationActive);
        announce(Qt::ApplicationInactive);
    }
    QVERIFY(!fifo.wasOpened());
}

// Each hit as its form text and its time to the millisecond; read into another client, the list
// ends at its first pair with an empty text, and the hits go out as they were queued.
void TestAnalyticsClient::flatListCarriesTheQueue()
{
    AppAnalytics::Private written(m_client.get());
    written.trackingID = kTrackingId;
    for (const char* screen : {"A", "B & C"}) {
        FormQuery hit = written.buildStandardPostQuery(QStringLiteral("screenview"));
        hit.addItem(QStringLiteral("cd"), QString::fromUtf8(screen));
        written.enqueQueryWithCurrentTime(hit);
    }
    const QDateTime queued = written.messageQueue.constFirst().time;
    const QList<QString> flat = written.persistMessageQueue();
    written.messageQueue.clear();
    QCOMPARE(flat.size(), 4);
    QVERIFY(flat.at(0).contains(QStringLiteral("&cd=A")));
    QCOMPARE(flat.at(1), queued.toString(QStringLiteral("yyyy,MM,dd-hh:mm::ss:zzz")));

    AppAnalytics::Private read(m_client.get());
    read.readMessagesFromFile(flat + QList<QString>{"", flat.at(1), "v=1&cd=D", flat.at(1)});
    QCOMPARE(read.persistMessageQueue(), flat);
    QCOMPARE(read.messageQueue.constFirst().time, queued);
    read.readMessagesFromFile({"v=1&cd=E"}); // a last item without its time
    QCOMPARE(read.messageQueue.size(), 2);

    QSignalSpy idle(m_client.get(), &AppAnalytics::isSendingChanged);
    read.postMessage();
    QTRY_COMPARE_WITH_TIMEOUT(acceptedScreens(), QStringList({"A", "B & C"}), qx8test::timeoutMs());
    QTRY_VERIFY(!idle.isEmpty() && !idle.last().first().toBool());
    QVERIFY(read.messageQueue.isEmpty());
    const qint64 waited = queued.msecsTo(QDateTime::currentDateTime());
    QVERIFY(accepted(newHits()).first().value(QStringLiteral("qt")).toLongLong() <= waited);
}

QX8_TEST_MAIN(TestAnalyticsClient)
#include "tst_analyticsclient.moc"
