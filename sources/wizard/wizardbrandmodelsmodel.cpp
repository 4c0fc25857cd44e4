#include "wizardbrandmodelsmodel.h"

#include <QLoggingCategory>

WizardBrandModelsModel::WizardBrandModelsModel(QObject* parent) : QAbstractListModel(parent) {}

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
    rebuildRows();
    Q_EMIT brandChanged(brand);
}

void WizardBrandModelsModel::setBrandListModel(WizardBrandListViewModel* model)
{
    if (model == m_brandList)
        return;
    m_brandList = model;
    Q_EMIT brandListModelChanged();
}

// A brand no group has (or no brand list) gives no rows.
void WizardBrandModelsModel::rebuildRows()
{
    beginResetModel();
    m_rows = m_brandList ? m_brandList->seriesModelsOf(m_brand) : QStringList();
    if (!m_rows.isEmpty())
        m_rows << QStringLiteral("Not listed??");
    endResetModel();
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
    return m_rows.at(index.row());
}

QHash<int, QByteArray> WizardBrandModelsModel::roleNames() const
{
    return {{WizardBrandListViewModel::kTextRole, "listViewElementText"}};
}
