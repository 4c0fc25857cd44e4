#pragma once

#include "devicemodel.h"

#include <QString>

// The variable of `model` that a control bound to `poName` and `svName` addresses (the control's
// console path without its outer backslashes); nullptr when the model has none.
const DeviceModel::Variable* boundVariable(const QString& poName, const QString& svName,
                                           const DeviceModel& model = DeviceModel::fromResources());
