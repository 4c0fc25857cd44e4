#include "devicelistmodel.h"

#include "broadcastdiscovery.h"
#include "clientconnectionwatchdog.h"

DeviceListModel::DeviceListModel(ClientConnectionWatchDog* watchDog, Role lastRole, QObject* parent)
    : QAbstractListModel(parent), m_watchDog(watchDog), m_lastRole(lastRole)
{
    connect(watchDog, &ClientConnectionWatchDog::networkAvailableChanged, this,
            &DeviceListModel::onNetworkAvailableChanged);
}

void DeviceListModel::setProvider(BroadcastDiscovery* provider)
{
    m_provider = provider;
    connect(provider, &BroadcastDiscovery::noDeviceFound, this, &DeviceListModel::noDeviceFound);
}

int DeviceListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_devices.size();
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const
{
    if (index.row() < 0 || index.row() >= m_devices.size() || role < ClassNameRole ||
        role > m_lastRole)
        return QVariant();
    const DeviceInfo& device = *std::next(m_devices.cbegin(), index.row());
    switch (role) {
    case ClassNameRole:
        return device.className;
    case InstanceNameRole:
        return device.instanceName;
    case IpAddressRole:
        return device.ipAddress;
    case SoftwareVersionRole:
        return device.softwareVersion;
    default:
        return device.hardwareVersion;
    }
}

QHash<int, QByteArray> DeviceListModel::roleNames() const
{
    static const QHash<int, QByteArray> all = {
        {ClassNameRole, "className"},
        {InstanceNameRole, "instanceName"},
        {IpAddressRole, "ipAddress"},
        {SoftwareVersionRole, "softwareVersion"},
        {HardwareVersionRole, "hardwareVersion"},
    };
    QHash<int, QByteArray> names;
    for (int role = ClassNameRole; role <= m_lastRole; ++role)
        names.insert(role, all.value(role));
    return names;
}

void DeviceListModel::startScanning()
{
    clear();
    if (!m_watchDog->networkAvailable())
        return;
    Q_EMIT scanningForDevices();
    m_provider->startScanning();
}

void DeviceListModel::stopScanning()
{
    m_provider->stopScanning();
}

void DeviceListModel::clear()
{
    if (m_devices.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, m_devices.size() - 1);
    m_devices.clear();
    endRemoveRows();
}

void DeviceListModel::onNetworkAvailableChanged(bool bAvailable)
{
    if (!bAvailable) {
        clear();
        m_provider->stopScanning();
        Q_EMIT noDeviceFound();
        return;
    }
    Q_EMIT scanningForDevices();
    m_provider->startScanning();
}

void DeviceListModel::mergeDevices(const QMap<QString, DeviceInfo>& devices)
{
    const QStringList current = m_devices.keys();
    for (const QString& key : current) {
        if (devices.contains(key))
            continue;
        const int row = int(std::distance(m_devices.begin(), m_devices.find(key)));
        beginRemoveRows(QModelIndex(), row, row);
        m_devices.remove(key);
        endRemoveRows();
    }
    for (auto incoming = devices.cbegin(); incoming != devices.cend(); ++incoming) {
        if (m_devices.contains(incoming.key()))
            continue;
        const int row = int(std::distance(m_devices.begin(), m_devices.lowerBound(incoming.key())));
        beginInsertRows(QModelIndex(), row, row);
        m_devices.insert(incoming.key(), incoming.value());
        endInsertRows();
    }
}
