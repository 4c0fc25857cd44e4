#include "firmwareupdater.h"

#include "cloudendpoints.h"

#include <QCoreApplication>

FirmwareUpdater* FirmwareUpdater::instance()
{
    static FirmwareUpdater* updater = new FirmwareUpdater(QCoreApplication::instance());
    return updater;
}

FirmwareUpdater::FirmwareUpdater(QObject* parent)
    : QObject(parent), m_feedUrl(CloudEndpoints::instance().updateFeedUrl(false))
{
}

void FirmwareUpdater::setValidationMode(bool validationMode)
{
    if (validationMode == m_validationMode)
        return;
    m_validationMode = validationMode;
    m_feedUrl = CloudEndpoints::instance().updateFeedUrl(validationMode);
    m_updateState = CheckForUpdate;
    Q_EMIT updateStateChanged(m_updateState);
    Q_EMIT validationModeChanged(validationMode);
}

void FirmwareUpdater::resetAll()
{
    if (m_isIdle)
        return;
    m_isIdle = true;
    Q_EMIT isIdleChanged(true);
}
