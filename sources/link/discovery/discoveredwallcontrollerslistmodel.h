#pragma once

#include "devicelistmodel.h"

class DiscoveredWallControllersListProvider;

// The wall controllers found on the local networks.
class DiscoveredWallControllersListModel : public DeviceListModel
{
    Q_OBJECT

public:
    explicit DiscoveredWallControllersListModel(QObject* parent = nullptr);
    DiscoveredWallControllersListModel(ClientConnectionWatchDog* watchDog, int windowMs,
                                       QObject* parent = nullptr);

protected Q_SLOTS:
    void onDeviceList(QMap<QString, DeviceInfo> devices);
};
