#include "updaterequests.h"

#include "downloadlimits.h"
#include "httptransfer.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkRequest>

UpdateRequests::UpdateRequests(QObject* parent)
    : QObject(parent), m_stallLimit(HttpTransfer::kDefaultStallLimit)
{
    // A transfer still running when the application quits ends with it, its partial file gone.
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &UpdateRequests::dropRequest);
}

UpdateRequests::~UpdateRequests()
{
    dropRequest();
}

void UpdateRequests::fetchFeed(const QUrl& url, const QStringList& hosts)
{
    HttpTransfer* transfer = startRequest(Kind::Feed);
    transfer->setAllowedHosts(hosts);
    transfer->downloadToMemory(QNetworkRequest(url), downloadlimits::kFeed);
}

void UpdateRequests::fetchImage(const QUrl& url, const QString& path, const QStringList& hosts)
{
    HttpTransfer* transfer = startRequest(Kind::Image);
    transfer->setAllowedHosts(hosts);
    transfer->downloadToFile(QNetworkRequest(url), path, downloadlimits::kImage);
}

void UpdateRequests::cancel()
{
    if (m_transfer)
        m_transfer->abort();
}

UpdateRequests::Kind UpdateRequests::running() const
{
    return m_kind;
}

HttpTransfer* UpdateRequests::startRequest(Kind kind)
{
    dropRequest();
    if (!m_manager)
        m_manager = std::make_unique<QNetworkAccessManager>();
    auto* transfer = new HttpTransfer(m_manager.get(), this);
    transfer->setStallLimit(m_stallLimit);
    m_transfer = transfer;
    m_kind = kind;
    const quint64 id = ++m_requestId;
    connect(transfer, &HttpTransfer::progress, this, &UpdateRequests::progress);
    connect(
        transfer, &HttpTransfer::finished, this,
        [this, transfer, id] {
            // A request replaced after it finished: its answer is not wanted any more.
            if (id != m_requestId)
                return;
            const Kind finished = m_kind;
            const QNetworkReply::NetworkError error = transfer->error();
            if (error != QNetworkReply::NoError)
                qDebug().noquote() << "Update request failed:" << transfer->errorString();
            const QString cause = transfer->failure() == HttpTransfer::Failure::Network
                                      ? QString()
                                      : transfer->errorString();
            const QByteArray feed = finished == Kind::Feed ? transfer->data() : QByteArray();
            m_transfer = nullptr;
            m_kind = Kind::None;
            transfer->deleteLater();
            Q_EMIT ended(finished, error, cause, feed);
        },
        Qt::QueuedConnection);
    return transfer;
}

// Ends the running request without a word: nothing of it reaches the updater any more.
void UpdateRequests::dropRequest()
{
    ++m_requestId;
    m_kind = Kind::None;
    if (!m_transfer)
        return;
    m_transfer->disconnect(this);
    m_transfer->abort();
    m_transfer->deleteLater();
    m_transfer = nullptr;
}
