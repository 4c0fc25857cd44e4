#include "deviceconfiguration.h"

#include "devicestate.h"
#include "faultswitches.h"
#include "jsonaccess.h"
#include "jsontext.h"
#include "kalo480configbuilder.h"
#include "linechannel.h"

#include <QFile>
#include <QPointer>
#include <QSet>
#include <QTimer>

namespace {

const char* const templatesPath =
    ":/json/SDKs/Keldaran2/Extensions/yoxl/Objects/Kalo480/Kalo480ConfigBuilderTemplates.json";

// The builder's reason for a configuration that does not build; empty when it builds, and then
// `objects` holds the names of its processing objects.
std::string buildError(const Json::Value& builderConfig, QSet<QString>* objects)
{
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    Json::Value result;
    if (!builder->buildConfig(result, builderConfig))
        return builder->errorText();
    objects->clear();
    for (const std::string& name : result.getMemberNames())
        objects->insert(QString::fromStdString(name));
    return std::string();
}

} // namespace

DeviceConfiguration::DeviceConfiguration(DeviceState& state, const FaultSwitches& faults,
                                         QObject* parent)
    : QObject(parent), m_state(state), m_faults(faults)
{
}

bool DeviceConfiguration::load(QString* error)
{
    QFile file{QLatin1String(templatesPath)};
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.fileName() + ": " + file.errorString();
        return false;
    }
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    builder->setTemplates(jsontext::parse(file.readAll().toStdString()));
    m_builderConfig = builder->getDefault();
    QSet<QString> objects;
    const std::string reason = buildError(m_builderConfig, &objects);
    if (!reason.empty()) {
        *error = "the templates' default configuration does not build: " +
                 QString::fromStdString(reason);
        return false;
    }
    m_state.listConfiguredObjects(objects);
    return true;
}

void DeviceConfiguration::reconfigure(const QString& line, LineChannel* sender)
{
    if (m_faults.isOn(FaultSwitches::Fault::ReconfigSilent))
        return;
    const Json::Value request = jsontext::parse(line.toStdString());
    const Json::Value& params = jsonaccess::member(request, "params");
    std::string reason;
    QSet<QString> objects;
    if (jsonaccess::text(jsonaccess::member(request, "method")) != "Reconfig")
        reason = "unknown method";
    else if (jsonaccess::text(jsonaccess::element(params, 0)) != "Builder")
        reason = "params must be [\"Builder\", <builder configuration>]";
    else
        reason = buildError(jsonaccess::element(params, 1), &objects);
    if (reason.empty()) {
        m_builderConfig = jsonaccess::element(params, 1);
        m_state.listConfiguredObjects(objects);
    }
    setStatus(QStringLiteral("Reconfig:InProgress"), 0);

    Json::Value answer(Json::objectValue);
    answer["error"] = reason;
    answer["id"] = jsonaccess::text(jsonaccess::member(request, "id"));
    const QString answerLine = QString::fromStdString(jsontext::compact(answer));
    const QString status = reason.empty() ? "Reconfig:Done" : "Reconfig:Failed";
    const auto complete = [this, answerLine, status, channel = QPointer<LineChannel>(sender)] {
        setStatus(status, 1);
        if (channel && channel->isOpen())
            channel->sendLine(answerLine);
    };
    const int delay = m_faults.value(FaultSwitches::Fault::AnswerDelay);
    if (delay > 0)
        QTimer::singleShot(delay, this, complete);
    else
        complete();
}

void DeviceConfiguration::setStatus(const QString& status, double progress)
{
    const QList<QPair<QString, QString>> values{
        {"Node\\Config\\SV\\Command:Status", status},
        {"Node\\Config\\SV\\Progress", QString::number(progress)}};
    for (const auto& [path, value] : values)
        m_state.change(path, value);
}
