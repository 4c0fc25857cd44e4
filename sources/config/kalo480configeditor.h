#pragma once

#include "kalo480configtemplates.h"

#include <json/value.h>

#include <array>
#include <map>
#include <string>
#include <vector>

// Static operations that read and change a builder configuration in place (link, unlink and
// swap of grid cells, input-router sources, output names), and the display-name and crossover
// lookups in the templates file held by the builder's instance. Failures are thrown as
// std::runtime_error with one of a few fixed texts; the operations that answer bool or a
// fallback catch them. Rows count from 1; columns are 0 to 14. GUI thread only.
class Kalo480ConfigEditor : public Kalo480ConfigTemplates
{
public:
    // Grid lookups
    static int rowIdxForPath(const Json::Value& config, int col, int row);
    static int rowIDForColIDRowIdx(const Json::Value& config, int col, int index);
    static const Json::Value& colAtPath(const Json::Value& config, int col);
    static Json::Value& colAtPath(Json::Value& config, int col);
    static const Json::Value& itemAtPath(const Json::Value& config, int col, int row);
    static Json::Value& itemAtPath(Json::Value& config, int col, int row);
    static std::string itemTypeAtPath(const Json::Value& config, int col, int row);
    static std::string itemSecondaryTypeAtPath(const Json::Value& config, int col, int row);

    // Edits
    static bool linkTest(const Json::Value& config, int col, int row, int count);
    static bool unlinkTest(const Json::Value& config, int col, int row, int* height);
    static bool link(Json::Value& config, int col, int row, int count, bool lockAutoEQ);
    static bool unlink(Json::Value& config, int col, int row, bool lockAutoEQ);
    static bool swap(Json::Value& config, const std::string& templateName,
                     const std::string& secondary, int col, int row);

    // Lists
    static bool swapOptions(const Json::Value& config, int col, int row,
                            std::vector<std::string>& out);
    static void displayNamesForSwapOptions(std::vector<std::string>& names,
                                           const std::vector<std::string>& options);
    static bool swapOptionsForCrossover(const Json::Value& config, const std::string& templateName,
                                        int col, int row, std::vector<std::string>& out);
    static void displayNamesForSwapOptionsForCrossover(const std::string& templateName,
                                                       std::vector<std::string>& names,
                                                       const std::vector<std::string>& options);

    // Input router (slots 1 to 7, sources 0 to 14) and outputs (1 to 6)
    static int inputRouterGetSource(const Json::Value& config, int slot);
    static void inputRouterSetSource(Json::Value& config, int slot, int source);
    static std::string inputRouterGetSourceName(const Json::Value& config, int slot);
    static std::string inputRouterGetSourceNameForSourceID(int source);
    static std::vector<int> inputRouterSwapOptionsForSlotNum(const Json::Value& config, int slot,
                                                             bool excludeUsed);
    static std::string outputsGetOutputName(const Json::Value& config, int output);
    static void outputsSetOutputName(Json::Value& config, int output, const std::string& name);
    static std::string getDefaultOutputName(int n);
    static std::string getRecommendedCrossoverOutputName(const std::string& templateName,
                                                         const std::string& typeName, int k);

    // Names and crossover codes
    static Json::Value _getNameAsJson(const std::string& what, const Json::Value& po);
    static std::string buildItemName(const std::string& what, const Json::Value& po);
    static std::string getShortName(const Json::Value& po);
    static std::string getLongName(const Json::Value& po);
    static std::string getCrossoverName(const Json::Value& po, bool keepStars);
    static void crossoverNamesKey(const std::string& templateName, const std::string& type,
                                  Json::Value& key);
    static std::string lookupCrossoverSecondaryType(const std::string& templateName, int code);
    static int crossoverCodeFromWizardSVs(int mode, int mains, int ways, bool hasSub, bool auxFed,
                                          int subLayout);
    static int getCrossoverSortIndex(const std::string& templateName, const std::string& type);
    static std::string getCrossoverBandName(const Json::Value& po, int band);
    static std::string getCrossoverBandName(const std::string& templateName,
                                            const std::string& type, int band);
    static std::string getCrossoverConfigImageName(const std::string& templateName,
                                                   const std::string& type);
    static std::string getSpeakerStackImageName(const std::string& templateName,
                                                const std::string& type);
    static std::string getDescriptionUsingCrossoverAndSpeakers(int code,
                                                               const std::string& speakerA,
                                                               const std::string& speakerB);
    static void _getNamesFromTemplates(const std::string& key, std::vector<std::string>& out);
    static void recommendedInputNames(std::vector<std::string>& out);
    static void recommendedOutputNames(std::vector<std::string>& out);
    static bool isCopyPasteCompatible(const std::string& typeA, const std::string& typeB);
    static Json::Value getCopyPasteCompatibleTypes(const std::string& type);
    static void setPlatform(const std::string& word);
    static void setBuilderConfig(const Json::Value& config);

    // Set-up wizard. A monitor record as the wizard keeps it: `ways` counts from 0 (full range,
    // bi-amped, tri-amped). An input source is a router source, 0 to 6 the fixed inputs and 7 to
    // 14 the option-card sources, or -1 for none. Each operation answers false with `errorText`
    // set when it cannot do its work, and then leaves `out` null and `config` unchanged.
    struct SetupWizardMonitor
    {
        int enabled = 0;
        int inputSource = -1;
        int ways = 0;
        bool useInputProcessing = false;
    };
    static bool setupWizardMake(Json::Value& out, int crossoverCode,
                                const std::array<int, 3>& inputSources,
                                const std::array<SetupWizardMonitor, 6>& monitors,
                                std::string& errorText);
    // sourceMap: router source -> the slot (1 to 7) that carries it.
    static bool configInputRouterAndBuildSourceMap(Json::Value& config, const Json::Value& settings,
                                                   std::map<int, int>& sourceMap,
                                                   std::string& errorText);
    static bool builderConfigFromSetupWizard(Json::Value& out, const Json::Value& settings,
                                             std::string& errorText);

    // Random edits for property tests: n rounds, each one applicable link or swap chosen with
    // rand(), so srand() makes a sequence repeatable.
    static void mutate(Json::Value& config, int n);

private:
    static const Json::Value& templates();
    static int rowLimit(int col);
    static bool linkColumnRefused(int col);
    static bool linkCrossovers(Json::Value& config, int row, int count);
    static bool crossoverLink(Json::Value& config, int row, int count);
    static bool crossoverUnlink(Json::Value& config, int row);
    static bool crossoverSwap(Json::Value& config, const std::string& templateName,
                              const std::string& secondary, int row);
    static std::string crossoverTypeForSwap(const Json::Value& config,
                                            const std::string& templateName, int row);
    static bool crossoverFitsAt(const Json::Value& config, const std::string& templateName,
                                int row);
    static void restoreOrEmptyMidCells(Json::Value& config, int row, bool keep);
    static bool splitAt(Json::Value& config, int col, int row, bool lockAutoEQ);
};
