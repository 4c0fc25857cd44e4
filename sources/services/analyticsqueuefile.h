#pragma once

#include "formquery.h"

#include <QDateTime>
#include <QList>
#include <QString>

// One queued analytics hit: every parameter but the queue time, the local time it was queued,
// and an id of its own, so that an answer removes exactly the hit it belongs to.
struct QueryBuffer
{
    FormQuery postQuery;
    QDateTime time;
    quint64 id = 0;
};

// The file that holds the queued hits while the application is not active: one indented JSON
// array of {"time", "url"} objects, "time" in Qt's text date form (whole seconds) and "url" the
// hit's form text. Written atomically; a file that is torn, hostile or too large is logged,
// removed and restores nothing; at most kMaximumHits hits are restored. Anything but a regular
// file in its place (a FIFO would hold the read for ever) is logged and left alone: it is neither
// read, nor removed, nor replaced.
class AnalyticsQueueFile
{
public:
    static constexpr int kMaximumHits = 1000;
    static constexpr qint64 kMaximumBytes = 4 * 1024 * 1024;

    explicit AnalyticsQueueFile(const QString& path) : m_path(path) {}

    // Replaces the file with `hits`; an empty list removes it. False, with a log line, when it
    // could not be written (the old file then stays).
    bool write(const QList<QueryBuffer>& hits) const;
    // The hits of the file, oldest first, without ids; the file is removed once it was read.
    // A file that cannot be opened stays and gives nothing.
    QList<QueryBuffer> take() const;

private:
    // True, with a log line, when what lies in the file's place is not a regular file.
    bool isLeftAlone() const;

    QString m_path;
};
