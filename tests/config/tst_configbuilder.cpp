// Builds of builder configurations: the objects, grids and wires made, the refusals with their
// messages, and round trips through JSON text.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "testmain.h"

#include <QTest>

using namespace configfixture;
using Editor = Kalo480ConfigEditor;

namespace {

Json::Value item(const char* templateName, int count)
{
    Json::Value value(Json::arrayValue);
    value.append(templateName);
    value.append(count);
    return value;
}

// Each wire as "source:channel>destination:channel".
QStringList wireTexts(const Json::Value& wires)
{
    QStringList texts;
    for (const Json::Value& wire : wires)
        texts << QString("%1:%2>%3:%4")
                     .arg(wire[0][0].asCString())
                     .arg(wire[0][1].asInt())
                     .arg(wire[1][0].asCString())
                     .arg(wire[1][1].asInt());
    return texts;
}

} // namespace

class TestConfigBuilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadTemplates()); }
    void defaultConfiguration();
    void layouts_data();
    void layouts();
    void refusals_data();
    void refusals();
    void roundTrips();
};

void TestConfigBuilder::defaultConfiguration()
{
    std::string error;
    const Json::Value result = build(defaultConfig(), &error);
    QVERIFY2(result.isObject(), error.c_str());
    QVERIFY(Kalo480ConfigBuilder::instance()->errorText().empty());
    QCOMPARE(result["Nuq3"]["Attributes"]["ProcessDelay"].asInt(), 4);
    QVERIFY(result["GEQ2"].isObject() && !result["GEQ2"].isMember(".builder"));
    QCOMPARE(result["Output6"]["Attributes"]["OutputName"].asString(), std::string("Output 6"));
    QCOMPARE(result["InputRouter"]["Attributes"]["Slot7Source"].asInt(), 6);
    // Mixer gains are worked out per input: open on the last input and on input 1, 2 or 3 by
    // the item's place in its column, closed on the others.
    const struct
    {
        const char* mixer;
        std::string gains;
    } mixers[] = {{"InMixer2", "-120 0 -120 -120 -120 -120 -120 0"},
                  {"MidMixer3", "-120 -120 0 0"},
                  {"MidMixer4", "0 -120 -120 0"}};
    for (const auto& mixer : mixers) {
        const Json::Value& values = result[mixer.mixer]["SVValues"];
        std::string gains;
        for (Json::ArrayIndex input = 1; input <= values.size(); ++input)
            gains += (input > 1 ? " " : "") +
                     values["Output_1_Input_" + std::to_string(input) + "_Gain"].asString();
        QCOMPARE(gains, mixer.gains);
    }
}

void TestConfigBuilder::layouts_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("mapKey");
    QTest::addColumn<std::string>("map");
    QTest::addColumn<int>("wireCount");
    QTest::addColumn<QStringList>("wires");
    QTest::addColumn<int>("oaColumns");

    QTest::newRow("default") << Change([](Json::Value&) {}) << "Column_Out_Crossover"
                             << std::string(R"(["CrossoverIIR1","CrossoverIIR2","CrossoverIIR3",)"
                                            R"("CrossoverIIR4","CrossoverIIR5","CrossoverIIR6"])")
                             << 77 << QStringList{"DelayOut6:0>OutputMeters:5"} << 22;
    QTest::newRow("crossover over five rows")
        << Change([](Json::Value& config) {
               Editor::swap(config, "Out_CrossoverIIR", "Stereo 2-Way with Mono Sub", 8, 1);
           })
        << "Column_Out_Crossover"
        << std::string(R"(["CrossoverIIR1","LINKED","LINKED","LINKED","LINKED","CrossoverIIR6"])")
        << 62 << QStringList{"MidMixer6:0>MidMeters:5"} << 22;
    QTest::newRow("output meters follow linked delay rows")
        << Change([](Json::Value& config) {
               Json::Value& delays = config["Columns"][13];
               delays.resize(1);
               delays.append(item("Out_Delay", 3));
               delays.append(Json::Value());
               delays.append(item("Out_Delay", 2));
           })
        << "Column_Out_Delay"
        << std::string(R"(["DelayOut1","LINKED","LINKED","EMPTY","DelayOut5","LINKED"])") << 76
        << QStringList{"DelayOut1:0>OutputMeters:0", "DelayOut1:2>OutputMeters:2",
                       "DelayOut5:0>OutputMeters:3", "DelayOut5:1>OutputMeters:4"}
        << 22;
    QTest::newRow("fixed input routes in the mid column")
        << Change([](Json::Value& config) {
               Editor::swap(config, "Mid_Router_In4", "", 5, 2);
               Editor::swap(config, "Mid_Router_1+2", "", 5, 3);
           })
        << "Column_Mid_Mixer"
        << std::string(R"(["MidMixer1","MidRouter2","MidRouter3","MidMixer4","MidMixer5",)"
                       R"("MidMixer6"])")
        << 81
        << QStringList{"Inputs2:6>MidRouter2:0", "Inputs2:12>MidRouter2:6",
                       "Inputs2:13>MidRouter2:7", "Inputs2:5>MidRouter3:2",
                       "Inputs2:13>MidRouter3:3"}
        << 22;
    QTest::newRow("empty zone gain column left out")
        << Change([](Json::Value& config) { config["Columns"][10].resize(1); })
        << "Column_Out_ZoneGain" << std::string("[]") << 77 << QStringList() << 21;
}

void TestConfigBuilder::layouts()
{
    QFETCH(Change, change);
    QFETCH(QString, mapKey);
    QFETCH(std::string, map);
    QFETCH(int, wireCount);
    QFETCH(QStringList, wires);
    QFETCH(int, oaColumns);
    Json::Value config = defaultConfig();
    change(config);
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    const QStringList made = wireTexts(result["wires"]);
    QCOMPARE(jsontext::compact(Kalo480ConfigBuilder::instance()->columnMap()[mapKey.toStdString()]),
             map);
    QCOMPARE(made.size(), wireCount);
    for (const QString& wire : wires)
        QVERIFY2(made.count(wire) == 1, qPrintable(wire));
    QCOMPARE(int(result["gridsOA"][0]["Map"].size()), oaColumns);
}

void TestConfigBuilder::refusals_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<Change>("templatesChange");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("logEnd");

    const Change none = [](Json::Value&) {};
    const auto row = [&](const char* name, const char* message, const char* logEnd,
                         const Change& change, const Change& templatesChange = nullptr) {
        QTest::newRow(name) << change << (templatesChange ? templatesChange : none) << message
                            << logEnd;
    };
    const char* grids = "Grids are invalid.";
    const char* noOutput1 = "Output1 po does not exist";
    row("not an object", "Unexpected format for builder config.", "",
        [](Json::Value& c) { c = Json::Value(Json::arrayValue); });
    row("format", "Format must be BuilderConfig", "",
        [](Json::Value& c) { c["Format"] = "Builderconfig"; });
    row("device with blank", "Device must be Kalo480.", "",
        [](Json::Value& c) { c["Device"] = "Kalo480 "; });
    row("version as text", "Unsupported builder config version.", "",
        [](Json::Value& c) { c["Version"] = "5"; });
    row("count as text", grids, noOutput1, [](Json::Value& c) { c["Columns"][3][1][1] = "1"; });
    row("five outputs", grids, "Output6 po does not exist",
        [](Json::Value& c) { c["Columns"][14].resize(6); });
    row("seven mid rows", grids, "Column_Mid_Insert has 7 rows, more than 6\n",
        [](Json::Value& c) { c["Columns"][7].append(item("Mid_Compressor", 1)); });
    row("unknown template", grids, noOutput1,
        [](Json::Value& c) { c["Columns"][4][2] = item("In_Nothing", 1); });
    row("zero count", grids, noOutput1,
        [](Json::Value& c) { c["Columns"][12][1] = item("Out_Limiter", 0); });
    row("same object twice", "Duplicate processing object name.", "",
        [](Json::Value& c) { c["Columns"][4][1] = item("In_GEQ", 1); });

    row("no templates", "Templates do not exist.", "", none,
        [](Json::Value& t) { t = Json::Value(); });
    // Refused before the configuration is looked at.
    row(
        "templates of another version", "Templates are wrong version.", "",
        [](Json::Value& c) { c = "nonsense"; }, [](Json::Value& t) { t[".version"] = 18; });
    row("endpoints on different DSPs", "Wiring is invalid.", " src and dest DSP don't match\n",
        none, [](Json::Value& t) { t["MidMeters"]["Properties"]["DSP"] = "dsp1"; });
    row("invalid crossover type", "Invalid crossover type.", "", none,
        [](Json::Value& t) { t[".crossoverIIRTypes"]["Mono Fullrange"][3] = "Mono"; });
}

void TestConfigBuilder::refusals()
{
    QFETCH(Change, change);
    QFETCH(Change, templatesChange);
    QFETCH(QString, message);
    QFETCH(QString, logEnd);
    Json::Value config = defaultConfig();
    change(config);
    TemplatesOverride changed(templatesWith(templatesChange));
    Json::Value result(Json::objectValue);
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    QVERIFY(!builder->buildConfig(result, config));
    QVERIFY(result.isNull());
    QCOMPARE(QString::fromStdString(builder->errorText()), message);
    const QString log = QString::fromStdString(builder->validationLog());
    QVERIFY2(log.endsWith(logEnd), qPrintable(log));
}

void TestConfigBuilder::roundTrips()
{
    Json::Value config = configWithCrossover("Stereo 2-Way with Stereo Subs");
    QVERIFY(Editor::link(config, 3, 1, 2, true));
    Editor::outputsSetOutputName(config, 6, "Zone 6 \"east\" \xc3\xa9");
    const Json::Value first = build(config);
    QCOMPARE(first[".builderConfig"], config);

    // Through text and back: the same builder configuration builds the same device configuration.
    const Json::Value reread = jsontext::parse(jsontext::compact(first[".builderConfig"]));
    QCOMPARE(reread, config);
    const Json::Value second = build(reread);
    QCOMPARE(jsontext::compact(second), jsontext::compact(first));
    QCOMPARE(jsontext::parse(jsontext::compact(first)), first);
    QCOMPARE(second["Output6"]["Attributes"]["OutputName"].asString(),
             std::string("Zone 6 \"east\" \xc3\xa9"));

    // The build leaves its input alone, and an edit undone gives the configuration back.
    Json::Value edited = defaultConfig();
    build(edited);
    QCOMPARE(edited, defaultConfig());
    QVERIFY(Editor::link(edited, 9, 2, 3, true));
    QVERIFY(Editor::unlink(edited, 9, 3, true));
    QCOMPARE(edited, defaultConfig());
}

QX8_TEST_GUILESS_MAIN(TestConfigBuilder)
#include "tst_configbuilder.moc"
