// The templates file, the crossover catalogue and the display-name records checked against each
// other and against the library, and every catalogue entry built into a valid configuration.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <QFile>
#include <QTest>

#include <set>

using namespace configfixture;

class TestConfigCatalogue : public QObject
{
    Q_OBJECT

private:
    Json::Value m_templates;
    std::vector<CatalogueEntry> m_catalogue;

private slots:
    void initTestCase();
    void resourcesMatchSourceTree();
    void templatesFileShape();
    void slotTemplatesAreComplete();
    void catalogueMatchesIIRTypes();
    void nameRecordsMatchCatalogue();
    void typeNamesCoverSlotTypes();
    void everyCatalogueEntryBuilds_data();
    void everyCatalogueEntryBuilds();
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
    QCOMPARE(int(readCatalogue(":/xml/CrossoverConfigurations.xml").size()), 51);
}

void TestConfigCatalogue::templatesFileShape()
{
    QCOMPARE(int(m_templates.size()), 89);
    QCOMPARE(m_templates[".version"].asInt(), 19);
    int templates = 0;
    for (const std::string& key : m_templates.getMemberNames())
        templates += key[0] != '.';
    QCOMPARE(templates, 77);
    QCOMPARE(int(m_templates[".names"].size()), 88);
    QCOMPARE(int(m_templates[".crossoverIIRTypes"].size()), 51);
    QCOMPARE(int(m_templates[".crossoverQX8Types"].size()), 11);
    QVERIFY(m_templates[".crossoverFIRTypes"].isObject());
    QCOMPARE(int(m_templates[".crossoverFIRTypes"].size()), 0);
    std::vector<std::string> names;
    Kalo480ConfigEditor::recommendedInputNames(names);
    QCOMPARE(int(names.size()), 46);
    QCOMPARE(names.front(), std::string("Orvel link 1"));
    QCOMPARE(names.back(), std::string("Aux Music"));
    Kalo480ConfigEditor::recommendedOutputNames(names);
    QCOMPARE(int(names.size()), 101);
    QCOMPARE(names[6], std::string("Mono Main"));
    QCOMPARE(names.back(), std::string("Zone 6"));
}

void TestConfigCatalogue::slotTemplatesAreComplete()
{
    const Json::Value& columnSlots = m_templates[".slots"];
    QCOMPARE(int(columnSlots.size()), 15);
    for (const std::string& column : columnSlots.getMemberNames()) {
        for (const Json::Value& name : columnSlots[column]) {
            const Json::Value& po = m_templates[name.asString()];
            QVERIFY2(po.isObject(), name.asCString());
            QVERIFY2(po[".builder"]["NamePattern"].isString(), name.asCString());
            QVERIFY2(po["Attributes"].isObject(), name.asCString());
            QVERIFY2(po["ClassName"].isString(), name.asCString());
            if (!po[".type"].isNull())
                QVERIFY2(po[".info"].isString(), name.asCString());
            if (po["ClassName"].asString() == "yoxlKalo480Mixer")
                QVERIFY2(po["Attributes"]["NumInputs"].isInt(), name.asCString());
        }
    }
}

void TestConfigCatalogue::catalogueMatchesIIRTypes()
{
    std::set<std::string> configNames;
    std::set<int> codes;
    for (const CatalogueEntry& entry : m_catalogue) {
        configNames.insert(entry.configName);
        codes.insert(entry.code);
        QCOMPARE(Kalo480ConfigEditor::getCrossoverCode("Out_CrossoverIIR", entry.configName),
                 entry.code);
        int inputs = 0;
        int outputs = 0;
        Kalo480ConfigBuilder::instance()->crossoverInfo("Out_CrossoverIIR", entry.configName,
                                                        inputs, outputs);
        QCOMPARE(inputs, entry.inputs);
        QCOMPARE(outputs, entry.outputs);
        QCOMPARE(int(QString::fromStdString(entry.inputNames).split('+').size()), entry.inputs);
        QCOMPARE(Kalo480ConfigEditor::lookupCrossoverSecondaryType("Out_CrossoverIIR", entry.code),
                 entry.configName);
    }
    const std::vector<std::string> types = m_templates[".crossoverIIRTypes"].getMemberNames();
    QCOMPARE(configNames, std::set<std::string>(types.begin(), types.end()));
    QCOMPARE(int(codes.size()), 51);
}

void TestConfigCatalogue::nameRecordsMatchCatalogue()
{
    std::set<int> sortNumbers;
    for (const CatalogueEntry& entry : m_catalogue) {
        const Json::Value& record = m_templates[".names"]["IIR " + entry.configName];
        QVERIFY2(record.isObject(), entry.configName.c_str());
        QCOMPARE(record["n"].asInt(), entry.id);
        sortNumbers.insert(record["n"].asInt());
        const QStringList outputs = QString::fromStdString(entry.outputNames).split('+');
        QCOMPARE(int(record["outputs"].size()), entry.outputs);
        for (int k = 1; k <= entry.outputs; ++k)
            QCOMPARE(Kalo480ConfigEditor::getRecommendedCrossoverOutputName("Out_CrossoverIIR",
                                                                            entry.configName, k),
                     outputs[k - 1].toStdString());
        Json::Value key;
        Kalo480ConfigEditor::crossoverNamesKey("Out_CrossoverIIR", entry.configName, key);
        QCOMPARE(Kalo480ConfigEditor::getCrossoverName(key, false), entry.displayName);
        const int ways = entry.code / 100 % 10;
        const int subs = entry.code % 10;
        QCOMPARE(int(record["bands"].size()), ways + (subs > 0 ? 1 : 0));
    }
    QCOMPARE(int(sortNumbers.size()), 51);
    std::set<int> qx8Numbers;
    for (const std::string& type : m_templates[".crossoverQX8Types"].getMemberNames())
        qx8Numbers.insert(Kalo480ConfigEditor::getCrossoverSortIndex("Out_CrossoverQX8", type));
    QCOMPARE(int(qx8Numbers.size()), 11);
    QVERIFY(!qx8Numbers.count(0));
}

void TestConfigCatalogue::typeNamesCoverSlotTypes()
{
    const Json::Value& columnSlots = m_templates[".slots"];
    for (const std::string& column : columnSlots.getMemberNames()) {
        for (const Json::Value& name : columnSlots[column]) {
            const Json::Value& po = m_templates[name.asString()];
            if (!po[".type"].isString())
                continue;
            QVERIFY2(!Kalo480ConfigEditor::getShortName(po).empty(), name.asCString());
            QVERIFY2(!Kalo480ConfigEditor::getLongName(po).empty(), name.asCString());
        }
    }
}

void TestConfigCatalogue::everyCatalogueEntryBuilds_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(m_catalogue.size()); ++i)
        QTest::newRow(m_catalogue[i].configName.c_str()) << i;
}

void TestConfigCatalogue::everyCatalogueEntryBuilds()
{
    QFETCH(int, index);
    const CatalogueEntry& entry = m_catalogue[index];
    const Json::Value config = configWithCrossover(entry.configName);
    QVERIFY(config.isObject());
    std::string error;
    const Json::Value result = build(config, &error);
    QVERIFY2(result.isObject(), error.c_str());

    const Json::Value& crossover = result["CrossoverIIR1"];
    QCOMPARE(crossover[".type"].asString(), "IIR " + entry.configName);
    const int code = entry.code;
    QCOMPARE(crossover["Attributes"]["Format"].asInt(), code / 10000);
    QCOMPARE(crossover["Attributes"]["NumMainCabinets"].asInt(), code / 1000 % 10);
    QCOMPARE(crossover["Attributes"]["NumBands"].asInt(), code / 100 % 10);
    QCOMPARE(crossover["Attributes"]["SubFormat"].asInt(), code / 10 % 10);
    QCOMPARE(crossover["Attributes"]["NumSubCabinets"].asInt(), code % 10);
    // The catalogue's attribute text restates what the builder sets.
    const QStringList outputs = QString::fromStdString(entry.outputNames).split('+');
    for (int k = 1; k <= entry.outputs; ++k) {
        const std::string expected = entry.outputs < 2 ? "Output 1" : outputs[k - 1].toStdString();
        QCOMPARE(result["Output" + std::to_string(k)]["Attributes"]["OutputName"].asString(),
                 expected);
    }
    // Rows that carry outputs but no input have no mid processing.
    for (int row = entry.inputs + 1; row <= entry.outputs; ++row)
        QCOMPARE(result["gridsDisplay"][2]["Map"][0][row - 1].asString(), std::string("EMPTY"));
    QCOMPARE(result[".builderConfig"], config);
}

void TestConfigCatalogue::everyQX8TypeBuilds()
{
    for (const std::string& type : m_templates[".crossoverQX8Types"].getMemberNames()) {
        Json::Value config = defaultConfig();
        QVERIFY(Kalo480ConfigEditor::swap(config, "Out_CrossoverQX8", type, 8, 1));
        std::string error;
        const Json::Value result = build(config, &error);
        QVERIFY2(result.isObject(), (type + ": " + error).c_str());
        QCOMPARE(result["Crossover1"][".info"].asString(), type);
        QCOMPARE(result["Crossover1"][".type"].asString(), "QX8 " + type);
    }
}

QTEST_GUILESS_MAIN(TestConfigCatalogue)
#include "tst_configcatalogue.moc"
