// The application updater against the harness HTTP server: the check with its exact signal order,
// the download onto disk, every kind of failed transfer ending in its text, the cached image
// offered after a failed check, and a late answer that must not fill a newer request. (Cancel and
// the test feed are driven through the Utilities screen, tst_utilitiesscreen.)
#include "applicationupdater.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"
#include "updatecloud.h"

#include <QDir>
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
    void failedCheckOffersTheCachedImage();
    void checkDuringDownloadDropsTheDownload();

private:
    // Runs a check to its end on `updater`.
    void check(ApplicationUpdater& updater);
    QStringList cacheFiles() const;

    UpdateCloud m_cloud;
};

void TestApplicationUpdater::initTestCase()
{
    qRegisterMetaType<ApplicationUpdater::UpdateState>(); // for the recorded signal arguments
    QVERIFY(m_cloud.start());
}

void TestApplicationUpdater::init()
{
    ApplicationUpdater().clearCache();
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

void TestApplicationUpdater::checkFindsTheNewestMacBuildAndDownloadsIt()
{
    ApplicationUpdater updater;
    SignalRecorder signals_(&updater);
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

QX8_TEST_GUILESS_MAIN(TestApplicationUpdater)
#include "tst_applicationupdater.moc"
