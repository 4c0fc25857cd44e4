#pragma once

#include "deviceinfo.h"

#include <QAbstractListModel>

class BroadcastDiscovery;
class ClientConnectionWatchDog;

// A list of discovered units for a screen, one row per address in text order of the address
// (10.0.0.10 before 10.0.0.9). Each scan result is merged row by row, and a row keeps the
// record of the scan that first listed its address until the address drops out. Scanning
// follows the client watchdog: it stops when the network goes and starts when it comes back.
class DeviceListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        ClassNameRole = Qt::UserRole + 1,
        InstanceNameRole,
        IpAddressRole,
        SoftwareVersionRole,
        HardwareVersionRole,
    };

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Empties the list; scans only when the watchdog reports a network.
    Q_INVOKABLE void startScanning();
    Q_INVOKABLE void stopScanning();
    Q_INVOKABLE void clear();

Q_SIGNALS:
    void noDeviceFound();
    void scanningForDevices();

public Q_SLOTS:
    void onNetworkAvailableChanged(bool bAvailable);

protected:
    // `lastRole` is the last role of Role that this list offers.
    DeviceListModel(ClientConnectionWatchDog* watchDog, Role lastRole, QObject* parent);

    // Takes the provider (owned by the subclass, created with this model as parent).
    void setProvider(BroadcastDiscovery* provider);
    void mergeDevices(const QMap<QString, DeviceInfo>& devices);
    QStringList addresses() const { return m_devices.keys(); }

private:
    BroadcastDiscovery* m_provider = nullptr;
    ClientConnectionWatchDog* m_watchDog;
    const Role m_lastRole;
    QMap<QString, DeviceInfo> m_devices;
};
