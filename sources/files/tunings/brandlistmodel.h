#pragma once

#include <QStringList>
#include <QStringListModel>

// The brand names of the tuning screen's filter column.
class BrandListModel : public QStringListModel
{
    Q_OBJECT

public:
    explicit BrandListModel(QObject* parent = nullptr);

public Q_SLOTS:
    void onBrandList(const QStringList& brandList);

private:
    QStringList m_brands;
};
