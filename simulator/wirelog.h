#pragma once

#include <QFile>
#include <QString>

// Every console line in both directions, one per line, flushed at once so a test can read the
// file while the processor runs:
//   <n> connected | <n> RX <line> | <n> TX <line> | <n> TX-RAW <escaped bytes> | <n> closed
//   udp RX <sender address>:<port> <line> | udp TX <receiver address>:<port> <line>
// n numbers the console connections from 1.
class WireLog
{
public:
    // Without a file name the log writes nothing.
    bool open(const QString& fileName, QString* error);
    void write(const QString& source, const QString& event);

private:
    QFile m_file;
};
