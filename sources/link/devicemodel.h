#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The device model: every processing object, state variable and node variable of the
// processor with its range, unit, resolution, enumeration entries, nudge classes and default
// value, and the table of which objects and variables each screen binds. One JSON file in the
// resources (":/devicemodel.json"), read by the application and by VirtualQX8 alike.
//
// A name may stand for several: "Band_{1..8}_Gain" is Band_1_Gain to Band_8_Gain,
// "{Low|High}Amplifier" is LowAmplifier and HighAmplifier; so may a processing object's name.
// A default given as a list holds one value per name; "{n}" in a default text is the number or
// word of the name.
class DeviceModel
{
public:
    enum class Kind { Number, Enumeration, Text };

    // One unit of a value written in several units at once ("10.00ms/11.25ft/3.43m").
    struct DisplayUnit
    {
        QString name;
        double scale = 1.0;
    };

    // The resolution of a number from a value up to `below` (infinite for the last one).
    struct Step
    {
        double below;
        double size;
    };

    // A state variable or attribute. `path` is its console path below the root, without the
    // leading and trailing backslashes: "Preset\HighPEQ\SV\Band_1_Gain", "Node\SV\DeviceName".
    struct Variable
    {
        QString path;
        Kind kind = Kind::Text;
        double minimum = 0;
        double maximum = 0;
        double defaultNumber = 0;
        QString defaultText;
        QString unit;        // after the number: "dB", "Hz", "%", ":1", " deg"
        QString prefix;      // before the number: "1:"
        QString minimumText; // written for the lowest value instead of the number: "Off", "Out"
        QString maximumText; // written for the highest value: "On", "Inf"
        QList<DisplayUnit> displayUnits;
        bool clock = false;     // seconds written as minutes and seconds: "1m 30s"
        int motionPeriodMs = 0; // a meter: the device's value moves with this period
        // A number's resolution, ascending by value: its "step" (a size, or a table of
        // "stepTables"), else the step of its unit in "unitSteps". One entry of 1 for a switch.
        QList<Step> steps;
        // A band meter of the analyser (band n of a numbered name): pink noise through the
        // graphic EQ object `analyserShapedBy`, raised by the analyser's variable `analyserGain`.
        int analyserBand = 0;
        QString analyserShapedBy;
        QString analyserGain;
        QStringList entries;
        // The classes under which the nudge buttons look up the variable's step.
        QString nudgeObjectClass;
        QString nudgeVariableClass;
    };

    struct ProcessingObject
    {
        QString name;
        QString className;
        // False for an object the virtual processor's preset leaves out of its object list
        // (the dual-mono graphic EQs, the mono mixer); its variables still exist.
        bool listed = true;
        // An object of the configurable signal chain ("GEQ2", "PEQOut5"): the virtual processor
        // lists it while its configuration holds an object of that name.
        bool configured = false;
    };

    // One variable a screen binds: of `object`, while the screen's selector holds `selector`
    // (always, when empty). Names as the controls bind them: processing object and state
    // variable, "NPO" and a node path, "Presets" and a storage variable.
    struct Binding
    {
        QString selector;
        QString object;
        QString variable;
    };

    struct Screen
    {
        QString page;           // "QX8PEQ.qml"; "main.qml" for the window's own controls
        QString selectorKey;    // the settings key that picks the objects ("Data/PEQType")
        bool everyPage = false; // a component on every page: the menu bar
        QList<Binding> bindings;

        // The selector values the table names, in table order.
        QStringList selectors() const;
        bool binds(const QString& selector, const QString& object, const QString& variable) const;
    };

    // The model's file in the resources, registered by the first call.
    static QString resourcePath();
    // The model of the resources, read once; empty (and logged) when it cannot be read.
    static const DeviceModel& fromResources();

    static std::optional<DeviceModel> load(const QString& fileName, QString* error);
    static std::optional<DeviceModel> parse(const QByteArray& json, QString* error);

    // In model order: node variables first, then each object's attributes and state variables.
    const QList<Variable>& variables() const { return m_variables; }
    const Variable* variable(const QString& path) const;
    const QList<ProcessingObject>& processingObjects() const { return m_objects; }
    const QList<Screen>& screens() const { return m_screens; }
    const Screen* screen(const QString& page) const;

private:
    friend class DeviceModelReader;

    QList<Variable> m_variables;
    QHash<QString, int> m_indexOfPath;
    QList<ProcessingObject> m_objects;
    QList<Screen> m_screens;
};
