#include "reconfigurator.h"

#include "configresources.h"
#include "consolereplyparser.h"
#include "jsonaccess.h"
#include "jsontext.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <algorithm>
#include <stdexcept>
#include <vector>

using jsonaccess::element;
using jsonaccess::member;

namespace {

constexpr int kColumnCount = 15;
constexpr int kCrossoverColumn = 8;
constexpr int kOutputColumn = 14;

// Element 1 of the item at the row: its row count, for linkable items.
int itemCount(const Json::Value& builderConfig, int col, int row)
{
    int count = 0;
    if (!jsonaccess::wholeNumber(
            element(Kalo480ConfigEditor::itemAtPath(builderConfig, col, row), 1), 1,
            Kalo480ConfigBuilder::maxColumnRows, count))
        throw std::runtime_error("the item spans no count of rows");
    return count;
}

} // namespace

Reconfigurator::Reconfigurator(QObject* parent) : QObject(parent)
{
    connect(&m_request, &ReconfigurationRequest::completed, this, [this](const QByteArray& answer) {
        Q_EMIT reconfigResponse(QString::fromUtf8(answer));
        Q_EMIT applied(m_applying);
    });
    connect(&m_request, &ReconfigurationRequest::failed, this, &Reconfigurator::reportApplyFailure);
}

void Reconfigurator::_qjsonToJson(const QJsonObject& object, Json::Value& value)
{
    value = jsontext::parse(QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString());
}

void Reconfigurator::_jsonToQjson(const Json::Value& value, QJsonObject& object)
{
    object = QJsonDocument::fromJson(QByteArray::fromStdString(jsontext::compact(value))).object();
}

bool Reconfigurator::loadTemplates()
{
    if (Kalo480ConfigBuilder::instance()->templates().isObject())
        return true;
    QString error;
    if (!ConfigResources::load(&error))
        qWarning().noquote() << "File open error: " + error;
    return Kalo480ConfigBuilder::instance()->templates().isObject();
}

Json::Value Reconfigurator::builderConfigOf(const QJsonObject& config)
{
    Json::Value value;
    _qjsonToJson(config.value(QLatin1String(".builderConfig")).toObject(), value);
    return value;
}

bool Reconfigurator::refused(const char* operation, const QString& reason)
{
    qInfo().noquote() << "Configuration" << operation << "refused:" << reason;
    return false;
}

bool Reconfigurator::validCell(const char* operation, int colID, int appRowIdx) const
{
    if (colID < 0 || colID >= kColumnCount || appRowIdx < 0 ||
        appRowIdx >= Kalo480ConfigBuilder::maxColumnRows)
        return refused(operation,
                       QStringLiteral("no cell at column %1, row %2").arg(colID).arg(appRowIdx));
    return true;
}

// The editor changes the configuration in place and may throw part-way: it works on a copy, and
// the caller's configuration changes only when the copy builds.
bool Reconfigurator::edit(QJsonObject& config, const char* operation, const EditorCall& call)
{
    if (!loadTemplates())
        return refused(operation, QStringLiteral("the configuration templates are not loaded"));
    const Json::Value before = builderConfigOf(config);
    Json::Value working = before;
    QString reason;
    try {
        if (!call(working) || working == before)
            return false;
    } catch (const std::exception& error) {
        reason = QString::fromStdString(error.what());
    } catch (...) {
        reason = QStringLiteral("unclassified failure");
    }
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    Json::Value result;
    if (reason.isEmpty() && !builder->buildConfig(result, working))
        reason = QStringLiteral("the configuration would not build: ") +
                 QString::fromStdString(builder->errorText());
    if (!reason.isEmpty()) {
        Q_EMIT editRefused(reason);
        return refused(operation, reason);
    }
    _jsonToQjson(result, config);
    return true;
}

bool Reconfigurator::link(QJsonObject& config, int colID, int appRowIdx)
{
    qDebug() << "colID:" << colID << " appRowIdx:" << appRowIdx;
    if (!validCell("link", colID, appRowIdx))
        return false;
    return edit(config, "link", [&](Json::Value& working) {
        const int count = itemCount(working, colID, appRowIdx + 1);
        return Kalo480ConfigEditor::link(working, colID, appRowIdx + 1, count + 1, true);
    });
}

bool Reconfigurator::unlink(QJsonObject& config, int colID, int appRowIdx)
{
    qDebug() << "colID:" << colID << " appRowIdx:" << appRowIdx;
    if (!validCell("unlink", colID, appRowIdx))
        return false;
    return edit(config, "unlink", [&](Json::Value& working) {
        const int count = itemCount(working, colID, appRowIdx + 1);
        return count >= 2 &&
               Kalo480ConfigEditor::link(working, colID, appRowIdx + 1, count - 1, true);
    });
}

bool Reconfigurator::changePO(QJsonObject& config, int colID, int appRowIdx, int listViewIdx)
{
    if (!validCell("change", colID, appRowIdx))
        return false;
    return edit(config, "change", [&](Json::Value& working) {
        std::vector<std::string> options;
        Kalo480ConfigEditor::swapOptions(working, colID, appRowIdx + 1, options);
        if (listViewIdx < 0 || listViewIdx >= int(options.size()))
            throw std::out_of_range("no choice " + std::to_string(listViewIdx) + " of " +
                                    std::to_string(options.size()));
        Kalo480ConfigEditor::swap(working, options[std::size_t(listViewIdx)], std::string(), colID,
                                  appRowIdx + 1);
        return true;
    });
}

bool Reconfigurator::setCrossoverConfig(QJsonObject& config, int appRowIdx,
                                        const QString& newXoverName)
{
    qDebug() << "appRowIdx: " << appRowIdx << " newXoverName: " << newXoverName;
    if (!validCell("crossover change", kCrossoverColumn, appRowIdx))
        return false;
    // The first type in name order that shows this text.
    std::vector<const CrossoverType*> byName;
    for (const CrossoverType& type : ConfigResources::catalogue().types())
        byName.push_back(&type);
    std::sort(byName.begin(), byName.end(), [](const CrossoverType* a, const CrossoverType* b) {
        return a->configName < b->configName;
    });
    QString configName;
    for (const CrossoverType* type : byName) {
        qDebug().noquote() << "\tkey:" << type->configName;
        if (type->displayName == newXoverName) {
            configName = type->configName;
            break;
        }
    }
    if (configName.isEmpty())
        return refused("crossover change",
                       QStringLiteral("no crossover type \"%1\"").arg(newXoverName));
    return edit(config, "crossover change", [&](Json::Value& working) {
        Kalo480ConfigEditor::swap(working, Kalo480ConfigEditor::Templates::Out_CrossoverIIR,
                                  configName.toStdString(), kCrossoverColumn, appRowIdx + 1);
        return true;
    });
}

bool Reconfigurator::renameOutputs(QJsonObject& config, int appRowIdx, const QString& name)
{
    qDebug() << "appRowIdx: " << appRowIdx << " name: " << name;
    if (!validCell("output naming", kOutputColumn, appRowIdx))
        return false;
    return edit(config, "output naming", [&](Json::Value& working) {
        Kalo480ConfigEditor::outputsSetOutputName(working, appRowIdx + 1, name.toStdString());
        return true;
    });
}

bool Reconfigurator::inputRouterSetSource(QJsonObject& config, int slotNum, int sourceID)
{
    return edit(config, "input routing", [&](Json::Value& working) {
        Kalo480ConfigEditor::inputRouterSetSource(working, slotNum, sourceID);
        return true;
    });
}

bool Reconfigurator::setMixerConfig(QJsonObject& config, int colID, int appRowIdx, int mixerIndex)
{
    qDebug() << "colID:" << colID << " appRowIdx:" << appRowIdx << " mixerIndex:" << mixerIndex;
    if (!validCell("mixer change", colID, appRowIdx) || !loadTemplates())
        return false;
    const char* column = colID == 1 ? "Column_In_Mixer" : colID == 5 ? "Column_Mid_Mixer" : "";
    const Json::Value& choices =
        member(member(Kalo480ConfigBuilder::instance()->templates(), ".slots"), column);
    const std::string mixer = jsonaccess::text(element(choices, mixerIndex));
    if (mixer.empty())
        return refused("mixer change",
                       QStringLiteral("no mixer %1 in column %2").arg(mixerIndex).arg(colID));
    return edit(config, "mixer change", [&](Json::Value& working) {
        return Kalo480ConfigEditor::swap(working, mixer, std::string(), colID, appRowIdx + 1);
    });
}

bool Reconfigurator::setDefaultConfig(QJsonObject& config)
{
    return edit(config, "default configuration", [](Json::Value& working) {
        working = Kalo480ConfigBuilder::instance()->getDefault();
        return true;
    });
}

void Reconfigurator::setRouterConfig(QJsonObject& config, int routerIndex)
{
    Q_UNUSED(config)
    qDebug() << " routerIndex:" << routerIndex;
}

bool Reconfigurator::buildConfig(const QJsonObject& builderConfig, QJsonObject& config,
                                 QString* error)
{
    if (!loadTemplates()) {
        *error = QStringLiteral("the configuration templates are not loaded");
        return false;
    }
    Json::Value value;
    _qjsonToJson(builderConfig, value);
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    Json::Value result;
    if (!builder->buildConfig(result, value)) {
        *error = QString::fromStdString(builder->errorText());
        return false;
    }
    _jsonToQjson(result, config);
    return true;
}

bool Reconfigurator::applyPendingChanges(const QJsonObject& config)
{
    qDebug() << "applyPendingChanges";
    const QJsonObject builderConfig = config.value(QLatin1String(".builderConfig")).toObject();
    QString error;
    QJsonObject built;
    if (!buildConfig(builderConfig, built, &error)) {
        reportApplyFailure(QStringLiteral("The configuration cannot be applied: ") + error);
        return false;
    }
    const QString line = createReconfigCommand(builderConfig);
    qDebug().noquote() << "Command JSON" << line.trimmed();
    if (!m_request.start(line.toUtf8(), &error)) {
        reportApplyFailure(error);
        return false;
    }
    m_applying = config;
    return true;
}

void Reconfigurator::reportApplyFailure(const QString& reason)
{
    qWarning().noquote() << "Reconfiguration failed:" << reason;
    Q_EMIT applyFailed(reason);
}

QString Reconfigurator::createReconfigCommand(const QJsonObject& builderConfig)
{
    const QJsonObject command{
        {QStringLiteral("method"), QStringLiteral("Reconfig")},
        {QStringLiteral("id"), QLatin1String(ConsoleReplyParser::kReconfigurationId)},
        {QStringLiteral("params"), QJsonArray{QStringLiteral("Builder"), builderConfig}}};
    return QString::fromUtf8(QJsonDocument(command).toJson(QJsonDocument::Compact)) +
           QLatin1Char('\n');
}
