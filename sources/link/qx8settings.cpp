#include "qx8settings.h"

#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "settingssavecheck.h"

#include <QSettings>

namespace {

QSettings openStore()
{
    return settingsstore::open(settingskeys::kApplicationStore);
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
    SettingsSaveCheck::instance().save(store);
}

QVariant QX8Settings::value(const QString& key, const QVariant& defaultValue) const
{
    return openStore().value(key, defaultValue);
}

void QX8Settings::remove(const QString& key)
{
    QSettings store = openStore();
    store.remove(key);
    SettingsSaveCheck::instance().save(store);
}

bool QX8Settings::contains(const QString& key) const
{
    return openStore().contains(key);
}

void QX8Settings::clear()
{
    QSettings store = openStore();
    store.clear();
    SettingsSaveCheck::instance().save(store);
}

void QX8Settings::setAsideUnreadableFiles()
{
    settingsstore::setAsideIfUnreadable(settingskeys::kApplicationStore);
    settingsstore::setAsideIfUnreadable(settingskeys::kDefaultStore);
}

void QX8Settings::removeLeftoverLocks()
{
    settingsstore::removeLeftoverLock(settingskeys::kApplicationStore);
    settingsstore::removeLeftoverLock(settingskeys::kDefaultStore);
}
