#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class DeviceModel;
class DeviceState;
class StateVariable;

// The device's preset memory: slots 1 to 100, each a file "Preset_<n>.preset" in the presets
// folder of the storage (the folder its FTP server serves), named by the text variable
// Storage\Presets\SV\Name_<n>. A client's write of Store, Recall or RenamePreset acts on it:
//   Store n         the processing objects' current values go into slot n; n becomes current
//   Recall n        slot n's values replace the processing objects' (every subscriber hears
//                   each value that changes); n becomes current, CurrentPreset takes its name
//   RenamePreset n  when n is current, CurrentPreset takes the name Name_<n> holds now
// A slot number outside 1 to 100, and a recall of an empty or unreadable slot, are refused.
// A file stored over FTP is the slot's new content; the client names it over the console.
//
// A slot file is a line "QX8 preset 1", then one line "<variable path><TAB><value>" for each
// processing-object variable that holds a setting (meters and clip indicators do not).
class PresetMemory
{
public:
    static constexpr int kSlots = 100;

    PresetMemory(const DeviceModel& model, DeviceState& state, const QString& folder);

    // Creates the folder, writes the current values into every named slot that has no file
    // yet, and takes over the write actions.
    bool prepare(QString* error);

private:
    bool store(const QString& slot, QString* error);
    bool recall(const QString& slot, QString* error);
    bool commitRename(const QString& slot, QString* error);
    bool writeSlot(int slot, QString* error) const;
    QString slotPath(int slot) const;
    static int slotNumber(const QString& text, QString* error);
    void setCurrentPresetName(const QString& name);
    StateVariable& storageVariable(const QString& name) const;

    DeviceState& m_state;
    const QString m_folder;
    QStringList m_settingPaths; // in model order, as slot files list them
    QSet<QString> m_isSetting;
    int m_currentSlot = 0;
};
