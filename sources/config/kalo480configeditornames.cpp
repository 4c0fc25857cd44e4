// Display names, crossover codes and the other lookups in the templates file.
#include "kalo480configeditor.h"

#include "jsonaccess.h"
#include "kalo480configbuilder.h"

#include <algorithm>
#include <map>
#include <stdexcept>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;

namespace {

std::string& platformWord()
{
    static std::string word = "fp";
    return word;
}

Json::Value& builderConfigCopy()
{
    static Json::Value copy;
    return copy;
}

// Code to IIR type name, filled once per templates file.
struct CodeMap
{
    unsigned generation = 0;
    std::map<int, std::string> types;
};

CodeMap& codeMap()
{
    static CodeMap map;
    return map;
}

// A value as text for a name placeholder, or "ERROR" when it has none.
std::string placeholderText(const Json::Value& value)
{
    if (value.isArray() || value.isObject())
        return "ERROR";
    return value.asString();
}

void replaceFirst(std::string& name, char placeholder, const std::string& with)
{
    const std::string::size_type at = name.find(placeholder);
    if (at != std::string::npos)
        name.replace(at, 1, with);
}

} // namespace

Json::Value Kalo480ConfigEditor::_getNameAsJson(const std::string& what, const Json::Value& po)
{
    const Json::Value& type = member(po, ".type");
    if (!type.isString())
        return Json::Value();
    const Json::Value& record = member(member(templates(), ".names"), type.asString());
    if (!record.isObject())
        return Json::Value();
    const Json::Value& override = member(member(record, platformWord()), what);
    return override.isNull() ? member(record, what) : override;
}

std::string Kalo480ConfigEditor::buildItemName(const std::string& what, const Json::Value& po)
{
    const Json::Value value = _getNameAsJson(what, po);
    if (!value.isString())
        return std::string();
    std::string name = value.asString();
    if (name.find('#') != std::string::npos)
        replaceFirst(name, '#', placeholderText(member(po, ".info")));
    const std::string type = text(member(po, ".type"));
    if (type == "OutputName" && name.find('*') != std::string::npos)
        replaceFirst(name, '*', placeholderText(member(member(po, "Attributes"), "OutputName")));
    if (type == "FixedInputRoute" && name.find('*') != std::string::npos) {
        const std::string info = placeholderText(member(po, ".info"));
        const bool hasSlot = !info.empty() && info != "ERROR";
        if (what == "long") {
            if (builderConfigCopy().isNull())
                return std::string();
            replaceFirst(name, '*',
                         hasSlot ? inputRouterGetSourceName(builderConfigCopy(), info[0] - '0')
                                 : "ERROR");
        } else if (what == "short") {
            replaceFirst(name, '*', hasSlot ? info.substr(0, 1) : "ERROR");
        }
    }
    return name;
}

std::string Kalo480ConfigEditor::getShortName(const Json::Value& po)
{
    return buildItemName("short", po);
}

std::string Kalo480ConfigEditor::getLongName(const Json::Value& po)
{
    return buildItemName("long", po);
}

std::string Kalo480ConfigEditor::getCrossoverName(const Json::Value& po, bool keepStars)
{
    std::string name = buildItemName("xover", po);
    if (!keepStars)
        name.erase(std::remove(name.begin(), name.end(), '*'), name.end());
    return name;
}

void Kalo480ConfigEditor::crossoverNamesKey(const std::string& templateName,
                                            const std::string& type, Json::Value& key)
{
    key = Json::Value(Json::objectValue);
    if (templateName == Templates::Out_CrossoverIIR)
        key[".type"] = "IIR " + type;
    else if (templateName == Templates::Out_CrossoverQX8)
        key[".type"] = "QX8 " + type;
}

std::string Kalo480ConfigEditor::lookupCrossoverSecondaryType(const std::string& templateName,
                                                              int code)
{
    if (templateName != Templates::Out_CrossoverIIR)
        return std::string();
    CodeMap& map = codeMap();
    const unsigned generation = Kalo480ConfigBuilder::instance()->templatesGeneration();
    if (map.types.empty() || map.generation != generation) {
        map.types.clear();
        map.generation = generation;
        const Json::Value& table = crossoverTypeTable(templateName);
        if (table.isObject()) {
            for (const std::string& type : table.getMemberNames()) {
                if (member(table, type).isArray())
                    map.types[getCrossoverCode(templateName, type)] = type;
            }
        }
    }
    const auto found = map.types.find(code);
    return found == map.types.end() ? std::string() : found->second;
}

int Kalo480ConfigEditor::crossoverCodeFromWizardSVs(int mode, int mains, int ways, bool hasSub,
                                                    bool auxFed, int subLayout)
{
    static const int subFormats[] = {1, 1, 1, 2, 3};
    static const int subCounts[] = {1, 2, 3, 2, 3};
    if (mode < 0 || mode > 2 || mains < 0 || mains > 2 || ways < 0 || ways > 5)
        return 0;
    if (hasSub && (subLayout < 0 || subLayout > 4))
        return 0;
    const int m = mode + 1;
    const int n = mode != 0 ? mode + 1 : mains + 1;
    const int w = ways + 1;
    const int f = hasSub ? (auxFed ? 4 : subFormats[subLayout]) : 0;
    const int s = hasSub ? subCounts[subLayout] : 0;
    return m * 10000 + n * 1000 + w * 100 + f * 10 + s;
}

int Kalo480ConfigEditor::getCrossoverSortIndex(const std::string& templateName,
                                               const std::string& type)
{
    Json::Value key;
    crossoverNamesKey(templateName, type, key);
    int index = 0;
    return jsonaccess::wholeNumber(_getNameAsJson("n", key), -1000000, 1000000, index) ? index : 0;
}

std::string Kalo480ConfigEditor::getCrossoverBandName(const Json::Value& po, int band)
{
    return text(element(_getNameAsJson("bands", po), band - 1));
}

std::string Kalo480ConfigEditor::getCrossoverBandName(const std::string& templateName,
                                                      const std::string& type, int band)
{
    Json::Value key;
    crossoverNamesKey(templateName, type, key);
    return getCrossoverBandName(key, band);
}

std::string Kalo480ConfigEditor::getCrossoverConfigImageName(const std::string& templateName,
                                                             const std::string& type)
{
    Json::Value key;
    crossoverNamesKey(templateName, type, key);
    return buildItemName("imgCC", key);
}

std::string Kalo480ConfigEditor::getSpeakerStackImageName(const std::string& templateName,
                                                          const std::string& type)
{
    Json::Value key;
    crossoverNamesKey(templateName, type, key);
    return buildItemName("imgSS", key);
}

std::string
Kalo480ConfigEditor::getDescriptionUsingCrossoverAndSpeakers(int code, const std::string& speakerA,
                                                             const std::string& speakerB)
{
    Json::Value key;
    crossoverNamesKey(Templates::Out_CrossoverIIR,
                      lookupCrossoverSecondaryType(Templates::Out_CrossoverIIR, code), key);
    std::string description = getCrossoverName(key, true);
    replaceFirst(description, '*', " " + speakerA);
    replaceFirst(description, '*', " " + speakerB);
    return description;
}

void Kalo480ConfigEditor::_getNamesFromTemplates(const std::string& key,
                                                 std::vector<std::string>& out)
{
    out.clear();
    const Json::Value& names = member(templates(), key);
    if (!names.isArray())
        return;
    for (const Json::Value& name : names) {
        if (name.isString())
            out.push_back(name.asString());
    }
}

void Kalo480ConfigEditor::recommendedInputNames(std::vector<std::string>& out)
{
    _getNamesFromTemplates(".recommendedInputNames", out);
}

void Kalo480ConfigEditor::recommendedOutputNames(std::vector<std::string>& out)
{
    _getNamesFromTemplates(".recommendedOutputNames", out);
}

bool Kalo480ConfigEditor::isCopyPasteCompatible(const std::string& typeA, const std::string& typeB)
{
    if (typeA == typeB)
        return true;
    const Json::Value& groups = member(templates(), ".copyPasteCompatibility");
    if (!groups.isArray())
        return false;
    for (const Json::Value& group : groups) {
        bool holdsA = false;
        bool holdsB = false;
        for (const Json::Value& name : group) {
            holdsA = holdsA || text(name) == typeA;
            holdsB = holdsB || text(name) == typeB;
        }
        if (holdsA && holdsB)
            return true;
    }
    return false;
}

Json::Value Kalo480ConfigEditor::getCopyPasteCompatibleTypes(const std::string& type)
{
    for (const Json::Value& group : member(templates(), ".copyPasteTypeCompatibility")) {
        for (const Json::Value& name : group) {
            if (text(name) == type)
                return group;
        }
    }
    return Json::Value();
}

void Kalo480ConfigEditor::setPlatform(const std::string& word)
{
    platformWord() = word;
}

void Kalo480ConfigEditor::setBuilderConfig(const Json::Value& config)
{
    builderConfigCopy() = config;
}
