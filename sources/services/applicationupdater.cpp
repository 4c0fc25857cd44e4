#include "applicationupdater.h"

#include "cloudendpoints.h"

#include <QCoreApplication>

ApplicationUpdater* ApplicationUpdater::instance()
{
    static ApplicationUpdater* updater = new ApplicationUpdater(QCoreApplication::instance());
    return updater;
}

ApplicationUpdater::ApplicationUpdater(QObject* parent)
    : QObject(parent), m_feedUrl(CloudEndpoints::instance().updateFeedUrl(false))
{
}

QString ApplicationUpdater::applicationVersion() const
{
    return QStringLiteral(QX8_APPLICATION_VERSION);
}

void ApplicationUpdater::setValidationMode(bool validationMode)
{
    if (validationMode == m_validationMode)
        return;
    m_validationMode = validationMode;
    m_feedUrl = CloudEndpoints::instance().updateFeedUrl(validationMode);
    m_updateState = CheckForUpdate;
    Q_EMIT updateStateChanged(m_updateState);
    Q_EMIT validationModeChanged(validationMode);
}
