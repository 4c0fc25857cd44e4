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
class FirmwareUpdater : public ImageUpdater
{
    Q_OBJECT
    Q_PROPERTY(QString firmwareVersion READ firmwareVersion WRITE setFirmwareVersion NOTIFY
                   firmwareVersionChanged)
    Q_PROPERTY(
        UpdateState updateState READ updateState WRITE setUpdateState NOTIFY updateStateChanged)

public:
    enum UpdateState { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, UploadUpdate };
    Q_ENUM(UpdateState)

    // Created on first use, with the application as its parent.
    static FirmwareUpdater* instance();
    // For QML's type registry and for tests; the application uses instance().
    explicit FirmwareUpdater(QObject* parent = nullptr);

    // The connected device's firmware version, written by the screens; stored without a signal.
    QString firmwareVersion() const { return ownVersion(); }
    void setFirmwareVersion(const QString& version) { setOwnVersion(version); }
    UpdateState updateState() const { return UpdateState(stage()); }
    void setUpdateState(UpdateState state) { setStage(Stage(state)); }

    // Back to CheckForUpdate from any state; a running request ends and its partial file goes.
    // The next connection gets its own startup check.
    Q_INVOKABLE void resetAll();
    // The check "Check on startup" ("Data/checkOnStart") asks for: once per connection, as soon
    // as the device's firmware version is known and while nothing else is under way.
    Q_INVOKABLE void checkOnStartup();
    Q_INVOKABLE bool isFirstGreaterThanSecond(const QString& newVersion,
                                              const QString& oldVersion) const;

Q_SIGNALS:
    void firmwareVersionChanged();
    // Qualified: moc matches the argument to the registered enumeration by this name.
    void updateStateChanged(FirmwareUpdater::UpdateState state);

private:
    static Profile profile();
    void announceStage(Stage stage) override;

    bool m_startupCheckDue = true;
};
