#pragma once

#include <QObject>
#include <QVariant>

// The application's settings store for QML and for code that reads a setting now and then.
// Holds no state: every call opens the store afresh, so all instances see the same values.
class QX8Settings : public QObject
{
    Q_OBJECT

public:
    explicit QX8Settings(QObject* parent = nullptr);

    Q_INVOKABLE virtual void setValue(const QString& key, const QVariant& value);
    Q_INVOKABLE virtual QVariant value(const QString& key, const QVariant& defaultValue) const;
    Q_INVOKABLE QVariant value(const QString& key) const { return value(key, QVariant()); }
    Q_INVOKABLE virtual void remove(const QString& key);
    Q_INVOKABLE virtual bool contains(const QString& key) const;
    Q_INVOKABLE virtual void clear();

    // Removes the lock files of both settings stores. A process killed while it wrote the
    // settings can leave an empty lock behind, and Qt then waits 30 s for it to age before the
    // next write. Only for the one instance that holds the single-instance lock, as nothing else
    // writes these stores.
    static void removeLeftoverLocks();
};
