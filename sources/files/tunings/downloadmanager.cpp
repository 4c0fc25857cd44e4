#include "downloadmanager.h"

#include "downloadqueue.h"
#include "fileinfo.h"

#include <QNetworkProxyFactory>

namespace {
constexpr std::chrono::milliseconds kShutdownWait{3000};
}

DownloadManager::DownloadManager(QObject* parent)
    : DownloadSignals(parent), m_queue(QStringLiteral("Downloads"), kShutdownWait)
{
    registerTuningMetaTypes();
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    m_queue.start([this] {
        auto* queue = new DownloadQueue;
        WorkerThread::forwardSignals(queue, this, DownloadSignals::staticMetaObject);
        return queue;
    });
    // Direct: whichever thread emits a request posts it.
    connect(
        this, &DownloadManager::download, this,
        [this](const QUrl& url, const QString& dir, bool deleteExisting) {
            enqueue({url}, dir, deleteExisting);
        },
        Qt::DirectConnection);
    connect(this, &DownloadManager::downloadMultiple, this, &DownloadManager::enqueue,
            Qt::DirectConnection);
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

void DownloadManager::setBudget(const DownloadBudget& budget)
{
    m_queue.post([budget](DownloadQueue& queue) { queue.setBudget(budget); });
}

void DownloadManager::enqueue(const QList<QUrl>& urls, const QString& dir, bool deleteExisting)
{
    m_queue.post([urls, dir, deleteExisting](DownloadQueue& queue) {
        queue.enqueue(urls, dir, deleteExisting);
    });
}
