#include "deviceinfo.h"

void registerDeviceInfoMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<DeviceInfo>();
        qRegisterMetaType<DeviceInfoMap>();
        return true;
    }();
    Q_UNUSED(registered)
}
