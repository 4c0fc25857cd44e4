// The application quits within two seconds while cloud transfers hang half-way on a server
// that stops sending, one in the GUI thread and one in the download thread.
#include "cloudendpoints.h"
#include "cloudmanifest.h"
#include "httpserverprocess.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestQuitWithTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quitsWithinTwoSecondsWhileTransfersHang();
};

void TestQuitWithTransfer::quitsWithinTwoSecondsWhileTransfersHang()
{
    QTemporaryDir served;
    HttpServerProcess cloud;
    const QString feed = CloudEndpoints::instance().updateFeedUrl(false).path();
    const QString manifest = cloudmanifest::manifestUrl(TuningSide::Speaker, false).path();
    // Half of each answer arrives, then nothing: both transfers are mid-body when the user quits.
    for (const QString& path : {feed, manifest}) {
        QVERIFY(QDir().mkpath(QFileInfo(served.path() + path).path()));
        QFile file(served.path() + path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(64 * 1024, 'x')) > 0);
    }
    QVERIFY(cloud.start(served.path(), {feed + "=stall", manifest + "=stall"}));
    QX8Settings().setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QX8_CLOUD_BASE_URL"),
                       cloud.url(QStringLiteral("/")).toString());

    QProcess application;
    application.setProcessEnvironment(environment);
    application.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    application.start(QStringLiteral(QX8_QUIT_PROBE), QStringList());
    const auto requested = [&cloud](const QString& path) {
        for (const HttpServerProcess::Request& request : cloud.requests()) {
            if (request.path == path.toUtf8())
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(requested(feed) && requested(manifest), qx8test::timeoutMs());

    QElapsedTimer clock;
    clock.start();
    application.write("quit\n");
    QVERIFY(application.waitForFinished(qx8test::timeoutMs()));
    const qint64 exitMs = clock.elapsed();
    QCOMPARE(application.exitStatus(), QProcess::NormalExit);
    QCOMPARE(application.exitCode(), 0);
    qInfo("exited %lld ms after the window was closed", exitMs);
    QVERIFY2(exitMs < 2000, qPrintable(QString::number(exitMs)));
    // The half-downloaded manifest went with its transfer.
    const QString staging = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                            QStringLiteral("/TuningFiles/Cloud/Manifest/SpeakerTunings");
    QVERIFY(QDir(staging).exists());
    QCOMPARE(QDir(staging).entryList(QDir::Files | QDir::Hidden), QStringList());

    // Each thread owner's thread ran until the quit and ended with it.
    const QStringList report = QString::fromUtf8(application.readAllStandardOutput()).split('\n');
    const auto threads = [&report](const QString& label) {
        for (const QString& line : report) {
            if (line.startsWith(label + QStringLiteral(": ")))
                return line.mid(label.size() + 2).split(',');
        }
        return QStringList{QStringLiteral("(no report)")};
    };
    qInfo("threads running: %s", qPrintable(threads("running").join(", ")));
    qInfo("threads left: %s", qPrintable(threads("left").join(", ")));
    for (const QString owned : {"Tuning files", "Downloads", "FTP session", "Console socket"}) {
        QVERIFY2(threads("running").contains(owned), qPrintable(owned));
        QVERIFY2(!threads("left").contains(owned), qPrintable(owned));
    }
}

QX8_TEST_GUILESS_MAIN(TestQuitWithTransfer)
#include "tst_quitwithtransfer.moc"
