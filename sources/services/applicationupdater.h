#pragma once

#include "imageupdater.h"

// Checks the update feed for a newer build of the application, downloads its disk image into the
// cache folder and, on request, hands the image to the operating system and quits so that the
// user installs it. One process-wide object on the GUI thread, driven from the Utilities screen.
//
// States: CheckForUpdate -> CheckingForUpdate (feed request) -> DownloadUpdate (a newer image
// is announced) -> InstallUpdate (the image is in the cache) -> the process ends. Every failure
// returns to CheckForUpdate with error(text), then offers an image cached earlier.
class ApplicationUpdater : public ImageUpdater
{
    Q_OBJECT
    Q_PROPERTY(QString applicationVersion READ applicationVersion NOTIFY applicationVersionChanged)
    Q_PROPERTY(
        UpdateState updateState READ updateState WRITE setUpdateState NOTIFY updateStateChanged)

public:
    enum UpdateState { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, InstallUpdate };
    Q_ENUM(UpdateState)

    // Created on first use, with the application as its parent.
    static ApplicationUpdater* instance();
    // For QML's type registry and for tests; the application uses instance().
    explicit ApplicationUpdater(QObject* parent = nullptr);

    QString applicationVersion() const;
    UpdateState updateState() const { return UpdateState(stage()); }
    void setUpdateState(UpdateState state) { setStage(Stage(state)); }

    Q_INVOKABLE void installUpdate();

Q_SIGNALS:
    void applicationVersionChanged();
    void requestInstallUpdate();
    // Qualified: moc matches the argument to the registered enumeration by this name.
    void updateStateChanged(ApplicationUpdater::UpdateState state);

protected Q_SLOTS:
    void onRequestInstallUpdate();

private:
    void announceStage(Stage stage) override;
};
