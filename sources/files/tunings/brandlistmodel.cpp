#include "brandlistmodel.h"

BrandListModel::BrandListModel(QObject* parent) : QStringListModel(parent) {}

void BrandListModel::onBrandList(const QStringList& brandList)
{
    m_brands = brandList;
    setStringList(m_brands);
}
