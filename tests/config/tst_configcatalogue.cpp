// The templates file, the crossover catalogue and the display-name records checked against each
// other and against the library, every catalogue entry built into a valid configuration, and the
// name, code and copy-paste lookups.
#include "configfixture.h"
#include "configresources.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "testharness.h"
#include "testmain.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

#include <set>

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

class TestConfigCatalogue : public QObject
{
    Q_OBJECT

private:
    Json::Value m_templates;
    std::vector<CrossoverType> m_catalogue;

private slots:
    void initTestCase();
    void resourcesMatchSourceTree();
    void malformedCatalogue_data();
    void malformedCatalogue();
    void slotTemplatesAreComplete();
    void catalogueCoversEveryType();
    void everyCatalogueEntry_data();
    void everyCatalogueEntry();
    void everyQX8TypeBuilds();
    void crossoverCodeRefusals();
    void wizardCodes_data();
    void wizardCodes();
    void crossoverNames();
    void placeholders();
    void fixedInputRouteNames();
    void platformOverride();
    void copyPaste();
};

// The application's own loader, from the resources it carries.
void TestConfigCatalogue::initTestCase()
{
    QString error;
    QVERIFY2(ConfigResources::load(&error), qPrintable(error));
    m_templates = Kalo480ConfigBuilder::instance()->templates();
    m_catalogue = ConfigResources::catalogue().types();
    QCOMPARE(int(m_catalogue.size()), 51);
}

void TestConfigCatalogue::resourcesMatchSourceTree()
{
    const QString resources[][2] = {{ConfigResources::kTemplatesPath, templatesPath()},
                                    {ConfigResources::kCataloguePath,
                                     qx8test::sourceDir() + "/xml/CrossoverConfigurations.xml"}};
    for (const auto& pair : resources) {
        QFile resource(pair[0]);
        QFile source(pair[1]);
        QVERIFY2(resource.open(QIODevice::ReadOnly), qPrintable(pair[0]));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(resource.readAll(), source.readAll());
    }
    QVERIFY(loadTemplates());
    QCOMPARE(Kalo480ConfigBuilder::instance()->templates(), m_templates);
}

void TestConfigCatalogue::malformedCatalogue_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("error");
    QTest::newRow("cut short") << QByteArray("<CrossoverTypes><CrossoverType id=\"1\">")
                               << "1:38 : Premature end of document.";
    QTest::newRow("another root") << QByteArray("<Crossovers/>")
                                  << "1:13 : the document is no CrossoverTypes list";
}

// A broken document is reported and leaves the types read before.
void TestConfigCatalogue::malformedCatalogue()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, error);
    CrossoverCatalogue catalogue = ConfigResources::catalogue();
    QBuffer buffer(&document);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QString reported;
    QVERIFY(!catalogue.read(buffer, &reported));
    QCOMPARE(reported, error);
    QCOMPARE(int(catalogue.types().size()), 51);
}

void TestConfigCatalogue::slotTemplatesAreComplete()
{
    const Json::Value& columnSlots = m_templates[".slots"];
    QCOMPARE(int(columnSlots.size()), 15);
    for (const std::string& column : columnSlots.getMemberNames()) {
        for (const Json::Value& name : columnSlots[column]) {
            const Json::Value& po = m_templates[name.asString()];
            const char* what = name.asCString();
            QVERIFY2(po[".builder"]["NamePattern"].isString(), what);
            QVERIFY2(po["Attributes"].isObject() && po["ClassName"].isString(), what);
            if (po["ClassName"].asString() == "yoxlKalo480Mixer")
                QVERIFY2(po["Attributes"]["NumInputs"].isInt(), what);
            if (po[".type"].isNull())
                continue;
            QVERIFY2(po[".info"].isString(), what);
            QVERIFY2(!Editor::getShortName(po).empty() && !Editor::getLongName(po).empty(), what);
        }
    }
}

void TestConfigCatalogue::catalogueCoversEveryType()
{
    std::set<std::string> configNames;
    std::set<int> codes;
    std::set<int> sortNumbers;
    for (const CrossoverType& entry : m_catalogue) {
        configNames.insert(entry.configName.toStdString());
        codes.insert(entry.code);
        sortNumbers.insert(
            Editor::getCrossoverSortIndex("Out_CrossoverIIR", entry.configName.toStdString()));
    }
    const std::vector<std::string> types = m_templates[".crossoverIIRTypes"].getMemberNames();
    QCOMPARE(configNames, std::set<std::string>(types.begin(), types.end()));
    QCOMPARE(int(codes.size()), 51);
    QCOMPARE(int(sortNumbers.size()), 51);
    std::set<int> qx8Numbers;
    for (const std::string& type : m_templates[".crossoverQX8Types"].getMemberNames())
        qx8Numbers.insert(Editor::getCrossoverSortIndex("Out_CrossoverQX8", type));
    QCOMPARE(int(qx8Numbers.size()), 11);
    QVERIFY(!qx8Numbers.count(0));
}

void TestConfigCatalogue::everyCatalogueEntry_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(m_catalogue.size()); ++i)
        QTest::newRow(qPrintable(m_catalogue[i].configName)) << i;
}

void TestConfigCatalogue::everyCatalogueEntry()
{
    QFETCH(int, index);
    const CrossoverType& entry = m_catalogue[index];
    const std::string type = entry.configName.toStdString();
    const int code = entry.code;
    QCOMPARE(Editor::getCrossoverCode("Out_CrossoverIIR", type), code);
    QCOMPARE(Editor::lookupCrossoverSecondaryType("Out_CrossoverIIR", code), type);
    int inputs = 0;
    int outputs = 0;
    Kalo480ConfigBuilder::instance()->crossoverInfo("Out_CrossoverIIR", type, inputs, outputs);
    QCOMPARE(inputs, entry.inputs);
    QCOMPARE(outputs, entry.outputs);
    QCOMPARE(int(entry.inputNames.split('+').size()), entry.inputs);

    // The name record agrees with the catalogue.
    const Json::Value& record = m_templates[".names"]["IIR " + type];
    QCOMPARE(record["n"].asInt(), entry.id);
    QCOMPARE(int(record["outputs"].size()), entry.outputs);
    QCOMPARE(int(record["bands"].size()), code / 100 % 10 + (code % 10 > 0 ? 1 : 0));
    Json::Value key;
    Editor::crossoverNamesKey("Out_CrossoverIIR", type, key);
    QCOMPARE(Editor::getCrossoverName(key, false), entry.displayName.toStdString());
    const QStringList outputNames = entry.outputNames.split('+');
    for (int k = 1; k <= entry.outputs; ++k)
        QCOMPARE(Editor::getRecommendedCrossoverOutputName("Out_CrossoverIIR", type, k),
                 outputNames[k - 1].toStdString());

    // It builds, with the attributes the catalogue's generator derived on its own from the code
    // (the five digits and the ten flags), its label and the outputs named.
    const Json::Value config = configWithCrossover(type);
    QVERIFY(config.isObject());
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    const Json::Value& crossover = result["CrossoverIIR1"];
    QCOMPARE(crossover[".type"].asString(), "IIR " + type);
    QCOMPARE(jsontext::compact(crossover["Attributes"]),
             jsontext::compact(jsontext::parse(entry.attributes.toStdString())));
    QCOMPARE(QString::fromStdString(crossover[".info"].asString()),
             QString("%1x%2").arg(entry.inputs).arg(entry.outputs));
    for (int k = 1; k <= entry.outputs; ++k)
        QCOMPARE(result["Output" + std::to_string(k)]["Attributes"]["OutputName"].asString(),
                 entry.outputs < 2 ? std::string("Output 1") : outputNames[k - 1].toStdString());
    // Rows that carry outputs but no input have no mid processing.
    for (int row = entry.inputs + 1; row <= entry.outputs; ++row)
        QCOMPARE(result["gridsDisplay"][2]["Map"][0][row - 1].asString(), std::string("EMPTY"));
}

void TestConfigCatalogue::everyQX8TypeBuilds()
{
    for (const std::string& type : m_templates[".crossoverQX8Types"].getMemberNames()) {
        Json::Value config = defaultConfig();
        QVERIFY(Editor::swap(config, "Out_CrossoverQX8", type, 8, 1));
        std::string error;
        const Json::Value result = build(config, &error);
        QVERIFY2(result.isObject(), (type + ": " + error).c_str());
        const Json::Value& crossover = result["Crossover1"];
        const Json::Value& entry = m_templates[".crossoverQX8Types"][type];
        QCOMPARE(crossover[".type"].asString(), "QX8 " + type);
        QCOMPARE(crossover[".info"].asString(), type);
        QCOMPARE(jsontext::compact(crossover["Attributes"]),
                 "{\"MonoSub\":" + jsontext::compact(entry[2]) +
                     ",\"NumBands\":" + jsontext::compact(entry[1]) +
                     ",\"NumSlots\":" + jsontext::compact(entry[0]) + "}");
    }
}

void TestConfigCatalogue::crossoverCodeRefusals()
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

void TestConfigCatalogue::wizardCodes_data()
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

void TestConfigCatalogue::wizardCodes()
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

void TestConfigCatalogue::crossoverNames()
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
    QCOMPARE(jsontext::compact(key), std::string(R"({".type":"QX8 2x4"})"));
    Editor::crossoverNamesKey("Out_PEQ", "2x4", key);
    QCOMPARE(jsontext::compact(key), std::string("{}"));
}

void TestConfigCatalogue::placeholders()
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

void TestConfigCatalogue::fixedInputRouteNames()
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

void TestConfigCatalogue::platformOverride()
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

void TestConfigCatalogue::copyPaste()
{
    QVERIFY(Editor::isCopyPasteCompatible("In_Delay", "Out_Delay"));
    QVERIFY(!Editor::isCopyPasteCompatible("In_Delay", "In_Gate"));
    QVERIFY(Editor::isCopyPasteCompatible("Anything", "Anything"));
    QCOMPARE(jsontext::compact(Editor::getCopyPasteCompatibleTypes("In_Gate")),
             std::string(R"(["In_Gate","Mid_Gate"])"));
    QVERIFY(Editor::getCopyPasteCompatibleTypes("Out_Delay").isNull());
    TemplatesOverride broken(
        templatesWith([](Json::Value& t) { t[".copyPasteCompatibility"] = "not a table"; }));
    QVERIFY(!Editor::isCopyPasteCompatible("In_Delay", "Out_Delay"));
}

QX8_TEST_GUILESS_MAIN(TestConfigCatalogue)
#include "tst_configcatalogue.moc"
