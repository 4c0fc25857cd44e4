// Firmware from the cloud to the device: the firmware updater against the harness HTTP server,
// the upload against VirtualQX8's firmware receiver on its console port, with the receiver's
// faults, and against scripted devices that answer what VirtualQX8 never does, before, while and
// after the image goes. Bytes are compared on disk at both ends. The check on startup asks the
// feed only once the device's version is known, and only when "Check on startup" is ticked.
#include "firmwareupdater.h"
#include "fwupdateuploader.h"
#include "qx8settings.h"
#include "scriptedpeer.h"
#include "settingskeys.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"
#include "updatecloud.h"
#include "virtualprocessor.h"

#include <QDir>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/socket.h>

using namespace std::chrono_literals;

namespace {

constexpr int kLargeImageSize = 32 * 1024 * 1024;
// When a scripted device speaks, besides a number of milliseconds after the last byte.
constexpr int kNever = -2;
constexpr int kWhileTheImageGoes = -1;

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(size).fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

} // namespace

class TestFirmwareUpload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void firmwareTravelsFromTheCloudToTheDevice();
    void failedCheckOffersOnlyTheCompleteImage();
    void resetDuringDownloadLeavesNoPartialFile();
    void everyUploadCountsFromZero();
    void failuresEndTheUpload_data();
    void failuresEndTheUpload();
    void startupCheckFollowsTheSetting_data();
    void startupCheckFollowsTheSetting();
    void deviceAnswersEndTheUpload_data();
    void deviceAnswersEndTheUpload();
    void doneOnlyOnceTheDeviceHoldsEveryByte_data();
    void doneOnlyOnceTheDeviceHoldsEveryByte();
    void versionAfterTheRestartTellsTheOutcome_data();
    void versionAfterTheRestartTellsTheOutcome();

private:
    QString cachePath(const QString& name) const;
    void putImage(const QString& name, const QByteArray& bytes) const;
    // The 32 MiB image "large", bigger than every socket buffer.
    void putLargeImage() const;
    QStringList progressReports(const SignalRecorder& recorder) const;
    // The device the settings name is `address` until the guard goes, then VirtualQX8 again.
    auto deviceAt(const QString& address) const
    {
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, address);
        return qScopeGuard([this] {
            QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, m_device.address());
        });
    }

    UpdateCloud m_cloud;
    VirtualProcessor m_device;
};

void TestFirmwareUpload::initTestCase()
{
    QVERIFY(m_cloud.start());
    QVERIFY(m_device.start());
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, m_device.address());
}

QString TestFirmwareUpload::cachePath(const QString& name) const
{
    return FirmwareUpdater().cacheFolder() + QLatin1Char('/') + name;
}

void TestFirmwareUpload::putImage(const QString& name, const QByteArray& bytes) const
{
    QDir().mkpath(FirmwareUpdater().cacheFolder());
    QFile file(cachePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

void TestFirmwareUpload::putLargeImage() const
{
    if (!QFileInfo::exists(cachePath("large")))
        putImage("large", randomBytes(kLargeImageSize));
}

QStringList TestFirmwareUpload::progressReports(const SignalRecorder& recorder) const
{
    QStringList reports;
    for (const SignalRecorder::Emission& emission : recorder.emissions()) {
        if (emission.name == QLatin1String("showProgress"))
            reports << emission.arguments.at(0).toString() + "/" +
                           emission.arguments.at(1).toString();
    }
    return reports;
}

void TestFirmwareUpload::startupCheckFollowsTheSetting_data()
{
    QTest::addColumn<QString>("checkOnStart");
    QTest::addColumn<int>("checks");
    QTest::newRow("ticked") << "true" << 1;
    QTest::newRow("unticked") << "false" << 0;
}

// Once per connection is the shell's to keep (tst_utilitiesscreen); the updater checks only what
// it knows, while nothing else is under way.
void TestFirmwareUpload::startupCheckFollowsTheSetting()
{
    QFETCH(QString, checkOnStart);
    QFETCH(int, checks);
    QX8Settings().setValue(settingskeys::kCheckOnStart, checkOnStart);
    FirmwareUpdater updater;
    SignalRecorder updates(&updater);
    const int before = m_cloud.requestsFor(UpdateCloud::kFeed);
    const auto checkedSince = [&](int expected) {
        return QTest::qWaitFor([&] { return updater.isIdle(); }, qx8test::timeoutMs()) &&
               m_cloud.requestsFor(UpdateCloud::kFeed) - before == expected;
    };
    updater.checkOnStartup(); // the device has not told its version yet
    QVERIFY(checkedSince(0));
    updater.setFirmwareVersion(QStringLiteral("2.4.1"));
    updater.checkOnStartup();
    updater.checkOnStartup(); // the first one still runs
    QVERIFY(checkedSince(checks));
    // An offer stands: a check now would take it away.
    QCOMPARE(updater.updateState() != FirmwareUpdater::CheckForUpdate, checks == 1);
    updater.checkOnStartup();
    QVERIFY(checkedSince(checks));
    QCOMPARE(updates.count("error"), 0);
    QX8Settings().setValue(settingskeys::kCheckOnStart, QStringLiteral("true"));
}

void TestFirmwareUpload::firmwareTravelsFromTheCloudToTheDevice()
{
    FirmwareUpdater updater;
    updater.setFirmwareVersion(QStringLiteral("2.4.1"));
    SignalRecorder updates(&updater);
    // The feed as it came, the rows of the feed, then the choice.
    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable("void ImageUpdater::onFinished(UpdateRequests::Kind, "
                                    "QNetworkReply::NetworkError, const QString&, const "
                                    "QByteArray&) " +
                                    QString::fromUtf8(m_cloud.file(UpdateCloud::kFeed))));
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(R"(^void ImageUpdater::latestVersion\()"
                                            R"(const QStringList&\) \("2\.4\.0\|.+"\)$)"));
    QTest::ignoreMessage(QtDebugMsg, "Latest Firmware version \"2.5.0\"");
    updater.checkForUpdate();
    updater.checkForUpdate();
    QTRY_COMPARE(updates.count("latestVersionWithUrl"), 1);
    QCOMPARE(m_cloud.requestsFor(UpdateCloud::kFeed), 1);
    // The hostile row of the feed would have been the greatest version.
    QCOMPARE(updater.latestVersion(), QStringLiteral("2.5.0"));
    QCOMPARE(updates.names({"isIdleChanged", "updateStateChanged", "latestVersionWithUrl"}),
             QStringList({"isIdleChanged", "updateStateChanged", "updateStateChanged",
                          "updateStateChanged", "latestVersionWithUrl", "isIdleChanged"}));
    QCOMPARE(updater.updateState(), FirmwareUpdater::DownloadUpdate);

    updater.downLoadUpdate();
    QTRY_COMPARE(updates.count("updateDownloaded"), 1);
    QCOMPARE(updater.updateState(), FirmwareUpdater::UploadUpdate);
    QCOMPARE(updater.progress(), 100.0f);
    const QByteArray image = m_cloud.file(UpdateCloud::kFirmwareImage);
    QCOMPARE(qx8test::fileContent(cachePath("2.5.0")), image);
    QCOMPARE(QDir(updater.cacheFolder()).entryList(QDir::Files), QStringList{"2.5.0"});

    FwUpdateUploader uploader;
    SignalRecorder uploads(&uploader);
    uploader.upload(updater.latestVersion());
    QTRY_COMPARE(uploads.count("uploadDone"), 1);
    QCOMPARE(uploads.count("error"), 0);
    QCOMPARE(uploader.progress(), 100.0f);
    QCOMPARE(progressReports(uploads).last(), QString("%1/%1").arg(image.size()));
    QTRY_COMPARE(m_device.command("firmware"),
                 QString("ok installed %1 %1 2.5.0").arg(image.size()));
    QCOMPARE(qx8test::fileContent(m_device.storagePath() + "/firmware/updKaloTar"), image);
    QCOMPARE(m_device.command(R"(value \\Node\AT\Software_Version)"), QStringLiteral("ok 2.5.0"));
}

void TestFirmwareUpload::failedCheckOffersOnlyTheCompleteImage()
{
    QVERIFY(QFileInfo(cachePath("2.5.0")).isFile()); // from the first case
    putImage("2.9.0.tmp", "partial");
    putImage("2.8.0", "never downloaded by us");
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFeed, "500"));
    FirmwareUpdater updater;
    updater.setFirmwareVersion(QStringLiteral("2.4.1"));
    SignalRecorder updates(&updater);
    updater.checkForUpdate();
    QTRY_COMPARE(updates.count("showCachedInfo"), 1);
    QCOMPARE(updates.names({"error", "showCachedInfo", "updateStateChanged"}).mid(2),
             QStringList({"error", "updateStateChanged", "showCachedInfo", "updateStateChanged"}));
    // Unlike the application updater, the failure clears the versions without their signals.
    QCOMPARE(updates.count("latestVersionChanged"), 0);
    QCOMPARE(updater.latestVersion(), QStringLiteral("2.5.0"));
    QCOMPARE(updater.updateState(), FirmwareUpdater::UploadUpdate);

    // A cached image cut short is not offered any more.
    QFile::resize(cachePath("2.5.0"), 1000);
    updates.clear();
    updater.checkForUpdate();
    QTRY_COMPARE(updates.count("isIdleChanged"), 2);
    QCoreApplication::sendPostedEvents(&updater); // the cache check comes after the error
    QCOMPARE(updates.count("showCachedInfo"), 0);
    QCOMPARE(updater.updateState(), FirmwareUpdater::CheckForUpdate);
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFeed, "off"));
}

void TestFirmwareUpload::resetDuringDownloadLeavesNoPartialFile()
{
    FirmwareUpdater updater;
    updater.setFirmwareVersion(QStringLiteral("2.4.1"));
    updater.clearCache();
    updater.checkForUpdate();
    QTRY_COMPARE(updater.updateState(), FirmwareUpdater::DownloadUpdate);
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFirmwareImage, "slow:300"));
    SignalRecorder updates(&updater);
    updater.downLoadUpdate();
    QTRY_VERIFY(updater.progress() > 0);
    updater.resetAll();
    QCOMPARE(updater.updateState(), FirmwareUpdater::CheckForUpdate);
    QCOMPARE(updates.count("error"), 0);
    QTRY_COMPARE(updates.count("error"), 1);
    QCOMPARE(updates.emissions().at(updates.names().lastIndexOf("error")).arguments.at(0),
             QVariant("The operation was canceled."));
    QVERIFY(QDir(updater.cacheFolder()).entryList(QDir::Files).isEmpty());
    QVERIFY(m_cloud.server().setFault(UpdateCloud::kFirmwareImage, "off"));
}

// The command line byte for byte, an answer that arrives in two pieces, and a second upload of
// the same object counted from zero; an empty image ends as soon as the device answers.
void TestFirmwareUpload::everyUploadCountsFromZero()
{
    const QByteArray image = randomBytes(20000);
    putImage("edge", image);
    putImage("empty", QByteArray());
    QCOMPARE(m_device.command("fault split-lines on"), QStringLiteral("ok"));
    FwUpdateUploader uploader;
    SignalRecorder uploads(&uploader);
    for (int round = 1; round <= 2; ++round) {
        uploads.clear();
        uploader.upload(QStringLiteral("edge"));
        QTRY_COMPARE(uploads.count("uploadDone"), 1);
        QCOMPARE(progressReports(uploads),
                 QStringList({"8192/20000", "16384/20000", "20000/20000"}));
        QTRY_COMPARE(m_device.command("firmware"), QStringLiteral("ok rejected 20000 20000 2.5.0"));
        QCOMPARE(qx8test::fileContent(m_device.storagePath() + "/firmware/updKaloTar"), image);
    }
    QCOMPARE(m_device.received().count(R"(write "file\updKaloTar" 20000 )"), 2);

    uploads.clear();
    uploader.upload(QStringLiteral("empty"));
    QTRY_COMPARE(uploads.count("uploadDone"), 1);
    QVERIFY(progressReports(uploads).isEmpty());
    QTRY_COMPARE(m_device.command("firmware"), QStringLiteral("ok rejected 0 0 2.5.0"));
    QCOMPARE(m_device.command("fault split-lines off"), QStringLiteral("ok"));
}

void TestFirmwareUpload::failuresEndTheUpload_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("image");
    QTest::addColumn<bool>("deviceAbsent");
    QTest::addColumn<QString>("text");
    // The image outgrows every socket buffer, so the drop meets a running upload.
    QTest::newRow("device drops halfway")
        << "firmware-drop"
        << "large" << false << "The remote host closed the connection";
    QTest::newRow("device refuses")
        << "firmware-refuse"
        << "large" << false
        << "The device refused the firmware upload: error firmware update refused";
    QTest::newRow("device never answers")
        << "firmware-stall"
        << "large" << false << "The device stopped answering during the firmware upload.";
    QTest::newRow("no such image") << ""
                                   << "9.9.9" << false << "Firmware file not found";
    QTest::newRow("name outside the cache")
        << ""
        << "../update/large" << false << "Firmware file not found";
    QTest::newRow("no device") << ""
                               << "large" << true << "Error in connecting to device.";
}

void TestFirmwareUpload::failuresEndTheUpload()
{
    QFETCH(QString, fault);
    QFETCH(QString, image);
    QFETCH(bool, deviceAbsent);
    QFETCH(QString, text);
    putLargeImage();
    if (!fault.isEmpty())
        QCOMPARE(m_device.command("fault " + fault + " on"), QStringLiteral("ok"));
    if (deviceAbsent) {
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress,
                               qx8test::uniqueLoopbackAddress().toString());
    }
    if (text.startsWith("Firmware file"))
        qx8test::expectWarnings("^Firmware file not found");
    {
        FwUpdateUploader uploader;
        uploader.setStallLimit(300ms);
        SignalRecorder uploads(&uploader);
        uploader.upload(image);
        QTRY_COMPARE(uploads.count("error"), 1);
        QCOMPARE(uploads.count("uploadDone"), 0);
        QVERIFY(!uploader.uploadInProgress());
        QCOMPARE(uploads.emissions().last().arguments.at(0).toString(), text);
    }
    if (!fault.isEmpty())
        QCOMPARE(m_device.command("fault " + fault + " off"), QStringLiteral("ok"));
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, m_device.address());
}

void TestFirmwareUpload::deviceAnswersEndTheUpload_data()
{
    QTest::addColumn<QByteArray>("answer"); // to the announcement
    QTest::addColumn<int>("holdMs");        // then the device reads nothing this long
    QTest::addColumn<int>("whenMs");        // when it speaks: ms after the last byte, or kNever,
                                            // or kWhileTheImageGoes
    QTest::addColumn<QByteArray>("words");  // what it says then
    QTest::addColumn<bool>("goes");         // it closes the connection instead
    QTest::addColumn<QString>("text");      // the error; empty: done
    const QByteArray go("writer OK\n");
    const QString refused = QStringLiteral("The device refused the firmware upload: ");
    const QString notConfirmed =
        QStringLiteral("The firmware upload is not confirmed; the device said: ");
    QTest::newRow("writer OK and more in the same read")
        << QByteArray("writer OK\nready for more\n") << 0 << kNever << QByteArray() << false
        << "The device answered the firmware upload with more than \"writer OK\"; the image was "
           "not sent.";
    QTest::newRow("an error while the image goes")
        << go << 0 << kWhileTheImageGoes << QByteArray("error storage full\n") << false
        << refused + "error storage full";
    QTest::newRow("any text while the image goes")
        << go << 0 << kWhileTheImageGoes << QByteArray("verify pending\n") << false
        << notConfirmed + "verify pending";
    QTest::newRow("silent: done") << go << 0 << 0 << QByteArray() << false << QString();
    QTest::newRow("a slow reader: done") << go << 1500 << 0 << QByteArray() << false << QString();
    QTest::newRow("error 50 ms after the last byte")
        << go << 0 << 50 << QByteArray("error flash write failed\n") << false
        << refused + "error flash write failed";
    QTest::newRow("error 500 ms after the last byte")
        << go << 0 << 500 << QByteArray("error flash write failed\n") << false
        << refused + "error flash write failed";
    QTest::newRow("words without a line end")
        << go << 0 << 100 << QByteArray("checksum") << false << notConfirmed + "checksum";
    QTest::newRow("the device goes after the last byte")
        << go << 0 << 100 << QByteArray() << true << "The remote host closed the connection";
}

// The device answers on its console port, written by hand. Once the image goes it has nothing
// to say but an objection, up to a second after it holds the whole image.
void TestFirmwareUpload::deviceAnswersEndTheUpload()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, holdMs);
    QFETCH(int, whenMs);
    QFETCH(QByteArray, words);
    QFETCH(bool, goes);
    QFETCH(QString, text);
    putLargeImage();
    ScriptedPeer device;
    QVERIFY(device.listen(FwUpdateUploader::kPort));
    auto restore = deviceAt(device.address());
    FwUpdateUploader uploader;
    SignalRecorder uploads(&uploader);
    uploader.upload(QStringLiteral("large"));
    const QByteArray announcement = R"(write "file\updKaloTar" 33554432 )";
    QVERIFY(device.waitForLine(announcement));
    device.holdReading(holdMs > 0);
    device.send(answer);
    QTest::qWait(holdMs);
    QVERIFY(uploader.uploadInProgress() || whenMs == kNever);
    device.holdReading(false);
    const qint64 everyByte = announcement.size() + 1 + kLargeImageSize;
    QElapsedTimer sinceLastByte;
    if (whenMs == kWhileTheImageGoes) {
        QVERIFY(device.waitForLineCount(2)); // the image's first line breaks
    } else if (whenMs >= 0) {
        QVERIFY(device.waitForByteCount(everyByte));
        sinceLastByte.start();
        QTest::qWait(whenMs);
    }
    if (goes)
        device.closeConnection();
    else
        device.send(words);
    QTRY_COMPARE_WITH_TIMEOUT(uploads.count("uploadDone") + uploads.count("error"), 1,
                              qx8test::timeoutMs());
    QVERIFY(!uploader.uploadInProgress());
    if (text.isEmpty()) {
        QCOMPARE(uploads.count("uploadDone"), 1);
        QCOMPARE(device.receivedByteCount(), everyByte);
        // Not at once: the device had its time to object (the clock started when this side
        // saw the last byte, a little after the uploader did).
        QVERIFY(sinceLastByte.elapsed() >= FwUpdateUploader::kObjectionTime.count() / 2);
        return;
    }
    QCOMPARE(uploads.count("error"), 1);
    QCOMPARE(uploads.emissions().last().arguments.at(0).toString(), text);
    QCOMPARE(uploader.progress() < 100, whenMs < 0);
    // The connection goes with the failed upload; before an image, nothing of it went out.
    QTRY_VERIFY(!device.connection() ||
                device.connection()->state() == QAbstractSocket::UnconnectedState);
    if (whenMs == kNever)
        QCOMPARE(device.receivedLines(), QByteArrayList{announcement});
}

void TestFirmwareUpload::doneOnlyOnceTheDeviceHoldsEveryByte_data()
{
    QTest::addColumn<bool>("deviceReads"); // else it resets the connection
    QTest::newRow("the device reads late") << true;
    QTest::newRow("the device goes") << false;
}

// The device's receive window is a few kilobytes and it stops reading after "writer OK": the
// whole image fits into the two sockets' buffers, so every byte is written, but only part of it
// is with the device until it reads on.
void TestFirmwareUpload::doneOnlyOnceTheDeviceHoldsEveryByte()
{
    QFETCH(bool, deviceReads);
    const QByteArray image = randomBytes(16000);
    putImage("held", image);
    QTcpServer server;
    QVERIFY(qx8test::listenOnUniqueLoopback(server, FwUpdateUploader::kPort));
    const int window = 4096; // passed on to the connection it accepts
    QVERIFY(::setsockopt(int(server.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &window,
                         sizeof(window)) == 0);
    auto restore = deviceAt(server.serverAddress().toString());
    FwUpdateUploader uploader;
    SignalRecorder uploads(&uploader);
    uploader.upload(QStringLiteral("held"));
    QVERIFY(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, qx8test::timeoutMs()));
    std::unique_ptr<QTcpSocket> device(server.nextPendingConnection());
    device->setReadBufferSize(64); // reads no further than the announcement
    QVERIFY(QTest::qWaitFor([&] { return device->canReadLine(); }, qx8test::timeoutMs()));
    QCOMPARE(device->readLine(), QByteArray(R"(write "file\updKaloTar" 16000 )"
                                            "\n"));
    device->write("writer OK\n");
    QTRY_COMPARE(uploader.progress(), 100.0f);
    QCOMPARE(uploads.count("uploadDone"), 0);
    QVERIFY(uploader.uploadInProgress());

    if (!deviceReads) {
        device->abort();
        QTRY_COMPARE(uploads.count("error"), 1);
        QCOMPARE(uploads.count("uploadDone"), 0);
        return;
    }
    device->setReadBufferSize(0);
    QByteArray received;
    QTRY_VERIFY((received += device->readAll()).size() >= image.size());
    QCOMPARE(received, image);
    QTRY_COMPARE(uploads.count("uploadDone"), 1);
    QCOMPARE(uploads.count("error"), 0);
}

void TestFirmwareUpload::versionAfterTheRestartTellsTheOutcome_data()
{
    QTest::addColumn<QString>("sent"); // the version of the upload: a real image for 2.5.0
    QTest::addColumn<bool>("sameDevice");
    QTest::addColumn<QString>("result");
    QTest::newRow("installed") << "2.5.0" << true << "Firmware v2.5.0 is running on the device.";
    QTest::newRow("rejected") << "2.6.0" << true
                              << "Firmware v2.6.0 is not running on the device: it reports "
                                 "v2.4.1, so the update was not installed.";
    QTest::newRow("another device reports") << "2.5.0" << false << "";
}

// The device starts at 2.4.1, takes the image and checks it; what it reports afterwards is what
// the updater tells, only for the device the image went to.
void TestFirmwareUpload::versionAfterTheRestartTellsTheOutcome()
{
    QFETCH(QString, sent);
    QFETCH(bool, sameDevice);
    QFETCH(QString, result);
    const QString version = R"(\\Node\AT\Software_Version)";
    QVERIFY(m_device.command("set " + version + " 2.4.1").startsWith("ok"));
    putImage(sent, sent == "2.5.0" ? m_cloud.file(UpdateCloud::kFirmwareImage) : randomBytes(5000));
    FirmwareUpdater updater;
    updater.setFirmwareVersion(QStringLiteral("2.4.1"));
    FwUpdateUploader uploader;
    QSignalSpy done(&uploader, &FwUpdateUploader::uploadDone);
    uploader.upload(sent);
    QVERIFY(done.wait(qx8test::timeoutMs()));
    updater.expectAfterRestart(sent);
    QTRY_VERIFY(
        m_device.command("firmware").contains(QRegularExpression("^ok (installed|rejected)")));

    QSignalSpy told(&updater, &FirmwareUpdater::installResultChanged);
    auto restore = deviceAt(sameDevice ? m_device.address() : QStringLiteral("127.0.0.1"));
    updater.setFirmwareVersion(m_device.command("value " + version).mid(3));
    QCOMPARE(told.count(), result.isEmpty() ? 0 : 1);
    QCOMPARE(updater.installResult(), result);
    QCOMPARE(updater.installConfirmed(), sent == "2.5.0" && sameDevice);
}

QX8_TEST_GUILESS_MAIN(TestFirmwareUpload)
#include "tst_firmwareupload.moc"
