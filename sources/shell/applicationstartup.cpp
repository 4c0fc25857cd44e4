#include "applicationstartup.h"

#include "appanalytics.h"
#include "applicationupdater.h"
#include "configresources.h"
#include "datafolders.h"
#include "messagehandler.h"
#include "offlinemodel.h"
#include "presetmigration.h"
#include "qmltypes.h"
#include "qx8settings.h"
#include "regularfile.h"
#include "settingskeys.h"
#include "textinputaccessible.h"
#include "viewloader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace {
QString dataLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

void setIfAbsent(QX8Settings& settings, const QString& key, const QString& value)
{
    if (!settings.contains(key))
        settings.setValue(key, value);
}

QString lockFilePath()
{
    return QDir::tempPath() + QLatin1Char('/') + QLatin1String(ApplicationStartup::kLockFileName);
}
} // namespace

ApplicationStartup::ApplicationStartup(QApplication& application)
    : m_application(application), m_lock(lockFilePath())
{
}

// The loader goes first: its window and pages still use the offline model's signals.
ApplicationStartup::~ApplicationStartup()
{
    m_viewLoader.reset();
    m_offlineModel.reset();
}

ApplicationStartup::Outcome ApplicationStartup::start()
{
    startLog();
    const Outcome lock = takeLock();
    if (lock != Outcome::Started)
        return lock;
    prepareDataFolders();
    writeSettingsDefaults();
    const QString platform = QGuiApplication::platformName();
    qDebug().noquote() << "QT PLATFORM NAME = " + platform;
    registerQmlTypes();
    TextInputAccessible::installFactory();
    m_application.setOrganizationName(QLatin1String(settingskeys::kDefaultStore.organization));
    m_application.setOrganizationDomain(QStringLiteral("velmor.com"));
    m_application.setApplicationName(QLatin1String(settingskeys::kDefaultStore.application));
    m_application.setWindowIcon(QIcon(QStringLiteral(":/images/AppIcon.png")));
    startAnalytics();
    setApplicationFont();
    createScreenLoader();
    // Nothing on the first page needs them: they wait until it is on screen.
    QObject::connect(m_viewLoader.get(), &ViewLoader::firstPageShown, m_viewLoader.get(),
                     &ApplicationStartup::loadConfigResources);
    m_viewLoader->InitLoader(platform);
    return Outcome::Started;
}

void ApplicationStartup::startLog()
{
    QDir().mkpath(strLogDir);
    qInstallMessageHandler(messageHandler);
}

// Only the instance that holds the lock clears the log and the settings locks, so a second
// launch cannot wipe what the one already running is writing. Only a lock held by a live instance
// means another instance; a lock file that cannot be made at all is an error of its own. A lock
// that cannot be read is not waited on: the run goes on without the guard, and so clears
// neither.
ApplicationStartup::Outcome ApplicationStartup::takeLock()
{
    // A FIFO in the lock's place would hold QLockFile's read of it for ever, and the temporary
    // folder is shared by every account: anyone can put one there.
    const QString unreadable = RegularFile::unreadableLock(lockFilePath());
    if (!unreadable.isEmpty()) {
        qWarning().noquote() << "The single-instance lock" << unreadable
                             << "is not a regular file: the application runs without the "
                                "single-instance guard";
        QX8Settings::setAsideUnreadableFiles();
        return Outcome::Started;
    }
    if (!m_lock.tryLock(0)) {
        const QLockFile::LockError error = m_lock.error();
        if (error == QLockFile::LockFailedError)
            return Outcome::AnotherInstance;
        const QString reason = error == QLockFile::PermissionError
                                   ? QStringLiteral("permission denied")
                                   : QStringLiteral("the file could not be created");
        qCritical().noquote() << "Could not take the single-instance lock" << lockFilePath() << "-"
                              << reason;
        return Outcome::LockFailed;
    }
    m_lock.setStaleLockTime(0);
    QFile::remove(strLogDir + QStringLiteral("/ui.log"));
    QX8Settings::removeLeftoverLocks();
    QX8Settings::setAsideUnreadableFiles();
    return Outcome::Started;
}

void ApplicationStartup::prepareDataFolders()
{
    const QString dataFolder = dataLocation();
    USER_PATH = dataFolder.toStdString();
    QDir().mkpath(dataFolder);
    qDebug().noquote() << "Data folder:" << dataFolder;
    qDebug().noquote() << "Log folder:" << strLogDir;
    g_genericDataLocation = strLogDir;
    // After the folders, in the start's order; a run without the guard holds no lock to report.
    if (m_lock.isLocked())
        qDebug() << "File locked by process.";
}

void ApplicationStartup::writeSettingsDefaults()
{
    m_settings = std::make_unique<QX8Settings>();
    m_settings->setValue(settingskeys::kExtraFeaturesReady, QStringLiteral("true"));
    m_settings->setValue(settingskeys::kResizeReady, QStringLiteral("true"));
    PresetMigration(PresetMigration::sandboxPresetFolder(), dataLocation() + "/QX8/Presets")
        .runOnce(*m_settings);
    setIfAbsent(*m_settings, settingskeys::kCheckOnStart, QStringLiteral("true"));
    m_settings->setValue(settingskeys::kCurrentVersion,
                         ApplicationUpdater::instance()->applicationVersion());
}

// Without them the configuration screens list nothing; the rest of the application still works.
void ApplicationStartup::loadConfigResources()
{
    QString error;
    if (ConfigResources::load(&error))
        qDebug() << "Configuration resources loaded:" << ConfigResources::catalogue().types().size()
                 << "crossover types";
    else
        qCritical().noquote() << "Configuration resources not loaded:" << error;
}

void ApplicationStartup::startAnalytics()
{
    setIfAbsent(*m_settings, settingskeys::kAppAnalytics, QStringLiteral("true"));
    AppAnalytics* analytics = AppAnalytics::getInstance(&m_application);
    analytics->setTrackingID(QStringLiteral("UA-502846137-3"));
    analytics->setSendInterval(5000);
    analytics->sendPlatformData();
}

void ApplicationStartup::setApplicationFont()
{
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("Arial"));
    font.setStyle(QFont::StyleNormal);
    QApplication::setFont(font);
}

void ApplicationStartup::createScreenLoader()
{
    m_viewLoader = std::make_unique<ViewLoader>();
    m_offlineModel = std::make_unique<OfflineModel>(OfflineModel::defaultProgram());
    m_offlineModel->attach(m_viewLoader.get());
}
