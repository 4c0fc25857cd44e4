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
    connect(&m_thread, &QThread::started, m_queue, &DownloadQueue::start);
    connect(&m_thread, &QThread::finished, m_queue, &QObject::deleteLater);
    connect(m_queue, &DownloadQueue::currentDownloadFinished, this,
            &DownloadManager::currentDownloadFinished);
    connect(m_queue, &DownloadQueue::currentDownloadProgress, this,
            &DownloadManager::currentDownloadProgress);
    connect(m_queue, &DownloadQueue::allDonwloadsFinished, this,
            &DownloadManager::allDonwloadsFinished);
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
    requestDownloadMultiple({url}, dir, deleteExisting);
}

void DownloadManager::requestDownloadMultiple(const QList<QUrl>& urls, const QString& dir,
                                              bool deleteExisting)
{
    QMetaObject::invokeMethod(m_queue, [queue = m_queue, urls, dir, deleteExisting] {
        queue->enqueue(urls, dir, deleteExisting);
    });
}
