#include "wizardbrandmodelsmodel.h"

#include <QLoggingCategory>

WizardBrandModelsModel::WizardBrandModelsModel(QObject* parent) : QAbstractListModel(parent)
{
    connect(this, &WizardBrandModelsModel::brandChanged, this,
            &WizardBrandModelsModel::onBrandChanged);
}

WizardBrandModelsModel::~WizardBrandModelsModel()
{
    qDebug() << "Clearing inner list view model";
}

void WizardBrandModelsModel::setWizardState(const QString& state)
{
    m_wizardState = state;
    Q_EMIT wizardStateChanged(state);
}

void WizardBrandModelsModel::setBrand(const QString& brand)
{
    m_brand = brand;
    Q_EMIT brandChanged(brand);
}

void WizardBrandModelsModel::setBrandListModel(WizardBrandListViewModel* model)
{
    if (model == m_brandList)
        return;
    m_brandList = model;
    Q_EMIT brandListModelChanged();
}

void WizardBrandModelsModel::onBrandChanged(QString str)
{
    Q_UNUSED(str)
    resetModel();
}

// A brand the list does not hold (or no brand list) gives no rows.
void WizardBrandModelsModel::resetModel()
{
    clearModel();
    const QStringList seriesModels =
        m_brandList ? m_brandList->seriesModelsOf(m_brand) : QStringList();
    if (seriesModels.isEmpty())
        return;
    for (const QString& seriesModel : seriesModels)
        addListViewElement({seriesModel});
    addListViewElement({QStringLiteral("Not listed??")});
}

void WizardBrandModelsModel::clearModel()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void WizardBrandModelsModel::addListViewElement(const WizardBrandModelsListViewInfo& row)
{
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_rows.append(row);
    endInsertRows();
}

int WizardBrandModelsModel::rowCount(const QModelIndex& parent) const
{
    Q_UNUSED(parent)
    return m_rows.size();
}

QVariant WizardBrandModelsModel::data(const QModelIndex& index, int role) const
{
    if (role != WizardBrandListViewModel::kTextRole || !index.isValid() ||
        index.row() >= m_rows.size())
        return QVariant();
    return m_rows.at(index.row()).text;
}

QHash<int, QByteArray> WizardBrandModelsModel::roleNames() const
{
    return {{WizardBrandListViewModel::kTextRole, "listViewElementText"}};
}
