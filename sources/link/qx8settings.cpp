#include "qx8settings.h"

#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "settingssavecheck.h"

#include <QRecursiveMutex>
#include <QSettings>

namespace {

// The application's store as this run holds it once a change could not be saved (a read-only
// folder, a full disk): the whole of it, read from here, as QSettings would read the file.
class UnsavedStore
{
public:
    bool isActive() const { return m_active; }

    // From a store that holds the change that could not be saved.
    void takeOver(const QSettings& store)
    {
        m_values.clear();
        for (const QString& key : store.allKeys())
            m_values.insert(key, store.value(key));
        m_active = true;
    }

    void leave()
    {
        m_values.clear();
        m_active = false;
    }

    // Everything held here, in place of what the store had.
    void writeTo(QSettings& store) const
    {
        store.clear();
        for (auto entry = m_values.cbegin(); entry != m_values.cend(); ++entry)
            store.setValue(entry.key(), entry.value());
    }

    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const
    {
        return m_values.value(key, defaultValue);
    }
    bool contains(const QString& key) const { return m_values.contains(key); }
    void setValue(const QString& key, const QVariant& value) { m_values.insert(key, value); }
    void clear() { m_values.clear(); }

    // As QSettings removes: the key, and the keys of a group of that name.
    void remove(const QString& key)
    {
        const QString group = key + QLatin1Char('/');
        for (auto entry = m_values.begin(); entry != m_values.end();) {
            if (key.isEmpty() || entry.key() == key || entry.key().startsWith(group))
                entry = m_values.erase(entry);
            else
                ++entry;
        }
    }

private:
    bool m_active = false;
    QSettings::SettingsMap m_values;
};

// Recursive: the announcement of a failed save runs QML handlers, which may read settings.
struct ApplicationStore
{
    QRecursiveMutex mutex;
    UnsavedStore unsaved;
};

ApplicationStore& applicationStore()
{
    static ApplicationStore store;
    return store;
}

QSettings openStore()
{
    return settingsstore::open(settingskeys::kApplicationStore);
}

// Reads from the store that holds this run's values: the disk's, or the one in memory.
template<typename Reader> auto read(const Reader& reader)
{
    ApplicationStore& store = applicationStore();
    const QMutexLocker lock(&store.mutex);
    if (store.unsaved.isActive())
        return reader(store.unsaved);
    const QSettings disk = openStore();
    return reader(disk);
}

// Applies a change (a callable that takes the store, QSettings or UnsavedStore alike, and says
// whether it changed anything) and saves it. Once a save failed, the change is made in memory,
// and the whole store written again.
template<typename Change> void change(const Change& apply)
{
    ApplicationStore& store = applicationStore();
    const QMutexLocker lock(&store.mutex);
    QSettings disk = openStore();
    if (!store.unsaved.isActive()) {
        if (apply(disk) && !SettingsSaveCheck::instance().save(disk))
            store.unsaved.takeOver(disk);
        return;
    }
    if (!apply(store.unsaved))
        return;
    store.unsaved.writeTo(disk);
    if (SettingsSaveCheck::instance().save(disk))
        store.unsaved.leave();
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
