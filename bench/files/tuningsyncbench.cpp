// A device tuning sync against pyftpdlib on loopback, beside a plain mirror of the same two
// folders with curl: wall time and FTP commands the server received. The device holds the
// factory mix of seed_tuning_storage.py plus 500 more files; the local store starts empty
// (seeded from the factory set), so the first sync fetches the device-only files and a second
// one fetches nothing. Run inside the loopback-only namespace:
//   scripts/netns-run build/bench/files/tuningsyncbench
#include "datafolders.h"
#include "ftpclientthread.h"
#include "tuningfilemanager.h"
#include "tuningfixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

namespace {

struct Run
{
    double seconds = -1;
    int commands = 0;
};

Run syncOnce(TuningFileManager* manager, const TuningDevice& device)
{
    const int before = device.commandLog().size();
    QSignalSpy done(manager, &TuningFileManager::initialized);
    QElapsedTimer clock;
    clock.start();
    manager->initialize(device.address(), true);
    if (!done.wait(600000) || !done.first().first().toBool())
        return {};
    // The 500 ms pause before initialized() is the screen's, not the transfer's.
    return {clock.nsecsElapsed() / 1e9 - 0.5, device.commandLog().size() - before};
}

QString curl(const QStringList& arguments, bool* ok)
{
    QProcess process;
    // PASV as QFtp uses; curl's EPSV costs pyftpdlib about 100 ms a file.
    process.start(QStringLiteral("curl"),
                  QStringList{"-s", "-S", "--disable-epsv", "--ftp-method", "singlecwd"} +
                      arguments);
    *ok = process.waitForFinished(600000) && process.exitCode() == 0;
    if (!*ok)
        std::fprintf(stderr, "curl failed: %s\n", process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

Run curlMirror(const TuningDevice& device, const QString& target)
{
    const int before = device.commandLog().size();
    QElapsedTimer clock;
    clock.start();
    for (const QString& folder : TuningDevice::folders) {
        QUrl url;
        url.setScheme(QStringLiteral("ftp"));
        url.setHost(device.address());
        url.setUserName(FtpClientThread::deviceUser);
        url.setPassword(FtpClientThread::devicePassword);
        url.setPath('/' + folder + '/');
        bool ok = false;
        const QStringList names = curl({"-l", url.toString(QUrl::FullyEncoded)}, &ok)
                                      .split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        if (!ok)
            return {};
        QStringList arguments{"--create-dirs"};
        for (const QString& name : names) {
            QUrl file = url;
            file.setPath('/' + folder + '/' + name);
            arguments << "-o" << target + '/' + folder + '/' + name
                      << file.toString(QUrl::FullyEncoded);
        }
        curl(arguments, &ok);
        if (!ok)
            return {};
    }
    return {clock.nsecsElapsed() / 1e9, device.commandLog().size() - before};
}

void row(const char* path, const Run& ours, const Run& peer, const char* goal)
{
    std::printf("ROW|%s|%.2f s, %d FTP commands|curl mirror %.2f s, %d commands|%.2f|%s\n", path,
                ours.seconds, ours.commands, peer.seconds, peer.commands,
                peer.seconds > 0 ? ours.seconds / peer.seconds : 0.0, goal);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QX8_SOURCE_DIR"))
        qputenv("QX8_SOURCE_DIR", QX8_SOURCE_DIR);
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QTemporaryDir data;
    QTemporaryDir mirror;
    USER_PATH = data.path().toStdString();

    TuningDevice device;
    if (!device.seed(500) || !device.start()) {
        std::fprintf(stderr, "the device's FTP server did not start\n");
        return 1;
    }
    TuningFileManager* manager = TuningFileManager::instance();
    const Run first = syncOnce(manager, device);
    const Run again = syncOnce(manager, device);
    // curl's times against pyftpdlib vary from run to run (delayed acknowledgements on the
    // control connection); the better of two runs is its figure.
    Run peer = curlMirror(device, mirror.path());
    const Run second = curlMirror(device, mirror.path());
    if (second.seconds >= 0 && second.seconds < peer.seconds)
        peer = second;
    manager->shutdown();
    if (first.seconds < 0 || again.seconds < 0 || peer.seconds < 0)
        return 1;
    row("tuning sync, device = factory mix + 500 files, empty store", first, peer,
        "fetches only what the store lacks; <= mirror time");
    row("tuning sync again, nothing to fetch", again, peer, "2 listings; << mirror time");
    return 0;
}
