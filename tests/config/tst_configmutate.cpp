// Thousands of random edits from the default configuration: after each one the configuration
// must still build, or the edit must have been refused with a message.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "testmain.h"

#include <QTest>

#include <cstdlib>
#include <stdexcept>

using namespace configfixture;

class TestConfigMutate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomEditsKeepConfigurationsBuildable_data();
    void randomEditsKeepConfigurationsBuildable();
    void sameSeedSameEdits();
};

void TestConfigMutate::initTestCase()
{
    QVERIFY(loadTemplates());
}

void TestConfigMutate::randomEditsKeepConfigurationsBuildable_data()
{
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= 12; ++seed)
        QTest::newRow(qPrintable(QString("seed %1").arg(seed))) << seed * 7919u;
}

void TestConfigMutate::randomEditsKeepConfigurationsBuildable()
{
    QFETCH(unsigned, seed);
    std::srand(seed);
    Json::Value config = defaultConfig();
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    int changed = 0;
    for (int edit = 0; edit < 1000; ++edit) {
        const Json::Value before = config;
        try {
            Kalo480ConfigEditor::mutate(config, 1);
        } catch (const std::runtime_error& error) {
            QVERIFY2(*error.what() != '\0', "refused without a message");
            continue;
        }
        changed += config != before;
        Json::Value result;
        const bool built = builder->buildConfig(result, config);
        QVERIFY2(built, qPrintable(QString("edit %1: %2 %3\n%4")
                                       .arg(edit)
                                       .arg(QString::fromStdString(builder->errorText()))
                                       .arg(QString::fromStdString(builder->validationLog()))
                                       .arg(QString::fromStdString(jsontext::compact(config)))));
        QCOMPARE(result[".builderConfig"], config);
    }
    // The sequence must really move through many configurations.
    QVERIFY2(changed > 500, qPrintable(QString::number(changed)));
}

void TestConfigMutate::sameSeedSameEdits()
{
    Json::Value first = defaultConfig();
    Json::Value second = defaultConfig();
    std::srand(42);
    Kalo480ConfigEditor::mutate(first, 200);
    std::srand(42);
    Kalo480ConfigEditor::mutate(second, 200);
    QCOMPARE(first, second);
    QVERIFY(first != defaultConfig());
}

QX8_TEST_GUILESS_MAIN(TestConfigMutate)
#include "tst_configmutate.moc"
