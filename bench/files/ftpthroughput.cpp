// Throughput of a 256 MiB get and put over loopback: QFtp beside curl, against the same server
// in the same run. Run inside the loopback-only namespace:
//   scripts/netns-run build/bench/files/ftpthroughput [--proftpd] [--mib N]
#include "ftpserverprocess.h"
#include "qftp.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

namespace {

QByteArray digest(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result();
}

bool makeFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    quint32 state = 2463534242u;
    for (qint64 written = 0; written < size; written += block.size()) {
        for (char& c : block) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            c = char(state);
        }
        if (file.write(block.constData(), qMin<qint64>(block.size(), size - written)) < 0)
            return false;
    }
    return true;
}

// Runs the client's queue to its end; returns the seconds taken, or -1 on failure.
double runQFtp(QFtp& ftp)
{
    QSignalSpy done(&ftp, &QFtp::done);
    QElapsedTimer clock;
    clock.start();
    if (!done.wait(600000) || done.first().first().toBool()) {
        std::fprintf(stderr, "QFtp failed: %s\n", qPrintable(ftp.errorString()));
        return -1;
    }
    return clock.nsecsElapsed() / 1e9;
}

double runCurl(const QStringList& arguments)
{
    QProcess curl;
    QElapsedTimer clock;
    clock.start();
    curl.start(QStringLiteral("curl"), QStringList{"-s", "-S"} + arguments);
    if (!curl.waitForFinished(600000) || curl.exitCode() != 0) {
        std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
        return -1;
    }
    return clock.nsecsElapsed() / 1e9;
}

void report(const char* what, qint64 bytes, double seconds, bool exact)
{
    if (seconds < 0)
        std::printf("%-10s failed\n", what);
    else
        std::printf("%-10s %8.1f MiB/s  (%.2f s)%s\n", what, bytes / seconds / (1 << 20), seconds,
                    exact ? "" : "  CONTENT DIFFERS");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QX8_SOURCE_DIR"))
        qputenv("QX8_SOURCE_DIR", QX8_SOURCE_DIR);
    const QStringList arguments = app.arguments();
    const bool proftpd = arguments.contains(QStringLiteral("--proftpd"));
    const int mibIndex = arguments.indexOf(QStringLiteral("--mib"));
    const qint64 size = qint64(mibIndex > 0 ? arguments.value(mibIndex + 1).toInt() : 256) << 20;

    QTemporaryDir root;
    QTemporaryDir local;
    const QString served = root.filePath(QStringLiteral("big.bin"));
    const QString source = local.filePath(QStringLiteral("source.bin"));
    if (!makeFile(served, size) || !QFile::copy(served, source)) {
        std::fprintf(stderr, "cannot write the test files\n");
        return 1;
    }
    const QByteArray expected = digest(served);

    FtpServerProcess server(proftpd ? FtpServerProcess::Kind::ProFtpd
                                    : FtpServerProcess::Kind::PyFtpdLib);
    if (!server.start(root.path())) {
        std::fprintf(stderr, "the FTP server did not start\n");
        return 1;
    }
    std::printf("%lld MiB over loopback against %s at %s:%u\n", size >> 20,
                proftpd ? "proftpd" : "pyftpdlib", qPrintable(server.address()), server.port());

    QFtp ftp;
    ftp.connectToHost(server.address(), server.port());
    ftp.login(FtpServerProcess::user, FtpServerProcess::password);
    if (runQFtp(ftp) < 0)
        return 1;

    const QString qftpDownload = local.filePath(QStringLiteral("qftp-get.bin"));
    QFile target(qftpDownload);
    target.open(QIODevice::WriteOnly);
    ftp.get(QStringLiteral("big.bin"), &target);
    const double qftpGet = runQFtp(ftp);
    target.close();
    report("QFtp get", size, qftpGet, digest(qftpDownload) == expected);

    QFile upload(source);
    ftp.put(&upload, QStringLiteral("qftp-put.bin"));
    const double qftpPut = runQFtp(ftp);
    report("QFtp put", size, qftpPut,
           digest(root.filePath(QStringLiteral("qftp-put.bin"))) == expected);

    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setHost(server.address());
    url.setPort(server.port());
    url.setUserName(FtpServerProcess::user);
    url.setPassword(FtpServerProcess::password);
    url.setPath(QStringLiteral("/big.bin"));
    const QString curlDownload = local.filePath(QStringLiteral("curl-get.bin"));
    const double curlGet = runCurl({"-o", curlDownload, url.toString(QUrl::FullyEncoded)});
    report("curl get", size, curlGet, digest(curlDownload) == expected);

    url.setPath(QStringLiteral("/curl-put.bin"));
    const double curlPut = runCurl({"-T", source, url.toString(QUrl::FullyEncoded)});
    report("curl put", size, curlPut,
           digest(root.filePath(QStringLiteral("curl-put.bin"))) == expected);
    return 0;
}
