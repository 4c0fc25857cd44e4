#pragma once

#include <QObject>
#include <QUrl>

// Skeleton of the firmware update check until it is built: idle flag, update state and the
// validation flag that selects the test feed. It checks and downloads nothing.
class FirmwareUpdater : public QObject
{
    Q_OBJECT
    Q_PROPERTY(UpdateState updateState READ updateState NOTIFY updateStateChanged)
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidationMode NOTIFY
                   validationModeChanged)
    Q_PROPERTY(bool isIdle READ isIdle NOTIFY isIdleChanged)

public:
    enum UpdateState { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, InstallUpdate };
    Q_ENUM(UpdateState)

    static FirmwareUpdater* instance();
    // For QML's type registry only; the application uses instance().
    explicit FirmwareUpdater(QObject* parent = nullptr);

    UpdateState updateState() const { return m_updateState; }
    bool validationMode() const { return m_validationMode; }
    void setValidationMode(bool validationMode);
    bool isIdle() const { return m_isIdle; }
    QUrl feedUrl() const { return m_feedUrl; }

    Q_INVOKABLE void resetAll();

Q_SIGNALS:
    // Qualified: moc matches the argument to the registered enumeration by this name.
    void updateStateChanged(FirmwareUpdater::UpdateState state);
    void validationModeChanged(bool validationMode);
    void isIdleChanged(bool isIdle);

private:
    bool m_validationMode = false;
    bool m_isIdle = true;
    UpdateState m_updateState = CheckForUpdate;
    QUrl m_feedUrl;
};
