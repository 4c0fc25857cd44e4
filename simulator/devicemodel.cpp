#include "devicemodel.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
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

// An entry with "repeat": [first, last] stands for one variable per number, "{n}" in its
// name and default text replaced by the number.
QList<QPair<QString, QJsonObject>> expand(const QString& pathPattern, const QJsonObject& entry)
{
    const QJsonArray repeat = entry.value("repeat").toArray();
    if (repeat.size() != 2)
        return {{pathPattern, entry}};
    QList<QPair<QString, QJsonObject>> expanded;
    for (int n = repeat.at(0).toInt(); n <= repeat.at(1).toInt(); ++n) {
        const QString number = QString::number(n);
        QJsonObject one = entry;
        if (one.value("default").isString())
            one["default"] = one.value("default").toString().replace("{n}", number);
        expanded.append({QString(pathPattern).replace("{n}", number), one});
    }
    return expanded;
}

} // namespace

DeviceModel::DeviceModel(QObject* parent) : QObject(parent) {}

bool DeviceModel::load(const QString& fileName, QString* error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = fileName + ": " + file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = fileName + ": " + parseError.errorString();
        return false;
    }
    const QJsonObject root = document.object();
    for (const QJsonValue& entry : root.value("variables").toArray()) {
        if (!addEntries(entry.toObject().value("path").toString(), entry.toObject(), error))
            return false;
    }
    for (const QJsonValue& objectValue : root.value("processingObjects").toArray()) {
        const QJsonObject object = objectValue.toObject();
        const QString base = "Preset\\" + object.value("name").toString();
        for (const QJsonValue& entry : object.value("attributes").toArray()) {
            const QString path = base + "\\AT\\" + entry.toObject().value("name").toString();
            if (!addEntries(path, entry.toObject(), error))
                return false;
        }
        for (const QJsonValue& entry : object.value("stateVariables").toArray()) {
            const QString path = base + "\\SV\\" + entry.toObject().value("name").toString();
            if (!addEntries(path, entry.toObject(), error))
                return false;
        }
    }
    return true;
}

bool DeviceModel::addEntries(const QString& pathPattern, const QJsonObject& entry, QString* error)
{
    for (const auto& [path, one] : expand(pathPattern, entry)) {
        if (!add(path, one, error))
            return false;
    }
    return true;
}

bool DeviceModel::add(const QString& path, const QJsonObject& entry, QString* error)
{
    if (path.isEmpty() || path.contains('"') || m_variables.count(path) > 0) {
        *error = "invalid or repeated path \"" + path + "\"";
        return false;
    }
    std::optional<StateVariable> variable = StateVariable::fromJson(path, entry, error);
    if (!variable)
        return false;
    m_variables.emplace(path, *variable);
    m_order.append(path);
    return true;
}

std::optional<DeviceModel::Address> DeviceModel::resolve(const QString& consolePath)
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

StateVariable* DeviceModel::variable(const QString& path)
{
    const auto found = m_variables.find(path);
    return found == m_variables.end() ? nullptr : &found->second;
}

QStringList DeviceModel::children(const QString& consolePath) const
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
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    return names;
}

void DeviceModel::announce(const StateVariable& variable)
{
    Q_EMIT valueChanged(&variable);
}
