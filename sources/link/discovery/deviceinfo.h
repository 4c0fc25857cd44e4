#pragma once

#include <QMap>
#include <QMetaType>
#include <QString>

// One unit found by discovery. Its field names are also the role names of the device lists.
struct DeviceInfo
{
    QString ipAddress; // the answering sender's IPv4 address as dotted text
    QString className;
    QString instanceName;
    QString softwareVersion;
    QString hardwareVersion;

    bool operator==(const DeviceInfo& other) const
    {
        return ipAddress == other.ipAddress && className == other.className &&
               instanceName == other.instanceName && softwareVersion == other.softwareVersion &&
               hardwareVersion == other.hardwareVersion;
    }
};

using DeviceInfoMap = QMap<QString, DeviceInfo>;

// Qt names the map type "QMap<QString,DeviceInfo>" itself, the name signals and slots use.
Q_DECLARE_METATYPE(DeviceInfo)

// Registers DeviceInfo and the map of devices by address for queued connections; idempotent.
void registerDeviceInfoMetaTypes();
