#include "jsoncommandservice.h"

#include "backtickjson.h"
#include "deviceconfiguration.h"
#include "devicestate.h"
#include "faultswitches.h"
#include "jsonaccess.h"
#include "jsontext.h"
#include "kalo480configeditor.h"

#include <QTimer>
#include <stdexcept>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;

namespace {

const QString commandPath = QStringLiteral("Node\\Config\\SV\\Command");
const QString resultPath = QStringLiteral("Node\\Config\\SV\\Result");
const char* const otherClientsId = "{00000000-0000-4000-8000-000000000000}_appID_EditCopy#1";
constexpr int sourceCount = 15;
constexpr int fixedSourceCount = 7;

QString variablePath(const std::string& object, const QString& variable)
{
    return "Preset\\" + QString::fromStdString(object) + "\\SV\\" + variable;
}

// The object named in params[1] of a ["Preset", object, ...] list.
std::string presetObject(const Json::Value& params)
{
    if (text(element(params, 0)) != "Preset" || text(element(params, 1)).empty())
        throw std::runtime_error("params must start with \"Preset\" and an object name");
    return text(element(params, 1));
}

} // namespace

JsonCommandService::JsonCommandService(DeviceState& state, const FaultSwitches& faults,
                                       const DeviceConfiguration& configuration, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_faults(faults)
    , m_configuration(configuration)
    , m_command(state.variable(commandPath))
{
    connect(&m_state, &DeviceState::valueChanged, this, &JsonCommandService::onValueChanged);
}

void JsonCommandService::onValueChanged(const StateVariable* variable)
{
    if (variable && variable == m_command)
        handle(variable->text(StateVariable::Aspect::Value));
}

void JsonCommandService::handle(const QString& command)
{
    const Json::Value request = jsontext::parse(backtickjson::decode(command.toStdString()));
    Json::Value answer(Json::objectValue);
    answer["id"] = text(member(request, "id"));
    answer["error"] = "";
    answer["result"] = Json::Value(Json::objectValue);
    try {
        if (!request.isObject())
            throw std::runtime_error("the command is no JSON object");
        if (m_faults.isOn(FaultSwitches::Fault::JsonError))
            throw std::runtime_error("Simulated failure");
        answer["result"] = run(text(member(request, "method")), member(request, "params"));
    } catch (const std::exception& error) {
        answer["error"] = error.what();
    }
    const int delay = m_faults.value(FaultSwitches::Fault::AnswerDelay);
    if (delay > 0)
        QTimer::singleShot(delay, this, [this, answer] { writeAnswer(answer); });
    else
        writeAnswer(answer);
}

Json::Value JsonCommandService::run(const std::string& method, const Json::Value& params)
{
    if (method == "CopyObjectSVs")
        return copyObject(params);
    if (method == "PasteObjectSVs") {
        pasteObject(params);
        return Json::Value(Json::objectValue);
    }
    if (method == "GetInputRouterSourceNames")
        return inputRouterSourceNames();
    if (method == "GetBuilderConfig")
        return m_configuration.builderConfig();
    throw std::runtime_error("unknown method \"" + method + "\"");
}

Json::Value JsonCommandService::copyObject(const Json::Value& params) const
{
    const std::string object = presetObject(params);
    const QString prefix = "\\\\" + variablePath(object, QString());
    const QStringList names = m_state.children(prefix);
    if (names.isEmpty())
        throw std::runtime_error("no processing object \"" + object + "\"");
    Json::Value settings(Json::objectValue);
    for (const QString& name : names) {
        const StateVariable* variable = m_state.variable(variablePath(object, name));
        if (variable && !variable->moves())
            settings[name.toStdString()] =
                variable->text(StateVariable::Aspect::Value).toStdString();
    }
    return settings;
}

// Settings given as JSON text (as older clients embed them) are read as well. Every value that
// fits is taken; those that do not are named in the error.
void JsonCommandService::pasteObject(const Json::Value& params)
{
    const std::string object = presetObject(params);
    Json::Value settings = element(params, 2);
    if (settings.isString())
        settings = jsontext::parse(settings.asString());
    if (!settings.isObject())
        throw std::runtime_error("no settings to paste");
    std::string refused;
    for (const std::string& name : settings.getMemberNames()) {
        if (!m_state.change(variablePath(object, QString::fromStdString(name)),
                            QString::fromStdString(text(settings[name]))))
            refused += (refused.empty() ? "" : ", ") + name;
    }
    if (!refused.empty())
        throw std::runtime_error("not taken by \"" + object + "\": " + refused);
}

Json::Value JsonCommandService::inputRouterSourceNames() const
{
    Json::Value names(Json::arrayValue);
    for (int source = 0; source < fixedSourceCount; ++source)
        names.append(Kalo480ConfigEditor::inputRouterGetSourceNameForSourceID(source));
    for (int card = 1; card <= sourceCount - fixedSourceCount; ++card) {
        const StateVariable* variable = m_state.variable(
            QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\Channel_%1_OrvellinkInputName")
                .arg(card));
        names.append(variable ? variable->text(StateVariable::Aspect::Value).toStdString()
                              : std::string());
    }
    Json::Value result(Json::objectValue);
    result["sourceNames"] = names;
    return result;
}

void JsonCommandService::writeAnswer(const Json::Value& answer)
{
    if (m_faults.isOn(FaultSwitches::Fault::JsonForeignId)) {
        Json::Value foreign = answer;
        foreign["id"] = otherClientsId;
        m_state.change(resultPath,
                       QString::fromStdString(backtickjson::encode(jsontext::compact(foreign))));
    }
    const QString encoded = QString::fromStdString(backtickjson::encode(jsontext::compact(answer)));
    const int pieces = qBound(1, m_faults.value(FaultSwitches::Fault::JsonSplit), encoded.size());
    const int length = (encoded.size() + pieces - 1) / pieces;
    for (int start = 0; start < encoded.size(); start += length)
        m_state.change(resultPath, encoded.mid(start, length));
}
