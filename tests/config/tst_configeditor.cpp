// Editing operations on real builder configurations: link, unlink, swap, the swap lists, the
// input-router sources and the output names, with their results and their refusals.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <QTest>

#include <functional>
#include <stdexcept>

using namespace configfixture;
using Editor = Kalo480ConfigEditor;

namespace {

std::string thrownBy(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "nothing thrown";
}

std::vector<int> range(int first, int last)
{
    std::vector<int> values;
    for (int value = first; value <= last; ++value)
        values.push_back(value);
    return values;
}

} // namespace

class TestConfigEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void gridLookups();
    void lookupRefusals_data();
    void lookupRefusals();
    void linkMergesEqualItems();
    void linkRefusals_data();
    void linkRefusals();
    void linkSplitsAnItemReachingPastTheSpan();
    void linkInPeqColumnMergesAnyTemplates();
    void unlinkSplitsFromAnyRow();
    void autoEqLock();
    void swapCells();
    void crossoverSwapToStereo();
    void crossoverSwapBackRestoresMidCells();
    void crossoverSwapPastLastRowRefused();
    void swapOptionsLeaveOutOtherInsertColumn();
    void crossoverOptions();
    void displayNames();
    void inputRouterSources();
    void outputNames();
};

void TestConfigEditor::initTestCase()
{
    QVERIFY(loadTemplates());
}

void TestConfigEditor::gridLookups()
{
    Json::Value config = configWithCrossover("Stereo 2-Way");
    QCOMPARE(Editor::rowIdxForPath(config, 8, 1), 1);
    QCOMPARE(Editor::rowIdxForPath(config, 8, 5), 2);
    QCOMPARE(Editor::rowIDForColIDRowIdx(config, 8, 3), 6);
    QCOMPARE(Editor::rowIDForColIDRowIdx(config, 8, 0), 1);
    QCOMPARE(Editor::itemTypeAtPath(config, 3, 2), std::string("In_GEQ"));
    QCOMPARE(Editor::itemTypeAtPath(config, 8, 2), std::string());
    QCOMPARE(Editor::itemSecondaryTypeAtPath(config, 8, 1), std::string("Stereo 2-Way"));
    QCOMPARE(Editor::itemSecondaryTypeAtPath(config, 3, 1), std::string());
    QCOMPARE(Editor::itemTypeAtPath(config, 40, 1), std::string());
    int height = -1;
    QVERIFY(Editor::unlinkTest(config, 9, 1, &height) == false);
    QCOMPARE(height, 1);
    QVERIFY(!Editor::unlinkTest(config, 8, 1, &height));
    QCOMPARE(height, 0);
    QVERIFY(Editor::link(config, 12, 1, 3, true));
    QVERIFY(Editor::unlinkTest(config, 12, 1, &height));
    QCOMPARE(height, 3);
}

void TestConfigEditor::lookupRefusals_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("message");
    QTest::newRow("no columns") << "noColumns"
                                << "columns is not an array";
    QTest::newRow("column past the end") << "column15"
                                         << "no item found at path";
    QTest::newRow("negative column") << "columnNegative"
                                     << "no item found at path";
    QTest::newRow("row zero") << "row0"
                              << "no item found at path";
    QTest::newRow("row inside an item") << "inside"
                                        << "no item found at path";
    QTest::newRow("row past the items") << "past"
                                        << "no item found at path";
    QTest::newRow("bad item on the way") << "badItem"
                                         << "bad item at path";
    QTest::newRow("swap inside an item") << "swapInside"
                                         << "no item found at path";
    QTest::newRow("swap options past the columns") << "optionsColumn"
                                                   << "no item found at path";
    QTest::newRow("router slot without a source") << "routerShort"
                                                  << "bad item at path";
    QTest::newRow("unknown crossover type") << "crossoverType"
                                            << "unsupported crossoverSecondaryType";
}

void TestConfigEditor::lookupRefusals()
{
    QFETCH(QString, call);
    QFETCH(QString, message);
    Json::Value config = defaultConfig();
    QVERIFY(Editor::link(config, 13, 1, 3, true));
    std::function<void()> run;
    if (call == "noColumns")
        run = [] { Editor::rowIdxForPath(Json::Value(Json::objectValue), 1, 1); };
    else if (call == "column15")
        run = [&] { Editor::colAtPath(config, 15); };
    else if (call == "columnNegative")
        run = [&] { Editor::itemAtPath(config, -1, 1); };
    else if (call == "row0")
        run = [&] { Editor::rowIdxForPath(config, 3, 0); };
    else if (call == "inside")
        run = [&] { Editor::itemAtPath(config, 13, 2); };
    else if (call == "past")
        run = [&] { Editor::itemAtPath(config, 3, 4); };
    else if (call == "badItem")
        run = [&] {
            config["Columns"][3][1][1] = "x";
            Editor::rowIdxForPath(config, 3, 2);
        };
    else if (call == "swapInside")
        run = [&] { Editor::swap(config, "Out_Delay", "", 13, 3); };
    else if (call == "optionsColumn")
        run = [&] {
            std::vector<std::string> out;
            Editor::swapOptions(config, 15, 1, out);
        };
    else if (call == "routerShort")
        run = [&] {
            config["Columns"][0][1][1].resize(3);
            Editor::inputRouterGetSource(config, 5);
        };
    else if (call == "crossoverType")
        run = [&] { Editor::swap(config, "Out_CrossoverIIR", "Mono 9-Way", 8, 1); };
    const Json::Value before = config;
    QCOMPARE(QString::fromStdString(thrownBy(run)), message);
    if (call == "crossoverType")
        QCOMPARE(config, before);
}

void TestConfigEditor::linkMergesEqualItems()
{
    Json::Value config = defaultConfig();
    QVERIFY(Editor::linkTest(config, 3, 1, 2));
    QVERIFY(Editor::link(config, 3, 1, 2, true));
    QCOMPARE(columnItems(config, 3), std::string(R"([["In_GEQ",2],["In_GEQ",1]])"));
    QVERIFY(build(config).isObject());
    QCOMPARE(Editor::rowIdxForPath(config, 3, 3), 2);
}

void TestConfigEditor::linkRefusals_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("testAnswer");
    QTest::newRow("input router") << 0 << 1 << 2 << false;
    QTest::newRow("input mixers") << 1 << 1 << 2 << false;
    QTest::newRow("mid mixers") << 5 << 1 << 2 << false;
    QTest::newRow("crossovers") << 8 << 1 << 2 << false;
    QTest::newRow("outputs") << 14 << 1 << 2 << false;
    QTest::newRow("past the input rows") << 3 << 2 << 3 << false;
    QTest::newRow("past the output rows") << 12 << 5 << 3 << false;
    QTest::newRow("count zero") << 12 << 1 << 0 << false;
    QTest::newRow("row zero") << 12 << 0 << 2 << false;
    QTest::newRow("column past the end") << 20 << 1 << 2 << false;
    QTest::newRow("different templates") << 4 << 1 << 2 << false;
}

void TestConfigEditor::linkRefusals()
{
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, count);
    Json::Value config = defaultConfig();
    QVERIFY(Editor::swap(config, "In_Gate", "", 4, 2));
    const Json::Value before = config;
    QVERIFY(!Editor::linkTest(config, col, row, count));
    QVERIFY(!Editor::link(config, col, row, count, false));
    QCOMPARE(config, before);
}

void TestConfigEditor::linkSplitsAnItemReachingPastTheSpan()
{
    Json::Value config = defaultConfig();
    QVERIFY(Editor::link(config, 2, 2, 2, true));
    QCOMPARE(columnItems(config, 2), std::string(R"([["In_Nuq",1],["In_Nuq",2]])"));
    QVERIFY(Editor::link(config, 2, 1, 2, true));
    QCOMPARE(columnItems(config, 2), std::string(R"([["In_Nuq",2],["In_Nuq",1]])"));
    // One row fewer, as the screens ask for it, splits and links again.
    QVERIFY(Editor::link(config, 12, 1, 4, true));
    QVERIFY(Editor::link(config, 12, 1, 3, true));
    QCOMPARE(columnItems(config, 12), std::string(R"([["Out_Limiter",3],["Out_Limiter",1],)"
                                                  R"(["Out_Limiter",1],["Out_Limiter",1]])"));
}

void TestConfigEditor::linkInPeqColumnMergesAnyTemplates()
{
    Json::Value config = defaultConfig();
    QVERIFY(Editor::swap(config, "Out_PEQ_Jq+", "", 9, 2));
    QVERIFY(Editor::linkTest(config, 9, 1, 2));
    QVERIFY(Editor::link(config, 9, 1, 2, true));
    QCOMPARE(Editor::itemTypeAtPath(config, 9, 1), std::string("Out_PEQ_Morla"));
    QVERIFY(Editor::unlink(config, 9, 2, true));
    QCOMPARE(Editor::itemTypeAtPath(config, 9, 2), std::string("Out_PEQ_Morla"));
}

void TestConfigEditor::unlinkSplitsFromAnyRow()
{
    Json::Value config = defaultConfig();
    QVERIFY(Editor::link(config, 7, 2, 3, true));
    QVERIFY(Editor::unlink(config, 7, 3, true));
    QCOMPARE(config, defaultConfig());
    QVERIFY(!Editor::unlink(config, 7, 3, true));
    QVERIFY(!Editor::unlink(config, 30, 3, true));
    QVERIFY(!Editor::unlink(config, 7, -5, true));
    QCOMPARE(config, defaultConfig());
}

void TestConfigEditor::autoEqLock()
{
    Json::Value config = defaultConfig();
    QVERIFY(!Editor::linkTest(config, 6, 1, 2));
    QVERIFY(!Editor::link(config, 6, 1, 2, true));
    QVERIFY(Editor::link(config, 6, 1, 2, false));
    QVERIFY(!Editor::unlink(config, 6, 1, true));
    QVERIFY(Editor::unlink(config, 6, 1, false));
    QCOMPARE(config, defaultConfig());
}

void TestConfigEditor::swapCells()
{
    Json::Value config = defaultConfig();
    QVERIFY(Editor::link(config, 7, 1, 2, true));
    QVERIFY(Editor::swap(config, "", "", 7, 2));
    QCOMPARE(columnItems(config, 7),
             std::string(R"([["Mid_Compressor",1],null,["Mid_Compressor",1],)"
                         R"(["Mid_Compressor",1],["Mid_Compressor",1],)"
                         R"(["Mid_Compressor",1]])"));
    QVERIFY(Editor::swap(config, "Mid_Gate", "", 7, 2));
    QCOMPARE(compactJson(Editor::itemAtPath(config, 7, 2)), std::string(R"(["Mid_Gate",1])"));
    QVERIFY(Editor::swap(config, "", "", 5, 3));
    QVERIFY(Editor::swap(config, "Mid_Router_In2", "", 5, 3));
    QCOMPARE(compactJson(Editor::itemAtPath(config, 5, 3)), std::string(R"(["Mid_Router_In2"])"));
    QVERIFY(Editor::swap(config, "In_Delay", "", 3, 2));
    QCOMPARE(compactJson(Editor::itemAtPath(config, 3, 2)), std::string(R"(["In_Delay",1])"));
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    QVERIFY(result.isMember("GateMid2"));
    QVERIFY(result.isMember("Delay2"));
}

void TestConfigEditor::crossoverSwapToStereo()
{
    Json::Value config = defaultConfig();
    QVERIFY(Editor::swap(config, "Out_CrossoverIIR", "Stereo 2-Way", 8, 1));
    QCOMPARE(columnItems(config, 8), std::string(R"([["Out_CrossoverIIR","Stereo 2-Way"],)"
                                                 R"(["Out_CrossoverIIR","Mono Fullrange"],)"
                                                 R"(["Out_CrossoverIIR","Mono Fullrange"]])"));
    QCOMPARE(columnItems(config, 6), std::string(R"([["Mid_AutoEQ",2],null,null,)"
                                                 R"(["Mid_AutoEQ",1],["Mid_AutoEQ",1]])"));
    for (int col : {5, 7}) {
        QVERIFY(Editor::itemAtPath(config, col, 3).isNull());
        QVERIFY(Editor::itemAtPath(config, col, 4).isNull());
        QVERIFY(!Editor::itemAtPath(config, col, 5).isNull());
    }
    const char* names[] = {"L HIGH", "R HIGH", "L LOW", "R LOW", "Output 5", "Output 6"};
    for (int output = 1; output <= 6; ++output)
        QCOMPARE(Editor::outputsGetOutputName(config, output), std::string(names[output - 1]));
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    QCOMPARE(result["CrossoverIIR1"][".info"].asString(), std::string("2x4"));
    QCOMPARE(result["AutoEQ1"]["Attributes"]["NumChans"].asInt(), 2);
}

void TestConfigEditor::crossoverSwapBackRestoresMidCells()
{
    Json::Value config = configWithCrossover("Stereo 2-Way");
    QVERIFY(Editor::swap(config, "Out_CrossoverIIR", "Mono Fullrange", 8, 1));
    QCOMPARE(columnItems(config, 8), columnItems(defaultConfig(), 8));
    QCOMPARE(columnItems(config, 6), columnItems(defaultConfig(), 6));
    QCOMPARE(columnItems(config, 14), columnItems(defaultConfig(), 14));
    // Refilled rows take the first template each column allows.
    QCOMPARE(Editor::itemTypeAtPath(config, 5, 3), std::string("Mid_Mixer_ABC"));
    QCOMPARE(Editor::itemTypeAtPath(config, 7, 3), std::string("Mid_AGC"));
    QCOMPARE(Editor::itemTypeAtPath(config, 7, 2), std::string("Mid_Compressor"));
    QVERIFY(build(config).isObject());

    // A crossover in the middle of a wider one's old rows.
    QVERIFY(Editor::swap(config, "Out_CrossoverIIR", "LCR Fullrange with LCR Subs", 8, 1));
    QVERIFY(Editor::swap(config, "Out_CrossoverIIR", "Mono 2-Way", 8, 1));
    QVERIFY(Editor::swap(config, "Out_CrossoverIIR", "Mono 3-Way", 8, 3));
    QCOMPARE(columnItems(config, 8), std::string(R"([["Out_CrossoverIIR","Mono 2-Way"],)"
                                                 R"(["Out_CrossoverIIR","Mono 3-Way"],)"
                                                 R"(["Out_CrossoverIIR","Mono Fullrange"]])"));
    std::string error;
    QVERIFY2(build(config, &error).isObject(), error.c_str());
}

void TestConfigEditor::crossoverSwapPastLastRowRefused()
{
    Json::Value config = defaultConfig();
    const Json::Value before = config;
    QVERIFY(!Editor::swap(config, "Out_CrossoverIIR", "Stereo 3-Way", 8, 3));
    QCOMPARE(config, before);
    QVERIFY(!Editor::swap(config, "Out_CrossoverQX8", "2x4", 8, 4));
    QCOMPARE(config, before);
}

void TestConfigEditor::swapOptionsLeaveOutOtherInsertColumn()
{
    Json::Value config = defaultConfig();
    std::vector<std::string> options;
    QVERIFY(Editor::swapOptions(config, 3, 1, options));
    QCOMPARE(options, (std::vector<std::string>{"In_AGC", "In_Delay", "In_Compressor", "In_GEQ",
                                                "In_Gate", "In_PEQ"}));
    QVERIFY(Editor::swap(config, "In_Gate", "", 4, 2));
    QVERIFY(Editor::link(config, 3, 1, 2, true));
    QVERIFY(Editor::swapOptions(config, 3, 1, options));
    QCOMPARE(options,
             (std::vector<std::string>{"In_AGC", "In_Delay", "In_Compressor", "In_GEQ", "In_PEQ"}));
    QVERIFY(Editor::swapOptions(config, 4, 2, options));
    QCOMPARE(int(options.size()), 6);
    QVERIFY(std::find(options.begin(), options.end(), "In_GEQ") == options.end());
    QVERIFY(!Editor::swapOptions(config, -1, 1, options));
    QVERIFY(Editor::swapOptions(config, 8, 1, options));
    QCOMPARE(options, (std::vector<std::string>{"Out_CrossoverQX8", "Out_CrossoverIIR",
                                                "Out_CrossoverFIR"}));
}

void TestConfigEditor::crossoverOptions()
{
    const Json::Value config = defaultConfig();
    std::vector<std::string> options;
    QVERIFY(Editor::swapOptionsForCrossover(config, "Out_CrossoverIIR", 8, 1, options));
    QCOMPARE(int(options.size()), 51);
    QCOMPARE(options.front(), std::string("Mono Fullrange"));
    QCOMPARE(options[15], std::string("Mono 2-Way"));
    QCOMPARE(options.back(), std::string("LCR 2-Way"));
    QVERIFY(Editor::swapOptionsForCrossover(config, "Out_CrossoverIIR", 8, 4, options));
    for (const std::string& type : options) {
        int inputs = 0;
        int outputs = 0;
        Kalo480ConfigBuilder::instance()->crossoverInfo("Out_CrossoverIIR", type, inputs, outputs);
        QVERIFY(outputs <= 3);
    }
    QCOMPARE(int(options.size()), 15);
    QVERIFY(Editor::swapOptionsForCrossover(config, "Out_CrossoverQX8", 8, 1, options));
    QCOMPARE(int(options.size()), 11);
    QVERIFY(Editor::swapOptionsForCrossover(config, "Out_CrossoverFIR", 8, 1, options));
    QVERIFY(options.empty());
    QVERIFY(!Editor::swapOptionsForCrossover(config, "Out_PEQ", 8, 1, options));
    QVERIFY(!Editor::swapOptionsForCrossover(config, "Out_CrossoverIIR", 8, 0, options));
    QVERIFY(!Editor::swapOptionsForCrossover(config, "Out_CrossoverIIR", 8, 9, options));
}

void TestConfigEditor::displayNames()
{
    std::vector<std::string> names;
    Editor::displayNamesForSwapOptions(names, {"In_Router_In3", "In_Mixer", "In_Nothing"});
    QCOMPARE(names, (std::vector<std::string>{"Input Route 3", "Input Mixer", "In_Nothing"}));
    Editor::displayNamesForSwapOptionsForCrossover(
        "Out_CrossoverIIR", names, {"Mono 2-Way", "Stereo Fullrange with Aux Fed Sub"});
    QCOMPARE(names, (std::vector<std::string>{"Mono 2Way", "Stereo Full Range + Aux Sub"}));
    Editor::displayNamesForSwapOptionsForCrossover("Out_CrossoverQX8", names, {"2x4"});
    QCOMPARE(names, (std::vector<std::string>{"2x4"}));
}

void TestConfigEditor::inputRouterSources()
{
    Json::Value config = defaultConfig();
    QCOMPARE(Editor::inputRouterGetSource(config, 1), 0);
    QCOMPARE(Editor::inputRouterGetSource(config, 0), -1);
    QCOMPARE(Editor::inputRouterGetSource(config, 8), -1);
    QCOMPARE(Editor::inputRouterGetSourceName(config, 4), std::string("AES1"));
    QCOMPARE(Editor::inputRouterGetSourceName(config, 9), std::string());
    QCOMPARE(Editor::inputRouterGetSourceNameForSourceID(7), std::string("OptionCard1"));
    QCOMPARE(Editor::inputRouterGetSourceNameForSourceID(15), std::string());
    QCOMPARE(Editor::inputRouterSwapOptionsForSlotNum(config, 2, true),
             (std::vector<int>{1, 7, 8, 9, 10, 11, 12, 13, 14}));
    QVERIFY(Editor::inputRouterSwapOptionsForSlotNum(config, 0, true).empty());

    Editor::inputRouterSetSource(config, 1, 8);
    Editor::inputRouterSetSource(config, 2, 15);
    Editor::inputRouterSetSource(config, 8, 3);
    Editor::inputRouterSetSource(config, 0, 3);
    QCOMPARE(Editor::inputRouterGetSource(config, 1), 8);
    QCOMPARE(Editor::inputRouterGetSource(config, 2), 1);
    QCOMPARE(Editor::inputRouterGetSourceName(config, 1), std::string("OptionCard2"));
    std::vector<int> expected = range(7, 14);
    expected.erase(expected.begin() + 1);
    expected.insert(expected.begin(), 1);
    QCOMPARE(Editor::inputRouterSwapOptionsForSlotNum(config, 2, true), expected);
    const Json::Value result = build(config);
    QCOMPARE(result["InputRouter"]["Attributes"]["Slot1Source"].asInt(), 8);

    config["Columns"][0][1][1] = "broken";
    QCOMPARE(Editor::inputRouterGetSourceName(config, 3), std::string("InputSlot3"));
    QCOMPARE(QString::fromStdString(thrownBy([&] { Editor::inputRouterSetSource(config, 3, 1); })),
             QString("bad item at path"));
}

void TestConfigEditor::outputNames()
{
    Json::Value config = defaultConfig();
    QCOMPARE(Editor::outputsGetOutputName(config, 6), std::string("Output 6"));
    QCOMPARE(Editor::outputsGetOutputName(config, 7), std::string());
    Editor::outputsSetOutputName(config, 2, "Front Fill 1");
    Editor::outputsSetOutputName(config, 0, "nowhere");
    Editor::outputsSetOutputName(config, 7, "nowhere");
    config["Columns"][14][5] = Json::Value();
    Editor::outputsSetOutputName(config, 5, "Lobby");
    QCOMPARE(columnItems(config, 14),
             std::string(R"([["Output","Output 1"],["Output","Front Fill 1"],)"
                         R"(["Output","Output 3"],["Output","Output 4"],)"
                         R"(["Output","Lobby"],["Output","Output 6"]])"));
    QCOMPARE(Editor::getDefaultOutputName(4), std::string("Output 4"));
    QCOMPARE(Editor::getRecommendedCrossoverOutputName("Out_CrossoverIIR", "Mono 2-Way", 2),
             std::string("M LOW"));
    QCOMPARE(Editor::getRecommendedCrossoverOutputName("Out_CrossoverIIR", "Mono 2-Way", 3),
             std::string());
    QCOMPARE(Editor::getRecommendedCrossoverOutputName("Out_CrossoverQX8", "2x2", 1),
             std::string());
    QCOMPARE(build(config)["Output2"]["Attributes"]["OutputName"].asString(),
             std::string("Front Fill 1"));
}

QTEST_GUILESS_MAIN(TestConfigEditor)
#include "tst_configeditor.moc"
