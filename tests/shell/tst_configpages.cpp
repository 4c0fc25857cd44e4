// Pages opened from the configurable home screen in the running application, against
// VirtualQX8: each kind of block opens its page on its own processing object (a configured mixer
// with the meters of its type, a crossover with the bands the configuration names), while a block
// of the fixed chain opens its page on the fixed object; the outputs show the clip lights of the
// limiters that feed them; a busy device opens nothing; the mixer, router and analyser show the
// names the option card gives its inputs, also after the device renames one; and the device's
// configuration, told after a login, is drawn in place.
#include "appbusyflag.h"
#include "appdatastore.h"
#include "homescreenmodel.h"
#include "pagesession.h"
#include "qx8control.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QJSValue>
#include <QJsonArray>
#include <QJsonDocument>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>
#include <functional>

namespace {

const QString kHomePage = QStringLiteral("QX8HomeScreen.qml");
const QString kPeqCell = QStringLiteral("cell_out_4_4");
const QString kCrossoverCell = QStringLiteral("cell_out_3_0");
const QString kCardInputName =
    QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\Channel_1_OrvellinkInputName");
const QString kConfigStatus = QStringLiteral("Node\\Config\\SV\\Command:Status");
// Source ids of the input router: 0 to 6 the unit's own inputs, 7 to 14 the option card's.
constexpr int kSecondAnalogInput = 1;
constexpr int kFirstCardInput = 7;
constexpr int kOutputs = 6;
// The output column of the builder configuration; its rows are ["Output", <name>].
constexpr int kOutputColumn = 14;

QString outputCell(int output)
{
    return QStringLiteral("cell_out_7_%1").arg(output);
}

// A QML list read through a property: a JavaScript array.
QStringList strings(const QVariant& list)
{
    if (list.userType() == qMetaTypeId<QJSValue>())
        return list.value<QJSValue>().toVariant().toStringList();
    return list.toStringList();
}

} // namespace

class TestConfigPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void blockOpensItsPage_data();
    void blockOpensItsPage();
    void fixedChainBlockShowsItsOwnObject();
    void clipLightsFollowTheLimiters();
    void busyDeviceOpensNothing();
    void optionCardNamesOnTheInputPages();
    void deviceConfigurationDrawnInPlace();
    void crossoverBandsNamedByTheConfiguration();
    void outputsPageShowsTheConfiguredNames();

private:
    void setOnDevice(const QString& path, const QString& value);
    // The names under the Outputs page's strips, opened from the menu bar.
    QStringList outputsPageNames();
    void goHome();
    void openCell(const QString& cell, const QString& page);
    // "object|variable" of each bound control of the page.
    QSet<QString> boundVariables() const;
    QQuickItem* clipLight(int output) const;
    // The limiter whose clip the output's light shows; empty without a light.
    QString clipLimiter(int output) const;
    bool clipLit(int output) const;
    QString property(const QString& item, const char* name) const;
    // Edits the working configuration, applies it and waits until the device has taken it.
    void applyConfiguration(const std::function<void()>& edit);
    // As another controller would: logs in on a connection of its own and reconfigures the
    // device; true once the device has taken the configuration.
    bool reconfigureFromAnotherClient(const QJsonObject& builderConfig);
    // The device's builder configuration with one output (from 1) renamed, as another controller
    // would send it.
    QJsonObject deviceConfigWithOutputName(int output, const QString& name) const;
    // The device drops the connection; the application, back on discovery, connects again.
    void loginAgain();

    HomeScreenModel* m_model = nullptr;
    AppDataStore* m_dataStore = nullptr;
    PageSession m_session;
};

void TestConfigPages::initTestCase()
{
    QVERIFY(m_session.start());
    QX8Settings().setValue(settingskeys::kConfigurableHomeScreen, QStringLiteral("true"));
    m_model = m_session.shell().root()->findChild<HomeScreenModel*>();
    m_dataStore = m_session.shell().root()->findChild<AppDataStore*>();
    QVERIFY(m_model && m_dataStore);
    goHome();
}

void TestConfigPages::setOnDevice(const QString& path, const QString& value)
{
    const QString answer =
        m_session.device().command(QStringLiteral("set \"\\\\%1\\\" \"%2\"").arg(path, value));
    QVERIFY2(answer.startsWith(QLatin1String("ok")), qPrintable(answer));
}

void TestConfigPages::goHome()
{
    m_session.shell().guiSignal(QStringLiteral("HomeButtonPressed"));
    QVERIFY(m_session.waitForPage(kHomePage));
}

void TestConfigPages::openCell(const QString& cell, const QString& page)
{
    goHome();
    QVERIFY2(m_session.click(cell), qPrintable(cell));
    QVERIFY2(m_session.waitForPage(page), qPrintable(page));
}

QSet<QString> TestConfigPages::boundVariables() const
{
    QSet<QString> bound;
    for (const QX8Control* control : m_session.pageControls())
        bound.insert(control->poName() + QLatin1Char('|') + control->svName());
    return bound;
}

QQuickItem* TestConfigPages::clipLight(int output) const
{
    QQuickItem* cell = m_session.item(outputCell(output));
    return cell ? ShellFixture::visibleItem(cell, QStringLiteral("clipLight")) : nullptr;
}

QString TestConfigPages::clipLimiter(int output) const
{
    const QQuickItem* light = clipLight(output);
    return light ? light->property("processingObjectName").toString() : QString();
}

bool TestConfigPages::clipLit(int output) const
{
    const QQuickItem* light = clipLight(output);
    return light && light->property("lit").toBool();
}

QString TestConfigPages::property(const QString& item, const char* name) const
{
    const QQuickItem* found = m_session.item(item);
    return found ? found->property(name).toString() : QString();
}

void TestConfigPages::applyConfiguration(const std::function<void()>& edit)
{
    edit();
    QVERIFY(m_model->enCfgApply());
    m_model->applyAllChanges();
    QTRY_VERIFY_WITH_TIMEOUT(m_model->referenceConfig() == m_model->workingConfig() &&
                                 !AppBusyFlag::isBusy(),
                             qx8test::timeoutMs());
}

bool TestConfigPages::reconfigureFromAnotherClient(const QJsonObject& builderConfig)
{
    QTcpSocket socket;
    socket.connectToHost(m_session.device().address(), TCPAdaptor::kConsolePort);
    const auto lineStartingWith = [&socket](const QByteArray& start) {
        return QTest::qWaitFor(
            [&] {
                while (socket.canReadLine()) {
                    if (socket.readLine().startsWith(start))
                        return true;
                }
                return false;
            },
            qx8test::timeoutMs());
    };
    if (!lineStartingWith("Vimbal Console"))
        return false;
    socket.write("connect administrator \"quillrampstow\"\n");
    if (!lineStartingWith("connect logged in"))
        return false;
    const QJsonObject request{{"id", "another controller"},
                              {"method", "Reconfig"},
                              {"params", QJsonArray{"Builder", builderConfig}}};
    socket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    return lineStartingWith(R"({"error":"","id":"another controller"})");
}

QJsonObject TestConfigPages::deviceConfigWithOutputName(int output, const QString& name) const
{
    QJsonObject builderConfig = m_model->referenceConfig().value(".builderConfig").toObject();
    QJsonArray columns = builderConfig.value("Columns").toArray();
    QJsonArray outputs = columns.at(kOutputColumn).toArray();
    outputs[output] = QJsonArray{"Output", name};
    columns[kOutputColumn] = outputs;
    builderConfig.insert("Columns", columns);
    return builderConfig;
}

void TestConfigPages::loginAgain()
{
    QTest::ignoreMessage(QtWarningMsg,
                         "Error code: 1, Error String: The remote host closed the connection");
    QCOMPARE(m_session.device().command("abort"), QStringLiteral("ok"));
    QTRY_VERIFY_WITH_TIMEOUT(m_session.shell().loader()->isActive(ViewLoader::Discovery),
                             qx8test::timeoutMs());
    m_session.shell().guiSignal(QStringLiteral("ConnectDevice"),
                                m_session.device().address() + QStringLiteral(":quillrampstow"));
}

void TestConfigPages::blockOpensItsPage_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("bound");
    QTest::addColumn<QString>("fixedObject"); // the page's own object, which it must not show
    const auto row = [](const char* name, const QString& cell, const char* page,
                        const QStringList& bound, const char* fixedObject = "") {
        QTest::newRow(name) << cell << QString(page) << bound << QString(fixedObject);
    };
    row("input router", "cell_in_0_0", "ScreenInputRouter.qml", {"InputRouter|Slot7Source"});
    row("input mixer", "cell_in_1_0", "ScreenMixer.qml",
        {"InMixer1|Output_1_Input_8_Gain", "Meters123|Channel_1_Level"}, "StereoMixer");
    row("feedback suppression", "cell_in_2_1", "ScreenNuq.qml", {"Nuq2|Band_12_Q"}, "Nuq");
    row("graphic EQ", "cell_in_3_2", "QX8GEQ.qml", {"GEQ3|1.0 kHz"}, "StereoGEQ");
    row("sub-harmonic synthesis", "cell_in_4_0", "QX8SubHarmonic.qml",
        {"SubharmonicSynth1|Subharmonics"}, "SubharmonicSynth");
    row("analyser", "cell_rta_0_0", "ScreenRTA.qml", {"RTA|Band_31_Level"});
    row("mid mixer", "cell_out_0_1", "ScreenMixer.qml",
        {"MidMixer2|Output_1_Input_4_Gain", "MetersABC|Channel_3_Level",
         "MidMeters|Channel_2_Level"},
        "StereoMixer");
    row("auto EQ", "cell_out_1_0", "QX8AEQ.qml", {"AutoEQ1|Band_10_Gain"}, "RoomEQ");
    row("compressor", "cell_out_2_5", "QX8Compressor.qml", {"CompressorMid6|Ratio"}, "Compressor");
    row("crossover", kCrossoverCell, "CrossOver.qml", {"CrossoverIIR1|Band_1_HPFrequency"},
        "Crossover");
    row("parametric EQ", kPeqCell, "QX8PEQ.qml", {"PEQOut5|Band_8_Gain"}, "HighPEQ");
    row("limiter", "cell_out_5_2", "QX8Limiter.qml", {"Limiter3|Threshold"}, "HighLimiter");
    row("delay", "cell_out_6_0", "ScreenDelay.qml", {"DelayOut1|Amount"}, "HighDelay");
    row("output", outputCell(2), "ScreenOutputMeters.qml", {"OutputGains|Channel_3_Gain"});
}

void TestConfigPages::blockOpensItsPage()
{
    QFETCH(QString, cell);
    QFETCH(QString, page);
    QFETCH(QStringList, bound);
    QFETCH(QString, fixedObject);
    goHome();
    QQuickItem* block = m_session.waitForItem(cell);
    QVERIFY(block);
    const QString name = block->property("poName").toString();
    QVERIFY(QMetaObject::invokeMethod(block, "clicked"));
    QVERIFY(m_session.waitForPage(page));

    const QSet<QString> expected(bound.begin(), bound.end());
    QTRY_VERIFY_WITH_TIMEOUT(boundVariables().contains(expected), qx8test::timeoutMs());
    if (!fixedObject.isEmpty()) {
        for (const QString& variable : boundVariables())
            QVERIFY2(!variable.startsWith(fixedObject + '|'), qPrintable(variable));
    }
    // The device has the object: every value arrives.
    QVERIFY(m_session.waitForValues(qx8test::timeoutMs()).isEmpty());

    const QJsonObject opened =
        QJsonDocument::fromJson(
            QX8Settings().value(settingskeys::kCurrentPoData, QString()).toString().toUtf8())
            .object();
    QCOMPARE(opened.value("POName").toString(), name);
    QCOMPARE(m_dataStore->poName(), name);
    if (opened.value("ClassName").toString() == QLatin1String("yoxlKalo480Output"))
        QCOMPARE(m_dataStore->getOutputName("3"), QStringLiteral("Output 3"));
}

void TestConfigPages::fixedChainBlockShowsItsOwnObject()
{
    openCell(kPeqCell, QStringLiteral("QX8PEQ.qml"));
    QX8Settings settings;
    settings.setValue(settingskeys::kConfigurableHomeScreen, QStringLiteral("false"));
    goHome();
    QVERIFY(m_session.click(QStringLiteral("block_PEQ_High")));
    QVERIFY(m_session.waitForPage(QStringLiteral("QX8PEQ.qml")));
    QTRY_VERIFY_WITH_TIMEOUT(boundVariables().contains(QStringLiteral("HighPEQ|Band_1_Gain")),
                             qx8test::timeoutMs());
    QVERIFY(!boundVariables().contains(QStringLiteral("PEQOut5|Band_1_Gain")));
    settings.setValue(settingskeys::kConfigurableHomeScreen, QStringLiteral("true"));
}

void TestConfigPages::clipLightsFollowTheLimiters()
{
    goHome();
    for (int output = 0; output < kOutputs; ++output)
        QTRY_COMPARE(clipLimiter(output), QStringLiteral("Limiter%1").arg(output + 1));

    setOnDevice(QStringLiteral("Preset\\Limiter3\\SV\\Clip"), QStringLiteral("On"));
    QTRY_VERIFY(clipLit(2));
    QVERIFY(!clipLit(1));
    setOnDevice(QStringLiteral("Preset\\Limiter3\\SV\\Clip"), QStringLiteral("Off"));
    QTRY_VERIFY(!clipLit(2) && clipLimiter(2) == QStringLiteral("Limiter3"));

    // An output linked to the one above shows that one's limiter; an output without a limiter
    // has no light.
    const QString configured = m_model->limiterList();
    m_model->setLimiterList(
        QStringLiteral(R"(["Limiter1","LINKED","Limiter3","EMPTY","Limiter5","LINKED"])"));
    const QStringList linked{"Limiter1", "Limiter1", "Limiter3", "", "Limiter5", "Limiter5"};
    for (int output = 0; output < kOutputs; ++output)
        QTRY_COMPARE(clipLimiter(output), linked.at(output));
    m_model->setLimiterList(configured);
    QTRY_COMPARE(clipLimiter(3), QStringLiteral("Limiter4"));

    // Configuration mode draws the chain's layout, without lights.
    QVERIFY(m_session.click(QStringLiteral("configureButton")));
    QTRY_VERIFY(m_session.item(QStringLiteral("configOverlay")));
    QVERIFY(clipLimiter(0).isEmpty());
    QVERIFY(m_session.click(QStringLiteral("closeButton")));
    QTRY_VERIFY(!m_session.item(QStringLiteral("configOverlay")));
}

void TestConfigPages::busyDeviceOpensNothing()
{
    goHome();
    QVERIFY(m_session.waitForItem(kPeqCell));
    setOnDevice(kConfigStatus, QStringLiteral("Reconfig:InProgress"));
    QTRY_VERIFY(m_session.item(QStringLiteral("busyNotice")));
    ShellFixture::settle(); // the root's reload of the home page
    QTRY_VERIFY(m_session.item(QStringLiteral("busyNotice")) && clipLimiter(0).isEmpty());
    QX8Settings().setValue(settingskeys::kCurrentPoData, QString());
    QVERIFY(QMetaObject::invokeMethod(m_session.waitForItem(kPeqCell), "clicked"));
    ShellFixture::settle();
    QVERIFY(m_session.shell().loader()->isActive(ViewLoader::HomeScreen));
    QCOMPARE(QX8Settings().value(settingskeys::kCurrentPoData, QString()).toString(), QString());

    setOnDevice(kConfigStatus, QStringLiteral("Reconfig:Done"));
    QTRY_VERIFY(!m_session.item(QStringLiteral("busyNotice")));
    QTRY_COMPARE(clipLimiter(0), QStringLiteral("Limiter1"));
    openCell(kPeqCell, QStringLiteral("QX8PEQ.qml"));
}

void TestConfigPages::optionCardNamesOnTheInputPages()
{
    VirtualProcessor& device = m_session.device();
    const auto stripName = [this](int input) {
        return property(QStringLiteral("inputStrip_%1").arg(input), "outputName");
    };
    // The device's configuration routes the option card's first input to slot 2.
    applyConfiguration([this] { m_model->inputRouterSetSource(2, kFirstCardInput); });
    const int sent = device.received().size();
    openCell(QStringLiteral("cell_in_1_0"), QStringLiteral("ScreenMixer.qml"));
    QTRY_VERIFY(!device.received().mid(sent).filter("GetInputRouterSourceNames").isEmpty());
    QTRY_COMPARE(stripName(2), QStringLiteral("Orvel 1"));
    QCOMPARE(stripName(1), QStringLiteral("Analog1"));
    QCOMPARE(stripName(8), QStringLiteral("Input 8"));

    // Renamed on the device: the page asks again.
    setOnDevice(kCardInputName, QStringLiteral("Stage Left"));
    QTRY_COMPARE(stripName(2), QStringLiteral("Stage Left"));

    openCell(QStringLiteral("cell_in_0_0"), QStringLiteral("ScreenInputRouter.qml"));
    QTRY_COMPARE(property(QStringLiteral("slotName_2"), "text"), QStringLiteral("Stage Left"));
    QCOMPARE(property(QStringLiteral("slotName_1"), "text"), QStringLiteral("Analog1"));
    // The naming strip offers the recommended names and writes the name the user gives.
    QQuickItem* box = m_session.waitForItem(QStringLiteral("inputName_1"));
    QVERIFY(box);
    QTRY_COMPARE(box->property("editText").toString(), QStringLiteral("Stage Left"));
    QCOMPARE(box->property("count").toInt(), 46);
    QString last;
    QVERIFY(QMetaObject::invokeMethod(box, "textAt", Q_RETURN_ARG(QString, last), Q_ARG(int, 45)));
    QCOMPARE(last, QStringLiteral("Aux Music"));
    QVERIFY(QMetaObject::invokeMethod(box, "textAccepted", Q_ARG(QString, "Lectern")));
    QTRY_COMPARE(device.command("value \"\\\\" + kCardInputName + "\\\""),
                 QStringLiteral("ok Lectern"));
    QTRY_COMPARE(property(QStringLiteral("slotName_2"), "text"), QStringLiteral("Lectern"));

    // The analyser's option-card source.
    openCell(QStringLiteral("cell_rta_0_0"), QStringLiteral("ScreenRTA.qml"));
    QTRY_COMPARE(strings(m_session.shell().pageItem()->property("sourceNames")).value(14),
                 QStringLiteral("Lectern"));

    setOnDevice(kCardInputName, QStringLiteral("Orvel 1"));
    applyConfiguration([this] { m_model->inputRouterSetSource(2, kSecondAnalogInput); });
}

void TestConfigPages::deviceConfigurationDrawnInPlace()
{
    QVERIFY(reconfigureFromAnotherClient(deviceConfigWithOutputName(1, "Front Fill")));

    // Logged in again, the application learns the device's configuration only after the home
    // page is on screen.
    QSignalSpy adopted(m_model, &HomeScreenModel::configAdopted);
    QStringList loadsBeforeAdoption;
    connect(m_model, &HomeScreenModel::configAdopted, this,
            [&] { loadsBeforeAdoption = m_session.shell().takeLoads(); });
    VirtualProcessor& device = m_session.device();
    QCOMPARE(device.command("fault answer-delay=3000"), QStringLiteral("ok"));
    loginAgain();
    QVERIFY(adopted.count() == 1 || adopted.wait(qx8test::timeoutMs()));
    disconnect(m_model, &HomeScreenModel::configAdopted, this, nullptr);
    QVERIFY2(!loadsBeforeAdoption.filter(kHomePage).isEmpty(),
             qPrintable(loadsBeforeAdoption.join(' ')));
    QTRY_COMPARE(property(outputCell(0), "captionText"), QStringLiteral("Front Fill"));
    ShellFixture::settle();
    QCOMPARE(m_session.shell().takeLoads(), QStringList()); // drawn again in place
    QCOMPARE(device.command("fault answer-delay=0"), QStringLiteral("ok"));
}

void TestConfigPages::crossoverBandsNamedByTheConfiguration()
{
    openCell(kCrossoverCell, QStringLiteral("CrossOver.qml"));
    QTRY_COMPARE(property(QStringLiteral("band_1"), "text"), QStringLiteral("FULL RANGE"));
    QVERIFY(!m_session.item(QStringLiteral("band_2")));

    applyConfiguration(
        [this] { m_model->setCrossoverConfig(0, QStringLiteral("Stereo 2Way + Mono Sub")); });
    openCell(kCrossoverCell, QStringLiteral("CrossOver.qml"));
    QTRY_COMPARE(property(QStringLiteral("band_1"), "text"), QStringLiteral("HIGHS"));
    QCOMPARE(property(QStringLiteral("band_2"), "text"), QStringLiteral("LOWS"));
    QCOMPARE(property(QStringLiteral("band_3"), "text"), QStringLiteral("SUBS"));
    QTRY_VERIFY_WITH_TIMEOUT(
        boundVariables().contains(QStringLiteral("CrossoverIIR1|MonoSub_LPFrequency")),
        qx8test::timeoutMs());
    QVERIFY(m_session.waitForValues(qx8test::timeoutMs()).isEmpty());
}

QStringList TestConfigPages::outputsPageNames()
{
    if (!m_session.click(QStringLiteral("menuOutputMetersButton")) ||
        !m_session.waitForPage(QStringLiteral("ScreenOutputMeters.qml")))
        return {};
    QList<QQuickItem*> shown;
    const std::function<void(QQuickItem*)> collect = [&](QQuickItem* item) {
        if (item->objectName() == QLatin1String("outputName"))
            shown.append(item);
        for (QQuickItem* child : item->childItems())
            collect(child);
    };
    const bool allShown = QTest::qWaitFor([&] {
        shown.clear();
        collect(m_session.shell().pageItem());
        return shown.size() == kOutputs;
    });
    // Where the strips' row has put them.
    if (!allShown || !m_session.waitForFrame())
        return {};
    std::sort(shown.begin(), shown.end(), [](const QQuickItem* a, const QQuickItem* b) {
        return a->mapToScene(QPointF()).x() < b->mapToScene(QPointF()).x();
    });
    QStringList names;
    for (const QQuickItem* name : shown)
        names << name->property("text").toString();
    return names;
}

// The Outputs page names each output as the device configuration does: after an output is
// renamed on the configurable home and applied, and after the application logs in again to a
// device that another controller renamed one on.
void TestConfigPages::outputsPageShowsTheConfiguredNames()
{
    QStringList names = outputsPageNames();
    QCOMPARE(names.size(), kOutputs);
    applyConfiguration([this] { m_model->setOutputName(2, QStringLiteral("Stage Left")); });
    names[2] = QStringLiteral("Stage Left");
    QCOMPARE(outputsPageNames(), names);

    QVERIFY(reconfigureFromAnotherClient(deviceConfigWithOutputName(5, "Delay Line")));
    QSignalSpy adopted(m_model, &HomeScreenModel::configAdopted);
    loginAgain();
    QVERIFY(adopted.count() == 1 || adopted.wait(qx8test::timeoutMs()));
    names[4] = QStringLiteral("Delay Line");
    QCOMPARE(outputsPageNames(), names);
    m_session.shell().screenshot(QStringLiteral("outputs-configured-names.png"));

    applyConfiguration([this] {
        m_model->setOutputName(2, QStringLiteral("Output 3"));
        m_model->setOutputName(4, QStringLiteral("Output 5"));
    });
}

QX8_TEST_MAIN(TestConfigPages)
#include "tst_configpages.moc"
