#pragma once

#include "analyticsqueuefile.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// Turns the content of the analytics queue file into hits, on a thread of its own (WorkerHost):
// a file of 4 MiB takes a while to parse, and the file is read as the application becomes active,
// its window just shown.
class AnalyticsQueueReader : public QObject
{
    Q_OBJECT

public:
    explicit AnalyticsQueueReader(const QString& path) : m_path(path) {}

    // hitsRead() with the hits of `content`, under `serial`.
    void read(quint64 serial, const QByteArray& content)
    {
        Q_EMIT hitsRead(serial, AnalyticsQueueFile::hitsOf(content, m_path));
    }

Q_SIGNALS:
    void hitsRead(quint64 serial, const QList<QueryBuffer>& hits);

private:
    const QString m_path;
};
