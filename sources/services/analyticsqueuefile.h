#pragma once

#include "formquery.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// One queued analytics hit: every parameter but the queue time, the local time it was queued,
// and an id of its own, so that an answer removes exactly the hit it belongs to.
struct QueryBuffer
{
    FormQuery postQuery;
    QDateTime time;
    quint64 id = 0;
};
Q_DECLARE_METATYPE(QueryBuffer)

// The file that holds the queued hits while the application is not active: one indented JSON
// array of {"time", "url"} objects, "time" in Qt's text date form (whole seconds) and "url" the
// hit's form text. Written atomically; a file that is torn, hostile or too large is logged,
// removed and restores nothing; at most kMaximumHits hits are restored, the last ones. Anything
// but a regular file in its place (a FIFO would hold the read for ever) is left alone: it is
// neither read, nor removed, nor replaced, and said once.
class AnalyticsQueueFile
{
public:
    static constexpr int kMaximumHits = 1000;
    static constexpr qint64 kMaximumBytes = 4 * 1024 * 1024;

    explicit AnalyticsQueueFile(const QString& path) : m_path(path) {}

    QString path() const { return m_path; }

    // Replaces the file with `hits`; an empty list removes it. False, with a log line, when it
    // could not be written (the old file then stays).
    bool write(const QList<QueryBuffer>& hits) const;
    // The hits of the file, as hitsOf() reads what takeContent() takes.
    QList<QueryBuffer> take() const;
    // The file's content, and the file removed once it was read. None when there is no file, and
    // none, logged, when it is left alone, too large (removed) or cannot be opened (kept).
    std::optional<QByteArray> takeContent() const;
    // The hits of the content of the queue file at `path`, oldest first, without ids: the last
    // kMaximumHits readable ones; the elements before them are not turned into hits. What cannot
    // be read is logged. Any thread.
    static QList<QueryBuffer> hitsOf(const QByteArray& content, const QString& path);

private:
    // True when what lies in the file's place is not a regular file; logged the first time.
    bool isLeftAlone() const;

    QString m_path;
    mutable bool m_saidLeftAlone = false;
};
