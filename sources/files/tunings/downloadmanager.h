#pragma once

#include <QAuthenticator>
#include <QList>
#include <QNetworkProxy>
#include <QNetworkReply>
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
// The object lives in the thread that made it; its signals reach that thread queued, but for the
// two authentication requests, which come on the download thread: connect to them directly (or
// blocking-queued) and fill in the authenticator before returning. Callable from any thread.
class DownloadManager : public QObject
{
    Q_OBJECT

public:
    explicit DownloadManager(QObject* parent = nullptr);
    ~DownloadManager() override;

    // Emit download() and downloadMultiple(), which reach the download thread queued.
    void requestDownload(const QUrl& url, const QString& dir, bool deleteExisting);
    void requestDownloadMultiple(const QList<QUrl>& urls, const QString& dir, bool deleteExisting);

Q_SIGNALS:
    void download(QUrl url, QString dir, bool deleteExisitingDirectory);
    void downloadMultiple(QList<QUrl> urls, QString dir, bool deleteExisitingDirectory);
    void currentDownloadFinished(QUrl url, bool success, QString errorString);
    void currentDownloadProgress(QUrl url, qlonglong bytesReceived, qlonglong bytesTotal);
    // downloadCount: files of the batch saved; totalCount: URLs in the batch.
    void allDonwloadsFinished(int downloadCount, int totalCount);
    void proxyAuthenticationRequired(QNetworkProxy proxy, QAuthenticator* authenticator);
    void authenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);

private:
    QThread m_thread;
    DownloadQueue* m_queue;
};
