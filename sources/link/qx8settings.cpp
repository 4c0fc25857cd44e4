#include "qx8settings.h"

#include "settingskeys.h"

#include <QDebug>
#include <QFile>
#include <QSettings>

namespace {
QSettings openStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromLatin1(settingskeys::kApplicationStore.organization),
                     QString::fromLatin1(settingskeys::kApplicationStore.application));
}
} // namespace

QX8Settings::QX8Settings(QObject* parent) : QObject(parent) {}

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
}

QVariant QX8Settings::value(const QString& key, const QVariant& defaultValue) const
{
    return openStore().value(key, defaultValue);
}

void QX8Settings::remove(const QString& key)
{
    openStore().remove(key);
}

bool QX8Settings::contains(const QString& key) const
{
    return openStore().contains(key);
}

void QX8Settings::clear()
{
    openStore().clear();
}

void QX8Settings::removeLeftoverLocks()
{
    const QSettings defaultStore(QLatin1String(settingskeys::kDefaultStore.organization),
                                 QLatin1String(settingskeys::kDefaultStore.application));
    for (const QString& store : {openStore().fileName(), defaultStore.fileName()}) {
        QFile lock(store + QStringLiteral(".lock"));
        if (lock.exists() && !lock.remove())
            qWarning().noquote() << "Could not remove the settings lock" << lock.fileName() << ":"
                                 << lock.errorString();
    }
}
