#pragma once

#include "imageupdater.h"

// Checks the update feed for firmware newer than the connected device's, downloads the image into
// the firmware cache folder and leaves it there for the firmware upload. Also offers the version
// comparison to the screens. One process-wide object on the GUI thread.
//
// States: CheckForUpdate -> CheckingForUpdate (feed request) -> DownloadUpdate (newer firmware
// announced) -> UploadUpdate (the image is in the cache; the screens hand it to the upload and
// write CheckForUpdate back when it is done). Every failure returns to CheckForUpdate with
// error(text), then offers an image cached earlier.
//
// After an upload the device installs the image when it restarts; the first version it reports
// afterwards, on the same address, tells whether the new firmware runs (installResult).
class FirmwareUpdater : public ImageUpdater
{
    Q_OBJECT
    Q_PROPERTY(QString firmwareVersion READ firmwareVersion WRITE setFirmwareVersion NOTIFY
                   firmwareVersionChanged)
    Q_PROPERTY(
        UpdateState updateState READ updateState WRITE setUpdateState NOTIFY updateStateChanged)
    // Empty until the device has reported its version after an upload; then a line for the user.
    Q_PROPERTY(QString installResult READ installResult NOTIFY installResultChanged)
    // The device runs the version it was sent.
    Q_PROPERTY(bool installConfirmed READ installConfirmed NOTIFY installResultChanged)
    // Where the firmware updater for Windows is offered, fully encoded for a link.
    Q_PROPERTY(QString firmwareToolPage READ firmwareToolPage CONSTANT)

public:
    enum UpdateState { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, UploadUpdate };
    Q_ENUM(UpdateState)

    // Created on first use, with the application as its parent.
    static FirmwareUpdater* instance();
    // For QML's type registry and for tests; the application uses instance().
    explicit FirmwareUpdater(QObject* parent = nullptr);

    // The connected device's firmware version, written by the screens; stored without a signal.
    QString firmwareVersion() const { return ownVersion(); }
    void setFirmwareVersion(const QString& version);
    QString installResult() const { return m_installResult; }
    bool installConfirmed() const { return m_installConfirmed; }
    UpdateState updateState() const { return UpdateState(stage()); }
    void setUpdateState(UpdateState state) { setStage(Stage(state)); }
    QString firmwareToolPage() const;

    // Back to CheckForUpdate from any state; a running request ends and its partial file goes.
    Q_INVOKABLE void resetAll();
    // The check "Check on startup" ("Data/checkOnStart") asks for when a device has connected:
    // only once the device's firmware version is known and while nothing else is under way.
    void checkOnStartup();
    Q_INVOKABLE bool isFirstGreaterThanSecond(const QString& newVersion,
                                              const QString& oldVersion) const;
    // The image of `version` went to the device now connected: the next version that device
    // reports settles installResult.
    Q_INVOKABLE void expectAfterRestart(const QString& version);

Q_SIGNALS:
    void firmwareVersionChanged();
    // Qualified: moc matches the argument to the registered enumeration by this name.
    void updateStateChanged(FirmwareUpdater::UpdateState state);
    void installResultChanged();

private:
    static Profile profile();
    static QString deviceAddress();
    void announceStage(Stage stage) override;
    void checkInstall(const QString& reportedVersion);

    // The version sent to the device at m_expectedAddress, until it reports one.
    QString m_expectedVersion;
    QString m_expectedAddress;
    QString m_installResult;
    bool m_installConfirmed = false;
};
