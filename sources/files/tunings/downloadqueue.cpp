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
    qDebug() << "Entering";
    m_batches.enqueue({urls, dir, deleteExisitingDirectory});
    if (!m_running)
        startNextBatch();
    qDebug() << "Exiting";
}

void DownloadQueue::setBudget(const DownloadBudget& budget)
{
    m_budget = budget.total;
    m_budgetLeft = budget.total;
    m_transfer->setFreeSpaceMargin(budget.freeSpaceMargin);
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
    m_batchStop.clear();
    if (batch.deleteExisting)
        removeDirectoryRecursively(QDir(m_dir));
    if (!QDir().mkpath(QDir(m_dir).absolutePath()))
        qWarning().noquote() << "Cannot create the download folder" << m_dir;
    startNextDownload();
}

void DownloadQueue::startNextDownload()
{
    giveUpRestOfBatch();
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
    QFile saveFile(path);
    if (saveFile.exists() && !saveFile.remove()) {
        failToOpen({saveFile.fileName(), saveFile.errorString()});
        return;
    }
    qDebug().noquote() << "Downloading" << m_current.toDisplayString();
    // A container's manifest is a list of names; everything else in it is a tuning file.
    const qint64 ceiling =
        name == QLatin1String("Manifest") ? downloadlimits::kFeed : downloadlimits::kTuningFile;
    m_ceilingIsBudget = m_budgetLeft < ceiling;
    m_transfer->downloadToFile(QNetworkRequest(m_current), path,
                               qBound<qint64>(0, m_budgetLeft, ceiling));
}

// Something in the way of the save file fails this file alone.
void DownloadQueue::failToOpen(const HttpTransfer::FileProblem& problem)
{
    qWarning().noquote() << QStringLiteral("Problem opening save file '%1' for download '%2': %3")
                                .arg(problem.fileName, QString::fromUtf8(m_current.toEncoded()),
                                     problem.reason);
    const QString cause =
        QStringLiteral("Cannot save %1: %2").arg(problem.fileName, problem.reason);
    Q_EMIT currentDownloadStopped(m_current, cause);
    finishFile(false, cause);
}

// Each file given up gets its result all the same, unfetched.
void DownloadQueue::giveUpRestOfBatch()
{
    if (m_batchStop.isEmpty())
        return;
    while (!m_urls.isEmpty()) {
        m_current = m_urls.takeFirst();
        qDebug().noquote() << "Not downloaded:" << m_current.toDisplayString();
        Q_EMIT currentDownloadStopped(m_current, m_batchStop);
        Q_EMIT currentDownloadFinished(m_current, false, m_batchStop);
    }
}

void DownloadQueue::onTransferFinished()
{
    m_budgetLeft -= m_transfer->bytesReceived();
    const QString text = m_transfer->errorString();
    switch (m_transfer->failure()) {
    case HttpTransfer::Failure::None:
        finishFile(true, QStringLiteral("No error"));
        return;
    case HttpTransfer::Failure::Network:
        failFile(text);
        return;
    case HttpTransfer::Failure::TooLarge:
        if (m_ceilingIsBudget) {
            stopBatch(QStringLiteral("Together the files pass the %1 allowed.")
                          .arg(downloadlimits::sizeText(m_budget)));
            return;
        }
        break;
    case HttpTransfer::Failure::Storage: // the disk takes no more
        stopBatch(text);
        return;
    case HttpTransfer::Failure::Unwritable:
        failToOpen(m_transfer->fileProblem());
        return;
    case HttpTransfer::Failure::Address:
        break;
    }
    stopFile(text);
}

void DownloadQueue::stopBatch(const QString& cause)
{
    m_batchStop = cause;
    Q_EMIT downloadsStopped(cause);
    stopFile(cause);
}

void DownloadQueue::stopFile(const QString& cause)
{
    Q_EMIT currentDownloadStopped(m_current, cause);
    failFile(cause);
}

void DownloadQueue::failFile(const QString& errorString)
{
    qWarning().noquote() << QStringLiteral("Failed to download %1: %2")
                                .arg(m_current.toDisplayString(), errorString);
    finishFile(false, errorString);
}

void DownloadQueue::finishFile(bool success, const QString& errorString)
{
    if (success) {
        ++m_downloaded;
        qDebug().noquote() << m_current.toDisplayString() << "downloaded successfully";
    }
    Q_EMIT currentDownloadFinished(m_current, success, errorString);
    startNextDownload();
}
