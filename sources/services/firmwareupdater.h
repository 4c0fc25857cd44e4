#pragma once

#include "updatecache.h"
#include "updaterequests.h"

#include <QObject>
#include <QUrl>

#include <chrono>

// Checks the update feed for firmware newer than the connected device's, downloads the image into
// the firmware cache folder and leaves it there for the firmware upload. Also offers the version
// comparison to the screens. One process-wide object on the GUI thread.
//
// States: CheckForUpdate -> CheckingForUpdate (feed request) -> DownloadUpdate (newer firmware
// announced) -> UploadUpdate (the image is in the cache; the screens hand it to the upload and
// write CheckForUpdate back when it is done). Every failure returns to CheckForUpdate with
// error(text), then offers an image cached earlier.
class FirmwareUpdater : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString firmwareVersion READ firmwareVersion WRITE setFirmwareVersion NOTIFY
                   firmwareVersionChanged)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY latestVersionChanged)
    Q_PROPERTY(bool downloadInProgress READ downloadInProgress NOTIFY downloadInProgressChanged)
    Q_PROPERTY(float progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(
        UpdateState updateState READ updateState WRITE setUpdateState NOTIFY updateStateChanged)
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidationMode NOTIFY
                   validationModeChanged)
    Q_PROPERTY(bool isIdle READ isIdle WRITE setIsIdle NOTIFY isIdleChanged)

public:
    enum UpdateState { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, UploadUpdate };
    Q_ENUM(UpdateState)

    // Created on first use, with the application as its parent.
    static FirmwareUpdater* instance();
    // For QML's type registry and for tests; the application uses instance().
    explicit FirmwareUpdater(QObject* parent = nullptr);

    // The connected device's firmware version, written by the screens; stored without a signal.
    QString firmwareVersion() const { return m_firmwareVersion; }
    void setFirmwareVersion(const QString& version) { m_firmwareVersion = version; }
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
    // Back to CheckForUpdate from any state; a running request ends and its partial file goes.
    Q_INVOKABLE void resetAll();
    Q_INVOKABLE void clearCache();
    Q_INVOKABLE bool isFirstGreaterThanSecond(const QString& newVersion,
                                              const QString& oldVersion) const;

Q_SIGNALS:
    void firmwareVersionChanged();
    void requestCheckForUpdate();
    void requestDownloadUpdate();
    void requestCancelDownload();
    void latestVersionWithUrl(QString version, QString imageUrl);
    void latestVersionChanged(QString version);
    void downloadInProgressChanged(bool downloadInProgress);
    void updateDownloaded();
    void progressChanged(float progress);
    // Qualified: moc matches the argument to the registered enumeration by this name.
    void updateStateChanged(FirmwareUpdater::UpdateState state);
    void error(QString errorString);
    void checkCachedVersion();
    void showCachedInfo();
    void validationModeChanged(bool validationMode);
    void isIdleChanged(bool isIdle);

protected Q_SLOTS:
    void onRequestCheckForUpdate();
    void onRequestDownloadUpdate();
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
    QString m_firmwareVersion;
    // The version of the image being downloaded.
    QString m_downloadVersion;
    QString m_latestVersion;
    bool m_downloadInProgress = false;
    float m_progress = 0;
    UpdateState m_updateState = CheckForUpdate;
    bool m_checkInProgress = false;
    bool m_validationMode = false;
    bool m_isIdle = true;
};
