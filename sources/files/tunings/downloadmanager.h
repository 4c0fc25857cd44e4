#pragma once

#include "downloadbudget.h"
#include "downloadsignals.h"
#include "workerthread.h"

#include <QList>
#include <QString>
#include <QUrl>

class DownloadQueue;

// Fetches files over HTTP into a folder, one after the other, on a thread of its own. Work comes
// in batches (one URL or a list, one target folder, which may be emptied first); batches run in
// the order requested. Each file gets one currentDownloadFinished(), each batch one
// allDonwloadsFinished() after its last file. A file is saved under the last segment of its
// decoded URL path ("index.html" when that is empty); a segment that is not a plain file name
// fails that file and saves nothing. A budget (setBudget()) bounds what later downloads take of
// the disk.
//
// The object lives in the thread that made it; its signals reach that thread queued, but for the
// two authentication requests, which come on the download thread: connect to them directly (or
// blocking-queued) and fill in the authenticator before returning. Callable from any thread.
// Destroying it ends the download thread (WorkerThread::stop()).
class DownloadManager : public DownloadSignals
{
    Q_OBJECT

public:
    explicit DownloadManager(QObject* parent = nullptr);

    // Emit download() and downloadMultiple(); each, from any thread, posts a batch to the
    // download thread.
    void requestDownload(const QUrl& url, const QString& dir, bool deleteExisting);
    void requestDownloadMultiple(const QList<QUrl>& urls, const QString& dir, bool deleteExisting);
    // From here on, the downloads take `budget.total` decoded bytes in all at the most, each file
    // no more than what is left, and leave `budget.freeSpaceMargin` free on their disk; a file
    // stopped by either ends its batch (downloadsStopped()). Without a budget only each file's
    // ceiling bounds them.
    void setBudget(const DownloadBudget& budget);

Q_SIGNALS:
    void download(QUrl url, QString dir, bool deleteExisitingDirectory);
    void downloadMultiple(QList<QUrl> urls, QString dir, bool deleteExisitingDirectory);

private:
    void enqueue(const QList<QUrl>& urls, const QString& dir, bool deleteExisting);

    WorkerHost<DownloadQueue> m_queue;
};
