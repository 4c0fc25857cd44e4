// Display names, crossover codes, band and image names, and copy-paste compatibility.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <QTest>

using namespace configfixture;
using Editor = Kalo480ConfigEditor;

namespace {

Json::Value typed(const char* type, const char* info = nullptr)
{
    Json::Value po(Json::objectValue);
    po[".type"] = type;
    if (info)
        po[".info"] = info;
    return po;
}

} // namespace

class TestConfigNames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadTemplates()); }
    void crossoverCodeRefusals();
    void wizardCodes_data();
    void wizardCodes();
    void crossoverNames();
    void placeholders();
    void fixedInputRouteNames();
    void platformOverride();
    void copyPaste();
};

void TestConfigNames::crossoverCodeRefusals()
{
    QCOMPARE(thrownBy([] { Editor::getCrossoverCode("Out_CrossoverIIR", "Mono 7-Way"); }),
             std::string("unsupported crossoverSecondaryType"));
    QCOMPARE(thrownBy([] { Editor::getCrossoverCode("Out_PEQ", "Mono Fullrange"); }),
             std::string("unsupported crossoverType"));
    QCOMPARE(Editor::getCrossoverCode("Out_CrossoverQX8", "2x4"), 0);
    QCOMPARE(Editor::lookupCrossoverSecondaryType("Out_CrossoverIIR", 99999), std::string());
    QCOMPARE(Editor::lookupCrossoverSecondaryType("Out_CrossoverQX8", 11100), std::string());

    TemplatesOverride broken(templatesWith(
        [](Json::Value& t) { t[".crossoverIIRTypes"]["Mono Fullrange"][1] = "Mains=7"; }));
    QCOMPARE(Editor::getCrossoverCode("Out_CrossoverIIR", "Mono Fullrange"), 0);
    // The code map follows the templates it was made from.
    QCOMPARE(Editor::lookupCrossoverSecondaryType("Out_CrossoverIIR", 11100), std::string());
}

void TestConfigNames::wizardCodes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("mains");
    QTest::addColumn<int>("ways");
    QTest::addColumn<bool>("hasSub");
    QTest::addColumn<bool>("auxFed");
    QTest::addColumn<int>("subLayout");
    QTest::addColumn<int>("code");
    QTest::newRow("stereo 2-way stereo subs") << 1 << 0 << 1 << true << false << 3 << 22222;
    QTest::newRow("mono x2 fullrange") << 0 << 1 << 0 << false << false << 0 << 12100;
    QTest::newRow("mono x3 aux subs x3") << 0 << 2 << 0 << true << true << 2 << 13143;
    QTest::newRow("lcr lcr subs") << 2 << 0 << 0 << true << false << 4 << 33133;
    QTest::newRow("mode out of range") << 3 << 0 << 0 << false << false << 0 << 0;
    QTest::newRow("sub layout out of range") << 1 << 0 << 0 << true << false << 5 << 0;
    QTest::newRow("ways out of range") << 1 << 0 << 6 << false << false << 0 << 0;
}

void TestConfigNames::wizardCodes()
{
    QFETCH(int, mode);
    QFETCH(int, mains);
    QFETCH(int, ways);
    QFETCH(bool, hasSub);
    QFETCH(bool, auxFed);
    QFETCH(int, subLayout);
    QFETCH(int, code);
    QCOMPARE(Editor::crossoverCodeFromWizardSVs(mode, mains, ways, hasSub, auxFed, subLayout),
             code);
}

void TestConfigNames::crossoverNames()
{
    const Json::Value stereo = typed("IIR Stereo 2-Way");
    QCOMPARE(Editor::getCrossoverName(stereo, true), std::string("Stereo* 2Way"));
    QCOMPARE(Editor::getCrossoverBandName(stereo, 2), std::string("LOWS"));
    QCOMPARE(Editor::getCrossoverBandName(stereo, 3), std::string());
    QCOMPARE(Editor::getCrossoverBandName(stereo, 0), std::string());
    QCOMPARE(Editor::getCrossoverSortIndex("Out_CrossoverIIR", "Mono 9-Way"), 0);
    QCOMPARE(Editor::getCrossoverConfigImageName("Out_CrossoverIIR", "Stereo 2-Way"),
             std::string("CC_22200.png"));
    QCOMPARE(Editor::getSpeakerStackImageName("Out_CrossoverFIR", "Stereo 2-Way"), std::string());
    QCOMPARE(Editor::getDescriptionUsingCrossoverAndSpeakers(22211, "K2", "KS28"),
             std::string("Stereo K2 2Way + Mono Sub KS28"));
    QCOMPARE(Editor::getDescriptionUsingCrossoverAndSpeakers(1, "K2", "KS28"), std::string());
    Json::Value key;
    Editor::crossoverNamesKey("Out_CrossoverQX8", "2x4", key);
    QCOMPARE(compactJson(key), std::string(R"({".type":"QX8 2x4"})"));
    Editor::crossoverNamesKey("Out_PEQ", "2x4", key);
    QCOMPARE(compactJson(key), std::string("{}"));
}

void TestConfigNames::placeholders()
{
    QCOMPARE(Editor::getLongName(typed("MidRouterABC", "A+B")), std::string("Route A+B"));
    QCOMPARE(Editor::getShortName(typed("MidRouter123", "3")), std::string("3"));
    QCOMPARE(Editor::getShortName(typed("FixedInputRoute", "4")), std::string("IN4"));
    Json::Value noInfo = typed("MidRouterABC");
    noInfo[".info"] = Json::Value(Json::arrayValue);
    QCOMPARE(Editor::getLongName(noInfo), std::string("Route ERROR"));
    Json::Value output = typed("OutputName", "2");
    output["Attributes"]["OutputName"] = "Lobby";
    QCOMPARE(Editor::getLongName(output), std::string("Lobby"));
    QCOMPARE(Editor::getShortName(output), std::string("OUT 2"));
    output["Attributes"]["OutputName"] = Json::Value(Json::objectValue);
    QCOMPARE(Editor::getLongName(output), std::string("ERROR"));
    QCOMPARE(Editor::getLongName(typed("NoSuchType")), std::string());
    QCOMPARE(Editor::getLongName(Json::Value("not an object")), std::string());
}

void TestConfigNames::fixedInputRouteNames()
{
    TemplatesOverride starred(
        templatesWith([](Json::Value& t) { t[".names"]["FixedInputRoute"]["long"] = "From *"; }));
    const Json::Value route = typed("FixedInputRoute", "4");
    Editor::setBuilderConfig(Json::Value());
    QCOMPARE(Editor::getLongName(route), std::string());
    Json::Value config = defaultConfig();
    Editor::inputRouterSetSource(config, 4, 9);
    Editor::setBuilderConfig(config);
    QCOMPARE(Editor::getLongName(route), std::string("From OptionCard3"));
    QCOMPARE(Editor::getLongName(typed("FixedInputRoute", "9")), std::string("From "));
    QCOMPARE(Editor::getLongName(typed("FixedInputRoute", "")), std::string("From ERROR"));
    Editor::setBuilderConfig(Json::Value());
}

void TestConfigNames::platformOverride()
{
    TemplatesOverride overridden(templatesWith([](Json::Value& t) {
        t[".names"]["GraphicEQ"]["fp"]["long"] = "31-Band EQ";
        t[".names"]["GraphicEQ"]["app"]["long"] = "Other";
    }));
    const Json::Value geq = typed("GraphicEQ");
    QCOMPARE(Editor::getLongName(geq), std::string("31-Band EQ"));
    QCOMPARE(Editor::getShortName(geq), std::string("GEQ"));
    Editor::setPlatform("app");
    QCOMPARE(Editor::getLongName(geq), std::string("Other"));
    Editor::setPlatform("desk");
    QCOMPARE(Editor::getLongName(geq), std::string("Graphic EQ"));
    Editor::setPlatform("fp");
}

void TestConfigNames::copyPaste()
{
    QVERIFY(Editor::isCopyPasteCompatible("In_Delay", "Out_Delay"));
    QVERIFY(!Editor::isCopyPasteCompatible("In_Delay", "In_Gate"));
    QVERIFY(Editor::isCopyPasteCompatible("Anything", "Anything"));
    QCOMPARE(compactJson(Editor::getCopyPasteCompatibleTypes("In_Gate")),
             std::string(R"(["In_Gate","Mid_Gate"])"));
    QVERIFY(Editor::getCopyPasteCompatibleTypes("Out_Delay").isNull());
    TemplatesOverride broken(
        templatesWith([](Json::Value& t) { t[".copyPasteCompatibility"] = "not a table"; }));
    QVERIFY(!Editor::isCopyPasteCompatible("In_Delay", "Out_Delay"));
}

QTEST_GUILESS_MAIN(TestConfigNames)
#include "tst_confignames.moc"
