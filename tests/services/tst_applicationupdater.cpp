// The application updater against the harness HTTP server: the check with its exact signal order,
// the download onto disk, every kind of failed transfer ending in its text, image addresses and
// bodies a hostile feed may give, feeds that cannot be read (for both updaters), redirects of the
// feed, compressed bodies that inflate past their ceiling, the cached image offered after a
// failed check, and a late answer that must not fill a newer request. (Cancel and the test feed
// are driven through the Utilities screen, tst_utilitiesscreen.)
#include "applicationupdater.h"
#include "downloadlimits.h"
#include "firmwareupdater.h"
#include "peakmemory.h"
#include "privatemounts.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"
#include "updatecloud.h"

#include <QDir>
#include <QScopeGuard>
#include <QTcpServer>
#include <QtTest>

using namespace std::chrono_literals;

class TestApplicationUpdater : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void checkFindsTheNewestMacBuildAndDownloadsIt();
    void failedTransfersEndInTheirText_data();
    void failedTransfersEndInTheirText();
    void hostileImagesEndInTheirCause_data();
    void hostileImagesEndInTheirCause();
    void unreadableFeedsEndInTheParseError_data();
    void unreadableFeedsEndInTheParseError();
    void feedRedirectsFollowTheImageRule_data();
    void feedRedirectsFollowTheImageRule();
    void compressionBombsStopAtTheCeiling_data();
    void compressionBombsStopAtTheCeiling();
    void failedCheckOffersTheCachedImage();
    void checkDuringDownloadDropsTheDownload();
    void firmwareDownloadGoesPastAFolderInItsWay();

private:
    // Runs a check to its end on `updater`.
    void check(ApplicationUpdater& updater);
    QStringList cacheFiles() const;
    // Serves `feed` as the production feed; every test starts with the cloud's own.
    bool serveFeed(const QByteArray& feed) const;
    // The error text an updater reported last.
    static QString lastError(const SignalRecorder& recorder);

    UpdateCloud m_cloud;
    QByteArray m_feed;
    // Serves the cloud's files from a second host, which the image hosts list.
    HttpServerProcess m_mirror;
};

void TestApplicationUpdater::initTestCase()
{
    qRegisterMetaType<ApplicationUpdater::UpdateState>(); // for the recorded signal arguments
    QVERIFY(m_cloud.start());
    m_feed = m_cloud.file(UpdateCloud::kFeed);
    QVERIFY(m_mirror.start(m_cloud.rootPath()));
    qputenv("QX8_IMAGE_HOSTS", m_mirror.url(QString()).authority().toUtf8());
}

void TestApplicationUpdater::init()
{
    ApplicationUpdater().clearCache();
    QVERIFY(serveFeed(m_feed));
}

bool TestApplicationUpdater::serveFeed(const QByteArray& feed) const
{
    QFile file(m_cloud.rootPath() + UpdateCloud::kFeed);
    return file.open(QIODevice::WriteOnly) && file.write(feed) == feed.size();
}

void TestApplicationUpdater::check(ApplicationUpdater& updater)
{
    QSignalSpy answered(&updater, &ApplicationUpdater::latestVersionWithUrl);
    updater.checkForUpdate();
    QTRY_COMPARE(answered.count(), 1);
}

QStringList TestApplicationUpdater::cacheFiles() const
{
    return QDir(ApplicationUpdater().cacheFolder()).entryList(QDir::Files);
}

QString TestApplicationUpdater::lastError(const SignalRecorder& recorder)
{
    return recorder.emissions()
        .at(recorder.names().lastIndexOf("error"))
        .arguments.at(0)
        .toString();
}

void TestApplicationUpdater::checkFindsTheNewestMacBuildAndDownloadsIt()
{
    ApplicationUpdater updater;
    SignalRecorder signals_(&updater);
    QTest::ignoreMessage(QtDebugMsg, "Latest app version \"1.1.7\"");
    check(updater);
    QCOMPARE(signals_.names(),
             QStringList({"isIdleChanged", "updateStateChanged", "requestCheckForUpdate",
                          "downloadInProgressChanged", "updateStateChanged", "updateStateChanged",
                          "latestVersionChanged", "latestVersionWithUrl", "isIdleChanged"}));
    QCOMPARE(signals_.emissions().at(5).arguments.at(0).value<ApplicationUpdater::UpdateState>(),
             ApplicationUpdater::DownloadUpdate);
    QCOMPARE(
        signals_.emissions().at(7).arguments,
        QVariantList({"1.1.7", m_cloud.server().url(UpdateCloud::kApplicationImage).toString()}));
    QCOMPARE(m_cloud.requestsFor(UpdateCloud::kFeed), 1);

    signals_.clear();
    updater.downLoadUpdate();
    QTRY_COMPARE(signals_.count("updateDownloaded"), 1);
    QCOMPARE(signals_.names({"downloadInProgressChanged", "updateStateChanged", "updateDownloaded",
                             "isIdleChanged"}),
             QStringList({"isIdleChanged", "downloadInProgressChanged", "downloadInProgressChanged",
                          "updateStateChanged", "updateStateChanged", "updateDownloaded",
                          "isIdleChanged"}));
    QCOMPARE(updater.updateState(), ApplicationUpdater::InstallUpdate);
    QCOMPARE(updater.progress(), 100.0f);
    QCOMPARE(cacheFiles(), QStringList{"1.1.7.dmg"});
    QCOMPARE(qx8test::fileContent(updater.cacheFolder() + "/1.1.7.dmg"),
             m_cloud.file(UpdateCloud::kApplicationImage));
}

void TestApplicationUpdater::failedTransfersEndInTheirText_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("text");
    const QString unreachable = "Failed to connect to update server. Please check your internet "
                                "connection and try again.";
    QTest::newRow("feed 404") << UpdateCloud::kFeed << "404"
                              << "The content requested was not found in the remote server. "
                                 "Please contact customer care.";
    QTest::newRow("feed 500") << UpdateCloud::kFeed << "500"
                              << "The server is temporarily unable to handle the request at this "
                                 "time. Please try again after sometime.";
    QTest::newRow("image stalls") << UpdateCloud::kApplicationImage << "stall"
                                  << "The connection timed out. Please check your internet "
                                     "connection and try again.";
    QTest::newRow("image cut short") << UpdateCloud::kApplicationImage << "cut" << unreachable;
    QTest::newRow("image redirected for ever")
        << UpdateCloud::kApplicationImage << "redirect-loop"
        << "Unknown network error. Please check your internet connection and try again.";
}

void TestApplicationUpdater::failedTransfersEndInTheirText()
{
    QFETCH(QString, path);
    QFETCH(QString, fault);
    QFETCH(QString, text);
    ApplicationUpdater updater;
    updater.setStallLimit(300ms);
    const bool imageFails = path == UpdateCloud::kApplicationImage;
    if (imageFails)
        check(updater);
    QVERIFY(m_cloud.server().setFault(path, fault));
    SignalRecorder signals_(&updater);
    if (imageFails)
        updater.downLoadUpdate();
    else
        updater.checkForUpdate();
    QTRY_COMPARE(signals_.count("error"), 1);
    QVERIFY(m_cloud.server().setFault(path, "off"));
    QCOMPARE(signals_.emissions().at(signals_.names().indexOf("error")).arguments.at(0), text);
    QCOMPARE(signals_.names({"latestVersionChanged", "error"}).mid(0, 2),
             QStringList({"latestVersionChanged", "error"}));
    QTRY_COMPARE(updater.updateState(), ApplicationUpdater::CheckForUpdate);
    QVERIFY(updater.latestVersion().isEmpty());
    QVERIFY(updater.isIdle());
    QVERIFY(cacheFiles().isEmpty());
}

void TestApplicationUpdater::hostileImagesEndInTheirCause_data()
{
    QTest::addColumn<QString>("imageUrl"); // %1 the cloud, %2 a host not listed, %3 the mirror
    QTest::addColumn<QString>("fault");    // of the image on the cloud
    QTest::addColumn<bool>("smallDisk");   // the cache on a disk of 32 KiB
    QTest::addColumn<QString>("text");     // in the error; empty for a download that succeeds
    const QString image = UpdateCloud::kApplicationImage;
    QTest::newRow("a listed host") << "%3" + image << "" << false << "";
    QTest::newRow("a local file") << "file://" + qx8test::sourceDir() + "/README.md"
                                  << "" << false << "Refused to download file://";
    QTest::newRow("a host not listed")
        << "%2" + image << "" << false << "Refused to download http://";
    QTest::newRow("redirect to a host not listed")
        << "%1" + image << "redirect:%2" + image << false << "redirected to http://";
    QTest::newRow("endless image onto a full disk")
        << "%1" + image << "endless" << true << "No space left on device";
    QTest::newRow("announced beyond the ceiling")
        << "%1" + image << "length:1099511627776" << false
        << "announces 1 TiB, more than the 512 MiB allowed";
}

// The feed announces 1.1.9 at the row's address. A refused image is never asked for, nothing is
// left in the cache, and the user reads the real cause.
void TestApplicationUpdater::hostileImagesEndInTheirCause()
{
    QFETCH(QString, imageUrl);
    QFETCH(QString, fault);
    QFETCH(bool, smallDisk);
    QFETCH(QString, text);
    QTcpServer foreign;
    QVERIFY(qx8test::listenOnUniqueLoopback(foreign, 0));
    const auto place = [&](QString url) {
        return url.replace("%1", m_cloud.server().url(QString()).toString())
            .replace("%2", QStringLiteral("http://%1:%2")
                               .arg(foreign.serverAddress().toString())
                               .arg(foreign.serverPort()))
            .replace("%3", m_mirror.url(QString()).toString());
    };
    const QString feedPath = m_cloud.rootPath() + UpdateCloud::kFeed;
    const QByteArray feed = qx8test::fileContent(feedPath);
    auto restore = qScopeGuard([&] {
        QFile file(feedPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(feed) == feed.size());
        QVERIFY(m_cloud.server().setFault(UpdateCloud::kApplicationImage, "off"));
    });
    QFile hostile(feedPath);
    QVERIFY(hostile.open(QIODevice::WriteOnly));
    hostile.write(R"(<Config><Brand Name="yoxl"><Product Name="QX8 Application">)"
                  R"(<Revision Version="1.1.9" Platform="Mac" ImageUrl=")" +
                  place(imageUrl).toUtf8() + R"("/></Product></Brand></Config>)");
    hostile.close();
    if (!fault.isEmpty())
        QVERIFY(m_cloud.server().setFault(UpdateCloud::kApplicationImage, place(fault)));

    ApplicationUpdater updater;
    check(updater);
    QCOMPARE(updater.updateState(), ApplicationUpdater::DownloadUpdate);
    QDir().mkpath(updater.cacheFolder());
    if (smallDisk)
        QVERIFY(qx8test::mountSmallDisk(updater.cacheFolder(), 32 * 1024));
    auto unmount = qScopeGuard([&] {
        if (smallDisk)
            qx8test::unmount(updater.cacheFolder());
    });
    SignalRecorder signals_(&updater);
    updater.downLoadUpdate();
    QTRY_VERIFY(signals_.count("error") + signals_.count("updateDownloaded") == 1);
    if (text.isEmpty()) {
        QCOMPARE(cacheFiles(), QStringList{"1.1.9.dmg"});
        return;
    }
    const QString error =
        signals_.emissions().at(signals_.names().indexOf("error")).arguments.at(0).toString();
    QVERIFY2(error.contains(text), qPrintable(error));
    QCOMPARE(updater.updateState(), ApplicationUpdater::CheckForUpdate);
    QVERIFY(cacheFiles().isEmpty());
    QVERIFY(!foreign.hasPendingConnections());
}

void TestApplicationUpdater::unreadableFeedsEndInTheParseError_data()
{
    QTest::addColumn<QByteArray>("feed");
    const QByteArray body = m_feed.mid(m_feed.indexOf("<Config>"));
    QTest::newRow("cut short") << m_feed.left(m_feed.size() / 2);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("an error page") << QByteArray("<html><body>Service Unavailable</html>");
    QTest::newRow("entities") << "<!DOCTYPE Config [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                                 "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>" +
                                     QByteArray(body).replace("2.5.0", "&b;");
    QTest::newRow("an external entity")
        << "<!DOCTYPE Config [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>" +
               QByteArray(body).replace("1.1.7", "&e;");
    QTest::newRow("a namespace that breaks the query")
        << QByteArray(body).replace("<Config>", "<Config xmlns='urn:a\"'>");
}

// Both updaters: the check ends in the error a failed request ends in, with nothing announced
// as the latest version, so the strips show the error and never "up to date".
void TestApplicationUpdater::unreadableFeedsEndInTheParseError()
{
    QFETCH(QByteArray, feed);
    QVERIFY(serveFeed(feed));
    ApplicationUpdater application;
    FirmwareUpdater firmware;
    firmware.setFirmwareVersion(QStringLiteral("2.4.1"));
    const QList<QPair<ImageUpdater*, std::function<bool()>>> updaters{
        {&application,
         [&] { return application.updateState() == ApplicationUpdater::CheckForUpdate; }},
        {&firmware, [&] { return firmware.updateState() == FirmwareUpdater::CheckForUpdate; }}};
    for (const auto& [updater, checkOffered] : updaters) {
        SignalRecorder signals_(updater);
        updater->checkForUpdate();
        QTRY_COMPARE(signals_.count("isIdleChanged"), 2);
        QCOMPARE(signals_.count("error"), 1);
        QCOMPARE(lastError(signals_), QStringLiteral("Failed to parse the server xml file."));
        for (const SignalRecorder::Emission& emission : signals_.emissions()) {
            if (emission.name == QLatin1String("latestVersionWithUrl"))
                QCOMPARE(emission.arguments, (QVariantList{QString(), QString()}));
        }
        QVERIFY(signals_.names().lastIndexOf("latestVersionWithUrl") <
                signals_.names().indexOf("error"));
        QVERIFY(checkOffered());
        QVERIFY(updater->latestVersion().isEmpty());
        QVERIFY(updater->isIdle());
    }
}

void TestApplicationUpdater::feedRedirectsFollowTheImageRule_data()
{
    QTest::addColumn<QString>("target"); // %1 the mirror, %2 a host not listed, %3 another port
    QTest::addColumn<QString>("text");   // in the error; empty for a check that succeeds
    QTest::newRow("to a listed host") << "%1"
                                      << "";
    QTest::newRow("to a host not listed") << "%2"
                                          << "redirected to http://";
    QTest::newRow("to the cloud's host on another port") << "%3"
                                                         << "redirected to http://";
}

// A refused redirect is never followed: no connection reaches its target.
void TestApplicationUpdater::feedRedirectsFollowTheImageRule()
{
    QFETCH(QString, target);
    QFETCH(QString, text);
    QTcpServer foreign;
    QVERIFY(qx8test::listenOnUniqueLoopback(foreign, 0));
    QTcpServer otherPort;
    QVERIFY(otherPort.listen(QHostAddress(m_cloud.server().url(QString()).host())));
    const auto base = [](const QTcpServer& server) {
        return QStringLiteral("http://%1:%2")
            .arg(server.serverAddress().toString())
            .arg(server.serverPort());
    };
    const QString location = target.replace("%1", m_mirror.url(QString()).toString())
                                 .replace("%2", base(foreign))
                                 .replace("%3", base(otherPort)) +
                             UpdateCloud::kFeed;
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFeed, "redirect:" + location));
    auto clearFault = qScopeGuard([&] { m_cloud.server().setFault(UpdateCloud::kFeed, "off"); });

    ApplicationUpdater updater;
    SignalRecorder signals_(&updater);
    check(updater);
    if (text.isEmpty()) {
        QCOMPARE(signals_.count("error"), 0);
        QCOMPARE(updater.updateState(), ApplicationUpdater::DownloadUpdate);
        return;
    }
    QTRY_COMPARE(signals_.count("error"), 1);
    QVERIFY2(lastError(signals_).contains(text + QUrl(location).authority()),
             qPrintable(lastError(signals_)));
    QCOMPARE(updater.updateState(), ApplicationUpdater::CheckForUpdate);
    QVERIFY(!foreign.hasPendingConnections());
    QVERIFY(!otherPort.hasPendingConnections());
}

void TestApplicationUpdater::compressionBombsStopAtTheCeiling_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("inflated"); // the size of the body decoded
    QTest::addColumn<qint64>("ceiling");
    // A megabyte on the wire, as large as the feed may be.
    QTest::newRow("feed") << UpdateCloud::kFeed << 1024LL * 1024 * 1024 << downloadlimits::kFeed;
    QTest::newRow("image") << UpdateCloud::kApplicationImage << downloadlimits::kImage + 1
                           << downloadlimits::kImage;
}

// The server compresses what it was not asked to: the body stops at its ceiling as it inflates,
// the user reads why, nothing is left in the cache, and the memory never held the body.
void TestApplicationUpdater::compressionBombsStopAtTheCeiling()
{
    QFETCH(QString, path);
    QFETCH(qint64, inflated);
    QFETCH(qint64, ceiling);
    ApplicationUpdater updater;
    const bool image = path == UpdateCloud::kApplicationImage;
    if (image)
        check(updater);
    QVERIFY(m_cloud.server().setFault(path, QStringLiteral("gzip:%1").arg(inflated)));
    auto clearFault = qScopeGuard([&] { m_cloud.server().setFault(path, "off"); });
    SignalRecorder signals_(&updater);
    const PeakMemory memory;
    QVERIFY(memory.isValid());
    if (image)
        updater.downLoadUpdate();
    else
        updater.checkForUpdate();
    QTRY_COMPARE_WITH_TIMEOUT(signals_.count("error"), 1, qx8test::timeoutMs());
    // Held in memory, the feed may take its ceiling; the image goes to the disk as it comes.
    const qint64 held = image ? 0 : ceiling;
    QVERIFY2(memory.growth() < held + 16 * 1024 * 1024,
             qPrintable(QString::number(memory.growth())));
    QVERIFY2(lastError(signals_).contains("is larger than the " +
                                          downloadlimits::sizeText(ceiling) + " allowed"),
             qPrintable(lastError(signals_)));
    QCOMPARE(updater.updateState(), ApplicationUpdater::CheckForUpdate);
    QVERIFY(cacheFiles().isEmpty());
}

void TestApplicationUpdater::failedCheckOffersTheCachedImage()
{
    ApplicationUpdater updater;
    check(updater);
    updater.downLoadUpdate();
    QTRY_COMPARE(updater.updateState(), ApplicationUpdater::InstallUpdate);
    QFile partial(updater.cacheFolder() + "/1.1.9.dmg.tmp");
    QVERIFY(partial.open(QIODevice::WriteOnly) && partial.write("cut short") > 0);
    partial.close();

    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFeed, "503"));
    ApplicationUpdater restarted;
    SignalRecorder signals_(&restarted);
    restarted.checkForUpdate();
    QTRY_COMPARE(signals_.count("showCachedInfo"), 1);
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFeed, "off"));
    QCOMPARE(signals_.names({"updateStateChanged", "error", "showCachedInfo"}).mid(1),
             QStringList({"updateStateChanged", "error", "updateStateChanged", "updateStateChanged",
                          "showCachedInfo"}));
    QCOMPARE(restarted.updateState(), ApplicationUpdater::InstallUpdate);
    QCOMPARE(restarted.latestVersion(), QStringLiteral("1.1.7"));

    // The feed back, the image still in the cache: installable without a download.
    const int downloads = m_cloud.requestsFor(UpdateCloud::kApplicationImage);
    check(restarted);
    QCOMPARE(restarted.updateState(), ApplicationUpdater::InstallUpdate);
    QCOMPARE(m_cloud.requestsFor(UpdateCloud::kApplicationImage), downloads);
}

// A check asked for while the image downloads replaces the download: no byte of the old answer
// lands anywhere, and the check answers normally.
void TestApplicationUpdater::checkDuringDownloadDropsTheDownload()
{
    ApplicationUpdater updater;
    check(updater);
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kApplicationImage, "slow:300"));
    updater.downLoadUpdate();
    QTRY_VERIFY(updater.progress() > 0);
    SignalRecorder signals_(&updater);
    check(updater);
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kApplicationImage, "off"));
    QCOMPARE(signals_.count("error"), 0);
    QCOMPARE(signals_.count("updateDownloaded"), 0);
    QCOMPARE(updater.updateState(), ApplicationUpdater::DownloadUpdate);
    QVERIFY(!updater.downloadInProgress());
    QVERIFY(cacheFiles().isEmpty());
}

// A folder under the name the firmware download runs into, left by anything: it goes with what it
// holds, and the download completes without an error.
void TestApplicationUpdater::firmwareDownloadGoesPastAFolderInItsWay()
{
    FirmwareUpdater firmware;
    firmware.setFirmwareVersion(QStringLiteral("2.4.1"));
    firmware.clearCache();
    auto clear = qScopeGuard([&] { firmware.clearCache(); });
    QVERIFY(QDir().mkpath(firmware.cacheFolder() + "/2.5.0.tmp/inner"));
    SignalRecorder signals_(&firmware);
    firmware.checkForUpdate();
    QTRY_COMPARE(firmware.updateState(), FirmwareUpdater::DownloadUpdate);
    firmware.downLoadUpdate();
    QTRY_COMPARE(signals_.count("updateDownloaded") + signals_.count("error"), 1);
    QCOMPARE(signals_.count("error"), 0);
    QCOMPARE(firmware.updateState(), FirmwareUpdater::UploadUpdate);
    QCOMPARE(qx8test::fileContent(firmware.cacheFolder() + "/2.5.0"),
             m_cloud.file(UpdateCloud::kFirmwareImage));
    QCOMPARE(QDir(firmware.cacheFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"2.5.0"});
}

QX8_PRIVATE_MOUNTS_TEST_MAIN(QCoreApplication, TestApplicationUpdater)
#include "tst_applicationupdater.moc"
