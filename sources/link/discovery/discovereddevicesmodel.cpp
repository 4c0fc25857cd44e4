#include "discovereddevicesmodel.h"

#include "clientconnectionwatchdog.h"
#include "discovereddevicesprovider.h"

#include <QLoggingCategory>

DiscoveredDevicesModel::DiscoveredDevicesModel(QObject* parent)
    : DiscoveredDevicesModel(ClientConnectionWatchDog::instance(),
                             DiscoveredDevicesProvider::kScanWindowMs, parent)
{
}

DiscoveredDevicesModel::DiscoveredDevicesModel(ClientConnectionWatchDog* watchDog, int windowMs,
                                               QObject* parent)
    : DeviceListModel(watchDog, HardwareVersionRole, parent)
    , m_provider(new DiscoveredDevicesProvider(this, windowMs))
{
    setProvider(m_provider);
    connect(m_provider, &DiscoveredDevicesProvider::deviceList, this,
            &DiscoveredDevicesModel::onDeviceList);
    connect(m_provider, &DiscoveredDevicesProvider::kalo480Confirmed, this,
            &DiscoveredDevicesModel::kalo480Confirmed);
    connect(m_provider, &DiscoveredDevicesProvider::invalidIPForKalo480, this,
            &DiscoveredDevicesModel::invalidIPForKalo480);
}

void DiscoveredDevicesModel::getDeviceDetailsForIP(QString ipAddress)
{
    m_provider->getDeviceDetailsForIP(ipAddress);
}

void DiscoveredDevicesModel::ignoreDeviceDetailsResponse()
{
    m_provider->ignoreDeviceDetailsResponse();
}

void DiscoveredDevicesModel::waitForPassword()
{
    m_provider->waitForPassword(true);
}

void DiscoveredDevicesModel::onDeviceList(QMap<QString, DeviceInfo> devices)
{
    qDebug().noquote() << "Devices found:" << devices.keys().join(QLatin1Char(' '))
                       << "| listed:" << addresses().join(QLatin1Char(' '));
    mergeDevices(devices);
}
