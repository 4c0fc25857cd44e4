#include "qx8settings.h"

#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "settingssavecheck.h"

#include <QRecursiveMutex>

#include <optional>

namespace {

// Recursive: the announcement of a failed save runs QML handlers, which may read settings.
struct ApplicationStore
{
    QRecursiveMutex mutex;
    // The whole store as this run holds it once a change could not be saved (a read-only
    // folder, a full disk); nothing while the disk holds it.
    std::optional<settingsstore::HeldValues> unsaved;
};

ApplicationStore& applicationStore()
{
    static ApplicationStore store;
    return store;
}

// Reads from the store that holds this run's values: the disk's, or the one in memory.
template<typename Reader> auto read(const Reader& reader)
{
    ApplicationStore& store = applicationStore();
    const QMutexLocker lock(&store.mutex);
    if (store.unsaved)
        return reader(*store.unsaved);
    const settingsstore::OpenedStore disk(settingskeys::kApplicationStore);
    return reader(disk);
}

// Applies a change (a callable that takes the store, on disk or in memory alike, and says
// whether it changed anything) and saves it. Once a save failed, the change is made in memory,
// and the whole store written again.
template<typename Change> void change(const Change& apply)
{
    ApplicationStore& store = applicationStore();
    const QMutexLocker lock(&store.mutex);
    settingsstore::OpenedStore disk(settingskeys::kApplicationStore);
    if (!store.unsaved) {
        if (apply(disk) && !SettingsSaveCheck::instance().save(disk))
            store.unsaved = settingsstore::HeldValues::copyOf(disk);
        return;
    }
    if (!apply(*store.unsaved))
        return;
    store.unsaved->copyTo(disk);
    if (SettingsSaveCheck::instance().save(disk))
        store.unsaved.reset();
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
    change([&](auto& store) {
        const QVariant stored = store.value(key);
        if (stored.userType() == value.userType() && stored == value)
            return false;
        store.setValue(key, value);
        return true;
    });
}

QVariant QX8Settings::value(const QString& key, const QVariant& defaultValue) const
{
    return read([&](const auto& store) { return store.value(key, defaultValue); });
}

void QX8Settings::remove(const QString& key)
{
    change([&](auto& store) {
        store.remove(key);
        return true;
    });
}

bool QX8Settings::contains(const QString& key) const
{
    return read([&](const auto& store) { return store.contains(key); });
}

void QX8Settings::clear()
{
    change([](auto& store) {
        store.clear();
        return true;
    });
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
