#include "settingssavecheck.h"

#include <QDebug>
#include <QSettings>

SettingsSaveCheck& SettingsSaveCheck::instance()
{
    static SettingsSaveCheck check;
    return check;
}

bool SettingsSaveCheck::save(QSettings& store)
{
    store.sync();
    // A format error is a damaged file read, not a failed write.
    if (store.status() != QSettings::AccessError)
        return true;
    qWarning().noquote() << "Settings could not be saved to" << store.fileName();
    const QString text =
        QStringLiteral("Your settings cannot be saved: %1 cannot be written. Changes made from "
                       "now on, such as the device password or the choice to share analytics, "
                       "will be lost when the application closes.")
            .arg(store.fileName());
    {
        QMutexLocker lock(&m_mutex);
        if (!m_failure.isEmpty())
            return false;
        m_failure = text;
    }
    Q_EMIT failed(text);
    return false;
}

QString SettingsSaveCheck::failure() const
{
    QMutexLocker lock(&m_mutex);
    return m_failure;
}
