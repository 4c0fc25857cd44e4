#include "tuningfilelistmodel.h"

TuningFileListModel::TuningFileListModel(QObject* parent) : QObject(parent) {}
