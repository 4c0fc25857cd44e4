#include "brandlistmodel.h"

BrandListModel::BrandListModel(QObject* parent) : QObject(parent) {}
