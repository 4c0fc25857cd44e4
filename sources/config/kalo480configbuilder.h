#pragma once

#include <json/value.h>

#include <string>

// Turns a builder configuration (15 columns of items) into the device configuration: every
// processing object made from its template, the display and object grids, the wires, and a
// copy of the builder configuration. One process-wide instance also holds the parsed templates
// file, shared with the editor. GUI thread only: nothing here is guarded.
class Kalo480ConfigBuilder
{
public:
    // Rows of the tallest column; longer columns are refused by grid validation.
    static constexpr int maxColumnRows = 6;

    static Kalo480ConfigBuilder* instance();

    void setTemplates(const Json::Value& templates);
    const Json::Value& templates() const { return m_templates; }
    // Grows with every setTemplates, so lookups cached from older templates can tell.
    unsigned templatesGeneration() const { return m_templatesGeneration; }

    const Json::Value& columnMap() const { return m_columnMap; }
    const std::string& errorText() const { return m_errorText; }
    const std::string& validationLog() const { return m_validationLog; }

    bool buildConfig(Json::Value& result, const Json::Value& builderConfig);
    Json::Value getDefault() const;

    int itemHeight(const Json::Value& item) const;
    // Throw std::runtime_error for a template that is no crossover or an unknown type.
    void crossoverInfo(const Json::Value& item, int& inputs, int& outputs) const;
    void crossoverInfo(const std::string& templateName, const std::string& typeName, int& inputs,
                       int& outputs) const;

    bool applyChannels(Json::Value& object, int n) const;
    bool createPOFromTemplate(Json::Value& out, const std::string& templateName) const;
    bool installPOFromTemplate(Json::Value& result, const std::string& name) const;
    bool makePOFromTemplateWithChanges(Json::Value& out, std::string& name,
                                       const std::string& templateName, int index,
                                       int numChans) const;
    bool makeCrossoverQX8(Json::Value& out, std::string& name, int index,
                          const std::string& typeName, int& outputs) const;
    bool makeCrossoverIIR(Json::Value& out, std::string& name, int index,
                          const std::string& typeName, int& outputs) const;

    static Kalo480ConfigBuilder* _instance;

private:
    Kalo480ConfigBuilder() = default;

    void build(Json::Value& result, const Json::Value& builderConfig);
    void installFixedPOs(Json::Value& result) const;
    bool installDynamicPOs(Json::Value& result, const Json::Value& builderConfig);
    bool installColumn(Json::Value& result, const Json::Value& column);
    bool installItem(Json::Value& result, const std::string& columnName, const Json::Value& item,
                     const Json::Value& inputRouterItem, int position, int& index);
    void storeObject(Json::Value& result, const std::string& name, const Json::Value& object,
                     int rows, const std::string& columnName);
    static void applyMixerGains(Json::Value& object, const std::string& templateName, int position);

    void createGridsDisplay(Json::Value& result) const;
    void createGridsOA(Json::Value& result) const;
    Json::Value columnCopy(const std::string& columnName, bool objectsOnly) const;
    void createWires(Json::Value& result) const;
    void addMidMixerWires(Json::Value& wires, const Json::Value& result) const;
    void addOutputMeterWires(Json::Value& wires) const;
    static void addWire(Json::Value& wires, const std::string& source, int sourceChannel,
                        const std::string& destination, int destinationChannel);
    bool validateWiring(const Json::Value& result);
    bool validateWire(const Json::Value& result, const Json::Value& wire);
    bool validateGrids(const Json::Value& result);
    bool validateGridSet(const Json::Value& result, const std::string& set);
    bool validateRowLimits();

    Json::Value m_templates;
    unsigned m_templatesGeneration = 0;
    Json::Value m_columnMap;
    std::string m_errorText;
    std::string m_validationLog;
};
