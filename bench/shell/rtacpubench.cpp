// GUI-thread CPU time per second with the analyser page open (its bars polled from the device's
// band meters and painted), beside the idle home screen and beside 128 polled meters and clip
// LEDs on the home screen, all in one application against VirtualQX8 on loopback.
// Goal: the analyser page at most twice the 128 polled controls.
//
// Run inside scripts/netns-run through tests/isolate.sh (private settings, offscreen):
//   QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/shell/rtacpubench
// QX8_BENCH_SECONDS sets the seconds per phase (default 5).
#include "benchtools.h"
#include "devicemodel.h"
#include "pagesession.h"
#include "qx8led.h"
#include "qx8meter.h"
#include "testharness.h"
#include "testmain.h"

#include <QtTest>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kPolledControls = 128;

// `control` bound to the processing-object variable at `path` ("Preset\InputMeters\SV\...").
std::unique_ptr<QX8Control> bound(std::unique_ptr<QX8Control> control, const QString& path)
{
    control->setPOName(path.section('\\', 1, 1));
    control->setSVName(path.section('\\', 3));
    control->componentCompleted();
    return control;
}

// `count` meters on the moving levels and clip LEDs on the moving indicators of the device model,
// as the meters benchmark polls them, leaving out the analyser's own bands; the model's moving
// variables taken round again until there are `count`.
std::vector<std::unique_ptr<QX8Control>> polledControls(int count)
{
    QList<DeviceModel::Variable> moving;
    for (const DeviceModel::Variable& variable : DeviceModel::fromResources().variables()) {
        if (variable.motionPeriodMs != 0 && variable.analyserBand == 0 &&
            variable.path.startsWith(QLatin1String("Preset\\")))
            moving.append(variable);
    }
    std::vector<std::unique_ptr<QX8Control>> controls;
    for (int i = 0; i < count && !moving.isEmpty(); ++i) {
        const DeviceModel::Variable& variable = moving.at(i % moving.size());
        if (variable.kind == DeviceModel::Kind::Number) {
            auto meter = std::make_unique<QX8Meter>();
            meter->setRangeBounaryValues({-80, -40, -20, 0, 6});
            meter->setRangeLengthsInPercentage({20, 30, 40, 10});
            controls.push_back(bound(std::move(meter), variable.path));
        } else {
            controls.push_back(bound(std::make_unique<QX8LED>(), variable.path));
        }
    }
    return controls;
}

} // namespace

class RtaCpuBench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void guiThreadCpu();

private:
    PageSession m_session;
};

void RtaCpuBench::guiThreadCpu()
{
    const int phaseSeconds = qEnvironmentVariableIsSet("QX8_BENCH_SECONDS")
                                 ? qMax(1, qEnvironmentVariableIntValue("QX8_BENCH_SECONDS"))
                                 : 5;
    QVERIFY(m_session.start());
    const double idleHome = benchtools::cpuMsPerSecond(CLOCK_THREAD_CPUTIME_ID, phaseSeconds);

    auto controls = polledControls(kPolledControls);
    QCOMPARE(int(controls.size()), kPolledControls);
    benchtools::runEventLoop(500);
    const double polledMeters = benchtools::cpuMsPerSecond(CLOCK_THREAD_CPUTIME_ID, phaseSeconds);
    controls.clear();

    QVERIFY(m_session.open(QStringLiteral("RTA"), QString(), QStringLiteral("ScreenRTA.qml")));
    QVERIFY(m_session.waitForValues(qx8test::timeoutMs()).isEmpty());
    benchtools::runEventLoop(500);
    const double rtaPage = benchtools::cpuMsPerSecond(CLOCK_THREAD_CPUTIME_ID, phaseSeconds);
    m_session.stop();

    std::printf("ROW|GUI-thread CPU, idle home screen|%.1f ms/s|-|-|-\n", idleHome);
    std::printf("ROW|GUI-thread CPU, analyser page open|%.1f ms/s|%d polled meters and LEDs: %.1f "
                "ms/s|%.2f|<= 2x\n",
                rtaPage, kPolledControls, polledMeters, rtaPage / polledMeters);
    std::fflush(stdout);
}

QX8_TEST_MAIN(RtaCpuBench)
#include "rtacpubench.moc"
