#include "qx8settings.h"

#include "settingsfilescreen.h"
#include "settingskeys.h"
#include "settingssavecheck.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPair>
#include <QSettings>
#include <QStandardPaths>

#include <mutex>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Where QSettings keeps a store on this platform, known without opening it.
QString storeFileName(const settingskeys::Store& store)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + '/' +
           QLatin1String(store.organization) + '/' + QLatin1String(store.application) +
           QStringLiteral(".conf");
}

// The size and time of each store file as last screened or written here: one that has not
// changed since needs no new look.
struct ScreenedFiles
{
    std::mutex mutex;
    QHash<QString, QPair<qint64, qint64>> seen;
};

ScreenedFiles& screenedFiles()
{
    static ScreenedFiles files;
    return files;
}

QPair<qint64, qint64> signatureOf(const QString& fileName)
{
    const QFileInfo file(fileName);
    return qMakePair(file.size(), file.lastModified().toMSecsSinceEpoch());
}

// Before Qt reads the file, each time it changed: see settingsfilescreen.h.
void screenStoreFile(const settingskeys::Store& store)
{
    ScreenedFiles& files = screenedFiles();
    const std::lock_guard<std::mutex> lock(files.mutex);
    const QString fileName = storeFileName(store);
    if (!QFile::exists(fileName) || files.seen.value(fileName) == signatureOf(fileName))
        return;
    const QList<QByteArray> removed = settingsfilescreen::removeSerializedValues(fileName);
    if (!removed.isEmpty())
        qWarning().noquote() << "Settings file" << fileName << "held" << removed.size()
                             << "entries the application does not write, now removed:" << removed;
    files.seen.insert(fileName, signatureOf(fileName));
}

// What the application wrote itself holds only its own values: not read again to be screened.
void rememberWritten(const QString& fileName)
{
    ScreenedFiles& files = screenedFiles();
    const std::lock_guard<std::mutex> lock(files.mutex);
    files.seen.insert(fileName, signatureOf(fileName));
}

QSettings openStore()
{
    screenStoreFile(settingskeys::kApplicationStore);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromLatin1(settingskeys::kApplicationStore.organization),
                     QString::fromLatin1(settingskeys::kApplicationStore.application));
}

// Made, or narrowed, to owner-only before it is written. Qt rewrites the file through a new one
// that takes the old one's mode, so the mode stays.
void keepOwnerOnly(const QString& fileName)
{
    QFile file(fileName);
    if (!file.exists()) {
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        // Empty until the store is written: nothing can be read in the moment before the mode.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            file.close();
    }
    const QFileDevice::Permissions all =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (file.exists() && (file.permissions() & all) != kOwnerOnly &&
        !file.setPermissions(kOwnerOnly))
        qWarning().noquote() << "Could not make" << fileName << "private:" << file.errorString();
}

// Every change of the store goes to the disk this way.
void commit(QSettings& store)
{
    keepOwnerOnly(store.fileName());
    SettingsSaveCheck::instance().save(store);
    rememberWritten(store.fileName());
}

} // namespace

QX8Settings::QX8Settings(QObject* parent) : QObject(parent)
{
    connect(&SettingsSaveCheck::instance(), &SettingsSaveCheck::failed, this,
            &QX8Settings::saveFailureChanged);
}

QString QX8Settings::saveFailure() const
{
    return SettingsSaveCheck::instance().failure();
}

// Every write rewrites the whole file and flushes it to disk, in the calling (GUI) thread; the
// start and every page visit write their defaults again. A value stored as it is, of the same
// type, is left alone.
void QX8Settings::setValue(const QString& key, const QVariant& value)
{
    QSettings store = openStore();
    const QVariant stored = store.value(key);
    if (stored.userType() == value.userType() && stored == value)
        return;
    store.setValue(key, value);
    commit(store);
}

QVariant QX8Settings::value(const QString& key, const QVariant& defaultValue) const
{
    return openStore().value(key, defaultValue);
}

void QX8Settings::remove(const QString& key)
{
    QSettings store = openStore();
    store.remove(key);
    commit(store);
}

bool QX8Settings::contains(const QString& key) const
{
    return openStore().contains(key);
}

void QX8Settings::clear()
{
    QSettings store = openStore();
    store.clear();
    commit(store);
}

void QX8Settings::screenStores()
{
    screenStoreFile(settingskeys::kApplicationStore);
    screenStoreFile(settingskeys::kDefaultStore);
}

void QX8Settings::removeLeftoverLocks()
{
    for (const settingskeys::Store& store :
         {settingskeys::kApplicationStore, settingskeys::kDefaultStore}) {
        QFile lock(storeFileName(store) + QStringLiteral(".lock"));
        if (lock.exists() && !lock.remove())
            qWarning().noquote() << "Could not remove the settings lock" << lock.fileName() << ":"
                                 << lock.errorString();
    }
}
