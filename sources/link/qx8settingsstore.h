#pragma once

#include "settingskeys.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <variant>

// The two settings stores on disk, in their usual place and syntax but through the application's
// own reader (qx8settingsini.h), registered with QSettings: nothing in them is deserialized, and
// QSettings' lock and atomic rewrite still guard concurrent writers. Every file written is its
// owner's alone (it holds the device password). A file that is not a regular file, or is larger
// than the application ever writes, is neither read nor replaced, and no file is written that
// large. A link is read and never written through.
namespace settingsstore {

// The largest store file read or written; the application's own stay far below it.
constexpr qint64 kLargestFile = 4 * 1024 * 1024;

// Where the store's file lies on every platform: the one name it is opened, set aside and
// unlocked by.
QString fileName(const settingskeys::Store& store);

class OpenedStore;

// Values kept in memory under keys as QSettings keys them.
class HeldValues
{
public:
    // Everything the store holds.
    static HeldValues copyOf(const OpenedStore& store);
    // Everything held here, in place of what the store had.
    void copyTo(OpenedStore& store) const;

    QStringList allKeys() const { return m_values.keys(); }
    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const
    {
        return m_values.value(key, defaultValue);
    }
    bool contains(const QString& key) const { return m_values.contains(key); }
    void setValue(const QString& key, const QVariant& value) { m_values.insert(key, value); }
    // As QSettings removes: the key, and the keys of a group of that name.
    void remove(const QString& key);
    void clear() { m_values.clear(); }

private:
    QSettings::SettingsMap m_values;
};

// A store opened for one use, read and written as QSettings reads and writes it. A file in its
// place that is not a regular file is never opened (a FIFO would block the open with no end):
// the store then starts empty, holds what is set in it while it lives, and saves nothing. Where
// the file is a link, or its lock is not a regular file, the store holds the file's values alike
// and saves nothing.
class OpenedStore
{
public:
    explicit OpenedStore(const settingskeys::Store& store);
    OpenedStore(const OpenedStore&) = delete;
    OpenedStore& operator=(const OpenedStore&) = delete;

    QString fileName() const { return m_fileName; }

    QStringList allKeys() const;
    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;
    bool contains(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);
    void clear();

    // Writes the changes to the file; false when they did not reach it.
    bool save();

private:
    void dropOversized(QSettings& file);

    const QString m_fileName;
    std::variant<HeldValues, QSettings> m_store;
};

// Moves a store file that must not be read aside, beside it (never deleted), so that the run
// starts from the defaults, with a warning; says in the warning when it could not be moved. Warns
// when the store's lock is not a regular file, or the file a link that is read but not written.
void setAsideIfUnreadable(const settingskeys::Store& store);

// Removes the store's lock file. A process killed while it wrote the settings can leave an empty
// lock behind, and QSettings then waits 30 s for it to age before the next write. Only for the
// one instance that holds the single-instance lock, as nothing else writes these stores.
void removeLeftoverLock(const settingskeys::Store& store);

} // namespace settingsstore
