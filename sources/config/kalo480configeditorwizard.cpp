// The set-up wizard: its settings object, the input router it asks for, and the builder
// configuration made from it with the editor's own edits, starting from the default one.
//
// What the wizard makes:
// - Router: a fixed input can only sit in its own slot; an option-card source takes the lowest
//   slot whose fixed input nothing uses. Slots nobody asks for keep their own fixed input.
// - Main system (crossoverCode 0: none, monitors only): its crossover starts at row 1; its input
//   k is inputSource k, routed through input processing row k into mid row k. Stereo and LCR
//   mains share one linked mid insert, so their dynamics act alike on every side. Output names
//   are the crossover type's recommended ones.
// - Monitors follow the main outputs in settings order, named by that order ("Monitor 1" ...).
//   With input processing a monitor shares the processing row of a source already processed, or
//   takes the next free one of the three; without, its mid row takes the router slot directly.
// - Rows the wizard does not use keep their default items.
// Whatever cannot be made (more than six outputs, a fourth processed source, malformed settings)
// fails as a whole with "Unclassified failure.", never with a partial configuration.
#include "kalo480configeditor.h"

#include "jsonaccess.h"
#include "kalo480configbuilder.h"

#include <algorithm>
#include <stdexcept>

using jsonaccess::member;
using Templates = Kalo480ConfigEditor::Templates;

namespace {

const char* const unclassified = "Unclassified failure.";
const char* const sourcesDontAddUp = "Bad sources configuration; doesn't add up to 7";
const char* const disabledInputs = "Bad sources configuration; using disabled inputs";

constexpr int slotCount = 7;
constexpr int noSource = -1;
constexpr int lastSource = 14;
constexpr int mainInputSources = 3;
constexpr int maxMonitors = 6;
constexpr int processingRows = 3;

const char* const inputRouters[slotCount] = {Templates::In_Router_In1, Templates::In_Router_In2,
                                             Templates::In_Router_In3, Templates::In_Router_In4,
                                             Templates::In_Router_In5, Templates::In_Router_In6,
                                             Templates::In_Router_In7};
const char* const midInputRouters[slotCount] = {
    Templates::Mid_Router_In1, Templates::Mid_Router_In2, Templates::Mid_Router_In3,
    Templates::Mid_Router_In4, Templates::Mid_Router_In5, Templates::Mid_Router_In6,
    Templates::Mid_Router_In7};
const char* const processedRouters[processingRows] = {
    Templates::Mid_Router_A, Templates::Mid_Router_B, Templates::Mid_Router_C};
const char* const monitorTypes[] = {"Mono Fullrange", "Mono 2-Way", "Mono 3-Way"};
const char* const monitorBands[3][3] = {{""}, {" High", " Low"}, {" High", " Mid", " Low"}};

void require(bool condition)
{
    if (!condition)
        throw std::runtime_error(unclassified);
}

// The top of every wizard operation: anything thrown on the way ends as the one fixed message.
template<typename Work> bool reportingFailures(std::string& errorText, Work work)
{
    errorText.clear();
    try {
        return work();
    } catch (const std::exception&) {
        errorText = unclassified;
        return false;
    }
}

bool validSource(int source)
{
    return source >= noSource && source <= lastSource;
}

struct Monitor
{
    int inputSource = noSource;
    int ways = 1;
    bool useInputProcessing = false;
};

struct WizardSettings
{
    std::string mainType; // empty: no main system
    int mainFormat = 0;
    int mainInputs = 0;
    int mainOutputs = 0;
    std::array<int, mainInputSources> inputSources{};
    std::vector<Monitor> monitors;
};

std::string inputSourceKey(int k)
{
    return "inputSource" + std::to_string(k);
}

int readSource(const Json::Value& value)
{
    int source = 0;
    require(jsonaccess::wholeNumber(value, noSource, lastSource, source));
    return source;
}

WizardSettings readSettings(const Json::Value& settings)
{
    require(settings.isObject());
    WizardSettings read;
    int code = 0;
    require(jsonaccess::wholeNumber(member(settings, "crossoverCode"), 0, 99999, code));
    if (code != 0) {
        read.mainType =
            Kalo480ConfigEditor::lookupCrossoverSecondaryType(Templates::Out_CrossoverIIR, code);
        require(!read.mainType.empty());
        read.mainFormat = code / 10000;
        Kalo480ConfigBuilder::instance()->crossoverInfo(Templates::Out_CrossoverIIR, read.mainType,
                                                        read.mainInputs, read.mainOutputs);
        require(read.mainInputs <= mainInputSources);
    }
    for (int k = 1; k <= mainInputSources; ++k)
        read.inputSources[k - 1] = readSource(member(settings, inputSourceKey(k)));
    const Json::Value& monitors = member(settings, "monitors");
    require(monitors.isArray() && jsonaccess::size(monitors) <= maxMonitors);
    for (const Json::Value& record : monitors) {
        Monitor monitor;
        monitor.inputSource = readSource(member(record, "inputSource"));
        require(jsonaccess::wholeNumber(member(record, "ways"), 1, 3, monitor.ways));
        const Json::Value& processing = member(record, "useInputProcessing");
        require(processing.isBool());
        monitor.useInputProcessing = processing.asBool();
        read.monitors.push_back(monitor);
    }
    return read;
}

// The sources in use: the main system's inputs, then each monitor's.
std::vector<int> usedSources(const WizardSettings& settings)
{
    std::vector<int> used(settings.inputSources.begin(),
                          settings.inputSources.begin() + settings.mainInputs);
    for (const Monitor& monitor : settings.monitors)
        used.push_back(monitor.inputSource);
    return used;
}

// Router slots 1 to 7 (at 0 to 6) for the sources in use; the refusal, or "" when they fit.
std::string placeSources(const std::vector<int>& used, std::array<int, slotCount>& slots)
{
    if (std::find(used.begin(), used.end(), noSource) != used.end())
        return disabledInputs;
    std::array<bool, slotCount> taken{};
    for (int slot = 0; slot < slotCount; ++slot) {
        slots[slot] = slot;
        taken[slot] = std::find(used.begin(), used.end(), slot) != used.end();
    }
    std::vector<int> placed;
    int free = 0;
    for (int source : used) {
        if (source < slotCount || std::find(placed.begin(), placed.end(), source) != placed.end())
            continue;
        while (free < slotCount && taken[free])
            ++free;
        if (free == slotCount)
            return sourcesDontAddUp;
        slots[free] = source;
        taken[free] = true;
        placed.push_back(source);
    }
    return std::string();
}

// Lays the main system and the monitors out row by row in a builder configuration.
class WizardLayout
{
public:
    WizardLayout(Json::Value& config, const std::map<int, int>& sourceMap)
        : m_config(config), m_sourceMap(sourceMap)
    {
    }

    void addMainSystem(const WizardSettings& settings)
    {
        if (settings.mainType.empty())
            return;
        setCrossover(settings.mainType, 1);
        for (int k = 0; k < settings.mainInputs; ++k)
            feedMidRow(1 + k, processedRouters[processingRow(settings.inputSources[k]) - 1]);
        if (settings.mainFormat >= 2)
            require(Kalo480ConfigEditor::link(m_config, 7, 1, settings.mainFormat, true));
        m_nextRow = 1 + settings.mainOutputs;
    }

    void addMonitor(const Monitor& monitor, int number)
    {
        const int row = m_nextRow;
        setCrossover(monitorTypes[monitor.ways - 1], row);
        const int slot = slotOf(monitor.inputSource);
        feedMidRow(row, monitor.useInputProcessing
                            ? processedRouters[processingRow(monitor.inputSource) - 1]
                            : midInputRouters[slot - 1]);
        for (int k = 0; k < monitor.ways; ++k)
            Kalo480ConfigEditor::outputsSetOutputName(m_config, row + k,
                                                      "Monitor " + std::to_string(number) +
                                                          monitorBands[monitor.ways - 1][k]);
        m_nextRow += monitor.ways;
    }

private:
    int slotOf(int source) const
    {
        const auto found = m_sourceMap.find(source);
        require(found != m_sourceMap.end() && found->second >= 1 && found->second <= slotCount);
        return found->second;
    }

    // The input processing row (1 to 3) that carries `source`, routing the next free one to it.
    int processingRow(int source)
    {
        const auto found = std::find(m_processed.begin(), m_processed.end(), source);
        if (found != m_processed.end())
            return static_cast<int>(found - m_processed.begin()) + 1;
        require(static_cast<int>(m_processed.size()) < processingRows);
        m_processed.push_back(source);
        const int row = static_cast<int>(m_processed.size());
        require(Kalo480ConfigEditor::swap(m_config, inputRouters[slotOf(source) - 1], std::string(),
                                          1, row));
        return row;
    }

    void setCrossover(const std::string& type, int row)
    {
        require(Kalo480ConfigEditor::swap(m_config, Templates::Out_CrossoverIIR, type, 8, row));
    }

    void feedMidRow(int row, const char* templateName)
    {
        require(Kalo480ConfigEditor::swap(m_config, templateName, std::string(), 5, row));
    }

    Json::Value& m_config;
    const std::map<int, int>& m_sourceMap;
    std::vector<int> m_processed;
    int m_nextRow = 1;
};

} // namespace

bool Kalo480ConfigEditor::setupWizardMake(Json::Value& out, int crossoverCode,
                                          const std::array<int, 3>& inputSources,
                                          const std::array<SetupWizardMonitor, 6>& monitors,
                                          std::string& errorText)
{
    out = Json::Value();
    return reportingFailures(errorText, [&] {
        require(crossoverCode == 0 ||
                !lookupCrossoverSecondaryType(Templates::Out_CrossoverIIR, crossoverCode).empty());
        Json::Value settings(Json::objectValue);
        settings["crossoverCode"] = crossoverCode;
        for (int k = 1; k <= mainInputSources; ++k) {
            require(validSource(inputSources[k - 1]));
            settings[inputSourceKey(k)] = inputSources[k - 1];
        }
        Json::Value list(Json::arrayValue);
        for (const SetupWizardMonitor& monitor : monitors) {
            if (monitor.enabled == 0)
                continue;
            require(validSource(monitor.inputSource) && monitor.ways >= 0 && monitor.ways <= 2);
            Json::Value record(Json::objectValue);
            record["inputSource"] = monitor.inputSource;
            record["ways"] = monitor.ways + 1;
            record["useInputProcessing"] = monitor.useInputProcessing;
            list.append(record);
        }
        settings["monitors"] = list;
        out = std::move(settings);
        return true;
    });
}

bool Kalo480ConfigEditor::configInputRouterAndBuildSourceMap(Json::Value& config,
                                                             const Json::Value& settings,
                                                             std::map<int, int>& sourceMap,
                                                             std::string& errorText)
{
    sourceMap.clear();
    return reportingFailures(errorText, [&] {
        std::array<int, slotCount> slots{};
        errorText = placeSources(usedSources(readSettings(settings)), slots);
        if (!errorText.empty())
            return false;
        Json::Value routed = config;
        for (int slot = 1; slot <= slotCount; ++slot) {
            inputRouterSetSource(routed, slot, slots[slot - 1]);
            require(inputRouterGetSource(routed, slot) == slots[slot - 1]);
        }
        config = std::move(routed);
        for (int slot = 1; slot <= slotCount; ++slot)
            sourceMap[slots[slot - 1]] = slot;
        return true;
    });
}

bool Kalo480ConfigEditor::builderConfigFromSetupWizard(Json::Value& out,
                                                       const Json::Value& settings,
                                                       std::string& errorText)
{
    out = Json::Value();
    return reportingFailures(errorText, [&] {
        Json::Value config = Kalo480ConfigBuilder::instance()->getDefault();
        require(config.isObject());
        std::map<int, int> sourceMap;
        if (!configInputRouterAndBuildSourceMap(config, settings, sourceMap, errorText))
            return false;
        const WizardSettings wizard = readSettings(settings);
        WizardLayout layout(config, sourceMap);
        layout.addMainSystem(wizard);
        for (std::size_t k = 0; k < wizard.monitors.size(); ++k)
            layout.addMonitor(wizard.monitors[k], static_cast<int>(k) + 1);
        out = std::move(config);
        return true;
    });
}
