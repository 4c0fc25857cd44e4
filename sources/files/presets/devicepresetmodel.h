#pragma once

#include "presetinfo.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QList>

#include <memory>

class PresetProvider;

// The device side of the presets screen: the screen's way to the device's preset memory
// (store, recall, rename, fetch, send), relaying what comes back, and a list of preset slots
// (at most 100) for those who fill it with addPreset().
class DevicePresetModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { ModelPresetName = Qt::UserRole + 1, ModelPresetId };

    explicit DevicePresetModel(QObject* parent = nullptr);
    ~DevicePresetModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The row of the first slot with this id, or -1.
    int indexOfPreset(int id) const;

    Q_INVOKABLE void presetFetch(const QString& id);
    Q_INVOKABLE void store(const QString& id, const QString& name);
    Q_INVOKABLE void recall(const QString& id, const QString& name);
    Q_INVOKABLE void rename(const QString& id, const QString& name);
    Q_INVOKABLE void transfer(const QString& id, const QString& presetName,
                              const QByteArray& presetConfig);
    // Device presets are never deleted: nothing is sent.
    Q_INVOKABLE void deletePreset(const QString& id, const QString& name);

Q_SIGNALS:
    void presetAvailable(const QByteArray& presetData);
    void busy(bool state, const QString& msg);
    void error(const QString& errorString);

public Q_SLOTS:
    void refreshModel();
    void addPreset(PresetInfo& PresetInfo);
    void onpresetNameChanged(const QString& name, int index);

private:
    static constexpr int kMaxRows = 100;

    QList<PresetInfo> m_presets;
    std::unique_ptr<PresetProvider> m_provider;
};
