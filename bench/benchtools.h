// Helpers the benchmarks share: the median of their rounds, their numeric options, a timed curl,
// the event loop for a while and the CPU time spent meanwhile.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace benchtools {

// The middle figure; with an even count the mean of the two middle ones.
template<typename Figures> double median(Figures values)
{
    std::sort(values.begin(), values.end());
    const auto n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The whole number after `name` among the arguments, or the fallback.
inline int option(const QStringList& arguments, const char* name, int fallback)
{
    const int index = arguments.indexOf(QLatin1String(name));
    return index > 0 ? arguments.value(index + 1).toInt() : fallback;
}

// Seconds curl takes with these arguments, or -1 when it fails.
inline double runCurl(const QStringList& arguments, int limitMs)
{
    QProcess curl;
    QElapsedTimer clock;
    clock.start();
    curl.start(QStringLiteral("curl"), QStringList{"-s", "-S"} + arguments);
    if (!curl.waitForFinished(limitMs) || curl.exitCode() != 0) {
        std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
        return -1;
    }
    return clock.nsecsElapsed() / 1e9;
}

// The application's event loop for a while. (QTest::qWait sleeps 10 ms between rounds of events,
// which holds every answer back, paces polls by the sleeps and gathers the work of a round.)
inline void runEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// CPU milliseconds per wall-clock second that `clock` (CLOCK_THREAD_CPUTIME_ID for the calling
// thread, CLOCK_PROCESS_CPUTIME_ID for every thread) counts while the event loop runs `seconds`.
inline double cpuMsPerSecond(clockid_t clock, int seconds)
{
    const auto cpuMs = [clock] {
        timespec now{};
        clock_gettime(clock, &now);
        return now.tv_sec * 1000.0 + now.tv_nsec / 1.0e6;
    };
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = cpuMs();
    runEventLoop(seconds * 1000);
    return (cpuMs() - cpuStart) / (wall.elapsed() / 1000.0);
}

} // namespace benchtools
