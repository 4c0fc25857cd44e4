#pragma once

#include <QObject>
#include <QVariant>

// The application's settings store for QML and for code that reads a setting now and then.
// Holds no state: every call opens the store afresh, so all instances see the same values. The
// store holds the device password, so its file is readable by its owner only; a write that does
// not reach the disk is reported (SettingsSaveCheck).
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

    // Takes out of both stores' files what Qt would deserialize from them (see
    // settingsfilescreen.h), before anything reads them. Calls of this class do so for the
    // application's store each time its file changed; the default store is read by plain
    // QSettings, so start-up calls this first.
    static void screenStores();

    // Removes the lock files of both settings stores. A process killed while it wrote the
    // settings can leave an empty lock behind, and Qt then waits 30 s for it to age before the
    // next write. Only for the one instance that holds the single-instance lock, as nothing else
    // writes these stores.
    static void removeLeftoverLocks();

Q_SIGNALS:
    void saveFailureChanged();
};
