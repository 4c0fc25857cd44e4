#include "imageupdater.h"

#include "cloudendpoints.h"

#include <QDebug>
#include <QDir>
#include <QNetworkProxyFactory>

ImageUpdater::ImageUpdater(const Profile& profile, QObject* parent)
    : QObject(parent)
    , m_profile(profile)
    , m_cache(profile.cacheFolder, profile.imageSuffix)
    , m_feedUrl(CloudEndpoints::instance().updateFeedUrl(false))
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    // Queued: a call from QML returns at once and its work runs on a later turn.
    constexpr Qt::ConnectionType queued = Qt::QueuedConnection;
    connect(this, &ImageUpdater::requestCheckForUpdate, this,
            &ImageUpdater::onRequestCheckForUpdate, queued);
    connect(this, &ImageUpdater::requestDownloadUpdate, this,
            &ImageUpdater::onRequestDownloadUpdate, queued);
    connect(this, &ImageUpdater::requestCancelDownload, this,
            &ImageUpdater::onRequestCancelDownload, queued);
    connect(this, &ImageUpdater::checkCachedVersion, this, &ImageUpdater::onCheckForCachedVersion,
            queued);
    connect(&m_requests, &UpdateRequests::progress, this, &ImageUpdater::onDownloadProgress);
    connect(&m_requests, &UpdateRequests::ended, this, &ImageUpdater::onFinished);
}

void ImageUpdater::setStage(Stage stage)
{
    m_stage = stage;
    announceStage(stage);
}

void ImageUpdater::setValidationMode(bool validationMode)
{
    if (validationMode == m_validationMode)
        return;
    m_validationMode = validationMode;
    m_feedUrl = CloudEndpoints::instance().updateFeedUrl(validationMode);
    setStage(Stage::CheckForUpdate);
    Q_EMIT validationModeChanged(validationMode);
}

void ImageUpdater::setIsIdle(bool isIdle)
{
    if (isIdle == m_isIdle)
        return;
    m_isIdle = isIdle;
    Q_EMIT isIdleChanged(isIdle);
}

void ImageUpdater::checkForUpdate()
{
    if (m_profile.oneCheckAtATime && m_checkInProgress)
        return;
    setIsIdle(false);
    m_checkInProgress = true;
    qDebug().noquote() << "Update feed:" << m_feedUrl.toDisplayString();
    setStage(Stage::CheckingForUpdate);
    Q_EMIT requestCheckForUpdate();
}

void ImageUpdater::downLoadUpdate()
{
    setIsIdle(false);
    Q_EMIT requestDownloadUpdate();
}

void ImageUpdater::cancelDownload()
{
    Q_EMIT requestCancelDownload();
}

void ImageUpdater::clearCache()
{
    m_cache.clear();
    m_readyImage.clear();
    setVersionsWithSignals(QString(), QString());
    setDownloadInProgress(false);
    setProgress(0);
    setStage(Stage::CheckForUpdate);
}

void ImageUpdater::onRequestCheckForUpdate()
{
    // Idle may have come back from a request that ended after the check was asked for.
    setIsIdle(false);
    // The check replaces a download still running; that one ends without a word.
    if (m_requests.running() == UpdateRequests::Kind::Image) {
        setDownloadInProgress(false);
        setProgress(0);
    }
    m_imageUrl.clear();
    m_requests.fetchFeed(m_feedUrl, imageHosts());
}

void ImageUpdater::onRequestDownloadUpdate()
{
    m_cache.prepare();
    const QString path = m_cache.imagePath(m_latestVersion);
    if (path.isEmpty()) {
        qWarning().noquote() << "No" << productName() << "image to download for version"
                             << m_latestVersion;
        onFinished(UpdateRequests::Kind::Image, QNetworkReply::ProtocolUnknownError, {}, {});
        return;
    }
    m_cache.clearPartial(m_latestVersion);
    m_downloadVersion = m_latestVersion;
    m_requests.fetchImage(QUrl(m_imageUrl), path, imageHosts());
    setDownloadInProgress(true);
}

void ImageUpdater::onRequestCancelDownload()
{
    if (m_requests.running() == UpdateRequests::Kind::None)
        return;
    m_requests.cancel();
    setDownloadInProgress(false);
    setStage(Stage::CheckForUpdate);
}

void ImageUpdater::onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal > 0 && m_requests.running() == UpdateRequests::Kind::Image)
        setProgress(float(double(bytesReceived) / double(bytesTotal)) * 100);
}

void ImageUpdater::onFinished(UpdateRequests::Kind kind, QNetworkReply::NetworkError error,
                              const QString& cause, const QByteArray& feed)
{
    if (error != QNetworkReply::NoError)
        fail(error, cause);
    setDownloadInProgress(false);
    setStage(Stage::CheckForUpdate);
    if (error != QNetworkReply::NoError)
        return;
    if (kind == UpdateRequests::Kind::Feed) {
        if (m_profile.product == updatefeed::Product::Firmware)
            qDebug().noquote() << Q_FUNC_INFO << feed;
        onFeed(feed);
    } else {
        onImage();
    }
    setIsIdle(true);
    m_checkInProgress = false;
}

void ImageUpdater::onError(QNetworkReply::NetworkError errorCode)
{
    fail(errorCode, QString());
}

void ImageUpdater::fail(QNetworkReply::NetworkError errorCode, const QString& cause)
{
    if (!m_profile.clearsVersionsQuietly)
        setVersionsWithSignals(QString(), QString());
    setDownloadInProgress(false);
    setProgress(0);
    setStage(Stage::CheckForUpdate);
    Q_EMIT error(cause.isEmpty() ? updatefeed::errorText(errorCode) : cause);
    if (m_profile.clearsVersionsQuietly) {
        m_latestVersion.clear();
        m_imageUrl.clear();
    }
    // A check that cannot reach the server still offers an image downloaded earlier.
    if (errorCode != QNetworkReply::OperationCanceledError)
        Q_EMIT checkCachedVersion();
    setIsIdle(true);
    m_checkInProgress = false;
}

void ImageUpdater::onCheckForCachedVersion()
{
    const QString name = m_cache.completeImageName();
    const QString version = m_cache.versionOf(name);
    if (name.isEmpty() || !updatefeed::isFirstGreaterThanSecond(version, m_ownVersion))
        return;
    m_readyImage = QDir(m_cache.folder()).filePath(name);
    m_latestVersion = version;
    if (m_profile.announcesCachedImageFirst)
        Q_EMIT showCachedInfo();
    setStage(Stage::ImageReady);
    if (!m_profile.announcesCachedImageFirst)
        Q_EMIT showCachedInfo();
}

// A feed that cannot be read ends the check as a failed request does, never as "up to date".
void ImageUpdater::onFeed(const QByteArray& feed)
{
    const std::optional<QStringList> rows = updatefeed::rows(feed, m_profile.product);
    if (!rows) {
        fail(QNetworkReply::UnknownContentError,
             QStringLiteral("Failed to parse the server xml file."));
        return;
    }
    latestVersion(*rows);
    const bool newer = m_latestVersion != m_ownVersion;
    Stage stage = Stage::CheckForUpdate;
    if (newer && m_cache.hasImage(m_latestVersion)) {
        m_readyImage = m_cache.imagePath(m_latestVersion);
        stage = Stage::ImageReady;
    } else if (newer && !m_imageUrl.isEmpty()) {
        stage = Stage::DownloadUpdate;
    }
    setStage(stage);
    Q_EMIT latestVersionChanged(m_latestVersion);
    Q_EMIT latestVersionWithUrl(m_latestVersion, m_imageUrl);
}

void ImageUpdater::latestVersion(const QStringList& rows)
{
    const bool firmware = m_profile.product == updatefeed::Product::Firmware;
    if (firmware)
        qDebug() << Q_FUNC_INFO << rows;
    const updatefeed::Latest latest = updatefeed::latest(rows, m_ownVersion);
    m_latestVersion = latest.version;
    m_imageUrl = latest.imageUrl;
    qDebug() << (firmware ? "Latest Firmware version" : "Latest app version") << m_latestVersion;
}

void ImageUpdater::onImage()
{
    m_cache.keepOnly(m_downloadVersion);
    m_readyImage = m_cache.imagePath(m_downloadVersion);
    setStage(Stage::ImageReady);
    Q_EMIT updateDownloaded();
}

QStringList ImageUpdater::imageHosts() const
{
    QStringList hosts = CloudEndpoints::instance().imageHosts();
    const QString feedHost = CloudEndpoints::hostAndPort(m_feedUrl);
    if (!hosts.contains(feedHost))
        hosts.prepend(feedHost);
    return hosts;
}

QString ImageUpdater::productName() const
{
    return m_profile.product == updatefeed::Product::Application ? QStringLiteral("application")
                                                                 : QStringLiteral("firmware");
}

void ImageUpdater::setVersionsWithSignals(const QString& version, const QString& imageUrl)
{
    m_latestVersion = version;
    m_imageUrl = imageUrl;
    Q_EMIT latestVersionChanged(version);
    Q_EMIT latestVersionWithUrl(version, imageUrl);
}

void ImageUpdater::setDownloadInProgress(bool inProgress)
{
    m_downloadInProgress = inProgress;
    Q_EMIT downloadInProgressChanged(inProgress);
}

void ImageUpdater::setProgress(float progress)
{
    m_progress = progress;
    Q_EMIT progressChanged(progress);
}
