#include "applicationupdater.h"

#include "cloudendpoints.h"
#include "updatefeed.h"
#include "updatefolders.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QNetworkProxyFactory>

ApplicationUpdater* ApplicationUpdater::instance()
{
    static ApplicationUpdater* updater = new ApplicationUpdater(QCoreApplication::instance());
    return updater;
}

ApplicationUpdater::ApplicationUpdater(QObject* parent)
    : QObject(parent)
    , m_cache(updatefolders::applicationImages(), QStringLiteral(".dmg"))
    , m_feedUrl(CloudEndpoints::instance().updateFeedUrl(false))
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    // Queued: a call from QML returns at once and its work runs on a later turn.
    constexpr Qt::ConnectionType queued = Qt::QueuedConnection;
    connect(this, &ApplicationUpdater::requestCheckForUpdate, this,
            &ApplicationUpdater::onRequestCheckForUpdate, queued);
    connect(this, &ApplicationUpdater::requestDownloadUpdate, this,
            &ApplicationUpdater::onRequestDownloadUpdate, queued);
    connect(this, &ApplicationUpdater::requestInstallUpdate, this,
            &ApplicationUpdater::onRequestInstallUpdate, queued);
    connect(this, &ApplicationUpdater::requestCancelDownload, this,
            &ApplicationUpdater::onRequestCancelDownload, queued);
    connect(this, &ApplicationUpdater::checkCachedVersion, this,
            &ApplicationUpdater::onCheckForCachedVersion, queued);
    connect(&m_requests, &UpdateRequests::progress, this, &ApplicationUpdater::onDownloadProgress);
    connect(&m_requests, &UpdateRequests::ended, this, &ApplicationUpdater::onFinished);
}

QString ApplicationUpdater::applicationVersion() const
{
    return QStringLiteral(QX8_APPLICATION_VERSION);
}

void ApplicationUpdater::setUpdateState(UpdateState state)
{
    m_updateState = state;
    Q_EMIT updateStateChanged(state);
}

void ApplicationUpdater::setValidationMode(bool validationMode)
{
    if (validationMode == m_validationMode)
        return;
    m_validationMode = validationMode;
    m_feedUrl = CloudEndpoints::instance().updateFeedUrl(validationMode);
    setUpdateState(CheckForUpdate);
    Q_EMIT validationModeChanged(validationMode);
}

void ApplicationUpdater::setIsIdle(bool isIdle)
{
    if (isIdle == m_isIdle)
        return;
    m_isIdle = isIdle;
    Q_EMIT isIdleChanged(isIdle);
}

void ApplicationUpdater::checkForUpdate()
{
    setIsIdle(false);
    setUpdateState(CheckingForUpdate);
    Q_EMIT requestCheckForUpdate();
}

void ApplicationUpdater::downLoadUpdate()
{
    setIsIdle(false);
    Q_EMIT requestDownloadUpdate();
}

void ApplicationUpdater::cancelDownload()
{
    Q_EMIT requestCancelDownload();
}

void ApplicationUpdater::installUpdate()
{
    Q_EMIT requestInstallUpdate();
}

void ApplicationUpdater::clearCache()
{
    m_cache.clear();
    m_downloadFile.clear();
    setVersionsWithSignals(QString(), QString());
    setDownloadInProgress(false);
    setProgress(0);
    setUpdateState(CheckForUpdate);
}

void ApplicationUpdater::onRequestCheckForUpdate()
{
    // The check replaces a download still running; that one ends without a word.
    if (m_requests.running() == UpdateRequests::Kind::Image) {
        setDownloadInProgress(false);
        setProgress(0);
    }
    m_imageUrl.clear();
    m_requests.fetchFeed(m_feedUrl);
}

void ApplicationUpdater::onRequestDownloadUpdate()
{
    m_cache.prepare();
    const QString path = m_cache.imagePath(m_latestVersion);
    if (path.isEmpty()) {
        qWarning().noquote() << "No image to download for version" << m_latestVersion;
        onFinished(UpdateRequests::Kind::Image, QNetworkReply::ProtocolUnknownError, {});
        return;
    }
    m_downloadVersion = m_latestVersion;
    m_requests.fetchImage(QUrl(m_imageUrl), path);
    setDownloadInProgress(true);
}

void ApplicationUpdater::onRequestInstallUpdate()
{
    if (!QFileInfo(m_downloadFile).isFile()) {
        qWarning().noquote() << "No downloaded image to install:" << m_downloadFile;
        setUpdateState(CheckForUpdate);
        Q_EMIT error(QStringLiteral("The downloaded update could not be found. Please download "
                                    "it again."));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(m_downloadFile)))
        qWarning().noquote() << "The system could not open" << m_downloadFile;
    QCoreApplication::quit();
}

void ApplicationUpdater::onRequestCancelDownload()
{
    if (m_requests.running() == UpdateRequests::Kind::None)
        return;
    m_requests.cancel();
    setDownloadInProgress(false);
    setUpdateState(CheckForUpdate);
}

void ApplicationUpdater::onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal > 0 && m_requests.running() == UpdateRequests::Kind::Image)
        setProgress(float(double(bytesReceived) / double(bytesTotal)) * 100);
}

void ApplicationUpdater::onFinished(UpdateRequests::Kind kind, QNetworkReply::NetworkError error,
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
}

void ApplicationUpdater::onError(QNetworkReply::NetworkError errorCode)
{
    setVersionsWithSignals(QString(), QString());
    setDownloadInProgress(false);
    setProgress(0);
    setUpdateState(CheckForUpdate);
    Q_EMIT error(updatefeed::errorText(errorCode));
    // A check that cannot reach the server still offers an image downloaded earlier.
    if (errorCode != QNetworkReply::OperationCanceledError)
        Q_EMIT checkCachedVersion();
    setIsIdle(true);
}

void ApplicationUpdater::onCheckForCachedVersion()
{
    const QString name = m_cache.completeImageName();
    if (name.isEmpty() || !updatefeed::isFirstGreaterThanSecond(name, applicationVersion()))
        return;
    m_downloadFile = QDir(m_cache.folder()).filePath(name);
    m_latestVersion = m_cache.versionOf(name);
    setUpdateState(InstallUpdate);
    Q_EMIT showCachedInfo();
}

void ApplicationUpdater::onFeed(const QByteArray& feed)
{
    if (const std::optional<QStringList> rows =
            updatefeed::rows(feed, updatefeed::Product::Application))
        latestVersion(*rows);
    else
        Q_EMIT error(QStringLiteral("Failed to parse the server xml file."));
    const bool newer = m_latestVersion != applicationVersion();
    UpdateState state = CheckForUpdate;
    if (newer && m_cache.hasImage(m_latestVersion)) {
        m_downloadFile = m_cache.imagePath(m_latestVersion);
        state = InstallUpdate;
    } else if (newer && !m_imageUrl.isEmpty()) {
        state = DownloadUpdate;
    }
    setUpdateState(state);
    Q_EMIT latestVersionChanged(m_latestVersion);
    Q_EMIT latestVersionWithUrl(m_latestVersion, m_imageUrl);
}

void ApplicationUpdater::onImage()
{
    m_cache.keepOnly(m_downloadVersion);
    m_downloadFile = m_cache.imagePath(m_downloadVersion);
    setUpdateState(InstallUpdate);
    Q_EMIT updateDownloaded();
}

void ApplicationUpdater::latestVersion(const QStringList& rows)
{
    const updatefeed::Latest latest = updatefeed::latest(rows, applicationVersion());
    m_latestVersion = latest.version;
    m_imageUrl = latest.imageUrl;
    qDebug() << "Latest app version" << m_latestVersion;
}

void ApplicationUpdater::setVersionsWithSignals(const QString& version, const QString& imageUrl)
{
    m_latestVersion = version;
    m_imageUrl = imageUrl;
    Q_EMIT latestVersionChanged(version);
    Q_EMIT latestVersionWithUrl(version, imageUrl);
}

void ApplicationUpdater::setDownloadInProgress(bool inProgress)
{
    m_downloadInProgress = inProgress;
    Q_EMIT downloadInProgressChanged(inProgress);
}

void ApplicationUpdater::setProgress(float progress)
{
    m_progress = progress;
    Q_EMIT progressChanged(progress);
}
