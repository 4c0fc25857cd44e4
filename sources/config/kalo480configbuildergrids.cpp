// Grids, wires and their validation: the second half of the builder.
#include "kalo480configbuilder.h"

#include "jsonaccess.h"

#include <json/writer.h>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;

namespace {

const char* const inputColumns[] = {"Column_In_Mixer", "Column_In_Nuq", "Column_In_Insert1",
                                    "Column_In_Insert2"};
const char* const displayOutColumns[] = {
    "Column_Mid_Mixer", "Column_Mid_AutoEQ",  "Column_Mid_Insert", "Column_Out_Crossover",
    "Column_Out_PEQ",   "Column_Out_Limiter", "Column_Out_Delay",  "Column_Output"};

struct RowLimit
{
    const char* column;
    int rows;
};

const RowLimit rowLimits[] = {
    {"Column_In_Mixer", 3},     {"Column_In_Nuq", 3},        {"Column_In_Insert1", 3},
    {"Column_In_Insert2", 3},   {"Column_Mid_Mixer", 6},     {"Column_Mid_AutoEQ", 6},
    {"Column_Mid_Insert", 6},   {"Column_Out_Crossover", 6}, {"Column_Out_PEQ", 6},
    {"Column_Out_ZoneGain", 6}, {"Column_Out_Gain", 6},      {"Column_Out_Limiter", 6},
    {"Column_Out_Delay", 6},    {"Column_Output", 6}};

struct MidWiring
{
    const char* type;
    int base;
    int count;
};

const MidWiring midWiring[] = {{"MidMixerABC", 0, 3},    {"MidRouterABC", 0, 3},
                               {"MidMixer123", 3, 3},    {"MidRouter123", 3, 3},
                               {"MidMixerInputs", 6, 7}, {"FixedInputRoute", 6, 7}};

std::string styled(const Json::Value& value)
{
    Json::StreamWriterBuilder writer;
    return Json::writeString(writer, value);
}

Json::Value grid(const char* name, Json::Value map)
{
    Json::Value result(Json::objectValue);
    result["Name"] = name;
    result["Map"] = std::move(map);
    return result;
}

Json::Value namesColumn(std::initializer_list<const char*> names)
{
    Json::Value column(Json::arrayValue);
    for (const char* name : names)
        column.append(name);
    return column;
}

bool isPlaceholder(const std::string& entry)
{
    return entry == "EMPTY" || entry == "LINKED";
}

} // namespace

Json::Value Kalo480ConfigBuilder::columnCopy(const std::string& columnName, bool objectsOnly) const
{
    Json::Value copy(Json::arrayValue);
    for (const Json::Value& entry : member(m_columnMap, columnName)) {
        if (!objectsOnly || !isPlaceholder(text(entry)))
            copy.append(entry);
    }
    return copy;
}

void Kalo480ConfigBuilder::createGridsDisplay(Json::Value& result) const
{
    Json::Value in(Json::arrayValue);
    in.append(namesColumn({"InputRouter"}));
    for (const char* column : inputColumns)
        in.append(columnCopy(column, false));
    Json::Value rta(Json::arrayValue);
    rta.append(namesColumn({"RTA"}));
    Json::Value out(Json::arrayValue);
    for (const char* column : displayOutColumns)
        out.append(columnCopy(column, false));

    Json::Value& grids = result["gridsDisplay"] = Json::Value(Json::arrayValue);
    grids.append(grid("in", std::move(in)));
    grids.append(grid("rta", std::move(rta)));
    grids.append(grid("out", std::move(out)));
}

void Kalo480ConfigBuilder::createGridsOA(Json::Value& result) const
{
    Json::Value map(Json::arrayValue);
    map.append(namesColumn(
        {"InputRouter", "Output1", "Output2", "Output3", "Output4", "Output5", "Output6"}));
    map.append(namesColumn({"SignalGenerator", "RTARouter", "RTA", "InputMeters", "Meters123",
                            "MetersABC", "MidMeters", "OutputMeters"}));
    map.append(namesColumn({"Inputs1"}));
    map.append(namesColumn({"InputGains"}));
    for (const char* column : inputColumns)
        map.append(columnCopy(column, true));
    map.append(namesColumn({"Outputs1"}));
    map.append(namesColumn({"Inputs2"}));
    for (const char* column : {"Column_Mid_Mixer", "Column_Mid_AutoEQ", "Column_Mid_Insert"})
        map.append(columnCopy(column, true));
    map.append(namesColumn({"Outputs2"}));
    map.append(namesColumn({"Inputs3"}));
    map.append(columnCopy("Column_Out_Crossover", true));
    map.append(columnCopy("Column_Out_PEQ", true));
    for (const char* column : {"Column_Out_ZoneGain", "Column_Out_Gain"}) {
        const Json::Value& entries = member(m_columnMap, column);
        if (entries.isArray() && !entries.empty())
            map.append(columnCopy(column, true));
    }
    map.append(columnCopy("Column_Out_Limiter", true));
    map.append(columnCopy("Column_Out_Delay", true));
    map.append(namesColumn({"Outputs3"}));

    Json::Value& grids = result["gridsOA"] = Json::Value(Json::arrayValue);
    grids.append(grid("POMap", std::move(map)));
}

void Kalo480ConfigBuilder::addWire(Json::Value& wires, const std::string& source, int sourceChannel,
                                   const std::string& destination, int destinationChannel)
{
    Json::Value from(Json::arrayValue);
    from.append(source);
    from.append(sourceChannel);
    Json::Value to(Json::arrayValue);
    to.append(destination);
    to.append(destinationChannel);
    Json::Value wire(Json::arrayValue);
    wire.append(std::move(from));
    wire.append(std::move(to));
    wires.append(std::move(wire));
}

void Kalo480ConfigBuilder::createWires(Json::Value& result) const
{
    Json::Value& wires = result["wires"] = Json::Value(Json::arrayValue);
    for (int k = 0; k <= 6; ++k)
        addWire(wires, "InputGains", k, "InputMeters", k);
    const Json::Value& inMixers = member(m_columnMap, "Column_In_Mixer");
    for (int i = 0; i < jsonaccess::size(inMixers); ++i) {
        if (text(inMixers[i]) != "EMPTY")
            addWire(wires, text(inMixers[i]), 0, "Outputs1", i + 3);
    }
    for (int k = 0; k < 3; ++k)
        addWire(wires, "Inputs2", 3 + k, "Meters123", k);
    for (int k = 0; k < 3; ++k)
        addWire(wires, "Inputs2", k, "MetersABC", k);
    for (int k = 0; k <= 14; ++k)
        addWire(wires, "Inputs2", k, "RTARouter", k);
    addWire(wires, "RTARouter", 0, "RTA", 0);
    addWire(wires, "SignalGenerator", 0, "Outputs2", 6);
    addMidMixerWires(wires, result);
    const Json::Value& midMixers = member(m_columnMap, "Column_Mid_Mixer");
    for (int i = 0; i < jsonaccess::size(midMixers); ++i) {
        if (text(midMixers[i]) != "EMPTY")
            addWire(wires, text(midMixers[i]), 0, "MidMeters", i);
    }
    addOutputMeterWires(wires);
    for (int k = 0; k <= 7; ++k)
        addWire(wires, "Inputs1", k, "Outputs1", 8 + k);
}

void Kalo480ConfigBuilder::addMidMixerWires(Json::Value& wires, const Json::Value& result) const
{
    for (const Json::Value& entry : member(m_columnMap, "Column_Mid_Mixer")) {
        const std::string name = text(entry);
        if (name == "EMPTY")
            continue;
        const std::string type = text(member(member(result, name), ".type"));
        for (const MidWiring& wiring : midWiring) {
            if (type != wiring.type)
                continue;
            for (int k = 0; k < wiring.count; ++k)
                addWire(wires, "Inputs2", wiring.base + k, name, k);
            addWire(wires, "Inputs2", 13, name, wiring.count);
            break;
        }
    }
}

void Kalo480ConfigBuilder::addOutputMeterWires(Json::Value& wires) const
{
    const Json::Value& delays = member(m_columnMap, "Column_Out_Delay");
    const int rows = jsonaccess::size(delays);
    int running = 0;
    for (int i = 0; i < rows; ++i) {
        const std::string name = text(delays[i]);
        if (isPlaceholder(name))
            continue;
        int span = 1;
        while (i + span < rows && text(delays[i + span]) == "LINKED")
            ++span;
        for (int channel = 0; channel < span; ++channel)
            addWire(wires, name, channel, "OutputMeters", running + channel);
        running += span;
    }
}

bool Kalo480ConfigBuilder::validateWiring(const Json::Value& result)
{
    if (!result.isObject()) {
        m_validationLog += "expected config to be an object\n";
        return false;
    }
    const Json::Value& wires = member(result, "wires");
    if (!wires.isArray()) {
        m_validationLog += "expected wires to be an array\n";
        return false;
    }
    for (const Json::Value& wire : wires) {
        if (!validateWire(result, wire))
            return false;
    }
    return true;
}

bool Kalo480ConfigBuilder::validateWire(const Json::Value& result, const Json::Value& wire)
{
    const char* failure = nullptr;
    const Json::Value& source = element(wire, 0);
    const Json::Value& destination = element(wire, 1);
    const Json::Value& sourceObject = member(result, text(element(source, 0)));
    const Json::Value& destinationObject = member(result, text(element(destination, 0)));
    const Json::Value& sourceProperties = member(sourceObject, "Properties");
    const Json::Value& destinationProperties = member(destinationObject, "Properties");
    const Json::Value& sourceDsp = member(sourceProperties, "DSP");
    const Json::Value& destinationDsp = member(destinationProperties, "DSP");
    if (!wire.isArray())
        failure = " expected array\n";
    else if (wire.size() != 2)
        failure = " expected array size=2\n";
    else if (!source.isArray())
        failure = " expected array for src\n";
    else if (!element(source, 0).isString())
        failure = " expected string for src[0]\n";
    else if (!element(source, 1).isNumeric())
        failure = " expected number for src[1]\n";
    else if (!destination.isArray())
        failure = " expected array for dest\n";
    else if (!element(destination, 0).isString())
        failure = " expected string for dest[0]\n";
    else if (!element(destination, 1).isNumeric())
        failure = " expected number for dest[1]\n";
    else if (!sourceObject.isObject())
        failure = " src PO not found\n";
    else if (!destinationObject.isObject())
        failure = " dest PO not found\n";
    else if (!sourceProperties.isObject())
        failure = " src PO DSP not set\n";
    else if (!destinationProperties.isObject())
        failure = " dest PO DSP not set\n";
    else if (!sourceDsp.isString())
        failure = " src PO DSP not set\n";
    else if (!destinationDsp.isString())
        failure = " dest PO DSP not set\n";
    else if (sourceDsp.asString() != destinationDsp.asString())
        failure = " src and dest DSP don't match\n";
    else if (sourceDsp.asString().empty())
        failure = " DSP is empty string\n";
    if (!failure)
        return true;
    m_validationLog += styled(wire) + failure;
    return false;
}

bool Kalo480ConfigBuilder::validateGrids(const Json::Value& result)
{
    if (!result.isObject()) {
        m_validationLog += "expected config to be an object\n";
        return false;
    }
    return validateGridSet(result, "gridsOA") && validateGridSet(result, "gridsDisplay") &&
           validateRowLimits();
}

bool Kalo480ConfigBuilder::validateGridSet(const Json::Value& result, const std::string& set)
{
    const Json::Value& grids = member(result, set);
    if (!grids.isArray()) {
        m_validationLog += "expected " + set + " to be an array\n";
        return false;
    }
    for (const Json::Value& each : grids) {
        if (!each.isObject()) {
            m_validationLog += "expected " + set + " to contain only objects\n";
            return false;
        }
    }
    for (const Json::Value& each : grids) {
        const std::string gridText = styled(each);
        if (!member(each, "Name").isString()) {
            m_validationLog += gridText + "expected " + set + "'s grids to have a 'Name'\n";
            return false;
        }
        const Json::Value& map = member(each, "Map");
        if (!map.isArray()) {
            m_validationLog += gridText + "expected " + set + "'s grids to have a 'Map'\n";
            return false;
        }
        for (const Json::Value& column : map) {
            if (!column.isArray()) {
                m_validationLog += set + gridText + " expected array\n";
                return false;
            }
            for (const Json::Value& entry : column) {
                if (!entry.isString()) {
                    m_validationLog += set + gridText + " expected string for grid item";
                    return false;
                }
                const std::string name = entry.asString();
                if (!isPlaceholder(name) && !member(result, name).isObject()) {
                    m_validationLog += set + gridText + name + " po does not exist";
                    return false;
                }
            }
        }
    }
    return true;
}

// Names carry the row as one character, and the device has no rows past these limits.
bool Kalo480ConfigBuilder::validateRowLimits()
{
    for (const RowLimit& limit : rowLimits) {
        const int rows = jsonaccess::size(member(m_columnMap, limit.column));
        if (rows > limit.rows) {
            m_validationLog += std::string(limit.column) + " has " + std::to_string(rows) +
                               " rows, more than " + std::to_string(limit.rows) + "\n";
            return false;
        }
    }
    return true;
}
