#pragma once

#include <QAuthenticator>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

// What the download queue reports. Declared once for the worker that emits them on its thread
// (DownloadQueue) and the owner that passes them on (DownloadManager).
class DownloadSignals : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    void currentDownloadFinished(QUrl url, bool success, QString errorString);
    void currentDownloadProgress(QUrl url, qlonglong bytesReceived, qlonglong bytesTotal);
    // downloadCount: files of the batch saved; totalCount: URLs in the batch.
    void allDonwloadsFinished(int downloadCount, int totalCount);
    // A file stopped for a cause of its own, not the network's (too large, a full disk, a name
    // or an address refused): emitted just before its currentDownloadFinished(), with the
    // sentence that names the cause for the user.
    void currentDownloadStopped(QUrl url, QString cause);
    // The running batch gives up the files after the one that stopped for `cause` (the budget
    // spent, the disk unable to take more): emitted before that file's results; each file given
    // up still gets its currentDownloadStopped() and currentDownloadFinished(), unfetched.
    void downloadsStopped(QString cause);
    // Emitted on the download thread: the authenticator lives only while the request waits.
    void proxyAuthenticationRequired(QNetworkProxy proxy, QAuthenticator* authenticator);
    void authenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);
};
