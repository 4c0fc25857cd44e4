#pragma once

#include "devicelistmodel.h"

class DiscoveredDevicesProvider;

// The processors the discovery screen lists, and the screen's handle on discovery: scans, and
// the query of one typed address.
class DiscoveredDevicesModel : public DeviceListModel
{
    Q_OBJECT

public:
    explicit DiscoveredDevicesModel(QObject* parent = nullptr);
    DiscoveredDevicesModel(ClientConnectionWatchDog* watchDog, int windowMs,
                           QObject* parent = nullptr);

    Q_INVOKABLE void getDeviceDetailsForIP(QString ipAddress);
    Q_INVOKABLE void ignoreDeviceDetailsResponse();
    // The screen asks for a password: the pending typed-address query then ends silently.
    Q_INVOKABLE void waitForPassword();

Q_SIGNALS:
    void invalidIPForKalo480();
    void kalo480Confirmed(QString deviceType);

public Q_SLOTS:
    void onDeviceList(QMap<QString, DeviceInfo> devices);

private:
    DiscoveredDevicesProvider* m_provider;
};
