// Start to first frame and peak memory of the application (offscreen, software backend), at the
// discovery page and at the home page after login to VirtualQX8, beside a minimal Qt Quick
// application, all measured in fresh processes of this executable in the same run. Prints a row
// for scripts/bench.sh.
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

// Prints "<ms to first frame> <peak KiB>" once, and ends the measured process.
void report()
{
    static bool reported = false;
    if (std::exchange(reported, true))
        return;
    std::printf("%lld %ld\n", static_cast<long long>(g_clock.elapsed()), peakKilobytes());
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

// Reports after the window's next frame.
void reportAfterNextFrame(QQuickWindow* window)
{
    QObject::connect(window, &QQuickWindow::frameSwapped, window, &report);
    window->update();
}

// Reports after the first frame in which main.qml's page loader holds `page`: loading a page
// changes the scene, so a frame follows it.
void reportAfterPageShown(QQuickView* view, const QString& page)
{
    const QObject* pageLoader =
        view->rootObject()->findChild<QObject*>(QStringLiteral("pageLoader"));
    QObject::connect(view, &QQuickWindow::frameSwapped, view, [pageLoader, page] {
        if (pageLoader->property("item").value<QObject*>() &&
            pageLoader->property("source").toUrl().toString().endsWith(page))
            report();
    });
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
    ApplicationStartup startup(application);
    if (startup.start() != ApplicationStartup::Outcome::Started)
        return 2;
    QQuickView* view = startup.viewLoader()->view();
    if (deviceAddress.isEmpty()) {
        reportAfterPageShown(view, QStringLiteral("QX8Discovery.qml"));
    } else {
        reportAfterPageShown(view, QStringLiteral("QX8HomeScreen.qml"));
        QMetaObject::invokeMethod(view->rootObject(), "guiSignal",
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

// One measured process in `home`; false when it did not report.
bool runMeasured(const QTemporaryDir& home, const QString& mode, Sample* sample)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR"})
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

struct Subject
{
    const char* name;
    QString mode;
    bool later; // a later start: the same folders after one start (settings, QML cache)
    std::vector<Sample> samples;

    bool measure()
    {
        QTemporaryDir home;
        Sample sample;
        if ((later && !runMeasured(home, mode, &sample)) || !runMeasured(home, mode, &sample))
            return false;
        samples.push_back(sample);
        return true;
    }
    long long medianMs()
    {
        std::sort(samples.begin(), samples.end(),
                  [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
        return samples[samples.size() / 2].ms;
    }
    void print()
    {
        const long long median = medianMs();
        long peak = 0;
        for (const Sample& sample : samples)
            peak = std::max(peak, sample.kib);
        std::printf(
            "%-42s first frame median %5lld ms (min %5lld, max %5lld)   peak RSS %7.1f MiB\n", name,
            median, samples.front().ms, samples.back().ms, peak / 1024.0);
    }
};

void printRow(const char* path, Subject& subject, Subject& peer)
{
    const long long figure = subject.medianMs();
    const long long minimal = peer.medianMs();
    std::printf("ROW|%s|%lld ms|minimal Qt Quick app: %lld ms|%.2fx|<= 2x the minimal app\n", path,
                figure, minimal, double(figure) / double(std::max(1LL, minimal)));
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--measure") == 0) {
        const QString mode = QString::fromLatin1(argv[2]);
        if (mode != QLatin1String("minimal")) {
            // Analytics and update checks stay off: set before the clock starts.
            QX8Settings settings;
            settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
            settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
        }
        g_clock.start();
        if (mode == QLatin1String("minimal"))
            return runMinimal(argc, argv);
        if (mode == QLatin1String("discovery"))
            return runApplication(argc, argv, QString());
        return runApplication(argc, argv, mode);
    }
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;

    // A virtual processor of our own, on a loopback address no test uses.
    const QString address = QStringLiteral("127.0.99.7");
    QProcess device;
    device.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    device.start(QStringLiteral(QX8_VIRTUAL_PROCESSOR_PATH),
                 {QStringLiteral("--address"), address});
    device.waitForReadyRead(10000);

    // Fresh processes with fresh folders (a first start: no settings, no QML cache), and a later
    // start in folders that one start has filled; the subjects take turns, so that a change in
    // the machine's load reaches them alike.
    Subject subjects[] = {
        {"minimal Qt Quick application", QStringLiteral("minimal"), false, {}},
        {"QX8Control, discovery page", QStringLiteral("discovery"), false, {}},
        {"QX8Control, home page after login", address, false, {}},
        {"minimal Qt Quick application, later start", QStringLiteral("minimal"), true, {}},
        {"QX8Control, discovery page, later start", QStringLiteral("discovery"), true, {}}};
    for (int run = 0; run < runs; ++run) {
        for (Subject& subject : subjects) {
            if (!subject.measure()) {
                std::printf("%s: failed\n", subject.name);
                device.kill();
                device.waitForFinished();
                return 1;
            }
        }
    }
    std::printf("%d runs each, offscreen, software backend\n", runs);
    for (Subject& subject : subjects)
        subject.print();
    printRow("start to first frame, discovery page", subjects[1], subjects[0]);
    printRow("start to first frame, discovery page, later start", subjects[4], subjects[3]);
    device.kill();
    device.waitForFinished();
    return 0;
}
