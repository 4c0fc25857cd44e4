#include "downloadqueue.h"

#include "downloadlimits.h"
#include "httptransfer.h"
#include "localtuningstore.h"
#include "safefilename.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>

DownloadQueue::DownloadQueue() : m_network(new QNetworkAccessManager(this))
{
    connect(m_network, &QNetworkAccessManager::proxyAuthenticationRequired, this,
            &DownloadQueue::proxyAuthenticationRequired);
    connect(m_network, &QNetworkAccessManager::authenticationRequired, this,
            &DownloadQueue::authenticationRequired);
    m_transfer = new HttpTransfer(m_network, this);
    connect(m_transfer, &HttpTransfer::finished, this, &DownloadQueue::onTransferFinished);
    connect(m_transfer, &HttpTransfer::progress, this, [this](qint64 received, qint64 total) {
        if (total != 0)
            Q_EMIT currentDownloadProgress(m_current, received, total);
    });
}

void DownloadQueue::enqueue(const QList<QUrl>& urls, const QString& dir,
                            bool deleteExisitingDirectory)
{
    m_batches.enqueue({urls, dir, deleteExisitingDirectory});
    if (!m_running)
        startNextBatch();
}

void DownloadQueue::startNextBatch()
{
    if (m_batches.isEmpty())
        return;
    const Batch batch = m_batches.dequeue();
    m_running = true;
    m_urls = batch.urls;
    m_dir = batch.dir;
    m_downloaded = 0;
    m_total = batch.urls.size();
    if (batch.deleteExisting)
        removeDirectoryRecursively(QDir(m_dir));
    if (!QDir().mkpath(QDir(m_dir).absolutePath()))
        qWarning().noquote() << "Cannot create the download folder" << m_dir;
    startNextDownload();
}

void DownloadQueue::startNextDownload()
{
    if (m_urls.isEmpty()) {
        qDebug().noquote()
            << QStringLiteral("%1/%2 files downloaded successfully").arg(m_downloaded).arg(m_total);
        m_running = false;
        Q_EMIT allDonwloadsFinished(m_downloaded, m_total);
        startNextBatch();
        return;
    }
    m_current = m_urls.takeFirst();
    QString name = m_current.path(QUrl::FullyDecoded).section(QLatin1Char('/'), -1);
    if (name.isEmpty())
        name = QStringLiteral("index.html");
    const QString path = safefilename::pathInFolder(m_dir, name);
    if (path.isEmpty()) {
        stopFile(QStringLiteral("Refused to save \"%1\": not a plain file name.").arg(name));
        return;
    }
    if (QFile::exists(path) && !QFile::remove(path)) {
        stopFile(QStringLiteral("Cannot replace %1").arg(path));
        return;
    }
    qDebug().noquote() << "Downloading" << m_current.toDisplayString();
    // A container's manifest is a list of names; everything else in it is a tuning file.
    const qint64 ceiling =
        name == QLatin1String("Manifest") ? downloadlimits::kFeed : downloadlimits::kTuningFile;
    m_transfer->downloadToFile(QNetworkRequest(m_current), path, ceiling);
}

void DownloadQueue::onTransferFinished()
{
    if (m_transfer->error() == QNetworkReply::NoError)
        finishFile(true, QStringLiteral("No error"));
    else if (m_transfer->failure() == HttpTransfer::Failure::Network)
        finishFile(false, m_transfer->errorString());
    else
        stopFile(m_transfer->errorString());
}

void DownloadQueue::stopFile(const QString& cause)
{
    Q_EMIT currentDownloadStopped(m_current, cause);
    finishFile(false, cause);
}

void DownloadQueue::finishFile(bool success, const QString& errorString)
{
    if (success) {
        ++m_downloaded;
        qDebug().noquote() << m_current.toDisplayString() << "downloaded successfully";
    } else {
        qWarning().noquote() << QStringLiteral("Failed to download %1: %2")
                                    .arg(m_current.toDisplayString(), errorString);
    }
    Q_EMIT currentDownloadFinished(m_current, success, errorString);
    startNextDownload();
}
