#include "filesystemmodel.h"

FileSystemModel::FileSystemModel(QObject* parent) : QObject(parent) {}
