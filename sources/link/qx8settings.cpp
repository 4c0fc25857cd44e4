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

// Before Qt reads the file, each time it changed: see settingsfilescreen.h.
void screenStoreFile(const settingskeys::Store& store)
{
    static std::mutex screening;
    static QHash<QString, QPair<qint64, qint64>> screened; // file: size and time as last seen
    const std::lock_guard<std::mutex> lock(screening);
    const QString fileName = storeFileName(store);
    const QFileInfo file(fileName);
    const QPair<qint64, qint64> seen(file.size(), file.lastModified().toMSecsSinceEpoch());
    if (!file.exists() || screened.value(fileName) == seen)
        return;
    const QList<QByteArray> removed = settingsfilescreen::removeSerializedValues(fileName);
    if (!removed.isEmpty())
        qWarning().noquote() << "Settings file" << fileName << "held" << removed.size()
                             << "entries the application does not write, now removed:" << removed;
    const QFileInfo after(fileName);
    screened.insert(fileName, qMakePair(after.size(), after.lastModified().toMSecsSinceEpoch()));
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
