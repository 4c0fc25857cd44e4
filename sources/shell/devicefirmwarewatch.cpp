#include "devicefirmwarewatch.h"

#include "firmwareupdater.h"

DeviceFirmwareWatch::DeviceFirmwareWatch(QObject* parent) : QObject(parent)
{
    connect(&m_version, &QX8Label::labelValueChanged, this, &DeviceFirmwareWatch::onVersion);
    m_version.setPOName(QStringLiteral("NPO"));
    m_version.setSVName(QStringLiteral("Node\\AT\\Software_Version"));
}

void DeviceFirmwareWatch::onDeviceReady(bool offline)
{
    // This device's first report is news even when it repeats the last device's version.
    m_version.setLabelValue(QString());
    m_checkDue = !offline;
}

void DeviceFirmwareWatch::onVersion(const QString& version)
{
    if (version.isEmpty())
        return;
    FirmwareUpdater* updater = FirmwareUpdater::instance();
    updater->setFirmwareVersion(version);
    if (m_checkDue) {
        m_checkDue = false;
        updater->checkOnStartup();
    }
}
