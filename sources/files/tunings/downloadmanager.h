#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QThread>
#include <QUrl>

class DownloadQueue;

// Fetches files over HTTP into a folder, one after the other, on a thread of its own. Work comes
// in batches (one URL or a list, one target folder, which may be emptied first); batches run in
// the order requested. Each file gets one currentDownloadFinished(), each batch one
// allDonwloadsFinished() after its last file. A file is saved under the last segment of its
// decoded URL path ("index.html" when that is empty); a segment that is not a plain file name
// fails that file and saves nothing.
//
// The object lives in the thread that made it; its signals reach that thread queued. Callable
// from any thread.
class DownloadManager : public QObject
{
    Q_OBJECT

public:
    explicit DownloadManager(QObject* parent = nullptr);
    ~DownloadManager() override;

    void requestDownload(const QUrl& url, const QString& dir, bool deleteExisting);
    void requestDownloadMultiple(const QList<QUrl>& urls, const QString& dir, bool deleteExisting);

Q_SIGNALS:
    void currentDownloadFinished(QUrl url, bool success, QString errorString);
    void currentDownloadProgress(QUrl url, qlonglong bytesReceived, qlonglong bytesTotal);
    // downloadCount: files of the batch saved; totalCount: URLs in the batch.
    void allDonwloadsFinished(int downloadCount, int totalCount);

private:
    QThread m_thread;
    DownloadQueue* m_queue;
};
