#include "devicemodel.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

constexpr int kLongestRun = 1000;

// One name a pattern stands for, and the number or word of its first brace.
struct ExpandedName
{
    QString name;
    QString item;
};

// "Band_{1..8}_Gain" or "{Low|Mid|High}Amplifier": the names a pattern stands for, each with
// the number or word of its first brace put in; a plain name stands for itself. Further braces
// multiply: "Band_{1..2}_{Gain|Q}" is Band_1_Gain, Band_1_Q, Band_2_Gain, Band_2_Q.
std::optional<QList<ExpandedName>> expandName(const QString& pattern, QString* error)
{
    static const QRegularExpression brace(
        QStringLiteral("\\{(?:(\\d+)\\.\\.(\\d+)|([^{}]*\\|[^{}]*))\\}"));
    const QRegularExpressionMatch match = brace.match(pattern);
    if (!match.hasMatch())
        return QList<ExpandedName>{{pattern, QString()}};
    QStringList items = match.captured(3).split(QLatin1Char('|'));
    if (match.captured(3).isEmpty()) {
        const int first = match.captured(1).toInt();
        const int last = match.captured(2).toInt();
        if (last < first || last - first >= kLongestRun) {
            *error =
                pattern + ": the run must count up, by at most " + QString::number(kLongestRun);
            return std::nullopt;
        }
        items.clear();
        for (int n = first; n <= last; ++n)
            items.append(QString::number(n));
    }
    QList<ExpandedName> names;
    for (const QString& item : items) {
        QString name = pattern;
        name.replace(match.capturedStart(), match.capturedLength(), item);
        const std::optional<QList<ExpandedName>> rest = expandName(name, error);
        if (!rest)
            return std::nullopt;
        for (const ExpandedName& expanded : *rest)
            names.append({expanded.name, item});
    }
    return names;
}

// A field given as a list holds one value per name of the pattern.
QJsonValue valueForName(const QJsonValue& field, int index)
{
    return field.isArray() ? field.toArray().at(index) : field;
}

bool isUsableName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('"')) &&
           !name.contains(QLatin1Char('\n')) && !name.contains(QLatin1Char('\r'));
}

} // namespace

// Turns the JSON document into the model, checking every entry on the way.
class DeviceModelReader
{
public:
    explicit DeviceModelReader(QString* error) : m_error(error) {}

    bool read(const QJsonObject& root)
    {
        if (!readStepTables(root.value(QLatin1String("stepTables")).toObject()))
            return false;
        m_unitSteps = root.value(QLatin1String("unitSteps")).toObject();
        for (const QJsonValue& entry : root.value(QLatin1String("nodeVariables")).toArray()) {
            const QJsonObject variable = entry.toObject();
            if (!addVariables(variable.value(QLatin1String("path")).toString(), variable, {}))
                return false;
        }
        const QJsonObject classes = root.value(QLatin1String("classes")).toObject();
        for (const QJsonValue& entry : root.value(QLatin1String("processingObjects")).toArray()) {
            if (!addObjects(entry.toObject(), classes))
                return false;
        }
        for (const QJsonValue& entry : root.value(QLatin1String("screens")).toArray()) {
            if (!addScreen(entry.toObject()))
                return false;
        }
        return true;
    }

    DeviceModel model;

private:
    bool fail(const QString& message)
    {
        *m_error = message;
        return false;
    }

    // A name such as "GEQ{1..3}" stands for one object per number, each of the class.
    bool addObjects(const QJsonObject& entry, const QJsonObject& classes)
    {
        const std::optional<QList<ExpandedName>> names =
            expandName(entry.value(QLatin1String("name")).toString(), m_error);
        if (!names)
            return false;
        for (const ExpandedName& name : *names) {
            if (!addObject(name.name, entry, classes))
                return false;
        }
        return true;
    }

    bool addObject(const QString& name, const QJsonObject& entry, const QJsonObject& classes)
    {
        DeviceModel::ProcessingObject object;
        object.name = name;
        object.className = entry.value(QLatin1String("class")).toString();
        object.configured = entry.value(QLatin1String("configured")).toBool(false);
        object.listed = entry.value(QLatin1String("listed")).toBool(!object.configured);
        if (!isUsableName(object.name) || object.name.contains(QLatin1Char('\\')))
            return fail("a processing object needs a name: \"" + object.name + "\"");
        if (!classes.contains(object.className))
            return fail(object.name + ": unknown class \"" + object.className + "\"");
        const QJsonObject objectClass = classes.value(object.className).toObject();
        const QString nudgeClass = objectClass.value(QLatin1String("nudgeClass")).toString();
        const QString base = QStringLiteral("Preset\\") + object.name;
        const std::pair<const char*, const char*> groups[] = {{"attributes", "\\AT\\"},
                                                              {"stateVariables", "\\SV\\"}};
        for (const auto& [group, infix] : groups) {
            for (const QJsonValue& value : objectClass.value(QLatin1String(group)).toArray()) {
                const QJsonObject variable = value.toObject();
                const QString path =
                    base + QLatin1String(infix) + variable.value(QLatin1String("name")).toString();
                if (!addVariables(path, variable, nudgeClass))
                    return false;
            }
        }
        model.m_objects.append(object);
        return true;
    }

    bool addVariables(const QString& pathPattern, const QJsonObject& entry,
                      const QString& nudgeClass)
    {
        const std::optional<QList<ExpandedName>> paths = expandName(pathPattern, m_error);
        if (!paths)
            return false;
        const QJsonValue defaults = entry.value(QLatin1String("default"));
        const QJsonValue periods = entry.value(QLatin1String("motionPeriodMs"));
        for (const QJsonValue& field : {defaults, periods}) {
            if (field.isArray() && field.toArray().size() != paths->size())
                return fail(pathPattern + ": a list needs one value per name");
        }
        for (int i = 0; i < paths->size(); ++i) {
            std::optional<DeviceModel::Variable> variable =
                readVariable(paths->at(i).name, entry, valueForName(defaults, i), nudgeClass);
            if (!variable)
                return false;
            variable->motionPeriodMs = valueForName(periods, i).toInt();
            const QJsonObject analyser = entry.value(QLatin1String("analyser")).toObject();
            if (!analyser.isEmpty()) {
                variable->analyserBand = paths->at(i).item.toInt();
                variable->analyserShapedBy = analyser.value(QLatin1String("shapedBy")).toString();
                variable->analyserGain = analyser.value(QLatin1String("gain")).toString();
            }
            variable->defaultText.replace(QLatin1String("{n}"), paths->at(i).item);
            if (!add(*variable))
                return false;
        }
        return true;
    }

    std::optional<DeviceModel::Variable> readVariable(const QString& path, const QJsonObject& entry,
                                                      const QJsonValue& defaultValue,
                                                      const QString& nudgeClass)
    {
        DeviceModel::Variable variable;
        variable.path = path;
        variable.nudgeVariableClass = entry.value(QLatin1String("nudge")).toString();
        if (!variable.nudgeVariableClass.isEmpty())
            variable.nudgeObjectClass =
                entry.value(QLatin1String("nudgeClass")).toString(nudgeClass);
        const QString type = entry.value(QLatin1String("type")).toString();
        bool ok = false;
        if (type == QLatin1String("number") || type == QLatin1String("switch"))
            ok = readNumber(&variable, entry, defaultValue, type == QLatin1String("switch"));
        else if (type == QLatin1String("enumeration"))
            ok = readEnumeration(&variable, entry, defaultValue);
        else if (type == QLatin1String("text"))
            ok = readText(&variable, defaultValue);
        else
            ok = fail(path + ": unknown type \"" + type + "\"");
        if (!ok)
            return std::nullopt;
        return variable;
    }

    // A switch is a number from 0 (written "Off") to 1 ("On").
    bool readNumber(DeviceModel::Variable* variable, const QJsonObject& entry,
                    const QJsonValue& defaultValue, bool isSwitch)
    {
        variable->kind = DeviceModel::Kind::Number;
        if (!defaultValue.isUndefined() && !defaultValue.isDouble())
            return fail(variable->path + ": the default must be a number");
        variable->minimum = isSwitch ? 0 : entry.value(QLatin1String("min")).toDouble();
        variable->maximum = isSwitch ? 1 : entry.value(QLatin1String("max")).toDouble();
        variable->defaultNumber = defaultValue.toDouble(variable->minimum);
        variable->unit = entry.value(QLatin1String("unit")).toString();
        variable->prefix = entry.value(QLatin1String("prefix")).toString();
        variable->minimumText =
            isSwitch ? QStringLiteral("Off") : entry.value(QLatin1String("minText")).toString();
        variable->maximumText =
            isSwitch ? QStringLiteral("On") : entry.value(QLatin1String("maxText")).toString();
        variable->clock = entry.value(QLatin1String("clock")).toBool();
        for (const QJsonValue& unit : entry.value(QLatin1String("units")).toArray()) {
            variable->displayUnits.append(
                {unit.toObject().value(QLatin1String("unit")).toString(),
                 unit.toObject().value(QLatin1String("scale")).toDouble(1)});
        }
        if (!(variable->minimum < variable->maximum))
            return fail(variable->path + ": min must be below max");
        if (!(variable->defaultNumber >= variable->minimum &&
              variable->defaultNumber <= variable->maximum))
            return fail(variable->path + ": default outside the range");
        const QJsonValue step = isSwitch ? QJsonValue(1) : entry.value(QLatin1String("step"));
        const std::optional<QList<DeviceModel::Step>> steps =
            stepsOf(step.isUndefined() ? m_unitSteps.value(variable->unit) : step);
        if (!steps)
            return fail(variable->path + ": a number needs a step, its own or its unit's");
        variable->steps = *steps;
        return true;
    }

    // Each table lists steps by ascending value: every entry but the last ends "below" a value.
    bool readStepTables(const QJsonObject& tables)
    {
        for (auto it = tables.begin(); it != tables.end(); ++it) {
            QList<DeviceModel::Step> steps;
            const QJsonArray entries = it.value().toArray();
            for (int i = 0; i < entries.size(); ++i) {
                const QJsonObject entry = entries.at(i).toObject();
                const bool last = i == entries.size() - 1;
                const double below = entry.value(QLatin1String("below"))
                                         .toDouble(std::numeric_limits<double>::infinity());
                const double size = entry.value(QLatin1String("step")).toDouble();
                if (!(size > 0) || last != std::isinf(below) ||
                    (!steps.isEmpty() && !(below > steps.last().below)))
                    return fail("step table \"" + it.key() +
                                "\": positive steps below ascending values, the last one open");
                steps.append({below, size});
            }
            if (steps.isEmpty())
                return fail("step table \"" + it.key() + "\" is empty");
            m_stepTables.insert(it.key(), steps);
        }
        return true;
    }

    // A positive size, or the name of a step table.
    std::optional<QList<DeviceModel::Step>> stepsOf(const QJsonValue& step) const
    {
        if (step.isString() && m_stepTables.contains(step.toString()))
            return m_stepTables.value(step.toString());
        if (step.toDouble() > 0)
            return QList<DeviceModel::Step>{
                {std::numeric_limits<double>::infinity(), step.toDouble()}};
        return std::nullopt;
    }

    bool readEnumeration(DeviceModel::Variable* variable, const QJsonObject& entry,
                         const QJsonValue& defaultValue)
    {
        variable->kind = DeviceModel::Kind::Enumeration;
        if (!defaultValue.isString())
            return fail(variable->path + ": the default must be one of the entries");
        for (const QJsonValue& item : entry.value(QLatin1String("entries")).toArray())
            variable->entries.append(item.toString());
        variable->defaultText = defaultValue.toString();
        if (!variable->entries.contains(variable->defaultText))
            return fail(variable->path + ": default is not one of the entries");
        return true;
    }

    bool readText(DeviceModel::Variable* variable, const QJsonValue& defaultValue)
    {
        variable->kind = DeviceModel::Kind::Text;
        if (!defaultValue.isUndefined() && !defaultValue.isString())
            return fail(variable->path + ": the default must be a text");
        variable->defaultText = defaultValue.toString();
        return true;
    }

    bool add(const DeviceModel::Variable& variable)
    {
        if (!isUsableName(variable.path) || model.m_indexOfPath.contains(variable.path))
            return fail("invalid or repeated path \"" + variable.path + "\"");
        model.m_indexOfPath.insert(variable.path, model.m_variables.size());
        model.m_variables.append(variable);
        return true;
    }

    bool addScreen(const QJsonObject& entry)
    {
        DeviceModel::Screen screen;
        screen.page = entry.value(QLatin1String("page")).toString();
        screen.selectorKey = entry.value(QLatin1String("selectorKey")).toString();
        screen.everyPage = entry.value(QLatin1String("everyPage")).toBool();
        if (screen.page.isEmpty())
            return fail("a screen needs its page");
        for (const QJsonValue& value : entry.value(QLatin1String("bindings")).toArray()) {
            if (!addBindings(&screen, value.toObject()))
                return false;
        }
        model.m_screens.append(screen);
        return true;
    }

    // "objects" is a list of objects bound at once, or a map from selector value to object.
    bool addBindings(DeviceModel::Screen* screen, const QJsonObject& entry)
    {
        QList<QPair<QString, QString>> objects;
        const QJsonValue objectsValue = entry.value(QLatin1String("objects"));
        if (objectsValue.isObject()) {
            if (screen->selectorKey.isEmpty())
                return fail(screen->page + ": objects by selector need a selectorKey");
            const QJsonObject bySelector = objectsValue.toObject();
            for (auto it = bySelector.begin(); it != bySelector.end(); ++it)
                objects.append({it.key(), it.value().toString()});
        } else {
            for (const QJsonValue& object : objectsValue.toArray()) {
                const std::optional<QList<ExpandedName>> names =
                    expandName(object.toString(), m_error);
                if (!names)
                    return false;
                for (const ExpandedName& name : *names)
                    objects.append({QString(), name.name});
            }
        }
        if (objects.isEmpty())
            return fail(screen->page + ": a binding needs its objects");
        for (const QJsonValue& value : entry.value(QLatin1String("variables")).toArray()) {
            const std::optional<QList<ExpandedName>> names = expandName(value.toString(), m_error);
            if (!names)
                return false;
            for (const auto& [selector, object] : objects) {
                for (const ExpandedName& name : *names)
                    screen->bindings.append({selector, object, name.name});
            }
        }
        return true;
    }

    QString* m_error;
    QHash<QString, QList<DeviceModel::Step>> m_stepTables;
    QJsonObject m_unitSteps;
};

QStringList DeviceModel::Screen::selectors() const
{
    QStringList values;
    for (const Binding& binding : bindings) {
        if (!binding.selector.isEmpty() && !values.contains(binding.selector))
            values.append(binding.selector);
    }
    return values;
}

bool DeviceModel::Screen::binds(const QString& selector, const QString& object,
                                const QString& variable) const
{
    for (const Binding& binding : bindings) {
        if ((binding.selector.isEmpty() || binding.selector == selector) &&
            binding.object == object && binding.variable == variable)
            return true;
    }
    return false;
}

QString DeviceModel::resourcePath()
{
    // The resource lies in this static library: naming it here links it in.
    static const bool registered = [] {
        Q_INIT_RESOURCE(devicemodel);
        return true;
    }();
    Q_UNUSED(registered)
    return QStringLiteral(":/devicemodel.json");
}

const DeviceModel& DeviceModel::fromResources()
{
    static const DeviceModel model = [] {
        QString error;
        std::optional<DeviceModel> loaded = load(resourcePath(), &error);
        if (!loaded) {
            qWarning().noquote() << "Device model not available:" << error;
            return DeviceModel();
        }
        return *loaded;
    }();
    return model;
}

std::optional<DeviceModel> DeviceModel::load(const QString& fileName, QString* error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = fileName + ": " + file.errorString();
        return std::nullopt;
    }
    std::optional<DeviceModel> model = parse(file.readAll(), error);
    if (!model)
        *error = fileName + ": " + *error;
    return model;
}

std::optional<DeviceModel> DeviceModel::parse(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        *error = parseError.error == QJsonParseError::NoError ? QStringLiteral("not an object")
                                                              : parseError.errorString();
        return std::nullopt;
    }
    DeviceModelReader reader(error);
    if (!reader.read(document.object()))
        return std::nullopt;
    return reader.model;
}

const DeviceModel::Variable* DeviceModel::variable(const QString& path) const
{
    const auto found = m_indexOfPath.constFind(path);
    return found == m_indexOfPath.constEnd() ? nullptr : &m_variables.at(*found);
}

const DeviceModel::Screen* DeviceModel::screen(const QString& page) const
{
    for (const Screen& screen : m_screens) {
        if (screen.page == page)
            return &screen;
    }
    return nullptr;
}
