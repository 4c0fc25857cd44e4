#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <optional>

// Keeps a log line that a peer can cause at will (a line without end, a broken answer) from
// flooding the log: the first occurrence is logged, later ones at most once per interval, each
// line counting what it stands for. A flood of bad input then costs the log a line a second,
// not a line an occurrence. Used by one thread at a time.
class PeerLogLimiter
{
public:
    using Clock = std::chrono::steady_clock;

    explicit PeerLogLimiter(std::chrono::milliseconds interval = std::chrono::seconds(1))
        : m_interval(interval)
    {
    }

    // Counts an occurrence (of `amount`: bytes, answers). When a line is due, returns what it
    // stands for: everything counted since the last line, this occurrence included.
    std::optional<qint64> due(qint64 amount = 1);
    // What was counted since the last line and is not yet logged; counting starts again.
    std::optional<qint64> rest();

    // " (N times since the last report)" for a line standing for several occurrences, else empty.
    static QString times(qint64 count);

private:
    const std::chrono::milliseconds m_interval;
    std::optional<Clock::time_point> m_lastLine;
    qint64 m_counted = 0;
};
