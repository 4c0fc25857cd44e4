#pragma once

#include "downloadbudget.h"
#include "downloadsignals.h"
#include "httptransfer.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QUrl>

#include <limits>

class QNetworkAccessManager;

// The worker of DownloadManager, on its thread (WorkerHost): a FIFO of batches, each a FIFO of
// URLs, fetched one at a time through HttpTransfer, within a budget of bytes and free space.
class DownloadQueue : public DownloadSignals
{
    Q_OBJECT

public:
    // Made on the thread it works on.
    DownloadQueue();
    // A batch, run after those before it.
    void enqueue(const QList<QUrl>& urls, const QString& dir, bool deleteExisitingDirectory);
    void setBudget(const DownloadBudget& budget);

private:
    struct Batch
    {
        QList<QUrl> urls;
        QString dir;
        bool deleteExisting = false;
    };

    void startNextBatch();
    void startNextDownload();
    void failToOpen(const HttpTransfer::FileProblem& problem);
    void giveUpRestOfBatch();
    void onTransferFinished();
    void finishFile(bool success, const QString& errorString);
    void failFile(const QString& errorString);
    // Fails the current file for a cause of its own, not the network's.
    void stopFile(const QString& cause);
    // Fails the current file, and gives up the rest of the batch, for a cause that would stop
    // them all.
    void stopBatch(const QString& cause);

    QNetworkAccessManager* m_network = nullptr;
    HttpTransfer* m_transfer = nullptr;
    QQueue<Batch> m_batches;
    bool m_running = false;
    QList<QUrl> m_urls; // still to fetch in the running batch
    QString m_dir;
    QUrl m_current;
    int m_downloaded = 0;
    int m_total = 0;
    qint64 m_budget = std::numeric_limits<qint64>::max();
    qint64 m_budgetLeft = std::numeric_limits<qint64>::max();
    bool m_ceilingIsBudget = false; // the current file may take no more than the budget left
    QString m_batchStop;            // why the rest of the running batch is given up
};
