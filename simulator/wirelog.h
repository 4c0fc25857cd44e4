#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>

// Every console line in both directions, one per line, flushed at once so a test can read the
// file while the processor runs:
//   <n> connected | <n> RX <line> | <n> TX <line> | <n> TX-RAW <escaped bytes> | <n> closed
//   udp RX <sender address>:<port> <line> | udp TX <receiver address>:<port> <line>
// n numbers the console connections from 1. A line read is logged when it is read, a line sent
// when its last byte is written.
// With times, every entry starts with the milliseconds since the processor started, and the entry
// `<n> answered` follows the last line of each answer, so that a reader can tell how many
// requests were unanswered at any moment.
class WireLog
{
public:
    WireLog() { m_clock.start(); }
    // Without a file name the log writes nothing.
    bool open(const QString& fileName, bool withTimes, QString* error);
    void write(const QString& source, const QString& event);
    // The answer to the oldest unanswered request of connection `source` is sent in full.
    void writeAnswered(const QString& source);
    // The clock the times are read from: the console channels time their answers by it too, so
    // that an answer held back a latency is logged at least that long after its request.
    qint64 elapsedMs() const { return m_clock.elapsed(); }

private:
    QFile m_file;
    bool m_withTimes = false;
    QElapsedTimer m_clock;
};
