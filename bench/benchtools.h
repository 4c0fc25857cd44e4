// Helpers the benchmarks share: the median of their rounds, their numeric options and a timed curl.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

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

} // namespace benchtools
