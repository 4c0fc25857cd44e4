// The queries of the editing dialogs and the input-router names.
#include "configresources.h"
#include "jsonaccess.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "reconfigurator.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cstdlib>

using jsonaccess::element;
using jsonaccess::member;

namespace {

constexpr int kCrossoverColumn = 8;

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

const CrossoverType* catalogueType(const std::string& configName)
{
    const QString name = fromStd(configName);
    for (const CrossoverType& type : ConfigResources::catalogue().types()) {
        if (type.configName == name)
            return &type;
    }
    return nullptr;
}

} // namespace

bool Reconfigurator::query(const QJsonObject& config, const char* operation,
                           const std::function<void(const Json::Value&)>& call)
{
    if (!loadTemplates())
        return refused(operation, QStringLiteral("the configuration templates are not loaded"));
    try {
        call(builderConfigOf(config));
        return true;
    } catch (const std::exception& error) {
        return refused(operation, fromStd(error.what()));
    } catch (...) {
        return refused(operation, QStringLiteral("unclassified failure"));
    }
}

bool Reconfigurator::linkTest(const QJsonObject& config, int colID, int appRowIdx, int moreLess)
{
    bool possible = false;
    if (validCell("link test", colID, appRowIdx) &&
        std::abs(moreLess) <= Kalo480ConfigBuilder::maxColumnRows) {
        query(config, "link test", [&](const Json::Value& builderConfig) {
            const Json::Value& item =
                Kalo480ConfigEditor::itemAtPath(builderConfig, colID, appRowIdx + 1);
            int count = 0;
            if (jsonaccess::wholeNumber(element(item, 1), 1, Kalo480ConfigBuilder::maxColumnRows,
                                        count))
                possible = Kalo480ConfigEditor::linkTest(builderConfig, colID, appRowIdx + 1,
                                                         count + moreLess);
        });
    }
    return possible;
}

// The display names of the processing objects a cell may take; fixed input routes are named
// after the sources this configuration routes to them.
int Reconfigurator::poListCnt(const QJsonObject& config, int colID, int appRowIdx)
{
    m_swapOptionNames.clear();
    if (!validCell("choice list", colID, appRowIdx))
        return 0;
    query(config, "choice list", [&](const Json::Value& builderConfig) {
        std::vector<std::string> options;
        Kalo480ConfigEditor::swapOptions(builderConfig, colID, appRowIdx + 1, options);
        Kalo480ConfigEditor::setBuilderConfig(builderConfig);
        Kalo480ConfigEditor::displayNamesForSwapOptions(m_swapOptionNames, options);
    });
    return int(m_swapOptionNames.size());
}

QString Reconfigurator::getPoName(int listIdx) const
{
    if (listIdx < 0 || listIdx >= int(m_swapOptionNames.size()))
        return QString();
    return fromStd(m_swapOptionNames[std::size_t(listIdx)]);
}

QVariantMap Reconfigurator::cfgXoverListCnt(const QJsonObject& config, int appRowIdx)
{
    m_crossoverOptions.clear();
    QVariantMap answer;
    if (!validCell("crossover list", kCrossoverColumn, appRowIdx))
        return answer;
    query(config, "crossover list", [&](const Json::Value& builderConfig) {
        const Json::Value& item =
            Kalo480ConfigEditor::itemAtPath(builderConfig, kCrossoverColumn, appRowIdx + 1);
        Kalo480ConfigEditor::swapOptionsForCrossover(
            builderConfig, Kalo480ConfigEditor::Templates::Out_CrossoverIIR, kCrossoverColumn,
            appRowIdx + 1, m_crossoverOptions);
        const std::string current = jsonaccess::text(element(item, 1));
        qDebug().noquote() << "\tsecondaryName:  '" + fromStd(current) + "'";
        const auto found = std::find(m_crossoverOptions.begin(), m_crossoverOptions.end(), current);
        if (found != m_crossoverOptions.end())
            qDebug().noquote() << "\tFound match at:" << found - m_crossoverOptions.begin()
                               << fromStd(*found);
        answer.insert(QStringLiteral("count"), int(m_crossoverOptions.size()));
        answer.insert(QStringLiteral("curIdx"), int(found - m_crossoverOptions.begin()));
    });
    return answer;
}

QVariantMap Reconfigurator::getCfgXoverInfo(int listIdx) const
{
    if (listIdx < 0 || listIdx >= int(m_crossoverOptions.size()))
        return QVariantMap();
    const CrossoverType* type = catalogueType(m_crossoverOptions[std::size_t(listIdx)]);
    const CrossoverType none;
    const CrossoverType& shown = type ? *type : none;
    return {
        {QStringLiteral("cfgID"), shown.id},       {QStringLiteral("cfgName"), shown.displayName},
        {QStringLiteral("inpNum"), shown.inputs},  {QStringLiteral("inpName"), shown.inputNames},
        {QStringLiteral("outNum"), shown.outputs}, {QStringLiteral("outName"), shown.outputNames},
        {QStringLiteral("code"), shown.code}};
}

int Reconfigurator::getPoCfgIdx(const QJsonObject& config, int colID, int appRowIdx)
{
    int found = -1;
    if (!validCell("choice query", colID, appRowIdx))
        return found;
    query(config, "choice query", [&](const Json::Value& builderConfig) {
        std::vector<std::string> options;
        Kalo480ConfigEditor::swapOptions(builderConfig, colID, appRowIdx + 1, options);
        const Json::Value& column = element(member(builderConfig, "Columns"), colID);
        const Json::Value& own = element(element(column, appRowIdx + 1), 0);
        const auto at = std::find(options.begin(), options.end(), jsonaccess::text(own));
        if (own.isString() && at != options.end())
            found = int(at - options.begin());
    });
    return found;
}

int Reconfigurator::getMixerCfgIdx(const QJsonObject& config, int colID, int appRowIdx)
{
    if ((colID != 1 && colID != 5) || !validCell("mixer query", colID, appRowIdx) ||
        !loadTemplates())
        return -1;
    const Json::Value& choices =
        member(member(Kalo480ConfigBuilder::instance()->templates(), ".slots"),
               colID == 1 ? "Column_In_Mixer" : "Column_Mid_Mixer");
    const Json::Value column = element(member(builderConfigOf(config), "Columns"), colID);
    const Json::Value& templateName = element(element(column, appRowIdx + 1), 0);
    for (int i = 0; i < jsonaccess::size(choices); ++i) {
        if (templateName.isString() && element(choices, i) == templateName)
            return i;
    }
    return -1;
}

int Reconfigurator::getInputRouterIdx(const QJsonObject& config) const
{
    Q_UNUSED(config)
    return -1;
}

QString Reconfigurator::getInputRouterSourceName(const Json::Value& builderConfig, int slotNum)
{
    return fromStd(Kalo480ConfigEditor::inputRouterGetSourceName(builderConfig, slotNum));
}

QList<int> Reconfigurator::inputRouterSwapOptionsForSlotNum(const Json::Value& builderConfig,
                                                            int slotNum)
{
    try {
        const std::vector<int> options =
            Kalo480ConfigEditor::inputRouterSwapOptionsForSlotNum(builderConfig, slotNum, true);
        return QList<int>(options.begin(), options.end());
    } catch (const std::exception& error) {
        refused("input-router choices", fromStd(error.what()));
        return QList<int>();
    }
}

QString Reconfigurator::inputRouterGetSourceNameForSourceID(const Json::Value& builderConfig,
                                                            int sourceID)
{
    Q_UNUSED(builderConfig)
    return fromStd(Kalo480ConfigEditor::inputRouterGetSourceNameForSourceID(sourceID));
}

QStringList Reconfigurator::recommendedInputNames()
{
    std::vector<std::string> names;
    Kalo480ConfigEditor::recommendedInputNames(names);
    QStringList list;
    for (const std::string& name : names)
        list.append(fromStd(name));
    return list;
}
