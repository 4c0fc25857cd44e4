// Builds of builder configurations: the objects, grids and wires made, the refusals with their
// messages, and round trips through JSON text.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <QTest>

using namespace configfixture;

namespace {

Json::Value& column(Json::Value& config, int col)
{
    return config["Columns"][col];
}

Json::Value item(const char* templateName, int count)
{
    Json::Value value(Json::arrayValue);
    value.append(templateName);
    value.append(count);
    return value;
}

int wireCount(const Json::Value& wires, const std::string& source, int sourceChannel,
              const std::string& destination, int destinationChannel)
{
    int count = 0;
    for (const Json::Value& wire : wires) {
        count += wire[0][0].asString() == source && wire[0][1].asInt() == sourceChannel &&
                 wire[1][0].asString() == destination && wire[1][1].asInt() == destinationChannel;
    }
    return count;
}

} // namespace

class TestConfigBuilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaultConfiguration();
    void mixerGains();
    void multiRowCrossover();
    void refusals_data();
    void refusals();
    void templatesChecked();
    void outputMeterWiresFollowDelayRows();
    void midFixedRouteWires();
    void dspMismatchFailsWiring();
    void emptyZoneGainColumnLeftOut();
    void invalidCrossoverTypeRefused();
    void roundTrips();
};

void TestConfigBuilder::initTestCase()
{
    QVERIFY(loadTemplates());
}

void TestConfigBuilder::defaultConfiguration()
{
    std::string error;
    const Json::Value result = build(defaultConfig(), &error);
    QVERIFY2(result.isObject(), error.c_str());
    for (int k = 1; k <= 3; ++k) {
        const std::string n = std::to_string(k);
        QVERIFY(result["InMixer" + n].isObject());
        QCOMPARE(result["Nuq" + n]["Attributes"]["ProcessDelay"].asInt(), 2 * k - 2);
        QVERIFY(result["GEQ" + n].isObject());
        QVERIFY(!result["GEQ" + n].isMember(".builder"));
    }
    for (int k = 1; k <= 6; ++k) {
        const std::string n = std::to_string(k);
        QVERIFY(result["MidMixer" + n].isObject());
        QCOMPARE(result["CrossoverIIR" + n][".info"].asString(), std::string("1x1"));
        QCOMPARE(result["CrossoverIIR" + n][".type"].asString(), std::string("IIR Mono Fullrange"));
        QCOMPARE(result["Output" + n][".info"].asString(), n);
        QCOMPARE(result["Output" + n]["Attributes"]["OutputName"].asString(), "Output " + n);
    }
    QCOMPARE(result["ZoneGains"]["Attributes"]["NumChans"].asInt(), 6);
    QCOMPARE(result["OutputGains"]["Attributes"]["NumChans"].asInt(), 6);
    QCOMPARE(result["InputRouter"]["Attributes"]["Slot7Source"].asInt(), 6);
    QCOMPARE(int(result["wires"].size()), 77);
    QCOMPARE(result["gridsDisplay"][0]["Name"].asString(), std::string("in"));
    QCOMPARE(int(result["gridsDisplay"][0]["Map"][1].size()), 3);
    QCOMPARE(int(result["gridsDisplay"][2]["Map"][0].size()), 6);
    QCOMPARE(int(result["gridsOA"][0]["Map"].size()), 22);
    QVERIFY(Kalo480ConfigBuilder::instance()->errorText().empty());
}

void TestConfigBuilder::mixerGains()
{
    const Json::Value result = build(defaultConfig());
    const Json::Value& inMixer = result["InMixer2"]["SVValues"];
    QCOMPARE(int(inMixer.size()), 8);
    for (int input = 1; input <= 8; ++input) {
        const std::string key = "Output_1_Input_" + std::to_string(input) + "_Gain";
        QCOMPARE(inMixer[key].asString(), std::string(input == 2 || input == 8 ? "0" : "-120"));
    }
    const Json::Value& midMixer = result["MidMixer4"]["SVValues"];
    QCOMPARE(midMixer["Output_1_Input_1_Gain"].asString(), std::string("0"));
    QCOMPARE(midMixer["Output_1_Input_2_Gain"].asString(), std::string("-120"));
    QCOMPARE(midMixer["Output_1_Input_3_Gain"].asString(), std::string("-120"));
    QCOMPARE(midMixer["Output_1_Input_4_Gain"].asString(), std::string("0"));
}

void TestConfigBuilder::multiRowCrossover()
{
    Json::Value config = defaultConfig();
    Json::Value& crossovers = column(config, 8);
    Json::Value wide(Json::arrayValue);
    wide.append("Out_CrossoverIIR");
    wide.append("Stereo 2-Way with Mono Sub");
    Json::Value narrow = crossovers[6];
    crossovers.resize(1);
    crossovers.append(wide);
    crossovers.append(narrow);
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    const Json::Value& map = Kalo480ConfigBuilder::instance()->columnMap()["Column_Out_Crossover"];
    QCOMPARE(compactJson(map), std::string(R"(["CrossoverIIR1","LINKED","LINKED","LINKED",)"
                                           R"("LINKED","CrossoverIIR6"])"));
    QCOMPARE(result["CrossoverIIR1"][".info"].asString(), std::string("2x5"));
    QCOMPARE(result["CrossoverIIR1"]["Attributes"]["SubSumMono"].asInt(), 1);
    QCOMPARE(result["CrossoverIIR1"]["Attributes"]["CutSub"].asInt(), 1);
}

void TestConfigBuilder::refusals_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("logEnd");
    QTest::newRow("not an object") << "array"
                                   << "Unexpected format for builder config."
                                   << "";
    QTest::newRow("format") << "format"
                            << "Format must be BuilderConfig"
                            << "";
    QTest::newRow("device with blank") << "device"
                                       << "Device must be Kalo480."
                                       << "";
    QTest::newRow("version as text") << "version"
                                     << "Unsupported builder config version."
                                     << "";
    QTest::newRow("count as text") << "countText"
                                   << "Grids are invalid."
                                   << "Output1 po does not exist";
    QTest::newRow("five outputs") << "fiveOutputs"
                                  << "Grids are invalid."
                                  << "Output6 po does not exist";
    QTest::newRow("seven mid rows") << "sevenRows"
                                    << "Grids are invalid."
                                    << "Column_Mid_Insert has 7 rows, more than 6\n";
    QTest::newRow("unknown template") << "unknownTemplate"
                                      << "Grids are invalid."
                                      << "Output1 po does not exist";
    QTest::newRow("zero count") << "zeroCount"
                                << "Grids are invalid."
                                << "Output1 po does not exist";
    QTest::newRow("same object twice") << "twice"
                                       << "Duplicate processing object name."
                                       << "";
}

void TestConfigBuilder::refusals()
{
    QFETCH(QString, change);
    QFETCH(QString, message);
    QFETCH(QString, logEnd);
    Json::Value config = defaultConfig();
    if (change == "array")
        config = Json::Value(Json::arrayValue);
    else if (change == "format")
        config["Format"] = "Builderconfig";
    else if (change == "device")
        config["Device"] = "Kalo480 ";
    else if (change == "version")
        config["Version"] = "5";
    else if (change == "countText")
        column(config, 3)[1][1] = "1";
    else if (change == "fiveOutputs")
        column(config, 14).resize(6);
    else if (change == "sevenRows")
        column(config, 7).append(item("Mid_Compressor", 1));
    else if (change == "unknownTemplate")
        column(config, 4)[2] = item("In_Nothing", 1);
    else if (change == "zeroCount")
        column(config, 12)[1] = item("Out_Limiter", 0);
    else if (change == "twice")
        column(config, 4)[1] = item("In_GEQ", 1);

    Json::Value result(Json::objectValue);
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    QVERIFY(!builder->buildConfig(result, config));
    QVERIFY(result.isNull());
    QCOMPARE(QString::fromStdString(builder->errorText()), message);
    const QString log = QString::fromStdString(builder->validationLog());
    QVERIFY2(log.endsWith(logEnd), qPrintable(log));
}

void TestConfigBuilder::templatesChecked()
{
    Json::Value templates = Kalo480ConfigBuilder::instance()->templates();
    Json::Value result;
    {
        TemplatesOverride missing{Json::Value()};
        QVERIFY(!Kalo480ConfigBuilder::instance()->buildConfig(result, defaultConfig()));
        QCOMPARE(Kalo480ConfigBuilder::instance()->errorText(),
                 std::string("Templates do not exist."));
        QVERIFY(Kalo480ConfigBuilder::instance()->getDefault().isNull());
    }
    Json::Value config = defaultConfig();
    templates[".version"] = 18;
    TemplatesOverride old(templates);
    // Refused before the configuration is looked at.
    QVERIFY(!Kalo480ConfigBuilder::instance()->buildConfig(result, Json::Value("nonsense")));
    QCOMPARE(Kalo480ConfigBuilder::instance()->errorText(),
             std::string("Templates are wrong version."));
}

void TestConfigBuilder::outputMeterWiresFollowDelayRows()
{
    Json::Value config = defaultConfig();
    Json::Value& delays = column(config, 13);
    delays.resize(1);
    delays.append(item("Out_Delay", 3));
    delays.append(Json::Value());
    delays.append(item("Out_Delay", 2));
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    QCOMPARE(compactJson(Kalo480ConfigBuilder::instance()->columnMap()["Column_Out_Delay"]),
             std::string(R"(["DelayOut1","LINKED","LINKED","EMPTY","DelayOut5","LINKED"])"));
    const Json::Value& wires = result["wires"];
    for (int k = 0; k < 3; ++k)
        QCOMPARE(wireCount(wires, "DelayOut1", k, "OutputMeters", k), 1);
    for (int k = 0; k < 2; ++k)
        QCOMPARE(wireCount(wires, "DelayOut5", k, "OutputMeters", 3 + k), 1);
    QCOMPARE(int(wires.size()), 77 - 1);
}

void TestConfigBuilder::midFixedRouteWires()
{
    Json::Value config = defaultConfig();
    QVERIFY(Kalo480ConfigEditor::swap(config, "Mid_Router_In4", "", 5, 2));
    QVERIFY(Kalo480ConfigEditor::swap(config, "Mid_Router_1+2", "", 5, 3));
    const Json::Value result = build(config);
    QCOMPARE(result["MidRouter2"][".type"].asString(), std::string("FixedInputRoute"));
    QVERIFY(!result["MidRouter2"].isMember("SVValues"));
    const Json::Value& wires = result["wires"];
    for (int k = 0; k <= 6; ++k)
        QCOMPARE(wireCount(wires, "Inputs2", 6 + k, "MidRouter2", k), 1);
    QCOMPARE(wireCount(wires, "Inputs2", 13, "MidRouter2", 7), 1);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(wireCount(wires, "Inputs2", 3 + k, "MidRouter3", k), 1);
    QCOMPARE(wireCount(wires, "Inputs2", 13, "MidRouter3", 3), 1);
    QCOMPARE(int(wires.size()), 77 + 4);
}

void TestConfigBuilder::dspMismatchFailsWiring()
{
    Json::Value templates = Kalo480ConfigBuilder::instance()->templates();
    templates["MidMeters"]["Properties"]["DSP"] = "dsp1";
    TemplatesOverride mismatch(templates);
    Json::Value result;
    QVERIFY(!Kalo480ConfigBuilder::instance()->buildConfig(result, defaultConfig()));
    QCOMPARE(Kalo480ConfigBuilder::instance()->errorText(), std::string("Wiring is invalid."));
    const QString log = QString::fromStdString(Kalo480ConfigBuilder::instance()->validationLog());
    QVERIFY(log.contains("MidMeters"));
    QVERIFY(log.endsWith(" src and dest DSP don't match\n"));
}

void TestConfigBuilder::emptyZoneGainColumnLeftOut()
{
    Json::Value config = defaultConfig();
    column(config, 10).resize(1);
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    QCOMPARE(int(result["gridsOA"][0]["Map"].size()), 21);
    QVERIFY(!result.isMember("ZoneGains"));
}

void TestConfigBuilder::invalidCrossoverTypeRefused()
{
    Json::Value templates = Kalo480ConfigBuilder::instance()->templates();
    Json::Value& words = templates[".crossoverIIRTypes"]["Mono Fullrange"];
    words[3] = "Mono";
    TemplatesOverride broken(templates);
    Json::Value result;
    QVERIFY(!Kalo480ConfigBuilder::instance()->buildConfig(result, defaultConfig()));
    QCOMPARE(Kalo480ConfigBuilder::instance()->errorText(), std::string("Invalid crossover type."));
}

void TestConfigBuilder::roundTrips()
{
    Json::Value config = configWithCrossover("Stereo 2-Way with Stereo Subs");
    QVERIFY(Kalo480ConfigEditor::link(config, 3, 1, 2, true));
    Kalo480ConfigEditor::outputsSetOutputName(config, 6, "Zone 6 \"east\" \xc3\xa9");
    const Json::Value first = build(config);
    QVERIFY(first.isObject());
    QCOMPARE(first[".builderConfig"], config);

    // Through text and back: the same builder configuration builds the same device configuration.
    const Json::Value reread = parseJson(compactJson(first[".builderConfig"]));
    QCOMPARE(reread, config);
    const Json::Value second = build(reread);
    QCOMPARE(compactJson(second), compactJson(first));
    QCOMPARE(parseJson(compactJson(first)), first);
    QCOMPARE(second["Output6"]["Attributes"]["OutputName"].asString(),
             std::string("Zone 6 \"east\" \xc3\xa9"));

    // The build leaves its input alone, and an edit undone gives the configuration back.
    const Json::Value before = defaultConfig();
    Json::Value edited = before;
    build(edited);
    QCOMPARE(edited, before);
    QVERIFY(Kalo480ConfigEditor::link(edited, 9, 2, 3, true));
    QVERIFY(Kalo480ConfigEditor::unlink(edited, 9, 3, true));
    QCOMPARE(edited, before);
}

QTEST_GUILESS_MAIN(TestConfigBuilder)
#include "tst_configbuilder.moc"
