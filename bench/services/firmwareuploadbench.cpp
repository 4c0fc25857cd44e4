// Throughput of a 64 MiB firmware upload to VirtualQX8's receiver: FwUpdateUploader beside a plain
// socket that sends the same announcement and, after "writer OK", the whole image in one write.
// A run starts before the connection is made and ends when the device has stored the whole image.
// Runs alternate over several rounds so that the load of a shared machine falls on both alike;
// medians are printed as rows for scripts/bench.sh, with the longest gap of the event loop during
// our upload beside them. Inside the namespace:
//   scripts/netns-run build/bench/services/firmwareuploadbench [--mib N] [--rounds N]
#include "benchtools.h"
#include "fwupdateuploader.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "updatefolders.h"
#include "virtualprocessor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kLimitMs = 600000;

// Runs the event loop until the device has stored a complete image (it renames the file once
// the last byte is in) or `failed` says so; false on failure or after the time limit.
bool deviceStoresImage(
    const QString& storage, const std::function<bool()>& failed = [] { return false; })
{
    const QString image = storage + QStringLiteral("/updKaloTar");
    QFileSystemWatcher watcher({storage});
    QEventLoop loop;
    QTimer limit;
    QTimer failureCheck;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (QFileInfo::exists(image))
            loop.quit();
    });
    QObject::connect(&failureCheck, &QTimer::timeout, &loop, [&] {
        if (failed())
            loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    failureCheck.start(100);
    limit.start(kLimitMs);
    if (!QFileInfo::exists(image))
        loop.exec();
    return QFileInfo::exists(image) && !failed();
}

// The longest time the event loop went without running a 1 ms timer, while it lives.
class LoopGapMeter
{
public:
    LoopGapMeter()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_clock.restart()); });
        m_clock.start();
        m_timer.start();
    }
    qint64 longestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

// Seconds for one upload through FwUpdateUploader, -1 on failure.
double uploadOurs(const QString& storage, qint64* longestGapMs)
{
    QFile::remove(storage + QStringLiteral("/updKaloTar"));
    FwUpdateUploader uploader;
    QSignalSpy failed(&uploader, &FwUpdateUploader::error);
    LoopGapMeter gaps;
    QElapsedTimer clock;
    clock.start();
    uploader.upload(QStringLiteral("bench"));
    if (!deviceStoresImage(storage, [&] { return !failed.isEmpty(); })) {
        std::fprintf(stderr, "upload failed: %s\n",
                     failed.isEmpty() ? "no answer"
                                      : qPrintable(failed.first().first().toString()));
        return -1;
    }
    *longestGapMs = gaps.longestMs();
    return clock.nsecsElapsed() / 1e9;
}

// Seconds for the same bytes through a plain socket, -1 on failure.
double uploadPlain(const QString& address, const QString& storage, const QByteArray& image)
{
    QFile::remove(storage + QStringLiteral("/updKaloTar"));
    QElapsedTimer clock;
    clock.start();
    QTcpSocket socket;
    socket.connectToHost(address, FwUpdateUploader::kPort);
    if (!socket.waitForConnected(kLimitMs) || !socket.waitForReadyRead(kLimitMs))
        return -1;
    socket.readAll(); // the banner
    socket.write("write \"file\\updKaloTar\" " + QByteArray::number(image.size()) + " \n");
    if (!socket.waitForReadyRead(kLimitMs) || socket.readLine() != "writer OK\n")
        return -1;
    socket.write(image);
    if (!deviceStoresImage(storage))
        return -1;
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

using benchtools::median;

int main(int argc, char** argv)
{
    // Settings and the firmware cache in a folder of their own, not the user's.
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        qputenv(variable, home.path().toUtf8() + '/' + variable);
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QX8_SOURCE_DIR"))
        qputenv("QX8_SOURCE_DIR", QX8_SOURCE_DIR);
    if (qEnvironmentVariableIsEmpty("QX8_VIRTUAL_PROCESSOR"))
        qputenv("QX8_VIRTUAL_PROCESSOR", QX8_VIRTUAL_PROCESSOR);
    const QStringList arguments = app.arguments();
    const qint64 mib = benchtools::option(arguments, "--mib", 64);
    const int rounds = benchtools::option(arguments, "--rounds", 5);

    // A real image, header and checksum included, so that the device checks what it receives.
    QTemporaryDir cloud;
    QProcess generator;
    generator.start(QString::fromUtf8(QX8_SOURCE_DIR) + "/simulator/storage/make_update_files.py",
                    {"--base-url", "http://127.0.0.1", "--firmware-size",
                     QString::number(mib * 1024 * 1024), cloud.path()});
    QFile source(cloud.filePath("sp-qx8-update/firmware/QX8-2.5.0.img"));
    if (!generator.waitForFinished(kLimitMs) || !source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot make the image\n");
        return 1;
    }
    const QByteArray image = source.readAll();
    QDir().mkpath(updatefolders::firmwareImages());
    QFile cached(updatefolders::firmwareImages() + "/bench");
    if (!cached.open(QIODevice::WriteOnly) || cached.write(image) != image.size())
        return 1;
    cached.close();

    VirtualProcessor device;
    if (!device.start())
        return 1;
    const QString storage = device.storagePath() + "/firmware";
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, device.address());

    std::vector<double> ours;
    std::vector<double> plain;
    qint64 longestGap = 0;
    for (int round = 0; round < rounds; ++round) {
        qint64 gap = 0;
        const double oursSeconds = uploadOurs(storage, &gap);
        const bool oursInstalled = device.command("firmware").startsWith("ok installed");
        const double plainSeconds = uploadPlain(device.address(), storage, image);
        const bool plainInstalled = device.command("firmware").startsWith("ok installed");
        if (oursSeconds < 0 || plainSeconds < 0 || !oursInstalled || !plainInstalled)
            return 1;
        ours.push_back(image.size() / 1048576.0 / oursSeconds);
        plain.push_back(image.size() / 1048576.0 / plainSeconds);
        longestGap = std::max(longestGap, gap);
        std::fprintf(stderr, "round %d: ours %.0f MiB/s, plain %.0f MiB/s, loop gap %lld ms\n",
                     round + 1, ours.back(), plain.back(), gap);
    }
    const double figure = median(ours);
    const double peer = median(plain);
    std::printf("ROW|firmware upload, %lld MiB to VirtualQX8|%.0f MiB/s, loop gap <= %lld ms|plain "
                "socket %.0f MiB/s|%.2fx|>= 0.8x plain socket\n",
                mib, figure, longestGap, peer, figure / peer);
    return 0;
}
