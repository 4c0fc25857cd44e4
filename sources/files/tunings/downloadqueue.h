#pragma once

#include "downloadsignals.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QUrl>

class HttpTransfer;
class QNetworkAccessManager;

// The worker of DownloadManager, on its thread (WorkerHost): a FIFO of batches, each a FIFO of
// URLs, fetched one at a time through HttpTransfer.
class DownloadQueue : public DownloadSignals
{
    Q_OBJECT

public:
    // Made on the thread it works on.
    DownloadQueue();
    // A batch, run after those before it.
    void enqueue(const QList<QUrl>& urls, const QString& dir, bool deleteExisitingDirectory);

private:
    struct Batch
    {
        QList<QUrl> urls;
        QString dir;
        bool deleteExisting = false;
    };

    void startNextBatch();
    void startNextDownload();
    void onTransferFinished();
    void finishFile(bool success, const QString& errorString);
    // Fails the current file for a cause of its own, not the network's.
    void stopFile(const QString& cause);

    QNetworkAccessManager* m_network = nullptr;
    HttpTransfer* m_transfer = nullptr;
    QQueue<Batch> m_batches;
    bool m_running = false;
    QList<QUrl> m_urls; // still to fetch in the running batch
    QString m_dir;
    QUrl m_current;
    int m_downloaded = 0;
    int m_total = 0;
};
