#pragma once

#include "devicemodel.h"

#include <QString>

// The value text the device will report for a value written to one of its variables. A number
// written to a variable the device reports in several units at once, in one of them or in its
// own, is given in all of them with the scales of the device model and the decimals of the
// variable's step ("2.62ms" reads "2.62ms/2.95ft/0.90m"); any other text reads as written.
class DeviceValueText
{
public:
    static QString of(const DeviceModel::Variable* variable, const QString& written);
};
