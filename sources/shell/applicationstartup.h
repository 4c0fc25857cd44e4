#pragma once

#include <QLockFile>
#include <memory>

class OfflineModel;
class QApplication;
class QX8Settings;
class ViewLoader;

// Brings the application up in its fixed order: log, data folder, single-instance lock, QML
// types, names, screen loader (its first page starts compiling), font, main window. Once the
// first page is on screen: analytics (its first hit, the platform event, writes the client id),
// settings defaults, preset migration, configuration resources. Members are destroyed in
// reverse: loader, settings, lock.
class ApplicationStartup
{
public:
    static constexpr const char* kLockFileName = "VELMOR_YOXL_SPANDRELL_QX8_LOCK_FILE";

    // How start() ended. Unless Started, nothing has happened but the log handler: the caller
    // ends with code 0 when another instance runs, and with an error when the lock could not
    // be taken at all (the reason is in the log).
    enum class Outcome { Started, AnotherInstance, LockFailed };

    explicit ApplicationStartup(QApplication& application);
    ~ApplicationStartup();

    Outcome start();

    ViewLoader* viewLoader() const { return m_viewLoader.get(); }

private:
    void startLog();
    Outcome takeLock();
    void prepareDataFolders();
    void finishStart();
    void writeSettingsDefaults();
    void loadConfigResources();
    void startAnalytics();
    void setApplicationFont();
    void createScreenLoader();

    QApplication& m_application;
    QLockFile m_lock;
    std::unique_ptr<QX8Settings> m_settings;
    std::unique_ptr<OfflineModel> m_offlineModel;
    std::unique_ptr<ViewLoader> m_viewLoader;
};
