#pragma once

#include <QObject>
#include <QUrl>

// Skeleton of the application update check until it is built: the version, the update state
// and the validation flag that selects the test feed. It checks and downloads nothing.
class ApplicationUpdater : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString applicationVersion READ applicationVersion NOTIFY applicationVersionChanged)
    Q_PROPERTY(UpdateState updateState READ updateState NOTIFY updateStateChanged)
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidationMode NOTIFY
                   validationModeChanged)

public:
    enum UpdateState { CheckForUpdate = 0, CheckingForUpdate, DownloadUpdate, InstallUpdate };
    Q_ENUM(UpdateState)

    static ApplicationUpdater* instance();
    // For QML's type registry only; the application uses instance().
    explicit ApplicationUpdater(QObject* parent = nullptr);

    QString applicationVersion() const;
    UpdateState updateState() const { return m_updateState; }
    bool validationMode() const { return m_validationMode; }
    void setValidationMode(bool validationMode);
    QUrl feedUrl() const { return m_feedUrl; }

Q_SIGNALS:
    void applicationVersionChanged();
    // Qualified: moc matches the argument to the registered enumeration by this name.
    void updateStateChanged(ApplicationUpdater::UpdateState state);
    void validationModeChanged(bool validationMode);

private:
    bool m_validationMode = false;
    UpdateState m_updateState = CheckForUpdate;
    QUrl m_feedUrl;
};
