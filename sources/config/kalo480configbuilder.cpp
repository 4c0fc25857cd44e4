#include "kalo480configbuilder.h"

#include "jsonaccess.h"
#include "kalo480configtemplates.h"

#include <stdexcept>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;
using Templates = Kalo480ConfigTemplates::Templates;

Kalo480ConfigBuilder* Kalo480ConfigBuilder::_instance = nullptr;

namespace {

const char* const fixedObjects[] = {"SignalGenerator", "RTARouter",  "RTA",       "MidMeters",
                                    "InputMeters",     "InputGains", "Meters123", "MetersABC",
                                    "OutputMeters",    "Inputs1",    "Inputs2",   "Inputs3",
                                    "Outputs1",        "Outputs2",   "Outputs3"};

bool isCrossoverTemplate(const std::string& name)
{
    return name == Templates::Out_CrossoverQX8 || name == Templates::Out_CrossoverIIR ||
           name == Templates::Out_CrossoverFIR;
}

bool isSingleRowTemplate(const std::string& name)
{
    for (const char* kind : {"Mid_Mixer", "Mid_Router", "In_Mixer", "In_Router"}) {
        if (name.find(kind) != std::string::npos)
            return true;
    }
    return false;
}

// A row count as an item states it: a whole number of rows that fits a column.
bool itemCount(const Json::Value& item, int& count)
{
    return jsonaccess::wholeNumber(element(item, 1), 1, Kalo480ConfigBuilder::maxColumnRows, count);
}

std::string indexName(std::string pattern, int index)
{
    for (char& c : pattern) {
        if (c == '#')
            c = static_cast<char>('0' + index);
    }
    return pattern;
}

} // namespace

Kalo480ConfigBuilder* Kalo480ConfigBuilder::instance()
{
    if (!_instance)
        _instance = new Kalo480ConfigBuilder;
    return _instance;
}

void Kalo480ConfigBuilder::setTemplates(const Json::Value& templates)
{
    m_templates = templates;
    ++m_templatesGeneration;
}

bool Kalo480ConfigBuilder::buildConfig(Json::Value& result, const Json::Value& builderConfig)
{
    m_errorText.clear();
    m_validationLog.clear();
    try {
        build(result, builderConfig);
        return true;
    } catch (const std::runtime_error& error) {
        m_errorText = error.what();
    } catch (...) {
        m_errorText = "Unclassified failure.";
    }
    result = Json::Value();
    return false;
}

void Kalo480ConfigBuilder::build(Json::Value& result, const Json::Value& builderConfig)
{
    if (!m_templates.isObject())
        throw std::runtime_error("Templates do not exist.");
    const Json::Value& version = member(m_templates, ".version");
    if (!version.isNumeric() || version.asDouble() != 19)
        throw std::runtime_error("Templates are wrong version.");
    if (!builderConfig.isObject())
        throw std::runtime_error("Unexpected format for builder config.");
    const Json::Value& format = member(builderConfig, "Format");
    if (!format.isString() || format.asString() != "BuilderConfig")
        throw std::runtime_error("Format must be BuilderConfig");
    const Json::Value& device = member(builderConfig, "Device");
    if (!device.isString() || device.asString() != "Kalo480")
        throw std::runtime_error("Device must be Kalo480.");
    const Json::Value& configVersion = member(builderConfig, "Version");
    if (!configVersion.isNumeric() || configVersion.asDouble() != 5)
        throw std::runtime_error("Unsupported builder config version.");

    // Built aside so that a failure never leaves a half-made configuration with the caller.
    Json::Value made(Json::objectValue);
    installFixedPOs(made);
    installDynamicPOs(made, builderConfig);
    createGridsDisplay(made);
    createGridsOA(made);
    createWires(made);
    if (!validateWiring(made))
        throw std::runtime_error("Wiring is invalid.");
    if (!validateGrids(made))
        throw std::runtime_error("Grids are invalid.");
    made[".builderConfig"] = builderConfig;
    result = std::move(made);
}

Json::Value Kalo480ConfigBuilder::getDefault() const
{
    const Json::Value& defaults = member(m_templates, ".default");
    return defaults.isObject() ? defaults : Json::Value();
}

int Kalo480ConfigBuilder::itemHeight(const Json::Value& item) const
{
    if (item.isNull())
        return 1;
    if (!item.isArray() || item.empty() || !item[0].isString())
        return -1;
    const std::string templateName = item[0].asString();
    if (isSingleRowTemplate(templateName))
        return 1;
    // An output and the input router fill one row each, whatever their second element says.
    if (templateName == Templates::Output || templateName == "InputRouter")
        return 1;
    int count = 0;
    if (templateName == Templates::Out_CrossoverFIR || !isCrossoverTemplate(templateName))
        return itemCount(item, count) ? count : -1;
    try {
        int inputs = 0;
        int outputs = 0;
        crossoverInfo(item, inputs, outputs);
        return outputs;
    } catch (const std::runtime_error&) {
        return -1;
    }
}

void Kalo480ConfigBuilder::crossoverInfo(const Json::Value& item, int& inputs, int& outputs) const
{
    crossoverInfo(text(element(item, 0)), text(element(item, 1)), inputs, outputs);
}

void Kalo480ConfigBuilder::crossoverInfo(const std::string& templateName,
                                         const std::string& typeName, int& inputs,
                                         int& outputs) const
{
    // Throws "unsupported crossoverType" for any other template.
    const Json::Value& table = Kalo480ConfigTemplates::crossoverTypeTable(templateName);
    if (templateName == Templates::Out_CrossoverQX8) {
        const Json::Value& entry = member(table, typeName);
        int slots = 0;
        int bands = 0;
        int monoSub = 0;
        if (!jsonaccess::wholeNumber(element(entry, 0), 1, 3, slots) ||
            !jsonaccess::wholeNumber(element(entry, 1), 1, 6, bands) ||
            !jsonaccess::wholeNumber(element(entry, 2), 0, 1, monoSub) ||
            slots * bands + monoSub > maxColumnRows)
            throw std::runtime_error("unsupported crossoverSecondaryType");
        inputs = slots;
        outputs = slots * bands + monoSub;
    } else if (templateName == Templates::Out_CrossoverIIR) {
        const int code = Kalo480ConfigTemplates::getCrossoverCode(templateName, typeName);
        const int m = code / 10000;
        const int n = code / 1000 % 10;
        const int w = code / 100 % 10;
        const int f = code / 10 % 10;
        const int s = code % 10;
        // A type whose words do not parse would cover no rows at all.
        if (code == 0 || n * w + s > maxColumnRows)
            throw std::runtime_error("unsupported crossoverSecondaryType");
        inputs = m + (f == 4 ? 1 : 0);
        outputs = n * w + s;
    }
    // The FIR table is empty: an FIR item counts its rows like any other item and leaves the
    // caller's inputs and outputs as they were.
    (void)table;
}

bool Kalo480ConfigBuilder::applyChannels(Json::Value& object, int n) const
{
    if (!object.isObject() || !member(object, "Attributes").isObject() ||
        !member(object["Attributes"], "NumChans").isNumeric())
        return false;
    object["Attributes"]["NumChans"] = n;
    return true;
}

bool Kalo480ConfigBuilder::createPOFromTemplate(Json::Value& out,
                                                const std::string& templateName) const
{
    out = Json::Value(Json::objectValue);
    const Json::Value& found = member(m_templates, templateName);
    if (!found.isObject())
        return false;
    out = found;
    return true;
}

bool Kalo480ConfigBuilder::installPOFromTemplate(Json::Value& result, const std::string& name) const
{
    Json::Value object;
    const bool found = createPOFromTemplate(object, name);
    object.removeMember(".builder");
    result[name] = object;
    return found;
}

bool Kalo480ConfigBuilder::makePOFromTemplateWithChanges(Json::Value& out, std::string& name,
                                                         const std::string& templateName, int index,
                                                         int numChans) const
{
    if (!createPOFromTemplate(out, templateName))
        return false;
    if (out.isMember(".builder")) {
        const Json::Value& pattern = member(out[".builder"], "NamePattern");
        if (!pattern.isString())
            return false;
        name = indexName(pattern.asString(), index);
        out.removeMember(".builder");
    }
    if (numChans >= 1) {
        if (!member(out, "Attributes").isObject())
            return false;
        out["Attributes"]["NumChans"] = numChans;
    }
    return true;
}

bool Kalo480ConfigBuilder::makeCrossoverQX8(Json::Value& out, std::string& name, int index,
                                            const std::string& typeName, int& outputs) const
{
    if (!createPOFromTemplate(out, Templates::Out_CrossoverQX8))
        return false;
    const Json::Value& entry = member(member(m_templates, ".crossoverQX8Types"), typeName);
    if (!entry.isArray())
        return false;
    int inputs = 0;
    crossoverInfo(Templates::Out_CrossoverQX8, typeName, inputs, outputs);
    out[".info"] = typeName;
    out[".type"] = "QX8 " + typeName;
    name = indexName(text(member(member(out, ".builder"), "NamePattern")), index);
    out.removeMember(".builder");
    if (!member(out, "Attributes").isObject())
        return false;
    out["Attributes"]["NumSlots"] = entry[0];
    out["Attributes"]["NumBands"] = entry[1];
    out["Attributes"]["MonoSub"] = entry[2];
    return true;
}

bool Kalo480ConfigBuilder::makeCrossoverIIR(Json::Value& out, std::string& name, int index,
                                            const std::string& typeName, int& outputs) const
{
    if (!createPOFromTemplate(out, Templates::Out_CrossoverIIR))
        return false;
    if (!member(member(m_templates, ".crossoverIIRTypes"), typeName).isArray())
        return false;
    out[".type"] = "IIR " + typeName;
    name = indexName(text(member(member(out, ".builder"), "NamePattern")), index);
    out.removeMember(".builder");
    if (!member(out, "Attributes").isObject())
        return false;

    const int code =
        Kalo480ConfigTemplates::getCrossoverCode(Templates::Out_CrossoverIIR, typeName);
    const int m = code / 10000;
    const int n = code / 1000 % 10;
    const int w = code / 100 % 10;
    const int f = code / 10 % 10;
    const int s = code % 10;
    const int subByN = (f == 1 || f == 4) && (s == 2 || s == 3);
    const int subByFormat = s != 0 && !subByN;
    const int subSumMono = f == 1 && f < m;
    const int subSumStereo = f == 2 && f < m;
    const int subNoSum = f == m;
    const int auxSub = f == 4;
    // A templates file that breaks these would make a crossover the device cannot run.
    if (code == 0 || !(subNoSum == 0 || subByN != subByFormat) ||
        !(f == 0 || subSumMono + subSumStereo + subNoSum + auxSub == 1) ||
        n * w + s > maxColumnRows)
        throw std::runtime_error("Invalid crossover type.");

    Json::Value& attributes = out["Attributes"];
    attributes["Format"] = m;
    attributes["NumMainCabinets"] = n;
    attributes["NumBands"] = w;
    attributes["SubFormat"] = f;
    attributes["NumSubCabinets"] = s;
    attributes["CabByN"] = static_cast<int>(n > m);
    attributes["CabByBand"] = static_cast<int>(n <= m);
    attributes["SubByN"] = subByN;
    attributes["SubByFormat"] = subByFormat;
    attributes["SubSumMono"] = subSumMono;
    attributes["SubSumStereo"] = subSumStereo;
    attributes["SubNoSum"] = subNoSum;
    attributes["AuxSub"] = auxSub;
    attributes["CutMain"] = static_cast<int>(m == 1 && f > 0 && f != 4);
    attributes["CutSub"] = static_cast<int>(m >= 2 && f > 0 && f != 4);
    outputs = n * w + s;
    std::string info;
    info += static_cast<char>('0' + m + auxSub);
    info += 'x';
    info += static_cast<char>('0' + outputs);
    out[".info"] = info;
    return true;
}

void Kalo480ConfigBuilder::installFixedPOs(Json::Value& result) const
{
    for (const char* name : fixedObjects)
        installPOFromTemplate(result, name);
}

bool Kalo480ConfigBuilder::installDynamicPOs(Json::Value& result, const Json::Value& builderConfig)
{
    m_columnMap = Json::Value(Json::objectValue);
    const Json::Value& columns = member(builderConfig, "Columns");
    if (!columns.isArray())
        return false;
    for (const Json::Value& column : columns) {
        if (!installColumn(result, column))
            return false;
    }
    return true;
}

bool Kalo480ConfigBuilder::installColumn(Json::Value& result, const Json::Value& column)
{
    if (!column.isArray() || column.empty() || !column[0].isString())
        return false;
    const std::string columnName = column[0].asString();
    m_columnMap[columnName] = Json::Value(Json::arrayValue);
    int index = 1;
    for (Json::ArrayIndex position = 1; position < column.size(); ++position) {
        const Json::Value& item = column[position];
        if (item.isNull()) {
            m_columnMap[columnName].append("EMPTY");
            ++index;
            continue;
        }
        if (!item.isArray() || item.empty() || !item[0].isString())
            return false;
        if (!installItem(result, columnName, item, column[1], static_cast<int>(position), index))
            return false;
    }
    return true;
}

bool Kalo480ConfigBuilder::installItem(Json::Value& result, const std::string& columnName,
                                       const Json::Value& item, const Json::Value& inputRouterItem,
                                       int position, int& index)
{
    const std::string templateName = item[0].asString();
    Json::Value object;
    std::string name;
    int rows = 1;
    if (columnName == "Column_InputRouter") {
        const Json::Value& sources = element(inputRouterItem, 1);
        if (!makePOFromTemplateWithChanges(object, name, "InputRouter", index, 0) ||
            jsonaccess::size(sources) < 7 || !object["Attributes"].isObject())
            return false;
        for (int slot = 0; slot < 7; ++slot)
            object["Attributes"]["Slot" + std::to_string(slot + 1) + "Source"] = sources[slot];
        result[name] = object;
        index += 6;
        return true;
    }
    if (columnName == "Column_Output") {
        const Json::Value& outputName = element(item, 1);
        if (!outputName.isString() ||
            !makePOFromTemplateWithChanges(object, name, Templates::Output, index, 0) ||
            !object["Attributes"].isObject())
            return false;
        name = "Output" + std::to_string(index);
        object[".info"] = std::to_string(index);
        object["Attributes"]["OutputName"] = outputName;
    } else if (columnName == "Column_In_Mixer" || columnName == "Column_Mid_Mixer") {
        if (!makePOFromTemplateWithChanges(object, name, templateName, index, 0))
            return false;
        applyMixerGains(object, templateName, position);
    } else if (templateName == Templates::Out_CrossoverQX8 ||
               templateName == Templates::Out_CrossoverIIR) {
        const std::string typeName = text(element(item, 1));
        if (typeName.empty())
            return false;
        const bool made = templateName == Templates::Out_CrossoverQX8
                              ? makeCrossoverQX8(object, name, index, typeName, rows)
                              : makeCrossoverIIR(object, name, index, typeName, rows);
        if (!made)
            return false;
    } else {
        if (!itemCount(item, rows) ||
            !makePOFromTemplateWithChanges(object, name, templateName, index, rows))
            return false;
        if (templateName == Templates::In_Nuq) {
            if (!object["Attributes"].isObject())
                object["Attributes"] = Json::Value(Json::objectValue);
            object["Attributes"]["ProcessDelay"] = 2 * position - 2;
        }
    }
    // An unknown template or one without a name pattern would give a nameless object.
    if (name.empty())
        return false;
    storeObject(result, name, object, rows, columnName);
    index += rows;
    return true;
}

void Kalo480ConfigBuilder::storeObject(Json::Value& result, const std::string& name,
                                       const Json::Value& object, int rows,
                                       const std::string& columnName)
{
    // Two objects of one name would silently lose the first one.
    if (result.isMember(name))
        throw std::runtime_error("Duplicate processing object name.");
    result[name] = object;
    Json::Value& entries = m_columnMap[columnName];
    entries.append(name);
    for (int row = 1; row < rows; ++row)
        entries.append("LINKED");
}

void Kalo480ConfigBuilder::applyMixerGains(Json::Value& object, const std::string& templateName,
                                           int position)
{
    if (templateName.find("Mixer") == std::string::npos)
        return;
    int inputs = 0;
    if (!jsonaccess::wholeNumber(member(member(object, "Attributes"), "NumInputs"), 0, 64, inputs))
        return;
    if (!object["SVValues"].isObject())
        object["SVValues"] = Json::Value(Json::objectValue);
    const int open = (position - 1) % 3 + 1;
    for (int input = 1; input <= inputs; ++input) {
        const bool on = input == inputs || input == open;
        object["SVValues"]["Output_1_Input_" + std::to_string(input) + "_Gain"] = on ? "0" : "-120";
    }
}
