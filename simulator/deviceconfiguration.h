#pragma once

#include <json/value.h>

#include <QObject>
#include <QString>

class DeviceState;
class FaultSwitches;
class LineChannel;

// The device's signal-chain configuration: a builder configuration, the templates' default at
// start. A reconfiguration line ({"id":...,"method":"Reconfig","params":["Builder",{...}]}) is
// rebuilt and checked with the configuration builder; a configuration that builds becomes the
// device's, one that does not leaves the old one in place. Either way the sender gets the
// completion line {"error":"<builder's reason or empty>","id":"<the request's id>"}, and
// Node\Config\SV\Command:Status and Progress show the work ("Reconfig:InProgress", then
// "Reconfig:Done" or "Reconfig:Failed"). Fault switches: answer-delay holds the completion back,
// reconfig-silent leaves reconfiguration lines unanswered.
class DeviceConfiguration : public QObject
{
    Q_OBJECT

public:
    DeviceConfiguration(DeviceState& state, const FaultSwitches& faults, QObject* parent = nullptr);

    // Reads the templates file from the resources into the builder. False, with the reason, when
    // it cannot be read or its default does not build.
    bool load(QString* error);

    const Json::Value& builderConfig() const { return m_builderConfig; }

    void reconfigure(const QString& line, LineChannel* sender);

private:
    void setStatus(const QString& status, double progress);

    DeviceState& m_state;
    const FaultSwitches& m_faults;
    Json::Value m_builderConfig;
};
