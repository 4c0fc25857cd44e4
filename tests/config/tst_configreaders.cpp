// What the processing-object screens read: the object stored in the settings when a home-screen
// button opened it, the delay objects by grid position, crossover band labels, and the grid cells
// of the configurable home screen.
#include "configdataprovider.h"
#include "configresources.h"
#include "crossoverbandinfoprovider.h"
#include "homescreenmodel.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testmain.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <vector>

class TestConfigReaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(ConfigResources::load()); }

    void objectFromTheSettings()
    {
        QX8Settings settings;
        settings.setValue(settingskeys::kCurrentPoData,
                          "{\".type\":\"8x1InputMixer\",\"Attributes\":{\"NumInputs\":8,"
                          "\"Gain\":0.5},\"SVValues\":{\"Output_1_Input_2_Gain\":\"0\","
                          "\"Output_1_Input_1_Gain\":\"-120\"}}");
        settings.setValue(settingskeys::kDelayPoJson, "{\"5\":\"DelayMid3\",\"2\":\"Delay2\"}");
        ConfigDataProvider provider;
        QCOMPARE(provider.value(QString()), QString());
        QCOMPARE(provider.value(".type"), QStringLiteral("8x1InputMixer"));
        QCOMPARE(provider.value("Attributes/NumInputs"), QStringLiteral("8"));
        QCOMPARE(provider.value("Attributes/Gain"), QStringLiteral("0.5"));
        // A missing last part keeps the object reached on the way.
        QCOMPARE(QJsonDocument::fromJson(provider.value("Attributes/Missing").toUtf8())
                     .object()
                     .value("NumInputs")
                     .toInt(),
                 8);
        QCOMPARE(provider.mixerSVList().toStringList(),
                 QStringList({"Output_1_Input_1_Gain", "Output_1_Input_2_Gain"}));
        QCOMPARE(provider.meterPO("8x1InputMixer"), QStringLiteral("InputMeters:Meters123"));
        QCOMPARE(provider.meterPO("MidRouter4"), QStringLiteral(":MidMeters"));
        QCOMPARE(provider.meterPO("MidRouter8"), QString());
        QCOMPARE(provider.routerImage("Mid:A+B").toString(),
                 QStringLiteral("/images/MixerTypes/MidMixA+B_Large.png"));
        QCOMPARE(provider.poName("mid", 2), QStringLiteral("DelayMid3"));
        QCOMPARE(provider.poName("rta", 2), QStringLiteral("Delay2"));

        CrossoverBandInfoProvider bands;
        settings.setValue(settingskeys::kCurrentPoData, "{\".type\":\"IIR Stereo 2-Way\"}");
        QCOMPARE(bands.getBandName(1), QStringLiteral("HIGHS"));
        QCOMPARE(bands.getBandName(2), QStringLiteral("LOWS"));
        QCOMPARE(bands.getBandName(3), QStringLiteral("Band"));
        settings.setValue(settingskeys::kCurrentPoData, "not JSON");
        QCOMPARE(bands.getBandName(1), QStringLiteral("Band"));
        QCOMPARE(ConfigDataProvider().value(".type"), QString());
    }

    // A display grid lists columns: the second number picks the grid's column, the first the row.
    void gridCells()
    {
        HomeScreenModel model;
        model.loadDefaultConfig();
        QVERIFY(model.cellInfo("out", 0, 0).isEmpty()); // not ready
        model.refreshConfig();
        const QVariantMap crossover = model.cellInfo("out", 0, 3);
        QCOMPARE(crossover.value("name").toString(), QStringLiteral("CrossoverIIR1"));
        QCOMPARE(crossover.value("info").toString(), QStringLiteral("Crossover"));
        QCOMPARE(crossover.value("XOverType").toString(), QStringLiteral("1x1"));
        QCOMPARE(crossover.value("channelSpan").toInt(), 1);
        const QJsonObject data =
            QJsonDocument::fromJson(crossover.value("data").toString().toUtf8()).object();
        QCOMPARE(data.value("POName").toString(), QStringLiteral("CrossoverIIR1"));
        QCOMPARE(model.cellInfo("out", 5, 3).value("name").toString(),
                 QStringLiteral("CrossoverIIR6"));
        QVERIFY(model.cellInfo("out", 6, 3).isEmpty());
        // The input grid's first column holds the router alone.
        QCOMPARE(model.cellInfo("in", 1, 1).value("name").toString(), QStringLiteral("InMixer2"));
        QVERIFY(model.cellInfo("in", 1, 0).isEmpty());
        QVERIFY(model.cellInfo("in", -1, 1).isEmpty());
        QVERIFY(model.cellInfo("nowhere", 0, 0).isEmpty());
    }

    // The limiter of each output, from the output grid's limiter column, follows every change of
    // the configuration; a configuration taken as it is announces itself for the grid to redraw.
    void limitersOfTheOutputs()
    {
        HomeScreenModel model;
        QSignalSpy adopted(&model, &HomeScreenModel::configAdopted);
        QSignalSpy limiters(&model, &HomeScreenModel::limiterListChanged);
        model.loadDefaultConfig();
        QCOMPARE(adopted.count(), 1);
        QCOMPARE(limiters.count(), 1);
        QCOMPARE(model.limiterList(), QStringLiteral(R"(["Limiter1","Limiter2","Limiter3",)"
                                                     R"("Limiter4","Limiter5","Limiter6"])"));
        model.refreshConfig();
        model.link(12, 0); // the limiter column: outputs 1 and 2 share one limiter
        QCOMPARE(model.limiterList(), QStringLiteral(R"(["Limiter1","LINKED","Limiter3",)"
                                                     R"("Limiter4","Limiter5","Limiter6"])"));
        QCOMPARE(limiters.count(), 2);
        QCOMPARE(adopted.count(), 1); // an edit toggles `ready` instead
        model.discardAllChanges();
        QCOMPARE(model.limiterList(), QStringLiteral(R"(["Limiter1","Limiter2","Limiter3",)"
                                                     R"("Limiter4","Limiter5","Limiter6"])"));
    }

    // The crossover dialog's list finds the row's present type among its options; a change
    // looks the type up by its text in the catalogue's name order, and stops at the first match.
    void crossoverListAndChange()
    {
        HomeScreenModel model;
        model.loadDefaultConfig();
        model.refreshConfig();
        const QString present = model.cellInfo("out", 0, 3).value("XOverType").toString();
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression(QStringLiteral("^\\tFound match at: \\d+ .")));
        const QVariantMap list = model.cfgXoverListCnt(0);
        QVERIFY(list.value("curIdx").toInt() < list.value("count").toInt());

        const QString wanted = QStringLiteral("Mono Main + Mono Sub");
        std::vector<CrossoverType> byName = ConfigResources::catalogue().types();
        std::sort(byName.begin(), byName.end(),
                  [](const auto& a, const auto& b) { return a.configName < b.configName; });
        for (const CrossoverType& type : byName) {
            QTest::ignoreMessage(QtDebugMsg, qPrintable("\tkey: " + type.configName));
            if (type.displayName == wanted)
                break;
        }
        model.setCrossoverConfig(0, wanted);
        QVERIFY(model.cellInfo("out", 0, 3).value("XOverType").toString() != present);
    }
};

QX8_TEST_GUILESS_MAIN(TestConfigReaders)
#include "tst_configreaders.moc"
