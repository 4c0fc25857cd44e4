// Throughput of a 256 MiB get and put over loopback: QFtp beside curl, against the same server in
// the same run. The runs alternate over several rounds, so that the load of a shared machine falls
// on both alike; the medians are printed as rows for scripts/bench.sh, each run's client CPU time
// beside them. Inside the namespace:
//   scripts/netns-run build/bench/files/ftpthroughput [--proftpd] [--mib N] [--rounds N]
#include "benchtools.h"
#include "ftpserverprocess.h"
#include "qftp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <functional>
#include <vector>

#include <sys/resource.h>

namespace {

QByteArray makeContent(qint64 size)
{
    QByteArray content(int(size), Qt::Uninitialized);
    quint32 state = 2463534242u;
    for (char& c : content) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = char(state);
    }
    return content;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Whether the file holds the content; the file goes either way, so the next run starts afresh.
bool takeAndCompare(const QString& path, const QByteArray& content)
{
    QFile file(path);
    const bool same = file.open(QIODevice::ReadOnly) && file.readAll() == content;
    file.remove();
    return same;
}

// Runs the client's queue to its end; the seconds taken, or -1 on failure.
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

// CPU seconds of this process and its finished children (curl) so far.
double cpuSeconds()
{
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                 (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

struct Run
{
    const char* name;
    QString result; // the file the run leaves, compared with the content
    std::function<double()> transfer;
    std::vector<double> mibPerSecond = {};
    std::vector<double> cpu = {};
};

} // namespace

using benchtools::median;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QX8_SOURCE_DIR"))
        qputenv("QX8_SOURCE_DIR", QX8_SOURCE_DIR);
    const QStringList arguments = app.arguments();
    const bool proftpd = arguments.contains(QStringLiteral("--proftpd"));
    const qint64 mib = benchtools::option(arguments, "--mib", 256);
    const int rounds = benchtools::option(arguments, "--rounds", 5);

    QTemporaryDir root;
    QTemporaryDir local;
    const QByteArray content = makeContent(mib << 20);
    const QString source = local.filePath(QStringLiteral("source.bin"));
    if (!writeFile(root.filePath(QStringLiteral("big.bin")), content) ||
        !writeFile(source, content)) {
        std::fprintf(stderr, "cannot write the test files\n");
        return 1;
    }
    const char* serverName = proftpd ? "proftpd" : "pyftpdlib";
    FtpServerProcess server(proftpd ? FtpServerProcess::Kind::ProFtpd
                                    : FtpServerProcess::Kind::PyFtpdLib);
    if (!server.start(root.path())) {
        std::fprintf(stderr, "the FTP server did not start\n");
        return 1;
    }
    std::printf("%lld MiB over loopback against %s, %d rounds\n", mib, serverName, rounds);

    QFtp ftp;
    ftp.connectToHost(server.address(), server.port());
    ftp.login(FtpServerProcess::user, FtpServerProcess::password);
    if (runQFtp(ftp) < 0)
        return 1;

    const auto url = [&](const QString& path) {
        QUrl url;
        url.setScheme(QStringLiteral("ftp"));
        url.setHost(server.address());
        url.setPort(server.port());
        url.setUserName(FtpServerProcess::user);
        url.setPassword(FtpServerProcess::password);
        url.setPath(path);
        return url.toString(QUrl::FullyEncoded);
    };
    const QString qftpGot = local.filePath(QStringLiteral("qftp-get.bin"));
    const QString curlGot = local.filePath(QStringLiteral("curl-get.bin"));
    std::vector<Run> runs;
    runs.push_back({"QFtp get", qftpGot, [&] {
                        QFile target(qftpGot);
                        target.open(QIODevice::WriteOnly);
                        ftp.get(QStringLiteral("big.bin"), &target);
                        return runQFtp(ftp);
                    }});
    runs.push_back(
        {"curl get", curlGot, [&] {
             return benchtools::runCurl({"-o", curlGot, url(QStringLiteral("/big.bin"))}, 600000);
         }});
    runs.push_back({"QFtp put file", root.filePath(QStringLiteral("qftp-file.bin")), [&] {
                        QFile upload(source);
                        ftp.put(&upload, QStringLiteral("qftp-file.bin"));
                        return runQFtp(ftp);
                    }});
    runs.push_back({"QFtp put bytes", root.filePath(QStringLiteral("qftp-bytes.bin")), [&] {
                        ftp.put(content, QStringLiteral("qftp-bytes.bin"));
                        return runQFtp(ftp);
                    }});
    runs.push_back({"curl put", root.filePath(QStringLiteral("curl-put.bin")), [&] {
                        return benchtools::runCurl(
                            {"-T", source, url(QStringLiteral("/curl-put.bin"))}, 600000);
                    }});

    // Round 0 warms the page cache and the server up and is not counted.
    for (int round = 0; round <= rounds; ++round) {
        std::printf(round ? "round %d:" : "warm-up:", round);
        // Every other round the other way round, so neither side always goes first.
        for (size_t i = 0; i < runs.size(); ++i) {
            Run& run = runs[round % 2 ? runs.size() - 1 - i : i];
            const double cpuBefore = cpuSeconds();
            const double seconds = run.transfer();
            const double cpu = cpuSeconds() - cpuBefore;
            if (seconds < 0 || !takeAndCompare(run.result, content)) {
                std::printf("\n%s failed or delivered other content\n", run.name);
                return 1;
            }
            std::printf("  %s %.0f MiB/s %.2f s CPU;", run.name, mib / seconds, cpu);
            if (round) {
                run.mibPerSecond.push_back(mib / seconds);
                run.cpu.push_back(cpu);
            }
        }
        std::printf("\n");
        std::fflush(stdout);
    }

    for (const Run& run : runs)
        std::printf("median %-15s %6.0f MiB/s  %.2f s CPU\n", run.name, median(run.mibPerSecond),
                    median(run.cpu));
    const auto row = [&](const Run& ours, const Run& peer, const char* path) {
        const double figure = median(ours.mibPerSecond);
        const double peerFigure = median(peer.mibPerSecond);
        std::printf("ROW|%s, %lld MiB (%s)|%.0f MiB/s|curl %.0f MiB/s|%.2fx|>= 0.9x curl\n", path,
                    mib, serverName, figure, peerFigure, figure / peerFigure);
    };
    row(runs[0], runs[1], "FTP get");
    row(runs[2], runs[4], "FTP put from a file");
    row(runs[3], runs[4], "FTP put from memory");
    return 0;
}
