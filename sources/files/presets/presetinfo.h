#pragma once

#include <QMetaType>
#include <QString>

// One preset slot of the device, as the device reports it.
struct PresetInfo
{
    QString name;
    int id = 0; // 1 to 100, from the name variable's number
};

Q_DECLARE_METATYPE(PresetInfo)
