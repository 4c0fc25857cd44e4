// The templates file, the crossover catalogue and the display-name records checked against each
// other and against the library, and every catalogue entry built into a valid configuration.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <QFile>
#include <QTest>

#include <set>

using namespace configfixture;
using Editor = Kalo480ConfigEditor;

class TestConfigCatalogue : public QObject
{
    Q_OBJECT

private:
    Json::Value m_templates;
    std::vector<CatalogueEntry> m_catalogue;

private slots:
    void initTestCase();
    void resourcesMatchSourceTree();
    void slotTemplatesAreComplete();
    void catalogueCoversEveryType();
    void everyCatalogueEntry_data();
    void everyCatalogueEntry();
    void everyQX8TypeBuilds();
};

void TestConfigCatalogue::initTestCase()
{
    QVERIFY(loadTemplates());
    m_templates = Kalo480ConfigBuilder::instance()->templates();
    m_catalogue = readCatalogue(cataloguePath());
    QCOMPARE(int(m_catalogue.size()), 51);
}

void TestConfigCatalogue::resourcesMatchSourceTree()
{
    const QString resources[][2] = {
        {":/json/SDKs/Keldaran2/Extensions/yoxl/Objects/Kalo480/Kalo480ConfigBuilderTemplates.json",
         templatesPath()},
        {":/xml/CrossoverConfigurations.xml", cataloguePath()}};
    for (const auto& pair : resources) {
        QFile resource(pair[0]);
        QFile source(pair[1]);
        QVERIFY2(resource.open(QIODevice::ReadOnly), qPrintable(pair[0]));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(resource.readAll(), source.readAll());
    }
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
    for (const CatalogueEntry& entry : m_catalogue) {
        configNames.insert(entry.configName);
        codes.insert(entry.code);
        sortNumbers.insert(Editor::getCrossoverSortIndex("Out_CrossoverIIR", entry.configName));
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
        QTest::newRow(m_catalogue[i].configName.c_str()) << i;
}

void TestConfigCatalogue::everyCatalogueEntry()
{
    QFETCH(int, index);
    const CatalogueEntry& entry = m_catalogue[index];
    const std::string& type = entry.configName;
    const int code = entry.code;
    QCOMPARE(Editor::getCrossoverCode("Out_CrossoverIIR", type), code);
    QCOMPARE(Editor::lookupCrossoverSecondaryType("Out_CrossoverIIR", code), type);
    int inputs = 0;
    int outputs = 0;
    Kalo480ConfigBuilder::instance()->crossoverInfo("Out_CrossoverIIR", type, inputs, outputs);
    QCOMPARE(inputs, entry.inputs);
    QCOMPARE(outputs, entry.outputs);
    QCOMPARE(int(QString::fromStdString(entry.inputNames).split('+').size()), entry.inputs);

    // The name record agrees with the catalogue.
    const Json::Value& record = m_templates[".names"]["IIR " + type];
    QCOMPARE(record["n"].asInt(), entry.id);
    QCOMPARE(int(record["outputs"].size()), entry.outputs);
    QCOMPARE(int(record["bands"].size()), code / 100 % 10 + (code % 10 > 0 ? 1 : 0));
    Json::Value key;
    Editor::crossoverNamesKey("Out_CrossoverIIR", type, key);
    QCOMPARE(Editor::getCrossoverName(key, false), entry.displayName);
    const QStringList outputNames = QString::fromStdString(entry.outputNames).split('+');
    for (int k = 1; k <= entry.outputs; ++k)
        QCOMPARE(Editor::getRecommendedCrossoverOutputName("Out_CrossoverIIR", type, k),
                 outputNames[k - 1].toStdString());

    // It builds, with the attributes its code spells out and the outputs named.
    const Json::Value config = configWithCrossover(type);
    QVERIFY(config.isObject());
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());
    const Json::Value& attributes = result["CrossoverIIR1"]["Attributes"];
    QCOMPARE(result["CrossoverIIR1"][".type"].asString(), "IIR " + type);
    QCOMPARE(attributes["Format"].asInt(), code / 10000);
    QCOMPARE(attributes["NumMainCabinets"].asInt(), code / 1000 % 10);
    QCOMPARE(attributes["NumBands"].asInt(), code / 100 % 10);
    QCOMPARE(attributes["SubFormat"].asInt(), code / 10 % 10);
    QCOMPARE(attributes["NumSubCabinets"].asInt(), code % 10);
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
        QCOMPARE(result["Crossover1"][".type"].asString(), "QX8 " + type);
    }
}

QTEST_GUILESS_MAIN(TestConfigCatalogue)
#include "tst_configcatalogue.moc"
