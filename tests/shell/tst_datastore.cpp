#include "appdatastore.h"
#include "buttonimageresolver.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QtTest>

// The data store's tables, range resource, limiter map and busy state, and the button image
// tables.
class TestDataStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void channelNames_data();
    void channelNames();
    void ranges_data();
    void ranges();
    void limiterList_data();
    void limiterList();
    void busyStatus_data();
    void busyStatus();
    void namesAndFlags();
    void buttonImages_data();
    void buttonImages();
    void attributeNames_data();
    void attributeNames();
};

void TestDataStore::channelNames_data()
{
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("name");
    QTest::newRow("out 02") << "out 02"
                            << "Output 1,2";
    QTest::newRow("out 06") << "out 06"
                            << "Output 1,2,3,4,5,6";
    QTest::newRow("out 33") << "out 33"
                            << "Output 4,5,6";
    QTest::newRow("in 12") << "in 12"
                           << "Input B,C";
    QTest::newRow("in 03") << "in 03"
                           << "Input A,B,C";
    QTest::newRow("in 31") << "in 31"
                           << "";
    QTest::newRow("no key") << "out"
                            << "";
}

void TestDataStore::channelNames()
{
    QFETCH(QString, channel);
    QFETCH(QString, name);
    AppDataStore store;
    store.setChannelName(channel);
    QCOMPARE(store.channelName(), name);
}

void TestDataStore::ranges_data()
{
    QTest::addColumn<QString>("poClass");
    QTest::addColumn<QString>("svClass");
    QTest::addColumn<QString>("json");
    QTest::newRow("EQ Frequency")
        << "EQ"
        << "Frequency"
        << R"([{"high":100,"low":20,"range":"0"},{"high":1000,"low":100,"range":"1"},)"
           R"({"high":10000,"low":1000,"range":"2"},{"high":22000,"low":10000,"range":"3"}])";
    QTest::newRow("AGC LimRelease as Gate Release")
        << "AGC"
        << "LimRelease"
        << R"([{"high":50,"low":5,"range":"0"},{"high":150,"low":50,"range":"1"},)"
           R"({"high":360,"low":150,"range":"2"}])";
    QTest::newRow("blank in name")
        << "SignalGenerator"
        << "Sine Frequency"
        << R"([{"high":1000,"low":20,"range":"0"},{"high":10000,"low":1000,"range":"1"},)"
           R"({"high":20000,"low":10000,"range":"2"}])";
    QTest::newRow("Crossover Frequency")
        << "Crossover"
        << "Frequency"
        << R"([{"high":100,"low":15.9,"range":"0"},{"high":1000,"low":100,"range":"1"},)"
           R"({"high":10000,"low":1000,"range":"2"},{"high":20100,"low":10000,"range":"3"}])";
    QTest::newRow("no such variable") << "EQ"
                                      << "Gain"
                                      << "[]";
    QTest::newRow("no such class") << "Mixer"
                                   << "Q"
                                   << "[]";
}

void TestDataStore::ranges()
{
    QFETCH(QString, poClass);
    QFETCH(QString, svClass);
    QFETCH(QString, json);
    AppDataStore store;
    QCOMPARE(store.getJsonArray(poClass, svClass), json);
}

void TestDataStore::limiterList_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("limiters");
    QTest::addColumn<QByteArray>("warning");
    QTest::newRow("linked pairs") << R"(["Out1 Limiter","LINKED","Out3 Limiter","LINKED","LINKED"])"
                                  << QStringList{"Out1 Limiter", "Out1 Limiter", "Out3 Limiter",
                                                 "Out3 Limiter", "Out3 Limiter"}
                                  << QByteArray();
    QTest::newRow("linked first") << R"(["LINKED","Out2 Limiter"])"
                                  << QStringList{"LINKED", "Out2 Limiter"}
                                  << QByteArray("Array Index out of bounds :  -1");
    QTest::newRow("neither") << R"(["None","Out2 Limiter"])" << QStringList{"", "Out2 Limiter"}
                             << QByteArray();
}

void TestDataStore::limiterList()
{
    QFETCH(QString, list);
    QFETCH(QStringList, limiters);
    QFETCH(QByteArray, warning);
    AppDataStore store;
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, warning.constData());
    store.setLimiterList(list);
    for (int i = 0; i < limiters.size(); ++i)
        QCOMPARE(store.getLimiterAt(i), limiters.at(i));
    QCOMPARE(store.getLimiterAt(limiters.size()), QString());
}

void TestDataStore::busyStatus_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("wizard");
    QTest::addColumn<QVariantList>("emitted");
    QTest::addColumn<bool>("busy");
    QTest::newRow("reconfig in progress")
        << "Reconfig:InProgress" << false << QVariantList{true} << true;
    QTest::newRow("load done") << "Load:Done" << false << QVariantList{false} << false;
    QTest::newRow("other status") << "Idle:InProgress" << false << QVariantList{} << false;
    QTest::newRow("lower case") << "load:InProgress" << false << QVariantList{} << false;
    QTest::newRow("during the wizard") << "Load:InProgress" << true << QVariantList{} << false;
}

// The status reaches the store as a change of its bound text variable.
void TestDataStore::busyStatus()
{
    QFETCH(QString, status);
    QFETCH(bool, wizard);
    QFETCH(QVariantList, emitted);
    QFETCH(bool, busy);
    AppDataStore store;
    store.setWizardActive(wizard);
    QSignalSpy spy(&store, &AppDataStore::deviceBusyStateChanged);
    auto* statusControl = store.findChild<QObject*>();
    QVERIFY(statusControl);
    QVERIFY(statusControl->setProperty("value", status));
    QVariantList seen;
    for (const QList<QVariant>& emission : spy)
        seen << emission.first();
    QCOMPARE(seen, emitted);
    QCOMPARE(store.deviceBusy(), busy);
}

void TestDataStore::namesAndFlags()
{
    AppDataStore store;
    QCOMPARE(store.inputNameFromIdx("In4"), QStringLiteral("AES 1"));
    QCOMPARE(store.inputNameFromIdx("In9"), QString());
    store.setOutputName("0", "Left");
    QCOMPARE(store.getOutputName("0"), QStringLiteral("Left"));
    QCOMPARE(store.getOutputName("1"), QString());
    QCOMPARE(store.isStartup(), QStringLiteral("false"));
    QSignalSpy poNames(&store, &AppDataStore::poNameChanged);
    store.setPOName("PEQ1");
    store.setPOName("PEQ1");
    QCOMPARE(poNames.count(), 1);
    QSignalSpy wizard(&store, &AppDataStore::wizardActiveChanged);
    store.setWizardActive(true);
    store.setWizardActive(true);
    QCOMPARE(wizard.count(), 1);
}

void TestDataStore::buttonImages_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("result");
    QTest::newRow("muted output") << "imagePath"
                                  << "yoxlKalo480Output:Off"
                                  << "/images/Home/ICN_OutputMute.png";
    QTest::newRow("EQ12") << "imagePath"
                          << "EQ12"
                          << "/images/ButtonBG12.png";
    QTest::newRow("EQ15") << "imagePath"
                          << "EQ15"
                          << "";
    QTest::newRow("EQSub") << "imagePath"
                           << "EQSub"
                           << "/images/ButtonBGS.png";
    QTest::newRow("gate") << "imagePath"
                          << "yoxlGate"
                          << "/images/Home/ICN_Gate.png";
    QTest::newRow("out:") << "buttonText"
                          << "out:"
                          << " ";
    QTest::newRow("in:LMT") << "buttonText"
                            << "in:LMT"
                            << "";
    QTest::newRow("mid:SUB") << "buttonText"
                             << "mid:SUB"
                             << "Sub harmoinc Synth";
    QTest::newRow("out:4") << "buttonText"
                           << "out:4"
                           << "Output 4";
    QTest::newRow("SUB toggle") << "toggleSVName"
                                << "SUB"
                                << "SubharmonicSynth";
    QTest::newRow("mixer colour") << "color"
                                  << "SpandrellMixer"
                                  << "#1A1A1A";
    QTest::newRow("PEQ colour") << "color"
                                << "PEQ"
                                << "";
    QTest::newRow("mixer text colour") << "txtColor"
                                       << "SpandrellMixer"
                                       << "white";
}

void TestDataStore::buttonImages()
{
    QFETCH(QString, operation);
    QFETCH(QString, key);
    QFETCH(QString, result);
    ButtonImageResolver resolver;
    QString answer;
    QVERIFY(QMetaObject::invokeMethod(&resolver, operation.toLatin1(),
                                      Q_RETURN_ARG(QString, answer), Q_ARG(QString, key)));
    QCOMPARE(answer, result);
}

void TestDataStore::attributeNames_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QString>("routerName");
    QTest::newRow("both") << R"({"Attributes":{"OutputName":"Sub L","RouteMix":"A+B"}})"
                          << "Sub L"
                          << "A+B";
    QTest::newRow("number") << R"({"Attributes":{"OutputName":3}})"
                            << ""
                            << "";
    QTest::newRow("not JSON") << "Sub L"
                              << ""
                              << "";
    QTest::newRow("no attributes") << R"({"OutputName":"x"})"
                                   << ""
                                   << "";
}

void TestDataStore::attributeNames()
{
    QFETCH(QString, json);
    QFETCH(QString, outputName);
    QFETCH(QString, routerName);
    ButtonImageResolver resolver;
    QCOMPARE(resolver.outputName(json), outputName);
    QCOMPARE(resolver.routerName(json), routerName);
}

QX8_TEST_GUILESS_MAIN(TestDataStore)
#include "tst_datastore.moc"
