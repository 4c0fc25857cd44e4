#include "downloadmanager.h"

#include "downloadqueue.h"
#include "fileinfo.h"

#include <QDebug>
#include <QNetworkProxyFactory>

namespace {
constexpr unsigned long kShutdownWaitMs = 3000;
}

DownloadManager::DownloadManager(QObject* parent) : QObject(parent), m_queue(new DownloadQueue)
{
    registerTuningMetaTypes();
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    m_thread.setObjectName(QStringLiteral("Downloads"));
    m_queue->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_queue, &DownloadQueue::onThreadStarted);
    connect(&m_thread, &QThread::finished, m_queue, &QObject::deleteLater);
    connect(this, &DownloadManager::download, m_queue, &DownloadQueue::onDownload);
    connect(this, &DownloadManager::downloadMultiple, m_queue, &DownloadQueue::onDownloadMultiple);
    connect(m_queue, &DownloadQueue::currentDownloadFinished, this,
            &DownloadManager::currentDownloadFinished);
    connect(m_queue, &DownloadQueue::currentDownloadProgress, this,
            &DownloadManager::currentDownloadProgress);
    connect(m_queue, &DownloadQueue::allDonwloadsFinished, this,
            &DownloadManager::allDonwloadsFinished);
    // The authenticator lives only while the request waits for an answer.
    connect(m_queue, &DownloadQueue::proxyAuthenticationRequired, this,
            &DownloadManager::proxyAuthenticationRequired, Qt::DirectConnection);
    connect(m_queue, &DownloadQueue::authenticationRequired, this,
            &DownloadManager::authenticationRequired, Qt::DirectConnection);
    m_thread.start();
}

DownloadManager::~DownloadManager()
{
    m_thread.quit();
    if (!m_thread.wait(kShutdownWaitMs))
        qWarning() << "The download thread did not end in time.";
}

void DownloadManager::requestDownload(const QUrl& url, const QString& dir, bool deleteExisting)
{
    Q_EMIT download(url, dir, deleteExisting);
}

void DownloadManager::requestDownloadMultiple(const QList<QUrl>& urls, const QString& dir,
                                              bool deleteExisting)
{
    Q_EMIT downloadMultiple(urls, dir, deleteExisting);
}
