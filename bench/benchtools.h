// Helpers the benchmarks share: the median of their rounds, their numeric options, a timed curl
// and the event loop for a while.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>

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

} // namespace benchtools
