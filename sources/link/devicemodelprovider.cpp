#include "devicemodelprovider.h"

#include "boundvariable.h"
#include "valuereadout.h"

DeviceModelProvider::DeviceModelProvider(QObject* parent)
    : QObject(parent), m_model(DeviceModel::fromResources())
{
}

const DeviceModel::Variable* DeviceModelProvider::variable(const QString& poName,
                                                           const QString& svName) const
{
    return boundVariable(poName, svName, m_model);
}

bool DeviceModelProvider::contains(const QString& poName, const QString& svName) const
{
    return variable(poName, svName) != nullptr;
}

QVariant DeviceModelProvider::numberOf(const QString& poName, const QString& svName,
                                       double DeviceModel::Variable::*field) const
{
    const DeviceModel::Variable* found = variable(poName, svName);
    if (!found || found->kind != DeviceModel::Kind::Number)
        return QVariant();
    return found->*field;
}

QVariant DeviceModelProvider::minimum(const QString& poName, const QString& svName) const
{
    return numberOf(poName, svName, &DeviceModel::Variable::minimum);
}

QVariant DeviceModelProvider::maximum(const QString& poName, const QString& svName) const
{
    return numberOf(poName, svName, &DeviceModel::Variable::maximum);
}

QString DeviceModelProvider::unit(const QString& poName, const QString& svName) const
{
    const DeviceModel::Variable* found = variable(poName, svName);
    return found ? found->unit : QString();
}

QStringList DeviceModelProvider::entries(const QString& poName, const QString& svName) const
{
    const DeviceModel::Variable* found = variable(poName, svName);
    return found ? found->entries : QStringList();
}

QStringList DeviceModelProvider::displayUnits(const QString& poName, const QString& svName) const
{
    QStringList names;
    if (const DeviceModel::Variable* found = variable(poName, svName)) {
        for (const DeviceModel::DisplayUnit& unit : found->displayUnits)
            names.append(unit.name);
    }
    return names;
}

QStringList DeviceModelProvider::readout(const QString& poName, const QString& svName,
                                         const QVariant& value) const
{
    const ValueReadout readout(variable(poName, svName));
    if (value.userType() == QMetaType::QString)
        return readout.partsOf(value.toString());
    return readout.partsOf(value.toDouble());
}

QStringList DeviceModelProvider::widestReadout(const QString& poName, const QString& svName) const
{
    const ValueReadout readout(variable(poName, svName));
    const std::optional<double> widest = readout.widestValue();
    return widest ? readout.shownAt(*widest) : QStringList();
}

QString DeviceModelProvider::nudgeObjectClass(const QString& poName, const QString& svName) const
{
    const DeviceModel::Variable* found = variable(poName, svName);
    return found ? found->nudgeObjectClass : QString();
}

QString DeviceModelProvider::nudgeVariableClass(const QString& poName, const QString& svName) const
{
    const DeviceModel::Variable* found = variable(poName, svName);
    return found ? found->nudgeVariableClass : QString();
}

QStringList DeviceModelProvider::objects(const QString& page, const QString& selector) const
{
    const DeviceModel::Screen* screen = m_model.screen(page);
    if (!screen)
        return {};
    // The node and the preset storage are no processing objects of the preset.
    const auto isProcessingObject = [](const QString& name) {
        return name != QLatin1String("NPO") && name != QLatin1String("Presets");
    };
    QStringList names;
    for (const DeviceModel::Binding& binding : screen->bindings) {
        const bool selected = binding.selector.isEmpty() || binding.selector == selector;
        if (selected && isProcessingObject(binding.object) && !names.contains(binding.object))
            names.append(binding.object);
    }
    return names;
}
