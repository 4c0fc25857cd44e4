#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>

namespace settingsstore {
class OpenedStore;
}

// Whether the settings reach the disk. Every writer of a settings store hands the store here
// after its change. On a full or read-only disk the change would look saved and be gone at the
// next start: the first failure of a store is logged (the ones after it, until a save gets through
// again, are counted), and the first of the run is announced for the user, once.
class SettingsSaveCheck : public QObject
{
    Q_OBJECT

public:
    static SettingsSaveCheck& instance();

    // Writes the store's changes to disk; false, logged and announced, when they did not get
    // there. Any thread.
    bool save(settingsstore::OpenedStore& store);
    // What the user is told of the first failed write of this run; empty while none failed.
    QString failure() const;

Q_SIGNALS:
    // The first failed write, once per run.
    void failed(const QString& text);

private:
    SettingsSaveCheck() = default;

    void saved(const QString& fileName);
    void notSaved(const QString& fileName);

    mutable QMutex m_mutex;
    QString m_failure;
    // Failed saves since the last one that got through, per store file.
    QHash<QString, int> m_failuresInARow;
};
