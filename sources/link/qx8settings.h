#pragma once

#include <QObject>
#include <QVariant>

// The application's settings store for QML and for code that reads a setting now and then.
// Holds no state of its own: every call opens the store afresh, so all instances see the same
// values. The store is read and written through settingsstore (no value in it is deserialized;
// its file is its owner's alone). A write that does not reach the disk is reported
// (SettingsSaveCheck), and from then on the whole store is kept in memory for the rest of the
// run, so that what the user chose still holds; each later change tries the disk again.
class QX8Settings : public QObject
{
    Q_OBJECT
    // The text for the user of the first write of this run that failed; empty while none did.
    Q_PROPERTY(QString saveFailure READ saveFailure NOTIFY saveFailureChanged)

public:
    explicit QX8Settings(QObject* parent = nullptr);

    QString saveFailure() const;

    Q_INVOKABLE virtual void setValue(const QString& key, const QVariant& value);
    Q_INVOKABLE virtual QVariant value(const QString& key, const QVariant& defaultValue) const;
    Q_INVOKABLE QVariant value(const QString& key) const { return value(key, QVariant()); }
    Q_INVOKABLE virtual void remove(const QString& key);
    Q_INVOKABLE virtual bool contains(const QString& key) const;
    Q_INVOKABLE virtual void clear();

    // Sets aside the file of either store that must not be read (not a regular file, or far
    // larger than the application writes), before anything reads it: see settingsstore.
    static void setAsideUnreadableFiles();

    // Removes the lock files of both settings stores, left by a process killed while it wrote
    // them (see settingsstore::removeLeftoverLock).
    static void removeLeftoverLocks();

Q_SIGNALS:
    void saveFailureChanged();
};
