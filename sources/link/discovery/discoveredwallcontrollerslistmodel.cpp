#include "discoveredwallcontrollerslistmodel.h"

#include "clientconnectionwatchdog.h"
#include "discoveredwallcontrollerslistprovider.h"

DiscoveredWallControllersListModel::DiscoveredWallControllersListModel(QObject* parent)
    : DiscoveredWallControllersListModel(ClientConnectionWatchDog::instance(),
                                         DiscoveredWallControllersListProvider::kScanWindowMs,
                                         parent)
{
}

DiscoveredWallControllersListModel::DiscoveredWallControllersListModel(
    ClientConnectionWatchDog* watchDog, int windowMs, QObject* parent)
    : DeviceListModel(watchDog, SoftwareVersionRole, parent)
{
    auto* provider = new DiscoveredWallControllersListProvider(this, windowMs);
    setProvider(provider);
    connect(provider, &DiscoveredWallControllersListProvider::deviceList, this,
            &DiscoveredWallControllersListModel::onDeviceList);
}

void DiscoveredWallControllersListModel::onDeviceList(QMap<QString, DeviceInfo> devices)
{
    mergeDevices(devices);
}
