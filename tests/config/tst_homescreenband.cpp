// The home-screen band model against VirtualQX8: its requests, the band groups and stereo links
// as the device changes them, and the facts it leaves in the settings for other screens.
#include "linkedprocessor.h"
#include "qx8homescreenmodel.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QString attributeCommand(const QString& attribute, const QString& value)
{
    return QStringLiteral("set \"\\\\Preset\\Crossover\\AT\\%1\\\" \"%2\"").arg(attribute, value);
}

QString choiceCommand(const QString& choice, const QString& value)
{
    return QStringLiteral("set \"\\\\Node\\SetupWizardCurrentChoices\\SV\\%1\\\" \"%2\"")
        .arg(choice, value);
}

// low, mid, high visible, then low, mid, high drawn as left/right pairs.
QString groups(const QX8HomeScreenModel& model)
{
    QString flags;
    for (bool flag : {model.lowVisible(), model.midVisible(), model.highVisible(),
                      model.stereoOutputLow(), model.stereoOutputMid(), model.stereoOutputHigh()})
        flags += flag ? QLatin1Char('1') : QLatin1Char('0');
    return flags;
}

} // namespace

class TestHomeScreenBand : public QObject
{
    Q_OBJECT

private:
    void command(const QString& line)
    {
        QVERIFY2(m_device.device().command(line).startsWith(QLatin1String("ok")), qPrintable(line));
    }

    LinkedProcessor m_device;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_device.start()); }
    void cleanupTestCase() { m_device.stop(); }

    void requestsOnCreation()
    {
        const int before = m_device.received().size();
        QX8HomeScreenModel model;
        QVERIFY(m_device.waitForSequence(
            {QStringLiteral("sub \"\\\\Preset\\Crossover\\AT\\NumBands\\\""),
             QStringLiteral("sub \"\\\\Preset\\Crossover\\AT\\MonoSub\\\""),
             QStringLiteral("ls \"\\\\Preset\\\"")},
            before));
    }

    // The model follows each attribute as the device changes it, the band count alone as well.
    void followsTheCrossover_data()
    {
        QTest::addColumn<QString>("numBands");
        QTest::addColumn<QString>("monoSub");
        QTest::addColumn<QString>("groups");
        const auto row = [](const char* name, const char* numBands, const char* monoSub,
                            const char* groups) {
            QTest::newRow(name) << QString(numBands) << QString(monoSub) << QString(groups);
        };
        row("1 band", "1", "0", "001001");
        row("1 band, mono sub", "1", "1", "101001");
        row("2 bands", "2", "0", "101101");
        row("2 bands, mono sub", "2", "1", "111011");
        row("3 bands", "3", "0", "111111");
    }
    void followsTheCrossover()
    {
        QFETCH(QString, numBands);
        QFETCH(QString, monoSub);
        QFETCH(QString, groups);
        command(attributeCommand(QStringLiteral("NumBands"), QStringLiteral("3")));
        command(attributeCommand(QStringLiteral("MonoSub"), QStringLiteral("1")));
        QX8HomeScreenModel model;
        QTRY_COMPARE(::groups(model), QStringLiteral("111111"));
        command(attributeCommand(QStringLiteral("MonoSub"), monoSub));
        command(attributeCommand(QStringLiteral("NumBands"), numBands));
        QTRY_COMPARE(::groups(model), groups);
        QCOMPARE(model.numBands(), numBands);
        QX8Settings settings;
        QCOMPARE(settings.value(settingskeys::kCrossoverNumBand).toString(), numBands);
        QCOMPARE(settings.value(settingskeys::kCrossoverMonoSub).toString(), monoSub);
        QCOMPARE(settings.value(settingskeys::kCrossoverLowGroupVisible).toBool(),
                 groups.at(0) == QLatin1Char('1'));
        QCOMPARE(settings.value(settingskeys::kCrossoverMidGroupVisible).toBool(),
                 groups.at(1) == QLatin1Char('1'));
    }

    // Each group setter logs itself and writes its key, also when the group stays as it was.
    void groupSettersLogAndStoreEveryCall()
    {
        QX8HomeScreenModel model;
        QX8Settings settings;
        settings.setValue(settingskeys::kCrossoverMidGroupVisible, true);
        QSignalSpy midChanged(&model, &QX8HomeScreenModel::midVisibleChanged);
        QTest::ignoreMessage(QtDebugMsg, "void QX8HomeScreenModel::setLowVisible(bool) true");
        QTest::ignoreMessage(QtDebugMsg, "void QX8HomeScreenModel::setMidVisible(bool) false");
        QTest::ignoreMessage(QtDebugMsg, "void QX8HomeScreenModel::setHighVisible(bool) true");
        QVERIFY(!model.midVisible());
        model.setLowVisible(true);
        model.setMidVisible(false);
        model.setHighVisible(true);
        QCOMPARE(midChanged.count(), 0);
        QCOMPARE(settings.value(settingskeys::kCrossoverLowGroupVisible).toBool(), true);
        QCOMPARE(settings.value(settingskeys::kCrossoverMidGroupVisible).toBool(), false);
        QCOMPARE(settings.value(settingskeys::kCrossoverHighGroupVisible).toBool(), true);
    }

    // Mono input mixing and a split graphic EQ show in the next listing of the preset.
    void followsTheStereoLinks()
    {
        for (const bool mono : {true, false}) {
            command(choiceCommand(QStringLiteral("InputMixing"),
                                  mono ? QStringLiteral("Mono") : QStringLiteral("Stereo")));
            command(
                choiceCommand(QStringLiteral("GEQSetup"), mono ? QStringLiteral("Dual Mono")
                                                               : QStringLiteral("Stereo Linked")));
            QX8HomeScreenModel model;
            QSignalSpy dualMono(&model, &QX8HomeScreenModel::isDualMonoChanged);
            QTRY_VERIFY(!dualMono.isEmpty() && dualMono.constLast().at(0).toBool() == mono);
            QCOMPARE(model.stereoInput(), !mono);
            QCOMPARE(model.isDualMono(), mono);
        }
    }
};

QX8_TEST_GUILESS_MAIN(TestHomeScreenBand)
#include "tst_homescreenband.moc"
