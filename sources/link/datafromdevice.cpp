#include "datafromdevice.h"

void registerDataFromDeviceMetaTypes()
{
    qRegisterMetaType<DataFromDevice>("DataFromDevice");
    qRegisterMetaType<DataFromDevice*>("DataFromDevice*");
}
