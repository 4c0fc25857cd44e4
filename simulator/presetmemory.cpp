#include "presetmemory.h"

#include "devicemodel.h"
#include "devicestate.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

const QByteArray fileHeader = QByteArrayLiteral("QX8 preset 1");
const QString storagePrefix = QStringLiteral("Storage\\Presets\\SV\\");

} // namespace

PresetMemory::PresetMemory(const DeviceModel& model, DeviceState& state, const QString& folder)
    : m_state(state), m_folder(folder)
{
    for (const DeviceModel::Variable& variable : model.variables()) {
        if (variable.path.startsWith(QLatin1String("Preset\\")) && variable.motionPeriodMs == 0)
            m_settingPaths.append(variable.path);
    }
    m_isSetting = QSet<QString>(m_settingPaths.begin(), m_settingPaths.end());
}

bool PresetMemory::prepare(QString* error)
{
    if (!QDir().mkpath(m_folder)) {
        *error = "cannot create " + m_folder;
        return false;
    }
    for (int slot = 1; slot <= kSlots; ++slot) {
        const bool named = !storageVariable(QStringLiteral("Name_%1").arg(slot))
                                .text(StateVariable::Aspect::Value)
                                .isEmpty();
        if (named && !QFile::exists(slotPath(slot)) && !writeSlot(slot, error))
            return false;
    }
    m_state.setWriteAction(storagePrefix + "Store",
                           [this](const QString& value, QString* e) { return store(value, e); });
    m_state.setWriteAction(storagePrefix + "Recall",
                           [this](const QString& value, QString* e) { return recall(value, e); });
    m_state.setWriteAction(
        storagePrefix + "RenamePreset",
        [this](const QString& value, QString* e) { return commitRename(value, e); });
    return true;
}

bool PresetMemory::store(const QString& slot, QString* error)
{
    const int number = slotNumber(slot, error);
    if (number == 0 || !writeSlot(number, error))
        return false;
    m_currentSlot = number;
    return true;
}

bool PresetMemory::recall(const QString& slot, QString* error)
{
    const int number = slotNumber(slot, error);
    if (number == 0)
        return false;
    QFile file(slotPath(number));
    if (!file.open(QIODevice::ReadOnly) || file.readLine().trimmed() != fileHeader) {
        *error = QStringLiteral("no preset in slot %1").arg(number);
        return false;
    }
    while (!file.atEnd()) {
        QByteArray raw = file.readLine();
        if (raw.endsWith('\n'))
            raw.chop(1);
        const QString line = QString::fromUtf8(raw);
        const int tab = line.indexOf(QLatin1Char('\t'));
        StateVariable* variable = tab > 0 && m_isSetting.contains(line.left(tab))
                                      ? m_state.variable(line.left(tab))
                                      : nullptr;
        if (!variable)
            continue;
        const QString before = variable->text(StateVariable::Aspect::Value);
        QString ignored;
        if (variable->assign(StateVariable::Aspect::Value, line.mid(tab + 1), &ignored) &&
            variable->text(StateVariable::Aspect::Value) != before)
            m_state.announce(*variable);
    }
    m_currentSlot = number;
    setCurrentPresetName(
        storageVariable(QStringLiteral("Name_%1").arg(number)).text(StateVariable::Aspect::Value));
    return true;
}

bool PresetMemory::commitRename(const QString& slot, QString* error)
{
    const int number = slotNumber(slot, error);
    if (number == 0)
        return false;
    if (number == m_currentSlot)
        setCurrentPresetName(storageVariable(QStringLiteral("Name_%1").arg(number))
                                 .text(StateVariable::Aspect::Value));
    return true;
}

bool PresetMemory::writeSlot(int slot, QString* error) const
{
    QByteArray content = fileHeader + '\n';
    for (const QString& path : m_settingPaths) {
        content += path.toUtf8() + '\t' +
                   m_state.variable(path)->text(StateVariable::Aspect::Value).toUtf8() + '\n';
    }
    QSaveFile file(slotPath(slot));
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    *error = QStringLiteral("cannot write slot %1: %2").arg(slot).arg(file.errorString());
    return false;
}

QString PresetMemory::slotPath(int slot) const
{
    return QStringLiteral("%1/Preset_%2.preset").arg(m_folder).arg(slot);
}

// The slot a written value names, or 0 (with the reason) when it names none.
int PresetMemory::slotNumber(const QString& text, QString* error)
{
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber && number >= 1 && number <= kSlots && text == QString::number(number))
        return number;
    *error = QStringLiteral("no preset slot");
    return 0;
}

void PresetMemory::setCurrentPresetName(const QString& name)
{
    const QString current = QStringLiteral("CurrentPreset");
    if (storageVariable(current).text(StateVariable::Aspect::Value) != name)
        m_state.change(storagePrefix + current, name);
}

StateVariable& PresetMemory::storageVariable(const QString& name) const
{
    return *m_state.variable(storagePrefix + name);
}
