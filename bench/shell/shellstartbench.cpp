// Start to first frame and peak memory of the application (offscreen, software backend), at the
// discovery page and at the home page after login to VirtualQX8, beside a minimal Qt Quick
// application, all measured in fresh processes of this executable in the same run.
//
// Run inside scripts/netns-run: shellstartbench [runs]
#include "applicationstartup.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "viewloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <utility>

namespace {
QElapsedTimer g_clock;

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Prints "<ms to first frame> <peak KiB>" after the first frame that follows `ready`.
void reportAfterNextFrame(QQuickWindow* window)
{
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
        static bool reported = false;
        if (std::exchange(reported, true))
            return;
        std::printf("%lld %ld\n", static_cast<long long>(g_clock.elapsed()), peakKilobytes());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    window->update();
}

int runMinimal(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    QTemporaryDir folder;
    QFile page(folder.filePath(QStringLiteral("minimal.qml")));
    if (!page.open(QIODevice::WriteOnly))
        return 4;
    page.write("import QtQuick 2.15\nRectangle { color: \"black\" }\n");
    page.close();
    QQuickView view;
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setSource(QUrl::fromLocalFile(page.fileName()));
    view.resize(1024, 768);
    view.show();
    reportAfterNextFrame(&view);
    return application.exec();
}

int runApplication(int argc, char** argv, const QString& deviceAddress)
{
    QApplication application(argc, argv);
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    ApplicationStartup startup(application);
    if (startup.start() != ApplicationStartup::Outcome::Started)
        return 2;
    ViewLoader* loader = startup.viewLoader();
    if (deviceAddress.isEmpty()) {
        // After the queued load of the discovery page.
        QTimer::singleShot(0, loader, [loader] { reportAfterNextFrame(loader->view()); });
    } else {
        QObject::connect(loader, &ViewLoader::loadPage, loader, [loader](QVariant page) {
            if (page.toString() == QLatin1String("QX8HomeScreen.qml"))
                QTimer::singleShot(0, loader, [loader] { reportAfterNextFrame(loader->view()); });
        });
        QMetaObject::invokeMethod(loader->view()->rootObject(), "guiSignal",
                                  Q_ARG(QString, QStringLiteral("ConnectDevice")),
                                  Q_ARG(QString, deviceAddress + QStringLiteral(":quillrampstow")));
    }
    QTimer::singleShot(30000, &application, [] { QCoreApplication::exit(3); });
    return application.exec();
}

struct Sample
{
    long long ms = 0;
    long kib = 0;
};

bool measure(const QString& mode, Sample* sample)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"})
        environment.insert(QString::fromLatin1(name), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--measure"), mode});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return false;
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2)
        return false;
    sample->ms = fields.at(0).toLongLong();
    sample->kib = fields.at(1).toLong();
    return true;
}

void report(const char* name, const QString& mode, int runs)
{
    std::vector<Sample> samples;
    for (int run = 0; run < runs; ++run) {
        Sample sample;
        if (!measure(mode, &sample)) {
            std::printf("%-34s failed\n", name);
            return;
        }
        samples.push_back(sample);
    }
    std::sort(samples.begin(), samples.end(),
              [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
    long peak = 0;
    for (const Sample& sample : samples)
        peak = std::max(peak, sample.kib);
    std::printf("%-34s first frame median %5lld ms (min %5lld, max %5lld)   peak RSS %7.1f MiB\n",
                name, samples[samples.size() / 2].ms, samples.front().ms, samples.back().ms,
                peak / 1024.0);
}
} // namespace

int main(int argc, char** argv)
{
    g_clock.start();
    if (argc == 3 && qstrcmp(argv[1], "--measure") == 0) {
        const QString mode = QString::fromLatin1(argv[2]);
        if (mode == QLatin1String("minimal"))
            return runMinimal(argc, argv);
        if (mode == QLatin1String("discovery"))
            return runApplication(argc, argv, QString());
        return runApplication(argc, argv, mode);
    }
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    // A virtual processor of our own, on a loopback address no test uses.
    const QString address = QStringLiteral("127.0.99.7");
    QProcess device;
    device.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    device.start(QStringLiteral(QX8_VIRTUAL_PROCESSOR_PATH),
                 {QStringLiteral("--address"), address});
    device.waitForReadyRead(10000);

    std::printf("%d runs each, offscreen, software backend\n", runs);
    report("minimal Qt Quick application", QStringLiteral("minimal"), runs);
    report("QX8Control, discovery page", QStringLiteral("discovery"), runs);
    report("QX8Control, home page after login", address, runs);
    device.kill();
    device.waitForFinished();
    return 0;
}
