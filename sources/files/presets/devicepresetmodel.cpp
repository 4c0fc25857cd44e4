#include "devicepresetmodel.h"

DevicePresetModel::DevicePresetModel(QObject* parent) : QObject(parent) {}
