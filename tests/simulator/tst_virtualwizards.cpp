// The virtual processor's wizards, driven over a real socket as the application drives them:
// every write of the wizard state, event or run-all variable is answered by a report of the
// wizard state, which follows the flows.
#include "consoleclient.h"
#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QtTest>

namespace {

const QString kStateReport = QStringLiteral(R"(subr "\\Node\Wizard\SV\WizardState\" ")");

// "Name=Value": a variable under Node\Wizard\SV\, or a whole node path.
QString setLine(const QString& assignment)
{
    const QString name = assignment.section('=', 0, 0);
    const QString path = name.contains('\\') ? name : R"(Node\Wizard\SV\)" + name;
    return "set \"\\\\" + path + "\\\" \"" + assignment.section('=', 1) + '"';
}

} // namespace

class TestVirtualWizards : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void flowsFollowWrites_data();
    void flowsFollowWrites();
    void automaticStepsWaitTheirTime();
    void statesGiveSharedVariablesTheirEntries();
};

void TestVirtualWizards::flowsFollowWrites_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QStringList>("reported");
    const QString subs = R"(Node\SetupWizardCurrentChoices\SV\UsingSubSpeaker)";
    QTest::newRow("setup from new settings, back and out")
        << QStringList{"WizardStartFrom=New Settings"}
        << QStringList{"WizardState=StartSetupWizard", "WizardEvent=Next", "WizardEvent=Next",
                       "WizardEvent=Previous", "WizardEvent=Exit"}
        << QStringList{"StartSetupWizardWarning", "StartFromWhat", "SelectItemsToSetup",
                       "StartFromWhat", "Inactive"};
    QTest::newRow("with subs") << QStringList{subs + "=Yes"}
                               << QStringList{"WizardState=PromptUsingSubs", "WizardEvent=Next"}
                               << QStringList{"PromptUsingSubs", "SelectSubSpeaker"};
    QTest::newRow("without subs") << QStringList{subs + "=No"}
                                  << QStringList{"WizardState=PromptUsingSubs", "WizardEvent=Next",
                                                 "WizardEvent=Previous"}
                                  << QStringList{"PromptUsingSubs", "SelectHighAmplifier",
                                                 "PromptUsingSubs"};
    QTest::newRow("running all wizards")
        << QStringList{"WizardChoice=No"}
        << QStringList{"WizardRunAll=Wizards", "WizardState=PromptApplySetup",
                       "WizardChoice=No",      "WizardEvent=Next",
                       "WizardEvent=Next",     "WizardChoice=Yes",
                       "WizardEvent=Next"}
        << QStringList{"Inactive",           "PromptApplySetup", "-",
                       "RunAllPromptAutoEQ", "RunAllPromptNuq",  "-",
                       "NuqSelectNuqObject"};
    QTest::newRow("cancel ends the wizard")
        << QStringList{} << QStringList{"WizardState=GetReferenceAdjust", "WizardEvent=Cancel"}
        << QStringList{"GetReferenceAdjust", "Inactive"};
    QTest::newRow("back at the first question stays")
        << QStringList{} << QStringList{"WizardState=StartAutoEQ", "WizardEvent=Previous"}
        << QStringList{"PromptRtaMic", "PromptRtaMic"};
    QTest::newRow("a state outside every flow")
        << QStringList{} << QStringList{"WizardState=OrvellinkSampleRate", "WizardEvent=Next"}
        << QStringList{"OrvellinkSampleRate", "Inactive"};
}

// Steps the device leaves by itself pass at once here. "-": the write is not reported.
void TestVirtualWizards::flowsFollowWrites()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, writes);
    QFETCH(QStringList, reported);
    VirtualProcessor device;
    QVERIFY(device.start({"--wizard-step-ms", "0"}));
    for (const QString& assignment : before)
        QVERIFY(device.command(setLine(assignment)).startsWith("ok"));
    ConsoleClient client;
    QVERIFY(client.connectTo(device.address()) && client.login());
    client.send(R"(sub "\\Node\Wizard\SV\WizardState\")");
    QVERIFY(client.waitForLine(kStateReport + "Inactive\""));

    QStringList states;
    for (const QString& assignment : writes) {
        const int from = client.lines().size();
        client.send(setLine(assignment));
        const QStringList reports = client.linesUntilProbe(from).filter(kStateReport);
        states << (reports.isEmpty() ? "-" : reports.last().mid(kStateReport.size()).chopped(1));
    }
    QCOMPARE(states, reported);
}

void TestVirtualWizards::automaticStepsWaitTheirTime()
{
    VirtualProcessor device;
    QVERIFY(device.start({"--wizard-step-ms", "200"}));
    ConsoleClient client;
    QVERIFY(client.connectTo(device.address()) && client.login());
    client.send(R"(sub "\\Node\Wizard\SV\WizardState\")");
    client.send(setLine("WizardState=StartNuq"));
    QVERIFY(client.waitForLine(kStateReport + "StartNuq\""));
    const qint64 started = client.elapsedMs();
    QVERIFY(client.waitForLine(kStateReport + "NuqSelectNuqObject\""));
    QVERIFY(client.elapsedMs() - started >= 150);
}

// A subscriber of a shared variable hears its new entries as an `lc` block.
void TestVirtualWizards::statesGiveSharedVariablesTheirEntries()
{
    VirtualProcessor device;
    QVERIFY(device.start());
    ConsoleClient client;
    QVERIFY(client.connectTo(device.address()) && client.login());
    client.send(R"(sub "\\Node\Wizard\SV\WizardGenericEnumChoice\")");
    QVERIFY(client.waitForLine(R"(subr "\\Node\Wizard\SV\WizardGenericEnumChoice\" "Mono")"));
    QVERIFY(device.command(setLine("WizardState=SelectTargetCurve")).startsWith("ok"));
    const QStringList block = {R"(lc "\\Node\Wizard\SV\WizardGenericEnumChoice\EN")",
                               "\tRecommended Curve", "\tFlat", "\tReflective Room", "endlc"};
    QVERIFY(client.waitForLine("endlc"));
    QCOMPARE(client.lines().mid(client.indexOf(block.first()), block.size()), block);
    QVERIFY(client.waitForLine(
        R"(subr "\\Node\Wizard\SV\WizardGenericEnumChoice\" "Recommended Curve")"));
    QCOMPARE(device.command(R"(entries "\\Node\Wizard\SV\WizardGenericEnumChoice\" "A|B")"),
             QString("ok 2"));
    QVERIFY(client.waitForLine("\tB"));
    QCOMPARE(device.command(R"(entries "\\Node\Wizard\SV\WizardState\" "A")").left(5),
             QString("error"));
}

QX8_TEST_GUILESS_MAIN(TestVirtualWizards)
#include "tst_virtualwizards.moc"
