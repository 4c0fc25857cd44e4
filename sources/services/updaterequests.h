#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <chrono>
#include <memory>

class HttpTransfer;

// The network side of one updater: the feed into memory or an image into the cache, one request
// at a time, each through HttpTransfer with its status, length and stall checks. Every started
// request ends exactly once with ended(), on a later turn of the event loop, also after
// cancel(). A request started while another runs replaces it: the older one ends silently and
// its partial file goes, so a late answer can never fill a newer request.
class UpdateRequests : public QObject
{
    Q_OBJECT

public:
    enum class Kind { None, Feed, Image };

    explicit UpdateRequests(QObject* parent = nullptr);
    ~UpdateRequests() override;

    void setStallLimit(std::chrono::milliseconds limit) { m_stallLimit = limit; }

    // Both fetch only from `hosts` ("host" or "host:port"), redirects included.
    // The feed into memory.
    void fetchFeed(const QUrl& url, const QStringList& hosts);
    // The image into "<path>.tmp", renamed to `path` once complete.
    void fetchImage(const QUrl& url, const QString& path, const QStringList& hosts);
    // Ends the running request with OperationCanceledError; its partial file goes.
    void cancel();

    // The request that runs, None when none does.
    Kind running() const;

Q_SIGNALS:
    void progress(qint64 bytesReceived, qint64 bytesTotal);
    // `cause` names what ended a failed request when the network did not (a refused address,
    // a body too large, a full disk), and is empty otherwise. `feed` holds the feed of a
    // successful feed request.
    void ended(UpdateRequests::Kind kind, QNetworkReply::NetworkError error, const QString& cause,
               const QByteArray& feed);

private:
    HttpTransfer* startRequest(Kind kind);
    void dropRequest();

    // Made by the first request: a manager loads Qt's network bearer plugins, which start-up
    // should not wait for.
    std::unique_ptr<QNetworkAccessManager> m_manager;
    QPointer<HttpTransfer> m_transfer;
    Kind m_kind = Kind::None;
    quint64 m_requestId = 0;
    std::chrono::milliseconds m_stallLimit;
};
