#pragma once

#include <QMetaType>
#include <QString>

// One request or reply of the console protocol. Requesters fill it on the stack and hand it to
// TCPAdaptor::SendRequest; replies are parsed into it on the socket thread.
struct DataFromDevice
{
    QString poName;    // processing object; "NPO" for node paths, "Presets" for preset storage
    QString svName;    // state variable, or the whole node path under "NPO"
    QString valueType; // "%" asks for percent of range; "Min"/"Max" travel but are not written
    QString value;
    QString command;

    bool operator==(const DataFromDevice& other) const
    {
        return poName == other.poName && svName == other.svName && valueType == other.valueType &&
               value == other.value && command == other.command;
    }
};

Q_DECLARE_METATYPE(DataFromDevice)
Q_DECLARE_METATYPE(DataFromDevice*)

// Registers DataFromDevice (by value and as a pointer) for queued connections; idempotent.
void registerDataFromDeviceMetaTypes();
