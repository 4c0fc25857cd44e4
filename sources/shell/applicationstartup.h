#pragma once

#include <QLockFile>
#include <memory>

class OfflineModel;
class QApplication;
class QX8Settings;
class ViewLoader;

// Brings the application up in its fixed order: log, single-instance lock (only its holder
// clears the old log), data folders, settings defaults, preset migration, "CurrentVersion", QML
// types, the password fields' accessibility, names, analytics, font, screen loader and main
// window. Once the first page is on screen: configuration resources. Members are destroyed in
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
    void writeSettingsDefaults();
    static void loadConfigResources();
    void startAnalytics();
    void setApplicationFont();
    void createScreenLoader();

    QApplication& m_application;
    QLockFile m_lock;
    std::unique_ptr<QX8Settings> m_settings;
    std::unique_ptr<OfflineModel> m_offlineModel;
    std::unique_ptr<ViewLoader> m_viewLoader;
};
