#pragma once

#include <json/value.h>

#include <QObject>
#include <QString>

class DeviceConfiguration;
class DeviceState;
class FaultSwitches;
class StateVariable;

// The device's JSON command channel: a command written to Node\Config\SV\Command (backtick form,
// see backtickjson.h) is answered in Node\Config\SV\Result with {"error", "id", "result"}, the id
// echoed. Methods: CopyObjectSVs ["Preset", object] (result: the object's state variables and
// their values), PasteObjectSVs ["Preset", object, {variable: value, ...}],
// GetInputRouterSourceNames (result {"sourceNames": the 15 router sources' names, the option card's
// from its input names}), GetBuilderConfig (result: the device's builder configuration). Fault
// switches: json-split=N writes each answer in N successive values, json-error answers every
// command with an error, json-foreign-id writes an answer for another client first, answer-delay
// holds answers back.
class JsonCommandService : public QObject
{
    Q_OBJECT

public:
    JsonCommandService(DeviceState& state, const FaultSwitches& faults,
                       const DeviceConfiguration& configuration, QObject* parent = nullptr);

private:
    void onValueChanged(const StateVariable* variable);
    void handle(const QString& command);
    // The command's result; throws std::runtime_error with the error text of the answer.
    Json::Value run(const std::string& method, const Json::Value& params);
    Json::Value copyObject(const Json::Value& params) const;
    void pasteObject(const Json::Value& params);
    Json::Value inputRouterSourceNames() const;
    void writeAnswer(const Json::Value& answer);

    DeviceState& m_state;
    const FaultSwitches& m_faults;
    const DeviceConfiguration& m_configuration;
    const StateVariable* m_command;
};
