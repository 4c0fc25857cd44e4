// The set-up wizard: its settings object, the router slots and source map it asks for, the
// builder configurations made from it and its refusals. Every configuration made must build
// and validate.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "testmain.h"

#include <QTest>

#include <algorithm>

using namespace configfixture;
using Editor = Kalo480ConfigEditor;
using Monitor = Kalo480ConfigEditor::SetupWizardMonitor;
using Monitors = std::array<Monitor, 6>;

Q_DECLARE_METATYPE(Json::Value)
Q_DECLARE_METATYPE(Monitors)

namespace {

const std::string unclassified = "Unclassified failure.";
const std::string doesNotAddUp = "Bad sources configuration; doesn't add up to 7";
const std::string disabledInputs = "Bad sources configuration; using disabled inputs";

Monitors monitorsAt(std::initializer_list<std::pair<int, Monitor>> records)
{
    Monitors monitors;
    for (const auto& record : records)
        monitors[record.first] = record.second;
    return monitors;
}

// Enabled monitors, one per entry of `ways` (as stored, from 0). Every other one uses input
// processing, all of those on `firstSource`; the others take sources from `firstSource` upward.
Monitors monitorsWith(const std::vector<int>& ways, int firstSource = 3)
{
    Monitors monitors;
    for (std::size_t k = 0; k < ways.size(); ++k) {
        const bool processed = k % 2 == 1;
        monitors[k] = {1, firstSource + (processed ? 0 : static_cast<int>(k)), ways[k], processed};
    }
    return monitors;
}

Json::Value settingsFor(int code, std::array<int, 3> sources, const Monitors& monitors)
{
    Json::Value settings;
    std::string error;
    if (!Editor::setupWizardMake(settings, code, sources, monitors, error))
        qWarning("settings refused: %s", error.c_str());
    return settings;
}

// Settings as stored, unchecked; each monitor is {source, ways from 1, uses input processing}.
Json::Value rawSettings(int code, std::array<int, 3> sources,
                        const std::vector<std::array<int, 3>>& monitors)
{
    Json::Value settings;
    settings["crossoverCode"] = code;
    for (int k = 1; k <= 3; ++k)
        settings["inputSource" + std::to_string(k)] = sources[k - 1];
    settings["monitors"] = Json::Value(Json::arrayValue);
    for (const auto& monitor : monitors) {
        Json::Value record;
        record["inputSource"] = monitor[0];
        record["ways"] = monitor[1];
        record["useInputProcessing"] = monitor[2] != 0;
        settings["monitors"].append(record);
    }
    return settings;
}

// Makes the builder configuration and builds it; the builder configuration, or null.
Json::Value wizardConfig(const Json::Value& settings)
{
    Json::Value config;
    std::string error;
    if (!Editor::builderConfigFromSetupWizard(config, settings, error)) {
        qWarning("wizard refused: %s", error.c_str());
        return Json::Value();
    }
    if (build(config, &error).isNull()) {
        qWarning("does not build: %s\n%s", error.c_str(), jsontext::compact(config).c_str());
        return Json::Value();
    }
    return config;
}

} // namespace

class TestConfigWizard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadTemplates()); }
    void settings_data();
    void settings();
    void routerAndSourceMap_data();
    void routerAndSourceMap();
    void layouts_data();
    void layouts();
    void everyMainSystemWithMonitorsBuilds();
    void refusals_data();
    void refusals();
};

void TestConfigWizard::settings_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("source");
    QTest::addColumn<Monitors>("monitors");
    QTest::addColumn<std::string>("expected");

    const std::string mainOnly = R"({"crossoverCode":22200,"inputSource1":0,"inputSource2":1,)"
                                 R"("inputSource3":-1,"monitors":[]})";
    QTest::newRow("main system only") << 22200 << -1 << Monitors() << mainOnly;
    QTest::newRow("enabled records only, ways counted from 1")
        << 0 << -1
        << monitorsAt({{1, {1, 4, 0, false}}, {2, {0, 5, 2, true}}, {4, {7, 9, 2, true}}})
        << std::string(R"({"crossoverCode":0,"inputSource1":0,"inputSource2":1,)"
                       R"("inputSource3":-1,"monitors":[)"
                       R"({"inputSource":4,"useInputProcessing":false,"ways":1},)"
                       R"({"inputSource":9,"useInputProcessing":true,"ways":3}]})");
    // A disabled record is not read at all, whatever it holds.
    QTest::newRow("disabled record with garbage")
        << 11100 << -1 << monitorsAt({{0, {0, 99, -7, true}}, {5, {1, -1, 1, false}}})
        << std::string(R"({"crossoverCode":11100,"inputSource1":0,"inputSource2":1,)"
                       R"("inputSource3":-1,"monitors":[)"
                       R"({"inputSource":-1,"useInputProcessing":false,"ways":2}]})");

    // Refused: an empty expectation.
    QTest::newRow("unknown crossover code") << 12345 << 0 << Monitors() << std::string();
    QTest::newRow("negative crossover code") << -11100 << 0 << Monitors() << std::string();
    QTest::newRow("input source past the last") << 11100 << 15 << Monitors() << std::string();
    QTest::newRow("input source below none") << 11100 << -2 << Monitors() << std::string();
    QTest::newRow("monitor ways 3")
        << 11100 << 0 << monitorsAt({{3, {1, 2, 3, false}}}) << std::string();
    QTest::newRow("monitor ways -1")
        << 11100 << 0 << monitorsAt({{3, {1, 2, -1, false}}}) << std::string();
    QTest::newRow("monitor source 15")
        << 11100 << 0 << monitorsAt({{3, {1, 15, 0, false}}}) << std::string();
}

void TestConfigWizard::settings()
{
    QFETCH(int, code);
    QFETCH(int, source);
    QFETCH(Monitors, monitors);
    QFETCH(std::string, expected);
    Json::Value out = "stale";
    std::string error = "stale";
    const bool made = Editor::setupWizardMake(out, code, {0, 1, source}, monitors, error);
    QCOMPARE(made, !expected.empty());
    QCOMPARE(error, expected.empty() ? unclassified : std::string());
    QCOMPARE(made ? jsontext::compact(out) : std::string(), expected);
    QVERIFY(made || out.isNull());
}

void TestConfigWizard::routerAndSourceMap_data()
{
    QTest::addColumn<Json::Value>("settings");
    QTest::addColumn<std::string>("error");
    QTest::addColumn<std::string>("routerSources");
    QTest::addColumn<std::string>("map");

    const std::string identity = "[0,1,2,3,4,5,6]";
    const std::string identityMap = "0>1 1>2 2>3 3>4 4>5 5>6 6>7 ";
    const std::string none;
    const std::vector<std::array<int, 3>> sixCards = {{8, 1, 0},  {9, 1, 0},  {10, 1, 0},
                                                      {11, 1, 0}, {12, 1, 0}, {13, 1, 0}};
    QTest::newRow("fixed inputs stay in their own slots")
        << rawSettings(22200, {3, 6, -1}, {{0, 1, 0}}) << none << identity << identityMap;
    QTest::newRow("option cards take the lowest free slots")
        << rawSettings(22200, {7, 8, -1}, {{0, 1, 0}, {14, 1, 1}, {8, 1, 0}}) << none
        << std::string("[0,7,8,14,4,5,6]") << std::string("0>1 4>5 5>6 6>7 7>2 8>3 14>4 ");
    QTest::newRow("seven option cards fill the router")
        << rawSettings(11100, {7, -1, -1}, sixCards) << none << std::string("[7,8,9,10,11,12,13]")
        << std::string("7>1 8>2 9>3 10>4 11>5 12>6 13>7 ");
    QTest::newRow("unused main input may be off")
        << rawSettings(11100, {2, -1, -1}, {}) << none << identity << identityMap;
    QTest::newRow("eight option cards")
        << rawSettings(22200, {7, 14, -1}, sixCards) << doesNotAddUp << identity << none;
    QTest::newRow("option card with every fixed input in use")
        << rawSettings(33100, {0, 1, 2}, {{3, 1, 0}, {4, 1, 0}, {5, 1, 0}, {6, 1, 0}, {7, 1, 0}})
        << doesNotAddUp << identity << none;
    QTest::newRow("stereo main with its second input off")
        << rawSettings(22100, {0, -1, -1}, {}) << disabledInputs << identity << none;
    QTest::newRow("aux fed sub with its input off")
        << rawSettings(22141, {0, 1, -1}, {}) << disabledInputs << identity << none;
    QTest::newRow("monitor on no input")
        << rawSettings(0, {-1, -1, -1}, {{-1, 1, 0}}) << disabledInputs << identity << none;
    QTest::newRow("unknown crossover code")
        << rawSettings(11101, {0, -1, -1}, {}) << unclassified << identity << none;
    QTest::newRow("monitor ways 4")
        << rawSettings(0, {0, -1, -1}, {{1, 4, 0}}) << unclassified << identity << none;
    Json::Value noChoice = rawSettings(0, {0, -1, -1}, {{1, 1, 0}});
    noChoice["monitors"][0].removeMember("useInputProcessing");
    QTest::newRow("monitor without processing choice")
        << noChoice << unclassified << identity << none;
    std::vector<std::array<int, 3>> seven = sixCards;
    seven.push_back({0, 1, 0});
    QTest::newRow("seven monitors")
        << rawSettings(0, {-1, -1, -1}, seven) << unclassified << identity << none;
}

void TestConfigWizard::routerAndSourceMap()
{
    QFETCH(Json::Value, settings);
    QFETCH(std::string, error);
    QFETCH(std::string, routerSources);
    QFETCH(std::string, map);

    // Start from a router that is not the default, to see every slot written.
    Json::Value config = defaultConfig();
    Editor::inputRouterSetSource(config, 2, 9);
    const Json::Value before = config;
    std::map<int, int> sourceMap = {{1, 1}};
    std::string errorText = "stale";
    const bool routed =
        Editor::configInputRouterAndBuildSourceMap(config, settings, sourceMap, errorText);
    QCOMPARE(errorText, error);
    QCOMPARE(routed, error.empty());
    std::string mapText;
    for (const auto& entry : sourceMap)
        mapText += std::to_string(entry.first) + ">" + std::to_string(entry.second) + " ";
    QCOMPARE(mapText, map);
    if (!routed) {
        QCOMPARE(config, before);
        return;
    }
    QCOMPARE(jsontext::compact(Editor::itemAtPath(config, 0, 1)[1]), routerSources);
    for (const auto& entry : sourceMap)
        QCOMPARE(Editor::inputRouterGetSource(config, entry.second), entry.first);
    QVERIFY(build(config).isObject());
}

void TestConfigWizard::layouts_data()
{
    QTest::addColumn<Json::Value>("settings");
    QTest::addColumn<QString>("columns");

    // Columns 1 (input mixers), 5 (mid routers), 7 (mid inserts), 8 (crossovers), 14 (outputs).
    QTest::newRow("stereo 2-way and a bi-amped monitor")
        << settingsFor(22200, {0, 1, -1}, monitorsAt({{0, {1, 2, 1, false}}}))
        << QString("In_Router_In1, In_Router_In2, In_Mixer | Mid_Router_A, Mid_Router_B, -, -, "
                   "Mid_Router_In3, - | Mid_Compressor/2, -, -, Mid_Compressor/1, - | "
                   "Out_CrossoverIIR/Stereo 2-Way, Out_CrossoverIIR/Mono 2-Way | Output/L HIGH, "
                   "Output/R HIGH, Output/L LOW, Output/R LOW, Output/Monitor 1 High, "
                   "Output/Monitor 1 Low");
    // The first monitor shares the main input's processing; the third takes a row of its own.
    QTest::newRow("mono 2-way with aux fed sub and three monitors")
        << settingsFor(
               11241, {5, 4, -1},
               monitorsAt({{0, {1, 5, 0, true}}, {2, {1, 7, 0, false}}, {3, {1, 3, 0, true}}}))
        << QString("In_Router_In6, In_Router_In5, In_Router_In4 | Mid_Router_A, Mid_Router_B, -, "
                   "Mid_Router_A, Mid_Router_In1, Mid_Router_C | Mid_Compressor/1, "
                   "Mid_Compressor/1, -, Mid_Compressor/1, Mid_Compressor/1, Mid_Compressor/1 | "
                   "Out_CrossoverIIR/Mono 2-Way with Aux Fed Sub, Out_CrossoverIIR/Mono Fullrange, "
                   "Out_CrossoverIIR/Mono Fullrange, Out_CrossoverIIR/Mono Fullrange | "
                   "Output/M HIGH, Output/M LOW, Output/A SUB, Output/Monitor 1, "
                   "Output/Monitor 2, Output/Monitor 3");
    QTest::newRow("monitors only")
        << settingsFor(
               0, {-1, -1, -1},
               monitorsAt({{0, {1, 6, 2, true}}, {1, {1, 6, 1, true}}, {4, {1, 0, 0, false}}}))
        << QString(
               "In_Router_In7, In_Mixer, In_Mixer | Mid_Router_A, -, -, Mid_Router_A, -, "
               "Mid_Router_In1 | Mid_Compressor/1, -, -, Mid_Compressor/1, -, Mid_Compressor/1 | "
               "Out_CrossoverIIR/Mono 3-Way, Out_CrossoverIIR/Mono 2-Way, "
               "Out_CrossoverIIR/Mono Fullrange | Output/Monitor 1 High, Output/Monitor 1 Mid, "
               "Output/Monitor 1 Low, Output/Monitor 2 High, Output/Monitor 2 Low, "
               "Output/Monitor 3");
    // Rows the wizard leaves alone keep their default items and names.
    QTest::newRow("LCR main, linked mid insert over three rows")
        << settingsFor(33100, {2, 1, 0}, Monitors())
        << QString("In_Router_In3, In_Router_In2, In_Router_In1 | Mid_Router_A, Mid_Router_B, "
                   "Mid_Router_C, Mid_Mixer_ABC, Mid_Mixer_ABC, Mid_Mixer_ABC | Mid_Compressor/3, "
                   "Mid_Compressor/1, Mid_Compressor/1, Mid_Compressor/1 | "
                   "Out_CrossoverIIR/LCR Fullrange, Out_CrossoverIIR/Mono Fullrange, "
                   "Out_CrossoverIIR/Mono Fullrange, Out_CrossoverIIR/Mono Fullrange | "
                   "Output/L FULL RANGE, Output/C FULL RANGE, Output/R FULL RANGE, "
                   "Output/Output 4, Output/Output 5, Output/Output 6");
}

void TestConfigWizard::layouts()
{
    QFETCH(Json::Value, settings);
    QFETCH(QString, columns);
    const Json::Value config = wizardConfig(settings);
    QVERIFY(config.isObject());
    QCOMPARE(columnsText(config, {1, 5, 7, 8, 14}), columns);
}

void TestConfigWizard::everyMainSystemWithMonitorsBuilds()
{
    static const char* const types[] = {"Mono Fullrange", "Mono 2-Way", "Mono 3-Way"};
    static const std::vector<std::vector<std::string>> bands = {
        {""}, {" High", " Low"}, {" High", " Mid", " Low"}};
    std::vector<std::string> mains =
        Editor::crossoverTypeTable("Out_CrossoverIIR").getMemberNames();
    mains.push_back(""); // monitors only
    for (const std::string& main : mains) {
        const int code = main.empty() ? 0 : Editor::getCrossoverCode("Out_CrossoverIIR", main);
        int inputs = 0;
        int outputs = 0;
        if (code)
            Kalo480ConfigBuilder::instance()->crossoverInfo("Out_CrossoverIIR", main, inputs,
                                                            outputs);
        // Monitors of one kind fill what the main system leaves; the last may be smaller.
        for (int ways = 1; ways <= 3; ++ways) {
            std::vector<int> monitorWays;
            for (int free = 6 - outputs; free > 0; free -= ways)
                monitorWays.push_back(std::min(ways, free) - 1);
            const Json::Value config =
                wizardConfig(settingsFor(code, {8, 1, 0}, monitorsWith(monitorWays, 0)));
            QVERIFY2(config.isObject(), main.c_str());
            int cardSlots = 0;
            for (int slot = 1; slot <= 7; ++slot)
                cardSlots += Editor::inputRouterGetSource(config, slot) == 8;
            QCOMPARE(cardSlots, code ? 1 : 0);
            int row = outputs + 1;
            if (code)
                QCOMPARE(Editor::itemSecondaryTypeAtPath(config, 8, 1), main);
            for (std::size_t monitor = 0; monitor < monitorWays.size(); ++monitor) {
                const int monitorWaysNow = monitorWays[monitor];
                QCOMPARE(Editor::itemSecondaryTypeAtPath(config, 8, row),
                         std::string(types[monitorWaysNow]));
                for (const std::string& band : bands[monitorWaysNow])
                    QCOMPARE(Editor::outputsGetOutputName(config, row++),
                             "Monitor " + std::to_string(monitor + 1) + band);
            }
        }
    }
}

void TestConfigWizard::refusals_data()
{
    QTest::addColumn<Json::Value>("settings");
    QTest::addColumn<Change>("templatesChange");
    QTest::addColumn<std::string>("error");

    const Change none = [](Json::Value&) {};
    QTest::newRow("monitor past the sixth output")
        << settingsFor(22300, {0, 1, -1}, monitorsWith({0})) << none << unclassified;
    QTest::newRow("tri-amped monitor past the sixth output")
        << settingsFor(22200, {0, 1, -1}, monitorsWith({2})) << none << unclassified;
    QTest::newRow("fourth processed source")
        << settingsFor(33100, {0, 1, 2}, monitorsAt({{0, {1, 2, 0, true}}, {1, {1, 5, 0, true}}}))
        << none << unclassified;
    QTest::newRow("router refusal keeps its message")
        << settingsFor(22100, {0, -1, -1}, Monitors()) << none << disabledInputs;
    QTest::newRow("settings not an object") << Json::Value(5) << none << unclassified;
    QTest::newRow("no templates") << settingsFor(11100, {0, -1, -1}, Monitors())
                                  << Change([](Json::Value& t) { t = Json::Value(); })
                                  << unclassified;
}

void TestConfigWizard::refusals()
{
    QFETCH(Json::Value, settings);
    QFETCH(Change, templatesChange);
    QFETCH(std::string, error);
    TemplatesOverride changed(templatesWith(templatesChange));
    Json::Value out = "stale";
    std::string errorText;
    QVERIFY(!Editor::builderConfigFromSetupWizard(out, settings, errorText));
    QCOMPARE(errorText, error);
    QVERIFY(out.isNull());
}

QX8_TEST_GUILESS_MAIN(TestConfigWizard)
#include "tst_configwizard.moc"
