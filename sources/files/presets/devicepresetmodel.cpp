#include "devicepresetmodel.h"

#include "presetprovider.h"

#include <QDebug>

DevicePresetModel::DevicePresetModel(QObject* parent)
    : QAbstractListModel(parent), m_provider(std::make_unique<PresetProvider>())
{
    connect(m_provider.get(), &PresetProvider::presetAvailable, this,
            &DevicePresetModel::presetAvailable);
    connect(m_provider.get(), &PresetProvider::busy, this, &DevicePresetModel::busy);
    connect(m_provider.get(), &PresetProvider::error, this, &DevicePresetModel::error);
}

DevicePresetModel::~DevicePresetModel() = default;

int DevicePresetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_presets.size();
}

QVariant DevicePresetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_presets.size())
        return {};
    const PresetInfo& preset = m_presets.at(index.row());
    switch (role) {
    case ModelPresetName:
        return preset.name;
    case ModelPresetId:
        return preset.id;
    default:
        return {};
    }
}

QHash<int, QByteArray> DevicePresetModel::roleNames() const
{
    return {{ModelPresetName, "ModelPresetName"}, {ModelPresetId, "ModelPresetId"}};
}

int DevicePresetModel::indexOfPreset(int id) const
{
    for (int row = 0; row < m_presets.size(); ++row) {
        if (m_presets.at(row).id == id)
            return row;
    }
    return -1;
}

void DevicePresetModel::presetFetch(const QString& id)
{
    m_provider->fetch(id);
}

void DevicePresetModel::store(const QString& id, const QString& name)
{
    m_provider->store(id, name);
}

void DevicePresetModel::recall(const QString& id, const QString& name)
{
    m_provider->recall(id, name);
}

void DevicePresetModel::rename(const QString& id, const QString& name)
{
    m_provider->rename(id, name);
}

void DevicePresetModel::transfer(const QString& id, const QString& presetName,
                                 const QByteArray& presetConfig)
{
    m_provider->transferPreset(id, presetName, presetConfig);
}

void DevicePresetModel::deletePreset(const QString& id, const QString& name)
{
    Q_UNUSED(id)
    Q_UNUSED(name)
}

void DevicePresetModel::refreshModel()
{
    qDebug() << "Refreshing device preset model";
    beginResetModel();
    m_presets.clear();
    endResetModel();
}

void DevicePresetModel::addPreset(PresetInfo& PresetInfo)
{
    if (m_presets.size() >= kMaxRows)
        return;
    beginInsertRows(QModelIndex(), m_presets.size(), m_presets.size());
    m_presets.append(PresetInfo);
    endInsertRows();
}

void DevicePresetModel::onpresetNameChanged(const QString& name, int index)
{
    const int row = indexOfPreset(index);
    if (row < 0 || m_presets.at(row).name == name)
        return;
    m_presets[row].name = name;
    const QModelIndex changed = createIndex(row, 0);
    Q_EMIT dataChanged(changed, changed);
}
