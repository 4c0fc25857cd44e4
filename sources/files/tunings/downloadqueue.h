#pragma once

#include <QAuthenticator>
#include <QList>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QUrl>

class HttpTransfer;
class QNetworkAccessManager;

// The worker of DownloadManager, on its thread: a FIFO of batches, each a FIFO of URLs, fetched
// one at a time through HttpTransfer.
class DownloadQueue : public QObject
{
    Q_OBJECT

public:
    // On the worker thread, before the first batch.
    void onThreadStarted();
    // A batch, run after those before it.
    void onDownload(const QUrl& url, const QString& dir, bool deleteExisitingDirectory);
    void onDownloadMultiple(const QList<QUrl>& urls, const QString& dir,
                            bool deleteExisitingDirectory);

Q_SIGNALS:
    void currentDownloadFinished(QUrl url, bool success, QString errorString);
    void currentDownloadProgress(QUrl url, qlonglong bytesReceived, qlonglong bytesTotal);
    void allDonwloadsFinished(int downloadCount, int totalCount);
    void proxyAuthenticationRequired(QNetworkProxy proxy, QAuthenticator* authenticator);
    void authenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);

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
