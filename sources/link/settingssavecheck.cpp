#include "settingssavecheck.h"

#include "qx8settingsstore.h"

#include <QDebug>

SettingsSaveCheck& SettingsSaveCheck::instance()
{
    static SettingsSaveCheck check;
    return check;
}

bool SettingsSaveCheck::save(settingsstore::OpenedStore& store)
{
    if (store.save()) {
        saved(store.fileName());
        return true;
    }
    notSaved(store.fileName());
    return false;
}

QString SettingsSaveCheck::failure() const
{
    QMutexLocker lock(&m_mutex);
    return m_failure;
}

void SettingsSaveCheck::saved(const QString& fileName)
{
    QMutexLocker lock(&m_mutex);
    const int failures = m_failuresInARow.take(fileName);
    lock.unlock();
    if (failures > 0)
        qInfo().noquote() << "Settings saved to" << fileName << "again, after" << failures
                          << "failed saves";
}

// Where one save fails, the next ones do too (every change of the run is tried again): told
// once until a save gets through.
void SettingsSaveCheck::notSaved(const QString& fileName)
{
    const QString text =
        QStringLiteral("Your settings cannot be saved: %1 cannot be written. Changes made from "
                       "now on, such as the device password or the choice to share analytics, "
                       "will be lost when the application closes.")
            .arg(fileName);
    QMutexLocker lock(&m_mutex);
    if (++m_failuresInARow[fileName] > 1)
        return;
    const bool firstOfTheRun = m_failure.isEmpty();
    if (firstOfTheRun)
        m_failure = text;
    lock.unlock();
    qWarning().noquote() << "Settings could not be saved to" << fileName;
    if (firstOfTheRun)
        Q_EMIT failed(text);
}
