#pragma once

#include "statevariable.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>

class DeviceModel;

// The device's variables with their current values, built from the device model. Keyed by
// their path below the root ("Node\SV\DeviceName", "Preset\Crossover\SV\Band_1_Gain",
// "Storage\Presets\SV\Name_1").
class DeviceState : public QObject
{
    Q_OBJECT

public:
    struct Address
    {
        StateVariable* variable = nullptr;
        StateVariable::Aspect aspect = StateVariable::Aspect::Value;
    };

    explicit DeviceState(const DeviceModel& model, QObject* parent = nullptr);

    // A console path such as "\\Preset\PEQ\SV\Band_1_Gain\%" or "\\Node\AT\Class_Name": the
    // variable and the aspect its last component asks for. Nothing for an unknown path.
    std::optional<Address> resolve(const QString& consolePath);
    StateVariable* variable(const QString& path);
    // Names one level below a console path ("\\Preset\" gives the listed processing objects),
    // in model order; empty when nothing lies below it.
    QStringList children(const QString& consolePath) const;

    // The objects of the configurable signal chain that the device's configuration holds: those
    // named here are listed below "\\Preset\", the other configured objects are not.
    void listConfiguredObjects(const QSet<QString>& names);

    // Tells every listener that the variable has a new value.
    void announce(const StateVariable& variable);
    // A change the device makes itself: the value of the variable at `path`, announced. False
    // when there is no such variable or it does not take the value.
    bool change(const QString& path, const QString& value);
    // Gives an enumeration new entries and tells every listener, then announces its value.
    bool replaceEntries(StateVariable& variable, const QStringList& entries);

    // What the device does when a client writes a value to the variable at `path` (store or
    // recall a preset): it runs before the value is taken, and a refusal keeps the old value.
    using WriteAction = std::function<bool(const QString& value, QString* error)>;
    void setWriteAction(const QString& path, WriteAction action);
    // A client's write: the variable's action, then the value in the form of the aspect.
    bool write(const Address& address, const QString& value, QString* error);

Q_SIGNALS:
    void valueChanged(const StateVariable* variable);
    void entriesChanged(const StateVariable* variable);

private:
    std::map<QString, StateVariable> m_variables;
    std::map<QString, WriteAction> m_writeActions;
    QStringList m_order;
    QSet<QString> m_unlisted; // "Preset\<object>"
    QStringList m_configured; // the model's configured objects
};
