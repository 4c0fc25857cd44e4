// A 1 MiB preset through the whole path, against VirtualQX8 and its FTP server over loopback:
// fetched from a slot into the local preset folder (FTP get, then the file written), and sent
// from the local folder into a slot (file read, FTP put with its size check, the slot named over
// the console). Beside it curl fetches and sends the same file against the same server. The runs
// alternate over several rounds; the medians are printed as rows for scripts/bench.sh. Inside
// the namespace:
//   scripts/netns-run build/bench/files/presetbench [--rounds N]
#include "benchtools.h"
#include "devicepresetmodel.h"
#include "filesystemmodel.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "virtualprocessor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWaitMs = 60000;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Milliseconds `work` takes until the model's busy notice ends, or -1 on an error. An event loop
// that ends on the signal itself: polling would add its own interval to every figure.
double untilIdle(DevicePresetModel& model, const std::function<void()>& work)
{
    QEventLoop loop;
    QString failure;
    QObject::connect(&model, &DevicePresetModel::busy, &loop, [&](bool busy) {
        if (!busy)
            loop.quit();
    });
    QObject::connect(&model, &DevicePresetModel::error, &loop,
                     [&](const QString& text) { failure = text; });
    QTimer::singleShot(kWaitMs, &loop, [&] {
        failure = QStringLiteral("no end");
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    work();
    loop.exec();
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "preset transfer failed: %s\n", qPrintable(failure));
        return -1;
    }
    return clock.nsecsElapsed() / 1e6;
}

// Milliseconds curl takes, or -1 when it fails.
double runCurl(const QStringList& arguments)
{
    const double seconds = benchtools::runCurl(arguments, kWaitMs);
    return seconds < 0 ? -1 : seconds * 1e3;
}

struct Run
{
    const char* name;
    std::function<double()> transfer; // milliseconds, or -1 when it failed or delivered other bytes
    std::vector<double> milliseconds = {};
};

} // namespace

using benchtools::median;

int main(int argc, char** argv)
{
    // The device address goes into settings of its own, not the user's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QX8_VIRTUAL_PROCESSOR"))
        qputenv("QX8_VIRTUAL_PROCESSOR", QX8_VIRTUAL_PROCESSOR);
    const QStringList arguments = app.arguments();
    const int rounds = benchtools::option(arguments, "--rounds", 15);

    VirtualProcessor device;
    if (!device.start({"--ftp-port", "21"})) {
        std::fprintf(stderr, "VirtualQX8 did not start\n");
        return 1;
    }
    QVector<quint32> words(256 * 1024);
    QRandomGenerator(7).fillRange(words.data(), words.size());
    const QByteArray preset(reinterpret_cast<const char*>(words.constData()), 1024 * 1024);
    const QString slot7 = device.storagePath() + QStringLiteral("/presets/Preset_7.preset");
    const QString slot9 = device.storagePath() + QStringLiteral("/presets/Preset_9.preset");
    QFile file(slot7);
    if (!file.open(QIODevice::WriteOnly) || file.write(preset) != preset.size())
        return 1;
    file.close();

    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, device.address());
    QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
    QSignalSpy ready(TCPAdaptor::instance(), &TCPAdaptor::vimbalReady);
    TCPAdaptor::instance()->doConnect();
    if (!ready.wait(kWaitMs)) {
        std::fprintf(stderr, "no login\n");
        return 1;
    }

    QTemporaryDir local;
    FileSystemModel folder(local.filePath(QStringLiteral("Presets")), nullptr);
    DevicePresetModel model;
    QObject::connect(
        &model, &DevicePresetModel::presetAvailable, &folder,
        [&](const QByteArray& bytes) { folder.addPresetToFileSystem("Fetched", bytes); });
    QObject::connect(&folder, &FileSystemModel::presetAvailable, &model,
                     [&](const QByteArray& bytes) { model.transfer("9", "Bench", bytes); });
    const QString fetched = folder.folder() + QStringLiteral("/Fetched");
    const QString curlFetched = local.filePath(QStringLiteral("curl.preset"));
    const auto url = [&](const QString& path) {
        QUrl url(QStringLiteral("ftp://") + device.address() + path);
        url.setUserName(QStringLiteral("qx8ftp"));
        url.setPassword(QStringLiteral("qebtorin@847"));
        return url.toString(QUrl::FullyEncoded);
    };
    // Each run checks what it delivered and clears it for the next.
    const auto delivered = [&](double ms, const QString& path) {
        const bool same = readFile(path) == preset;
        QFile::remove(path);
        return same ? ms : -1;
    };
    std::vector<Run> runs;
    runs.push_back({"fetch", [&] {
                        const double ms = untilIdle(model, [&] { model.presetFetch("7"); });
                        return delivered(ms, fetched);
                    }});
    runs.push_back({"curl get", [&] {
                        return delivered(
                            runCurl({"-o", curlFetched, url("/presets/Preset_7.preset")}),
                            curlFetched);
                    }});
    runs.push_back({"send", [&] {
                        QFile::copy(slot7, fetched);
                        const double ms = untilIdle(model, [&] { folder.transfer("Fetched"); });
                        QFile::remove(fetched);
                        return delivered(ms, slot9);
                    }});
    runs.push_back(
        {"curl put", [&] {
             return delivered(runCurl({"-T", slot7, url("/presets/Preset_9.preset")}), slot9);
         }});

    std::printf("1 MiB preset over loopback against VirtualQX8 (pyftpdlib), %d rounds; the screen "
                "keeps its session open, curl starts and logs in each time\n",
                rounds);
    // Round 0 warms the caches and the session up and is not counted.
    for (int round = 0; round <= rounds; ++round) {
        std::printf(round ? "round %d:" : "warm-up:", round);
        for (size_t i = 0; i < runs.size(); ++i) {
            Run& run = runs[round % 2 ? runs.size() - 1 - i : i];
            const double ms = run.transfer();
            if (ms < 0) {
                std::printf("\n%s failed or delivered other bytes\n", run.name);
                return 1;
            }
            std::printf("  %s %.1f ms;", run.name, ms);
            if (round)
                run.milliseconds.push_back(ms);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    const auto row = [&](const Run& ours, const Run& peer, const char* path) {
        const double figure = median(ours.milliseconds);
        const double peerFigure = median(peer.milliseconds);
        std::printf("ROW|%s, 1 MiB (VirtualQX8)|%.1f ms|curl %.1f ms|%.2fx|<= 1.5x curl\n", path,
                    figure, peerFigure, figure / peerFigure);
    };
    row(runs[0], runs[1], "Preset fetch into the local folder");
    row(runs[2], runs[3], "Preset send from the local folder, slot named");
    TCPAdaptor::instance()->shutdown();
    return 0;
}
