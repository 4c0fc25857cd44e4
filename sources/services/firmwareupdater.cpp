#include "firmwareupdater.h"

#include "cloudendpoints.h"
#include "updatefeed.h"
#include "updatefolders.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkProxyFactory>

FirmwareUpdater* FirmwareUpdater::instance()
{
    static FirmwareUpdater* updater = new FirmwareUpdater(QCoreApplication::instance());
    return updater;
}

FirmwareUpdater::FirmwareUpdater(QObject* parent)
    : QObject(parent)
    , m_cache(updatefolders::firmwareImages(), QString())
    , m_feedUrl(CloudEndpoints::instance().updateFeedUrl(false))
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    // Queued: a call from QML returns at once and its work runs on a later turn.
    constexpr Qt::ConnectionType queued = Qt::QueuedConnection;
    connect(this, &FirmwareUpdater::requestCheckForUpdate, this,
            &FirmwareUpdater::onRequestCheckForUpdate, queued);
    connect(this, &FirmwareUpdater::requestDownloadUpdate, this,
            &FirmwareUpdater::onRequestDownloadUpdate, queued);
    connect(this, &FirmwareUpdater::requestCancelDownload, this,
            &FirmwareUpdater::onRequestCancelDownload, queued);
    connect(this, &FirmwareUpdater::checkCachedVersion, this,
            &FirmwareUpdater::onCheckForCachedVersion, queued);
    connect(&m_requests, &UpdateRequests::progress, this, &FirmwareUpdater::onDownloadProgress);
    connect(&m_requests, &UpdateRequests::ended, this, &FirmwareUpdater::onFinished);
}

void FirmwareUpdater::setUpdateState(UpdateState state)
{
    m_updateState = state;
    Q_EMIT updateStateChanged(state);
}

void FirmwareUpdater::setValidationMode(bool validationMode)
{
    if (validationMode == m_validationMode)
        return;
    m_validationMode = validationMode;
    m_feedUrl = CloudEndpoints::instance().updateFeedUrl(validationMode);
    setUpdateState(CheckForUpdate);
    Q_EMIT validationModeChanged(validationMode);
}

void FirmwareUpdater::setIsIdle(bool isIdle)
{
    if (isIdle == m_isIdle)
        return;
    m_isIdle = isIdle;
    Q_EMIT isIdleChanged(isIdle);
}

void FirmwareUpdater::checkForUpdate()
{
    if (m_checkInProgress)
        return;
    setIsIdle(false);
    m_checkInProgress = true;
    qDebug().noquote() << "Firmware update feed:" << m_feedUrl.toDisplayString();
    setUpdateState(CheckingForUpdate);
    Q_EMIT requestCheckForUpdate();
}

void FirmwareUpdater::downLoadUpdate()
{
    setIsIdle(false);
    Q_EMIT requestDownloadUpdate();
}

void FirmwareUpdater::cancelDownload()
{
    Q_EMIT requestCancelDownload();
}

void FirmwareUpdater::resetAll()
{
    setIsIdle(true);
    m_requests.cancel();
    setVersionsWithSignals(QString(), QString());
    setDownloadInProgress(false);
    setProgress(0);
    setUpdateState(CheckForUpdate);
}

void FirmwareUpdater::clearCache()
{
    m_cache.clear();
    setVersionsWithSignals(QString(), QString());
    setDownloadInProgress(false);
    setProgress(0);
    setUpdateState(CheckForUpdate);
}

bool FirmwareUpdater::isFirstGreaterThanSecond(const QString& newVersion,
                                               const QString& oldVersion) const
{
    return updatefeed::isFirstGreaterThanSecond(newVersion, oldVersion);
}

void FirmwareUpdater::onRequestCheckForUpdate()
{
    setIsIdle(false);
    // The check replaces a download still running; that one ends without a word.
    if (m_requests.running() == UpdateRequests::Kind::Image) {
        setDownloadInProgress(false);
        setProgress(0);
    }
    m_imageUrl.clear();
    m_requests.fetchFeed(m_feedUrl);
}

void FirmwareUpdater::onRequestDownloadUpdate()
{
    m_cache.prepare();
    const QString path = m_cache.imagePath(m_latestVersion);
    if (path.isEmpty()) {
        qWarning().noquote() << "No firmware image to download for version" << m_latestVersion;
        onFinished(UpdateRequests::Kind::Image, QNetworkReply::ProtocolUnknownError, {});
        return;
    }
    m_downloadVersion = m_latestVersion;
    m_requests.fetchImage(QUrl(m_imageUrl), path);
    setDownloadInProgress(true);
}

void FirmwareUpdater::onRequestCancelDownload()
{
    if (m_requests.running() == UpdateRequests::Kind::None)
        return;
    m_requests.cancel();
    setDownloadInProgress(false);
    setUpdateState(CheckForUpdate);
}

void FirmwareUpdater::onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal > 0 && m_requests.running() == UpdateRequests::Kind::Image)
        setProgress(float(double(bytesReceived) / double(bytesTotal)) * 100);
}

void FirmwareUpdater::onFinished(UpdateRequests::Kind kind, QNetworkReply::NetworkError error,
                                 const QByteArray& feed)
{
    if (error != QNetworkReply::NoError)
        onError(error);
    setDownloadInProgress(false);
    setUpdateState(CheckForUpdate);
    if (error != QNetworkReply::NoError)
        return;
    if (kind == UpdateRequests::Kind::Feed)
        onFeed(feed);
    else
        onImage();
    setIsIdle(true);
    m_checkInProgress = false;
}

void FirmwareUpdater::onError(QNetworkReply::NetworkError errorCode)
{
    setDownloadInProgress(false);
    setProgress(0);
    setUpdateState(CheckForUpdate);
    Q_EMIT error(updatefeed::errorText(errorCode));
    m_latestVersion.clear();
    m_imageUrl.clear();
    // A check that cannot reach the server still offers an image downloaded earlier.
    if (errorCode != QNetworkReply::OperationCanceledError)
        Q_EMIT checkCachedVersion();
    setIsIdle(true);
    m_checkInProgress = false;
}

void FirmwareUpdater::onCheckForCachedVersion()
{
    const QString name = m_cache.completeImageName();
    if (name.isEmpty() || !updatefeed::isFirstGreaterThanSecond(name, m_firmwareVersion))
        return;
    m_latestVersion = name;
    Q_EMIT showCachedInfo();
    setUpdateState(UploadUpdate);
}

void FirmwareUpdater::onFeed(const QByteArray& feed)
{
    qDebug().noquote() << Q_FUNC_INFO << feed;
    if (const std::optional<QStringList> rows =
            updatefeed::rows(feed, updatefeed::Product::Firmware))
        latestVersion(*rows);
    else
        Q_EMIT error(QStringLiteral("Failed to parse the server xml file."));
    const bool newer = m_latestVersion != m_firmwareVersion;
    UpdateState state = CheckForUpdate;
    if (newer && m_cache.hasImage(m_latestVersion))
        state = UploadUpdate;
    else if (newer && !m_imageUrl.isEmpty())
        state = DownloadUpdate;
    setUpdateState(state);
    Q_EMIT latestVersionChanged(m_latestVersion);
    Q_EMIT latestVersionWithUrl(m_latestVersion, m_imageUrl);
}

void FirmwareUpdater::onImage()
{
    m_cache.keepOnly(m_downloadVersion);
    setUpdateState(UploadUpdate);
    Q_EMIT updateDownloaded();
}

void FirmwareUpdater::latestVersion(const QStringList& rows)
{
    qDebug() << Q_FUNC_INFO << rows;
    const updatefeed::Latest latest = updatefeed::latest(rows, m_firmwareVersion);
    m_latestVersion = latest.version;
    m_imageUrl = latest.imageUrl;
    qDebug() << "Latest Firmware version" << m_latestVersion;
}

void FirmwareUpdater::setVersionsWithSignals(const QString& version, const QString& imageUrl)
{
    m_latestVersion = version;
    m_imageUrl = imageUrl;
    Q_EMIT latestVersionChanged(version);
    Q_EMIT latestVersionWithUrl(version, imageUrl);
}

void FirmwareUpdater::setDownloadInProgress(bool inProgress)
{
    m_downloadInProgress = inProgress;
    Q_EMIT downloadInProgressChanged(inProgress);
}

void FirmwareUpdater::setProgress(float progress)
{
    m_progress = progress;
    Q_EMIT progressChanged(progress);
}
