#pragma once

#include "updatecache.h"
#include "updaterequests.h"

#include <QObject>
#include <QUrl>

#include <chrono>

// Checks the update feed for a newer build of the application, downloads its disk image into the
// cache folder and, on request, hands the image to the operating system and quits so that the
// user installs it. One process-wide object on the GUI thread, driven from the Utilities screen.
//
// States: CheckForUpdate -> CheckingForUpdate (feed request) -> DownloadUpdate (a newer image
// is announced) -> InstallUpdate (the image is in the cache) -> the process ends. Every failure
// returns to CheckForUpdate with error(text), then offers an image cached earlier.
class ApplicationUpdater : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString applicationVersion READ applicationVersion NOTIFY applicationVersionChanged)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY latestVersionChanged)
    Q_PROPERTY(bool downloadInProgress READ downloadInProgress NOTIFY downloadInProgressChanged)
    Q_PROPERTY(float progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(
        UpdateState updateState READ updateState WRITE setUpdateState NOTIFY updateStateChanged)
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidationMode NOTIFY
                   validationModeChanged)
    Q_PROPERTY(bool isIdle READ isIdle WRITE setIsIdle NOTIFY isIdleChanged)

public:
    enum UpdateState { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, InstallUpdate };
    Q_ENUM(UpdateState)

    // Created on first use, with the application as its parent.
    static ApplicationUpdater* instance();
    // For QML's type registry and for tests; the application uses instance().
    explicit ApplicationUpdater(QObject* parent = nullptr);

    QString applicationVersion() const;
    QString latestVersion() const { return m_latestVersion; }
    bool downloadInProgress() const { return m_downloadInProgress; }
    float progress() const { return m_progress; }
    UpdateState updateState() const { return m_updateState; }
    void setUpdateState(UpdateState state);
    bool validationMode() const { return m_validationMode; }
    void setValidationMode(bool validationMode);
    bool isIdle() const { return m_isIdle; }
    void setIsIdle(bool isIdle);
    QUrl feedUrl() const { return m_feedUrl; }
    QString cacheFolder() const { return m_cache.folder(); }
    // How long a request may go without progress before it fails.
    void setStallLimit(std::chrono::milliseconds limit) { m_requests.setStallLimit(limit); }

    Q_INVOKABLE void checkForUpdate();
    Q_INVOKABLE void downLoadUpdate();
    Q_INVOKABLE void cancelDownload();
    Q_INVOKABLE void installUpdate();
    Q_INVOKABLE void clearCache();

Q_SIGNALS:
    void applicationVersionChanged();
    void requestCheckForUpdate();
    void requestDownloadUpdate();
    void requestInstallUpdate();
    void requestCancelDownload();
    void latestVersionWithUrl(QString version, QString imageUrl);
    void latestVersionChanged(QString version);
    void downloadInProgressChanged(bool downloadInProgress);
    void updateDownloaded();
    void progressChanged(float progress);
    // Qualified: moc matches the argument to the registered enumeration by this name.
    void updateStateChanged(ApplicationUpdater::UpdateState state);
    void error(QString errorString);
    void checkCachedVersion();
    void showCachedInfo();
    void validationModeChanged(bool validationMode);
    void isIdleChanged(bool isIdle);

protected Q_SLOTS:
    void onRequestCheckForUpdate();
    void onRequestDownloadUpdate();
    void onRequestInstallUpdate();
    void onRequestCancelDownload();
    void onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void onFinished(UpdateRequests::Kind kind, QNetworkReply::NetworkError error,
                    const QByteArray& feed);
    void onError(QNetworkReply::NetworkError errorCode);
    void onCheckForCachedVersion();

private:
    void onFeed(const QByteArray& feed);
    void onImage();
    void latestVersion(const QStringList& rows);
    void setVersionsWithSignals(const QString& version, const QString& imageUrl);
    void setDownloadInProgress(bool inProgress);
    void setProgress(float progress);

    UpdateRequests m_requests;
    UpdateCache m_cache;
    QUrl m_feedUrl;
    QString m_imageUrl;
    // The image installUpdate() hands over: the last download or the cached image offered.
    QString m_downloadFile;
    // The version of the image being downloaded.
    QString m_downloadVersion;
    QString m_latestVersion;
    bool m_downloadInProgress = false;
    float m_progress = 0;
    UpdateState m_updateState = CheckForUpdate;
    bool m_validationMode = false;
    bool m_isIdle = true;
};
