#pragma once

#include "updatecache.h"
#include "updatefeed.h"
#include "updaterequests.h"

#include <QObject>
#include <QUrl>

#include <chrono>

// What the application and firmware updaters share: the feed check for a version newer than the
// own one, the image download into the cache, cancel, progress, error texts and the offer of an
// image cached earlier. One object per product on the GUI thread; the subclass names the states
// in its own enumeration and adds what only its product does (install, reset).
//
// Stages: CheckForUpdate -> CheckingForUpdate (feed request) -> DownloadUpdate (a newer image is
// announced) -> ImageReady (the image is in the cache). Every failure returns to CheckForUpdate
// with error(text), then offers an image cached earlier; so does a feed that cannot be read. The
// feed and the image come only over http or https from the feed's host and port or one the
// cloud endpoints list, redirects included.
class ImageUpdater : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY latestVersionChanged)
    Q_PROPERTY(bool downloadInProgress READ downloadInProgress NOTIFY downloadInProgressChanged)
    Q_PROPERTY(float progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidationMode NOTIFY
                   validationModeChanged)
    Q_PROPERTY(bool isIdle READ isIdle WRITE setIsIdle NOTIFY isIdleChanged)

public:
    QString latestVersion() const { return m_latestVersion; }
    bool downloadInProgress() const { return m_downloadInProgress; }
    float progress() const { return m_progress; }
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
    Q_INVOKABLE void clearCache();

Q_SIGNALS:
    void requestCheckForUpdate();
    void requestDownloadUpdate();
    void requestCancelDownload();
    void latestVersionWithUrl(QString version, QString imageUrl);
    void latestVersionChanged(QString version);
    void downloadInProgressChanged(bool downloadInProgress);
    void updateDownloaded();
    void progressChanged(float progress);
    // Part of the interface the screens know, never emitted: a cancelled download is told by
    // error("The operation was canceled.").
    void downloadCanceled();
    void error(QString errorString);
    void checkCachedVersion();
    void showCachedInfo();
    void validationModeChanged(bool validationMode);
    void isIdleChanged(bool isIdle);

protected:
    // The values of the subclasses' UpdateState enumerations.
    enum class Stage { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, ImageReady };

    // Where the two products part ways.
    struct Profile
    {
        updatefeed::Product product;
        QString cacheFolder;
        QString imageSuffix;
        // A check asked for while one runs is dropped.
        bool oneCheckAtATime = false;
        // A failed request clears the versions after error(), without their change signals.
        bool clearsVersionsQuietly = false;
        // A cached image is announced with showCachedInfo() before the stage changes.
        bool announcesCachedImageFirst = false;
    };

    ImageUpdater(const Profile& profile, QObject* parent);

    // The version the feed is compared with: the running application's or the device's.
    QString ownVersion() const { return m_ownVersion; }
    void setOwnVersion(const QString& version) { m_ownVersion = version; }
    Stage stage() const { return m_stage; }
    // Stores the stage and always announces it, also when it is unchanged.
    void setStage(Stage stage);
    // The cached image the ImageReady stage offers.
    QString readyImage() const { return m_readyImage; }

    // Ends a running request; it reports OperationCanceledError on a later turn.
    void cancelRequest() { m_requests.cancel(); }
    void setVersionsWithSignals(const QString& version, const QString& imageUrl);
    void setDownloadInProgress(bool inProgress);
    void setProgress(float progress);

protected Q_SLOTS:
    void onRequestCheckForUpdate();
    void onRequestDownloadUpdate();
    void onRequestCancelDownload();
    void onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void onFinished(UpdateRequests::Kind kind, QNetworkReply::NetworkError error,
                    const QString& cause, const QByteArray& feed);
    void onError(QNetworkReply::NetworkError errorCode);
    void onCheckForCachedVersion();

private:
    // Emits the subclass's updateStateChanged with its own enumeration.
    virtual void announceStage(Stage stage) = 0;

    // Back to CheckForUpdate with error(text): `cause` when it is given, else the text of the
    // network error.
    void fail(QNetworkReply::NetworkError errorCode, const QString& cause);
    // The hosts, with their ports, the feed and the image may come from: the feed's own and
    // the cloud's.
    QStringList imageHosts() const;
    void onFeed(const QByteArray& feed);
    // Takes the newest of the feed's rows, or the own version when none is newer.
    void latestVersion(const QStringList& rows);
    void onImage();
    QString productName() const;

    const Profile m_profile;
    UpdateRequests m_requests;
    UpdateCache m_cache;
    QUrl m_feedUrl;
    QString m_imageUrl;
    QString m_ownVersion;
    QString m_readyImage;
    // The version of the image being downloaded.
    QString m_downloadVersion;
    QString m_latestVersion;
    bool m_downloadInProgress = false;
    float m_progress = 0;
    Stage m_stage = Stage::CheckForUpdate;
    bool m_checkInProgress = false;
    bool m_validationMode = false;
    bool m_isIdle = true;
};
