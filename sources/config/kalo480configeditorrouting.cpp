// Input-router sources and output names.
#include "kalo480configeditor.h"

#include "jsonaccess.h"
#include "kalo480configbuilder.h"

#include <algorithm>
#include <stdexcept>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;

namespace {

constexpr int slotCount = 7;
constexpr int lastSource = 14;
constexpr int outputCount = 6;

bool validSlot(int slot)
{
    return slot >= 1 && slot <= slotCount;
}

Json::Value& routerSources(Json::Value& config)
{
    Json::Value& item = Kalo480ConfigEditor::itemAtPath(config, 0, 1);
    if (!element(item, 1).isArray())
        throw std::runtime_error("bad item at path");
    return item[1];
}

} // namespace

int Kalo480ConfigEditor::inputRouterGetSource(const Json::Value& config, int slot)
{
    if (!validSlot(slot))
        return -1;
    int source = 0;
    if (!jsonaccess::wholeNumber(element(element(itemAtPath(config, 0, 1), 1), slot - 1), 0,
                                 lastSource, source))
        throw std::runtime_error("bad item at path");
    return source;
}

void Kalo480ConfigEditor::inputRouterSetSource(Json::Value& config, int slot, int source)
{
    if (!validSlot(slot) || source < 0 || source > lastSource)
        return;
    Json::Value& sources = routerSources(config);
    if (jsonaccess::size(sources) < slot)
        throw std::runtime_error("bad item at path");
    sources[slot - 1] = source;
}

std::string Kalo480ConfigEditor::inputRouterGetSourceName(const Json::Value& config, int slot)
{
    if (!validSlot(slot))
        return std::string();
    std::string name;
    try {
        name = inputRouterGetSourceNameForSourceID(inputRouterGetSource(config, slot));
    } catch (const std::exception&) {
    }
    return name.empty() ? "InputSlot" + std::to_string(slot) : name;
}

std::string Kalo480ConfigEditor::inputRouterGetSourceNameForSourceID(int source)
{
    if (source < 0 || source > lastSource)
        return std::string();
    const Json::Value& attributes = member(member(templates(), "InputRouter"), "Attributes");
    return text(member(attributes, "Source" + std::to_string(source + 1) + "Name"));
}

std::vector<int> Kalo480ConfigEditor::inputRouterSwapOptionsForSlotNum(const Json::Value& config,
                                                                       int slot, bool excludeUsed)
{
    std::vector<int> options;
    if (!validSlot(slot))
        return options;
    options.push_back(slot - 1);
    for (int card = 7; card <= lastSource; ++card)
        options.push_back(card);
    if (!excludeUsed)
        return options;
    for (int other = 1; other <= slotCount; ++other) {
        if (other == slot)
            continue;
        const auto used =
            std::find(options.begin(), options.end(), inputRouterGetSource(config, other));
        if (used != options.end())
            options.erase(used);
    }
    return options;
}

std::string Kalo480ConfigEditor::outputsGetOutputName(const Json::Value& config, int output)
{
    if (output < 1 || output > outputCount)
        return std::string();
    return text(element(itemAtPath(config, 14, output), 1));
}

void Kalo480ConfigEditor::outputsSetOutputName(Json::Value& config, int output,
                                               const std::string& name)
{
    if (output < 1 || output > outputCount)
        return;
    Json::Value& item = itemAtPath(config, 14, output);
    if (!item.isArray())
        item = Json::Value(Json::arrayValue);
    item[0] = Templates::Output;
    item[1] = name;
}

std::string Kalo480ConfigEditor::getDefaultOutputName(int n)
{
    // Decimal rather than one character, so that no number can give a punctuation mark.
    return "Output " + std::to_string(n);
}

std::string Kalo480ConfigEditor::getRecommendedCrossoverOutputName(const std::string& templateName,
                                                                   const std::string& typeName,
                                                                   int k)
{
    if (templateName != Templates::Out_CrossoverIIR)
        return std::string();
    const Json::Value& record = member(member(templates(), ".names"), "IIR " + typeName);
    return text(element(member(record, "outputs"), k - 1));
}
