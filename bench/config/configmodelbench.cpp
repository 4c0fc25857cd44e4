// The configuration model in the running application against VirtualQX8, with the largest
// catalogue configuration: one edit from the QML call to the home page reloaded (beside the
// builder alone on the same configuration), and one apply from the QML call to the device's
// completion line (beside one console round trip). Prints ROW lines for scripts/bench.sh.
//
// Run inside scripts/netns-run: configmodelbench [rounds]
#include "applicationstartup.h"
#include "benchtools.h"
#include "configresources.h"
#include "homescreenmodel.h"
#include "jsoncommandchannel.h"
#include "qx8settings.h"
#include "qx8textsv.h"
#include "settingskeys.h"
#include "viewloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWaitMs = 30000;

// Runs the event loop until `signal` of `sender` fires; false after kWaitMs without it.
template<typename Sender, typename Signal> bool waitForSignal(Sender* sender, Signal signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&loop] { loop.quit(); });
    QTimer::singleShot(kWaitMs, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

double msSince(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

// The catalogue's widest crossover: most outputs, then most inputs.
CrossoverType largestCrossover()
{
    const std::vector<CrossoverType>& types = ConfigResources::catalogue().types();
    return *std::max_element(types.begin(), types.end(),
                             [](const CrossoverType& a, const CrossoverType& b) {
                                 return a.outputs * 10 + a.inputs < b.outputs * 10 + b.inputs;
                             });
}

class Bench
{
public:
    Bench(HomeScreenModel* model, QObject* pageLoader) : m_model(model), m_pageLoader(pageLoader) {}

    // From the call to the new home page in the page loader (a QQuickLoader, whose signal is
    // reachable by name only).
    double timedUntilReloaded(const std::function<void()>& call)
    {
        QEventLoop loop;
        QObject::connect(m_pageLoader, SIGNAL(loaded()), &loop, SLOT(quit()));
        QTimer::singleShot(kWaitMs, &loop, [&loop] { loop.exit(1); });
        QElapsedTimer clock;
        clock.start();
        call();
        return loop.exec() == 0 ? msSince(clock) : -1;
    }

    // Links the first insert of the input column once more, or unlinks it when it cannot grow:
    // every call changes the configuration.
    double timedEdit()
    {
        const char* method = m_model->linkTest(3, 0, 1) ? "link" : "unlink";
        return timedUntilReloaded([this, method] {
            QMetaObject::invokeMethod(m_model, method, Q_ARG(int, 3), Q_ARG(int, 0));
        });
    }

    double timedApply()
    {
        // An edit may lead back to what the device holds: edit until there is something to apply.
        while (!m_model->enCfgApply()) {
            if (timedEdit() < 0)
                return -1;
        }
        QElapsedTimer clock;
        clock.start();
        QMetaObject::invokeMethod(m_model, "applyAllChanges");
        return waitForSignal(m_model, &HomeScreenModel::reconfigResponseReceived) ? msSince(clock)
                                                                                  : -1;
    }

    double timedBuild()
    {
        QJsonObject built;
        QString error;
        Reconfigurator reconfigurator;
        QElapsedTimer clock;
        clock.start();
        const bool ok = reconfigurator.buildConfig(
            m_model->workingConfig().value(QLatin1String(".builderConfig")).toObject(), built,
            &error);
        return ok ? msSince(clock) : -1;
    }

private:
    HomeScreenModel* m_model;
    QObject* m_pageLoader;
};

double timedRoundTrip(QX8TextSV& variable)
{
    QElapsedTimer clock;
    clock.start();
    variable.requestValue();
    return waitForSignal(&variable, &QX8TextSV::valueChanged) ? msSince(clock) : -1;
}

} // namespace

using benchtools::median;

int main(int argc, char** argv)
{
    QTemporaryDir home;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, home.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));

    const QString address = QStringLiteral("127.0.99.8");
    QProcess device;
    device.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    device.start(QStringLiteral(QX8_VIRTUAL_PROCESSOR_PATH),
                 {QStringLiteral("--address"), address});
    if (!device.waitForReadyRead(10000)) {
        std::fprintf(stderr, "VirtualQX8 did not start\n");
        return 2;
    }

    ApplicationStartup startup(application);
    if (startup.start() != ApplicationStartup::Outcome::Started)
        return 2;
    ViewLoader* loader = startup.viewLoader();
    QQuickItem* root = loader->view()->rootObject();
    auto* model = root->findChild<HomeScreenModel*>();
    QObject* pageLoader = root->findChild<QObject*>(QStringLiteral("pageLoader"));
    QMetaObject::invokeMethod(root, "guiSignal", Q_ARG(QString, QStringLiteral("ConnectDevice")),
                              Q_ARG(QString, address + QStringLiteral(":quillrampstow")));
    const bool connected = waitForSignal(model, &HomeScreenModel::readyChanged) &&
                           waitForSignal(loader, &ViewLoader::loadPage);
    QEventLoop settle;
    QTimer::singleShot(1000, &settle, &QEventLoop::quit); // the login's own reloads go first
    settle.exec();
    if (!connected || !model->ready() || JsonCommandChannel::instance()->pendingCount() != 0) {
        std::fprintf(stderr, "no login to VirtualQX8\n");
        return 3;
    }

    Bench bench(model, pageLoader);
    const CrossoverType largest = largestCrossover();
    if (bench.timedUntilReloaded([&] {
            QMetaObject::invokeMethod(model, "setCrossoverConfig", Q_ARG(int, 0),
                                      Q_ARG(QString, largest.displayName));
        }) < 0) {
        std::fprintf(stderr, "the crossover %s was not taken\n", qPrintable(largest.configName));
        return 4;
    }
    QX8TextSV probe;
    probe.setPOName(QStringLiteral("NPO"));
    probe.setSVName(QStringLiteral("Node\\SV\\HardwareVersion"));

    std::vector<double> edits, builds, applies, roundTrips;
    for (int round = 0; round < rounds; ++round) {
        edits.push_back(bench.timedEdit());
        builds.push_back(bench.timedBuild());
        applies.push_back(bench.timedApply());
        roundTrips.push_back(timedRoundTrip(probe));
    }
    for (const std::vector<double>* figures : {&edits, &builds, &applies, &roundTrips}) {
        if (*std::min_element(figures->begin(), figures->end()) < 0) {
            std::fprintf(stderr, "a measurement did not complete\n");
            return 5;
        }
    }
    const QByteArray name = largest.configName.toUtf8();
    std::printf("ROW|configuration edit, QML call to home page reloaded (%s)|%.1f ms|builder "
                "alone %.1f ms|%.1fx|< 100 ms, one reload\n",
                name.constData(), median(edits), median(builds), median(edits) / median(builds));
    std::printf("ROW|apply, QML call to reconfigResponse from VirtualQX8 (%s)|%.1f ms|console "
                "round trip %.2f ms|%.1fx|< 1 s\n",
                name.constData(), median(applies), median(roundTrips),
                median(applies) / median(roundTrips));
    device.kill();
    device.waitForFinished();
    return 0;
}
