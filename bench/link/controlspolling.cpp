// GUI-thread CPU time per second with a meter on every moving level and a clip LED on every
// moving indicator of the device model polling VirtualQX8 at their period, beside the same link
// with no polled controls. Run inside scripts/netns-run:
//   bench_controls_polling [seconds per phase, default 5]
#include "benchtools.h"
#include "devicemodel.h"
#include "qx8led.h"
#include "qx8meter.h"
#include "tst_controlfixture.h"

#include <QCoreApplication>
#include <ctime>
#include <memory>
#include <vector>

namespace {

// A control on the processing-object variable at `path` ("Preset\RTA\SV\Band_1_Level").
template<typename Control> std::unique_ptr<Control> pollVariable(const QString& path)
{
    return boundControl<Control>(path.section('\\', 1, 1), path.section('\\', 3));
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1.0e6;
}

struct Phase
{
    double cpuMsPerSecond;
    double pollsPerSecond;
};

Phase measure(LoggedInDevice& device, int seconds)
{
    device.clearSent();
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = threadCpuMs();
    benchtools::runEventLoop(seconds * 1000);
    const double cpu = threadCpuMs() - cpuStart;
    const double elapsedS = wall.elapsed() / 1000.0;
    return {cpu / elapsedS, device.sent("asyncget").size() / elapsedS};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QX8_VIRTUAL_PROCESSOR"))
        qputenv("QX8_VIRTUAL_PROCESSOR", QX8_VIRTUAL_PROCESSOR_PATH);
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 5;

    LoggedInDevice device;
    if (!device.start()) {
        fprintf(stderr, "VirtualQX8 did not come up or the link did not log in\n");
        return 1;
    }
    const Phase idle = measure(device, seconds);

    std::vector<std::unique_ptr<QX8Control>> controls;
    int meters = 0;
    int leds = 0;
    for (const DeviceModel::Variable& variable : DeviceModel::fromResources().variables()) {
        if (variable.motionPeriodMs == 0 || !variable.path.startsWith("Preset\\"))
            continue;
        if (variable.kind == DeviceModel::Kind::Number) {
            auto meter = pollVariable<QX8Meter>(variable.path);
            meter->setRangeBounaryValues({-80, -40, -20, 0, 6});
            meter->setRangeLengthsInPercentage({20, 30, 40, 10});
            controls.push_back(std::move(meter));
            ++meters;
        } else {
            controls.push_back(pollVariable<QX8LED>(variable.path));
            ++leds;
        }
    }
    benchtools::runEventLoop(500);
    const Phase polling = measure(device, seconds);
    controls.clear();

    printf("phase                       GUI CPU ms/s   polls/s\n");
    printf("no polled controls          %12.1f  %8.0f\n", idle.cpuMsPerSecond, idle.pollsPerSecond);
    printf("%d meters + %d clip LEDs    %12.1f  %8.0f\n", meters, leds, polling.cpuMsPerSecond,
           polling.pollsPerSecond);
    return 0;
}
