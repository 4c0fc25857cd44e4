#include "devicestate.h"

#include "devicemodel.h"
#include "meterreadings.h"
#include "spectrumanalyser.h"

#include <QSet>

namespace {

const QString rootPrefix = QStringLiteral("\\\\");

// "\\Preset\X\" and "\\Preset\X" both name "Preset\X"; anything not below the root is nothing.
std::optional<QString> pathBelowRoot(const QString& consolePath)
{
    if (!consolePath.startsWith(rootPrefix))
        return std::nullopt;
    QString path = consolePath.mid(rootPrefix.size());
    if (path.endsWith('\\'))
        path.chop(1);
    return path;
}

std::optional<StateVariable::Aspect> aspectOfSuffix(const QString& suffix)
{
    if (suffix == "%")
        return StateVariable::Aspect::Percent;
    if (suffix == "Min")
        return StateVariable::Aspect::Minimum;
    if (suffix == "Max")
        return StateVariable::Aspect::Maximum;
    if (suffix == "EN")
        return StateVariable::Aspect::Entries;
    return std::nullopt;
}

} // namespace

DeviceState::DeviceState(const DeviceModel& model, QObject* parent) : QObject(parent)
{
    for (const DeviceModel::Variable& description : model.variables()) {
        m_variables.emplace(description.path, StateVariable(description));
        m_order.append(description.path);
    }
    for (const DeviceModel::ProcessingObject& object : model.processingObjects()) {
        if (!object.listed)
            m_unlisted.insert(QStringLiteral("Preset\\") + object.name);
        if (object.configured)
            m_configured.append(object.name);
    }
    SpectrumAnalyser::install(model, *this);
    MeterReadings::install(model, *this);
}

void DeviceState::listConfiguredObjects(const QSet<QString>& names)
{
    for (const QString& name : qAsConst(m_configured)) {
        if (names.contains(name))
            m_unlisted.remove(QStringLiteral("Preset\\") + name);
        else
            m_unlisted.insert(QStringLiteral("Preset\\") + name);
    }
}

std::optional<DeviceState::Address> DeviceState::resolve(const QString& consolePath)
{
    const std::optional<QString> path = pathBelowRoot(consolePath);
    if (!path)
        return std::nullopt;
    if (StateVariable* whole = variable(*path))
        return Address{whole, StateVariable::Aspect::Value};
    const int cut = path->lastIndexOf('\\');
    if (cut < 0)
        return std::nullopt;
    const std::optional<StateVariable::Aspect> aspect = aspectOfSuffix(path->mid(cut + 1));
    StateVariable* base = variable(path->left(cut));
    if (!aspect || !base || !base->supports(*aspect))
        return std::nullopt;
    return Address{base, *aspect};
}

StateVariable* DeviceState::variable(const QString& path)
{
    const auto found = m_variables.find(path);
    return found == m_variables.end() ? nullptr : &found->second;
}

QStringList DeviceState::children(const QString& consolePath) const
{
    const std::optional<QString> path = pathBelowRoot(consolePath);
    if (!path || path->isEmpty())
        return {};
    const QString prefix = *path + '\\';
    QStringList names;
    QSet<QString> seen;
    for (const QString& variablePath : m_order) {
        if (!variablePath.startsWith(prefix))
            continue;
        const QString name = variablePath.mid(prefix.size()).section('\\', 0, 0);
        if (!seen.contains(name) && !m_unlisted.contains(prefix + name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    return names;
}

void DeviceState::announce(const StateVariable& variable)
{
    Q_EMIT valueChanged(&variable);
}

bool DeviceState::change(const QString& path, const QString& value)
{
    StateVariable* changed = variable(path);
    QString error;
    if (!changed || !changed->assign(StateVariable::Aspect::Value, value, &error))
        return false;
    announce(*changed);
    return true;
}

bool DeviceState::replaceEntries(StateVariable& variable, const QStringList& entries)
{
    if (!variable.replaceEntries(entries))
        return false;
    Q_EMIT entriesChanged(&variable);
    announce(variable);
    return true;
}

void DeviceState::setWriteAction(const QString& path, WriteAction action)
{
    m_writeActions[path] = std::move(action);
}

bool DeviceState::write(const Address& address, const QString& value, QString* error)
{
    const auto action = m_writeActions.find(address.variable->path());
    if (address.aspect == StateVariable::Aspect::Value && action != m_writeActions.end() &&
        !action->second(value, error))
        return false;
    return address.variable->assign(address.aspect, value, error);
}
