// The wizard descriptor files in the resources: their form, the blocks whose order or marker
// words the pages rely on, the pictures they name; and how the page table and the providers pick
// a block.
#include "qx8settings.h"
#include "settingskeys.h"
#include "testmain.h"
#include "wizarddescriptor.h"
#include "wizardscreensloader.h"
#include "wizardstatetable.h"

#include <QDomDocument>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

namespace {

QString readResource(const QString& name)
{
    QFile file(":/xml/" + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every `WizardState` block of a file, in the notation of `given()`: "id {tag=text; ...} rows",
// the elements other than the rows sorted by tag, each row "Text=Value[image]" with "-" for a
// row without a value.
QStringList blocksIn(const QString& text)
{
    QDomDocument document;
    document.setContent(text);
    QStringList blocks;
    const QDomElement root = document.documentElement();
    for (QDomElement block = root.firstChildElement(); !block.isNull();
         block = block.nextSiblingElement()) {
        QStringList elements;
        QStringList rows;
        for (QDomElement child = block.firstChildElement(); !child.isNull();
             child = child.nextSiblingElement()) {
            if (child.tagName() != QLatin1String("lvElements")) {
                elements << child.tagName() + '=' + child.text();
                continue;
            }
            for (QDomElement row = child.firstChildElement(); !row.isNull();
                 row = row.nextSiblingElement()) {
                const QDomElement value = row.firstChildElement("Value");
                rows << row.firstChildElement("Text").text() + '=' +
                            (value.isNull() ? QString("-") : value.text()) + '[' +
                            row.firstChildElement("Image").text() + ']';
            }
        }
        elements.sort();
        blocks << block.attribute("id") + " {" + elements.join("; ") + "} " + rows.join(" | ");
    }
    return blocks;
}

// A block as the tables that describe the files write it. A row is "Text", "Text = Value",
// "(title) Text" or "Text (no value)", followed by its picture in brackets: a file name in
// qrc:/images/Wizards/, or the image text as it stands ("[MonoSub]", "[qrc:/images/...]").
QString given(const QString& id, QStringList elements, const QStringList& rows)
{
    static const QRegularExpression row(
        R"(^(\(title\) ?)?(.*?)(?: = (.*?))?( \(no value\))?(?: \[(.*)\])?$)");
    QStringList made;
    for (const QString& written : rows) {
        const QRegularExpressionMatch parts = row.match(written);
        const QString text = parts.captured(2);
        const QString value = !parts.captured(1).isEmpty()   ? QString("TitleString")
                              : !parts.captured(4).isEmpty() ? QString("-")
                              : parts.capturedStart(3) >= 0  ? parts.captured(3)
                                                             : text;
        QString image = parts.captured(5);
        if (image.endsWith(".png") && !image.startsWith("qrc:"))
            image.prepend("qrc:/images/Wizards/");
        made << text + '=' + value + '[' + image + ']';
    }
    elements.sort();
    return id + " {" + elements.join("; ") + "} " + made.join(" | ");
}

QStringList listFileBlocks()
{
    const QString choice = R"(SVPath=Node\Wizard\SV\WizardChoice)";
    const QString wizard = R"(SVPath=Node\Wizard\SV\)";
    const QString choices = R"(SVPath=Node\SetupWizardCurrentChoices\SV\)";
    const QStringList noYes{"No", "Yes"};
    const QStringList tryAgain{"Try Again = No", "Cancel = Yes"};
    const auto titled = [](const QString& title, QStringList rows) {
        rows.prepend("(title) " + title);
        return rows;
    };
    const auto titledBetween = [](const QString& title) {
        return QStringList{"Try Again = No", "(title) " + title, "Cancel = Yes"};
    };
    const QStringList sources{"ANALOG1 = Analog1",
                              "ANALOG2 = Analog2",
                              "ANALOG3 = Analog3",
                              "AES1",
                              "AES2",
                              "AES3",
                              "AES4"};
    const QString source = wizard + "WizardSourceSelect";
    const QString sensitivity = R"(SVPath=Node\Wizard\SV\WizardGenericAmpSensitivity)";
    const QString generic = wizard + "WizardGenericEnumChoice";
    // Four steps of the setup carry a title row, so that their page asks its question.
    return {
        given("Inactive", {R"(nextSV=Node\Wizard\SV\WizardEvent)"},
              {"RUN ALL WIZARDS (no value)", "RUN SETUP WIZARD (no value)",
               "RUN AUTOEQ/LEVEL ASSIST (no value)", "RUN NUQ WIZARD (no value)",
               "WIZARD OPTIONS (no value)", "MANAGE TUNINGS (no value)"}),
        given("StartFromWhat", {wizard + "WizardStartFrom"},
              titled("Choose starting point", {"Current Settings", "New Settings"})),
        given("PromptAutoEQMeasurements", {wizard + "AutoEQMeasurements"},
              titled("Select number of RTA mic measurements",
                     {"2 GOOD = 2 (Good)", "3 BETTER = 3 (Better)", "4 BEST = 4 (Best)"})),
        given("AutoEQMeasuringSignalNotHeard", {choice},
              titledBetween("Test signal not detected.")),
        given("AutoEQMeasuringLeftNotDetected", {choice},
              titledBetween("Left speaker sound not detected.")),
        given("AutoEQMeasuringRightNotDetected", {choice},
              titledBetween("Right speaker sound not detected.")),
        given("AutoEQMeasuringSignalNotEnough", {choice},
              titledBetween("Low test signal level detected")),
        given("AutoEQMeasuringTooMuchNoise", {choice},
              titledBetween("High background noise level detected")),
        given("GetReferenceSignalNotEnough", {choice},
              titled("Low test signal detected", tryAgain)),
        given("MatchReferenceSignalNotEnough", {choice},
              titled("Low test signal detected", tryAgain)),
        given("MatchReferenceHighNoise", {choice}, tryAgain),
        given("MatchReferenceTooMuchNoise", {choice},
              titled("High background noise level detected.", tryAgain)),
        given("MatchReferenceSignalNotHeard", {choice},
              titled("Test signal not detected.", tryAgain)),
        given("AutoEQMeasuringClip", {choice}, titled("RTA Mic Input clip detected.", tryAgain)),
        given("GetReferenceClip", {choice}, tryAgain),
        given("SetChirpLevelSignalNotEnough", {choice},
              titled("Low test signal level detected", tryAgain)),
        given("GetReferenceSignalNotHeard", {choice}, titled("Test signal not detected", tryAgain)),
        given("SetChirpLevelClip", {choice}, titled("RTA Mic input clip detected", tryAgain)),
        given("SetChirpLevelSignalNotHeard", {choice},
              titled("Test Signal not detected", tryAgain)),
        given("SelectItemsToSetup", {choices + "WizardItemsToSetup"},
              titled("Select items to setup",
                     {"PA SYSTEM = PA System [PaSystem.png]",
                      "STAGE MONITORS = Stage Monitors [StageMonitors.png]",
                      "PA SYSTEM + STAGE MONITORS = PA System + Stage Monitors "
                      "[PaSystemAndStageMonitors.png]"})),
        given("SelectFirstPaInput", {source}, titled("Select first PA input", sources)),
        given("SelectMonitorInput", {source}, sources),
        given("SelectSecondPaInput", {source}, sources),
        given("SelectThirdPaInput", {source}, sources),
        given("SelectPaOutputFormat", {generic},
              titled("Select PA output format", {"MONO = Mono [WizardPAsytemOutMono.png]",
                                                 "MONOX2 = MonoX2 [WizardPAsytemOutMonox2.png]",
                                                 "MONOX3 = MonoX3 [WizardPAsytemOutMonox3.png]"})),
        given("SelectAuxFedSubInput", {source}, sources),
        given("SelectSubSpeakerMode", {choices + "SubSpeakerMode"},
              titled("Select sub speaker configuration",
                     {"MONO = Mono [MonoSub]", "STEREO = Stereo [StereoSub]"})),
        given("SelectPaOutputFormat", {},
              {"MONO = Mono [qrc:/images/ButtonBG2.png]", "MonoX2 [qrc:/images/ButtonBG3.png]",
               "MonoX3 [qrc:/images/ButtonBG1.png]"}),
        given("PromptUsingSubs", {choices + "UsingSubSpeaker"},
              titled("Are you using subs?", noYes)),
        given("PromptSubsAuxFed", {choices + "WizardSubsAuxFed"},
              {"No [SubNotAuxFed]", "Yes [SubAuxFed]"}),
        given("SelectSubAmpBridgeMode", {choices + "PaSubAmpBridgeMode"},
              {"No [WizardSubNotBridged.png]", "Yes [WizardSubBridged.png]"}),
        given("SelectLowAmpBridgeMode", {choices + "LowAmplifierBridgeMode"},
              titled("Select low amp bridge mode",
                     {"Stereo [WizardSubNotBridged.png]", "Bridged [WizardSubBridged.png]"})),
        given("SelectHighAmpBridgeMode", {choices + "HighAmplifierBridgeMode"},
              titled("Select high amp bridge mode",
                     {"Stereo [WizardSubNotBridged.png]", "Bridged [WizardSubBridged.png]"})),
        given("PromptApplySetup", {choice}, titled("Apply the current changes?", noYes)),
        given("ConfirmCurrentSettings", {choice}, noYes),
        given("SelectMainSpeakerMode", {choices + "MainSpeakerMode"},
              titled("Select main speaker mode",
                     {"Full Range [FullRangeSpeakerType.png]", "Bi-Amped [BiAmpSpeakerType.png]",
                      "Tri-Amped [TriAmpSpeakerType.png]"})),
        given("SetChirpLevelNoMic", {choice},
              titled("No RTA mic detected. Check connection.", tryAgain)),
        given("SelectAutoEqObject", {wizard + "WizardAutoEqSelect"},
              {"Auto EQ1 = AutoEQ1", "Auto EQ2 = AutoEQ2", "Auto EQ3 = AutoEQ3",
               "Auto EQ4 = AutoEQ4", "Auto EQ5 = AutoEQ5", "Auto EQ6 = AutoEQ6"}),
        given("SelectTargetCurve", {generic},
              {"RECOMENDED CURVE = Recommended Curve [RecommendedCurve.png]", "Flat [Flat.png]",
               "Reflective Room [ReflectiveRoom.png]"}),
        given("MatchReferenceAdjust", {choice}, {"(title)", "Try Again = No", "Skip = Yes"}),
        given("GetReferenceAdjust", {choice}, {"Test Again = No", "Skip = Yes"}),
        given("PromptAutoEQChoice", {wizard + "AutoEQChoice"},
              titled("Select wizard option.", {"Level Assist And AutoEQ = Level Assist & AutoEQ",
                                               "Level Assist Only", "AutoEQ Only"})),
        given("NuqGatesOff", {}, {"Nuq1 (no value)", "Nuq2 (no value)", "Nuq3 (no value)"}),
        given("GainDown", {"button=Click Here when done"}, {}),
        given("PromptDefaultFilters", {choice},
              titled("Use default number of 6 FIXED filters?", noYes)),
        given("SetType", {R"(SVPath=Preset\Nuq\SV\ContentMode)"},
              titled("Select Nuq filter type (width).",
                     {"Speech [NuqCurveSpeech.png]",
                      "Music/Speech = Speech Music [NuqCurveMusic_Speech.png]",
                      "Music [NuqCurveMusic.png]"})),
        given("PromptNuqDone", {choice}, titled("Are you done setting FIXED filters?", noYes)),
        given("PromptAutoEqAnotherSystem", {choice}, noYes),
        given("NuqPromptRepeat", {choice}, noYes),
        given("NuqSelectNuqObject", {wizard + "WizardNuqSelect"},
              {"NUQ1 = Nuq1", "NUQ2 = Nuq2", "NUQ3 = Nuq3"}),
        given("PromptAddAnotherMonitor", {choice}, noYes),
        given("SelectMonitorMode", {generic},
              {"FULL RANGE = Full Range [FullRangeMonitorType.png]",
               "BI-AMPED = Bi-Amped [BiAmpMonitorType.png]",
               "TRI-AMPED = Tri-Amped [TriAmpMonitorType.png]"}),
        given("PromptNuqMonitorInput", {choice}, noYes),
        given("SelectMainSpeakerUsage", {generic}, {}),
        given("SelectHighAmplifierMaxAnalogInputQuarx", {choices + "HighAmplifierSensitivity"},
              {"(title) Select Quarx max analog input"}),
        given("SelectMidAmplifierMaxAnalogInputQuarx", {choices + "MidAmplifierSensitivity"},
              {"(title) Select Quarx max analog input"}),
        given("SelectLowAmplifierMaxAnalogInputQuarx", {choices + "LowAmplifierSensitivity"},
              {"(title) Select Quarx max analog input"}),
        given("SelectLowAmplifierSensitivity", {choices + "LowAmplifierSensitivity"},
              {"(title) Select low amp sensitivity"}),
        given("SelectMidAmplifierSensitivity", {choices + "MidAmplifierSensitivity"},
              {"(title) Select mid amp sensitivity"}),
        given("SelectHighAmplifierSensitivity", {choices + "HighAmplifierSensitivity"},
              {"(title) Select high amp sensitivity"}),
        given("SelectMonitorAmplifierSensitivity", {sensitivity}, {}),
        given("SelectMonitorAmplifierMaxAnalogInputQuarx", {sensitivity}, {}),
        given("SelectPaAmplifierSensitivity", {sensitivity}, {}),
        given("PromptRtaMic", {choice}, titled("Do you have RTA Mic?", noYes)),
        given("SetChirpLevelSignalAcceptable", {choice}, tryAgain),
        given("SetChirpLevelTooMuchNoise", {choice}, tryAgain),
        given("AutoEQMeasuringHighNoise", {choice},
              titledBetween("No RTA mic detected. Check connection.")),
        given("MatchReferenceSignalNotEnough", {choice}, tryAgain),
        given("GetReferenceHighNoise", {choice}, {"Try Again = No", "CONTINUE ANYWAY = Yes"}),
        given("GetReferenceTooMuchNoise", {choice},
              titled("High background noise level detected.", tryAgain)),
        given("MatchReferenceNoMic", {choice},
              titled("No RTA mic detected. Check connection.", tryAgain)),
        given("AutoEQMeasuringNoMic", {choice},
              titled("No RTA mic detected. Check connection.", tryAgain)),
        given("MatchReferenceHighNoise", {choice}, tryAgain),
        given("GetReferenceNoMic", {choice},
              titled("No RTA Mic detected. Check connection", tryAgain)),
        given("GetReferenceClip", {choice}, tryAgain),
        given("MatchReferenceClip", {choice}, tryAgain),
        given("RunAllPromptNuq", {choice}, {"NO = No", "YES = Yes"}),
        given("RunAllPromptAutoEQ", {choice}, {"NO = No", "YES = Yes"}),
    };
}

// The sub-speaker questions after the twelve blocks of the run-setup menu and steps carry the
// marker words from which the page draws each answer's speaker stack.
QStringList runSetupFileBlocks()
{
    const QString choice = R"(SVPath=Node\Wizard\SV\WizardChoice)";
    const QString choices = R"(SVPath=Node\SetupWizardCurrentChoices\SV\)";
    const QString sensitivity = R"(SVPath=Node\Wizard\SV\WizardGenericAmpSensitivity)";
    return {
        given("Inactive", {R"(nextSV=Node\Wizard\SV\WizardEvent)"},
              {"Run All Setup (no value)", "Run Input Setup Items (no value)",
               "Run GEQ Setup Items (no value)", "Run Speaker / Amp Setup Items (no value)"}),
        given("StartFromWhat", {choice}, {"No", "Yes"}),
        given("SelectItemsToSetup", {choices + "WizardItemsToSetup"},
              {"PA System [PaSystem.png]", "Stage Monitors [StageMonitors.png]",
               "PA SYSTEM + STAGE MONITORS = PA System + Stage Monitors "
               "[PaSystemAndStageMonitors.png]"}),
        given("SelectInput", {choices + "InputMixing"},
              {"(title) Select Input configuration", "Mono [Setup_IconMixerMono.png]",
               "Stereo [Setup_IconMixerStereo.png]"}),
        given("SelectGEQ", {choices + "GEQSetup"},
              {"(title) Select GEQ configuration", "Dual Mono [MonoPAInFormat.png]",
               "Stereo Linked [LRPAInFormat.png]"}),
        given("ConfirmCurrentSettings", {choice}, {"No", "Yes"}),
        given("SelectMainSpeakerMode", {choices + "MainSpeakerMode"},
              {"Full Range [FullRangeSpeakerType.png]", "Bi-Amped [BiAmpSpeakerType.png]",
               "Tri-Amped [TriAmpSpeakerType.png]"}),
        given("SelectMainSpeakerUsage", {R"(SVPath=Node\Wizard\SV\WizardGenericEnumChoice)"}, {}),
        given("SelectPaAmplifierMaxAnalogInputQuarx", {sensitivity}, {}),
        given("SelectMonitorAmplifierSensitivity", {sensitivity}, {}),
        given("SelectMonitorAmplifierMaxAnalogInputQuarx", {sensitivity}, {}),
        given("SelectPaAmplifierSensitivity", {sensitivity}, {}),
        given("PromptUsingSubs", {choices + "UsingSubSpeaker"},
              {"(title) Are you using subs?", "No [NoSubs]", "Yes [YesSubs]"}),
        given(
            "PromptSubsAuxFed", {choices + "WizardSubsAuxFed"},
            {"(title) Are the subs fed from an aux send?", "No [SubNotAuxFed]", "Yes [SubAuxFed]"}),
    };
}

QStringList dialogFileBlocks()
{
    const QStringList none{"button="};
    const QStringList still{"button=", "image="};
    const QStringList next{"svValue=Next"};
    const QStringList doneNext{"button=Click Here when done", "svValue=Next"};
    const QStringList nextNext{"button=Next", "image=", "svValue=Next"};
    const QStringList quiet{"button=", "image=", "svValue="};
    const QStringList system{"button=", "image=/images/Wizards/PaSystem.png", "svValue="};
    const QStringList chirp{"button=", "image=/images/Wizards/PaSystem.png"};
    const QString lower = "image=/images/Wizards/LowerMixerOutputs.png";
    const auto block = [](const QString& id, const QString& heading, QStringList elements) {
        elements << "heading=" + heading;
        return given(id, elements, {});
    };
    const auto quarx = [](const QString& id, const QString& band, const QString& text) {
        return given(id,
                     {"heading=" + band + " amp Quarx setup:", "button=", "DisplayText=" + text,
                      "image=", "svValue=Next"},
                     {});
    };
    const QString checkLeft = "Checking left high level.";
    const QString checkRight = "Checking right high level.";
    return {
        block("StartSetupWizardWarning",
              "Completing setup wizard will overwrite your current configuration",
              {"button=Continue", "svValue=Next"}),
        block("StartSetupWizard", "Running Setup Wizard...", none),
        block("ConfirmCurrentSettings", "Starting from current settings...", none),
        block("ConfirmStartNew", "Starting from new settings...", none),
        block("SetupApply", "Applying setup changes. Please Wait...", none),
        block("SetupComplete", "Setup Complete..", none),
        block("StartAutoEQ", "Please Wait...", still),
        block("ExitAutoEQ", "Please Wait...", still),
        block("AutoEQCalculation", "Calculating AutoEQ...", still),
        block("RunningLevelAssist", "Running Level Assist...", still),
        block("SelectMonitorSpeaker", "Select Monitor 1Speaker", none),
        block("RunningAutoEQ", "Running AutoEQ...", none),
        block("ExitAutoEQ", "Please Wait...", none),
        block("StartNuq", "Running Nuq Wizard...", none),
        block("NuqConnectMic", "Perform sound check and setup rough mix for all mics.", doneNext),
        block("NuqGatesOff", "Bypass any active noise gates.", doneNext),
        block("GainDown", "Fully lower mixer outputs.", doneNext + QStringList{lower}),
        block("DisplayError", "", none + next),
        block("GainPerformance", "Lower mixer outputs to performance level.",
              doneNext + QStringList{lower}),
        block("NuqComplete", "Nuq Wizard Complete...", quiet),
        block("JackFormatNeedsToChange", "Error...", nextNext),
        block("AutoEQPlaceMic", "Connect RTA mic and place it as shown.", nextNext),
        block("MicPosition1", "Connect RTA mic and place it as shown.", nextNext),
        block("AutoEQMeasuring", "Measuring...", {"image=WizardPAsytemOutMonox2.png"}),
        quarx("SelectHighAmplifierInfoQuarx", "High",
              R"(1-Set (Attn) to 0dB.\n 2-Set DSP to flat or bypassed.)"),
        quarx("SelectMidAmplifierInfoQuarx", "Mid",
              R"(1-Set (Attn) to 0dB. \n 2-Set DSP to flat or bypassed.)"),
        quarx("SelectLowAmplifierInfoQuarx", "Low",
              R"(1-Set (Attn) to 0dB. \n 2-Set DSP to flat or bypassed.)"),
        block("LevelAssistComplete", "Level Assist Complete...", still),
        block("GainStop", "Fixed filters set... Stop rising mixer outputs.", still),
        block("AutoEQComplete", "AutoEQ Wizard complete...", still),
        block("AllOutputsUsedNoneLeftForMonitors",
              "All outputs used for PA system. Monitor setup will be skipped.", nextNext),
        block("StartInput", "Now setting up Input...", quiet),
        block("StartSpeaker", "Now setting up speakers / Amps...", quiet),
        block("StartGEQ", "Now setting up GEQ...", quiet),
        block("GetReference", "Checking left high level...", system),
        block("GetReferenceClip", "Checking left high level...", system),
        block("GetReferenceNoMic", "", system),
        block("GetReferenceSignalNotHeard", checkLeft, system),
        block("GetReferenceHighNoise", checkLeft, system),
        block("GetReferenceSignalNotEnough", "Low test signal detected.", system),
        block("GetReferenceAdjust", "Get reference adjust.", system),
        block("MatchReference", "Check right high level", system),
        block("MatchReferenceNoMic", checkLeft, system),
        block("MatchReferenceClip", checkLeft, system),
        block("MatchReferenceSignalNotHeard", checkLeft, system),
        block("MatchReferenceHighNoise", checkLeft, system),
        block("MatchReferenceTooMuchNoise", checkLeft, system),
        block("MatchReferenceSignalNotEnough", checkLeft, system),
        block("SetChirpLevel", "Setting test tone level...", chirp),
        block("SetChirpLevelNoMic", checkRight, chirp),
        block("SetChirpLevelClip", checkRight, chirp),
        block("SetChirpLevelSignalNotHeard", checkRight, chirp),
        block("SetChirpLevelHighNoise", checkRight, chirp),
        block("SetChirpLevelTooMuchNoise", checkRight, chirp),
        block("SetChirpLevelSignalNotEnough", checkRight, chirp),
    };
}

QStringList dialFileBlocks()
{
    const auto block = [](const QString& id, const QString& heading, const QString& control) {
        return given(
            id, {"heading=" + heading, "button=Click Here when done", "dialOrSlider=" + control},
            {});
    };
    const QString quarx = "Set Quarx sensitivity level to this:";
    return {block("SelectHighAmplifierLevel", "Match your high amp levels to this:", "dial"),
            block("SelectMidAmplifierLevel", "Match your mid amp levels to this:", "dial"),
            block("SetFilters", "Select the number of fixed filters.", "slider"),
            block("SelectLowAmplifierLevel", "Match your low amp levels to this:", "dial"),
            block("SelectHighAmplifierSensitivityQuarx", quarx, "slider"),
            block("SelectMidAmplifierSensitivityQuarx", quarx, "slider"),
            block("SelectLowAmplifierSensitivityQuarx", quarx, "slider")};
}

QStringList nuqGraphFileBlocks()
{
    const QString button = "button=Click Here when done";
    return {given("GainUp",
                  {"heading=Slowly raise mixer outputs.", button,
                   "image=qrc:/images/Wizards/RaiseMixerOutputs.png"},
                  {}),
            given("NuqResult", {"heading=Nuq LIVE filters now active.", button, "image="}, {})};
}

} // namespace

class TestWizardDescriptors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileHoldsItsBlocks_data();
    void fileHoldsItsBlocks();
    void brandFileHasNoBlocks();
    void namedPicturesExist();
    void lookupByState();
    void deepNestingIsRefused();
    void pageTable();
    void pageSelectionIsRecorded();
};

void TestWizardDescriptors::fileHoldsItsBlocks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("blocks");
    QTest::addColumn<int>("ids");
    QTest::newRow("list") << "WizardListView.xml" << listFileBlocks() << 74;
    QTest::newRow("run setup") << "WizardRunSetupView.xml" << runSetupFileBlocks() << 14;
    QTest::newRow("dialog") << "WizardDialogView.xml" << dialogFileBlocks() << 54;
    QTest::newRow("dial") << "WizardDialView.xml" << dialFileBlocks() << 7;
    QTest::newRow("Nuq graph") << "WizardNuqGraphView.xml" << nuqGraphFileBlocks() << 2;
}

// Well-formed, every block as given, in order; the rows come last in a block, where a title row
// is the one that counts.
void TestWizardDescriptors::fileHoldsItsBlocks()
{
    QFETCH(QString, file);
    QFETCH(QStringList, blocks);
    QFETCH(int, ids);
    const QString text = readResource(file);
    QVERIFY(text.startsWith("<?xml version=\"1.0\" ?>\n"));
    QVERIFY(!text.contains('\r'));
    QDomDocument document;
    QVERIFY(document.setContent(text));
    QCOMPARE(blocksIn(text), blocks);
    QSet<QString> distinct;
    const QDomNodeList found = document.elementsByTagName("WizardState");
    for (int i = 0; i < found.size(); ++i) {
        const QDomElement block = found.at(i).toElement();
        distinct.insert(block.attribute("id"));
        const QDomElement rows = block.firstChildElement("lvElements");
        QVERIFY2(rows.isNull() || rows.nextSiblingElement().isNull(),
                 qPrintable(block.attribute("id")));
    }
    QCOMPARE(distinct.size(), ids);
    if (file == QLatin1String("WizardRunSetupView.xml"))
        QVERIFY(text.contains(
            QRegularExpression("<!--\\s*<WizardState id=\"PromptApplySetup\">.*WizardChoice.*-->",
                               QRegularExpression::DotMatchesEverythingOption)));
}

void TestWizardDescriptors::brandFileHasNoBlocks()
{
    const QString text = readResource("WizardBrandListView.xml");
    QVERIFY(text.startsWith("<?xml version=\"1.0\" ?>\n<!--"));
    QDomDocument document;
    QVERIFY(!document.setContent(text));
    QVERIFY(WizardDescriptor("WizardBrandListView.xml").everyBlock("Inactive").isEmpty());
}

// Resource paths must be there; marker words and bare names are drawn as no picture.
void TestWizardDescriptors::namedPicturesExist()
{
    for (const QString file : {"WizardListView.xml", "WizardRunSetupView.xml",
                               "WizardDialogView.xml", "WizardNuqGraphView.xml"}) {
        const QRegularExpression picture(">((qrc:)?/images/[^<]+)<");
        auto match = picture.globalMatch(readResource(file));
        int count = 0;
        while (match.hasNext()) {
            const QString resource =
                ':' + match.next().captured(1).remove(QRegularExpression("^qrc:"));
            QVERIFY2(QFile::exists(resource), qPrintable(file + ": " + resource));
            ++count;
        }
        QVERIFY(count > 0);
    }
}

// Ids match exactly; the providers' tests read the blocks themselves.
void TestWizardDescriptors::lookupByState()
{
    const WizardDescriptor list("WizardListView.xml");
    QCOMPARE(list.everyBlock("GetReferenceClip").size(), 2);
    QVERIFY(!list.firstBlock("SelectPaOutputFormat").isNull());
    QVERIFY(list.firstBlock("selectpaoutputformat").isNull());
}

// Nested far deeper than any descriptor, a text would overflow the stack of the DOM parser: it
// reads as holding no blocks. A deep but sane text still reads.
void TestWizardDescriptors::deepNestingIsRefused()
{
    const auto nested = [](int depth) {
        return "<Wizards><WizardState id=\"Inactive\"><heading>Menu</heading>" +
               QString("<a>").repeated(depth) + QString("</a>").repeated(depth) +
               "</WizardState></Wizards>";
    };
    const WizardDescriptor sane = WizardDescriptor::fromText(nested(200));
    QCOMPARE(WizardDescriptor::childText(sane.firstBlock("Inactive"), "heading"), QString("Menu"));
    qx8test::expectWarnings("Wizard descriptor refused: elements nested deeper than 256", 1);
    QVERIFY(WizardDescriptor::fromText(nested(200000)).everyBlock("Inactive").isEmpty());
}

void TestWizardDescriptors::pageTable()
{
    QHash<QString, int> perPage;
    for (const QString& page : wizardstates::pageTable())
        ++perPage[page];
    const QHash<QString, int> expected = {
        {"WizardListType.qml", 78},          {"WizardDialogType.qml", 42},
        {"WizardNestedListViewType.qml", 9}, {"WizardDialType.qml", 7},
        {"WizardFormType.qml", 6},           {"WizardNuqGraphType.qml", 2},
        {"RunSetupWizardScreen.qml", 2},     {"WizardMakeConnections.qml", 1},
        {"WizardAEQResultType.qml", 1}};
    QCOMPARE(perPage, expected);
    QCOMPARE(wizardstates::pageFor("AutoEQResult"), QString("WizardAEQResultType.qml"));
    for (const QString unknown :
         {"SelectSubOutputFormat", "", "inactive", "SetChirpLevelHighNoise"})
        QCOMPARE(wizardstates::pageFor(unknown), QString("WizardNotImplemented.qml"));
    QCOMPARE(wizardstates::wizardNameFor("GainUp"), QString("Nuq Wizard"));
    QCOMPARE(wizardstates::wizardNameFor("SetChirpLevelHighNoise"), QString("AutoEQ Wizard"));
    QCOMPARE(wizardstates::wizardNameFor("SelectLowAmpBridgeMode"), QString("Run Setup Wizard"));
    QCOMPARE(wizardstates::wizardNameFor("SelectItemsToSetup"), QString("Run Setup Wizard"));
    QCOMPARE(wizardstates::wizardNameFor("OrvellinkInputNames"),
             QString("Orvel Link Setup Wizard"));
    // Only the steps any wizard may show name none.
    QStringList unnamed;
    for (const QString& state : wizardstates::pageTable().keys()) {
        if (wizardstates::wizardNameFor(state).isEmpty())
            unnamed << state;
    }
    unnamed.sort();
    QCOMPARE(unnamed, QStringList({"AmpTrafficControl", "DisplayError"}));
}

// Every write is announced with the state and recorded, a repeat included.
void TestWizardDescriptors::pageSelectionIsRecorded()
{
    WizardScreensLoader loader;
    QSignalSpy written(&loader, &WizardScreensLoader::wizardStateQmlChanged);
    for (const QString state : {"Inactive", "Inactive", "SelectSubOutputFormat"}) {
        loader.setWizardStateQml(state);
        QCOMPARE(written.takeLast().at(0).toString(), state);
        QCOMPARE(QX8Settings().value(settingskeys::kWizardCurrentState).toString(), state);
    }
    QCOMPARE(loader.wizardStateQml(), QString("WizardNotImplemented.qml"));
    loader.setWizardStateQml("Inactive");
    QCOMPARE(loader.wizardStateQml(), QString("WizardListType.qml"));
}

QX8_TEST_GUILESS_MAIN(TestWizardDescriptors)
#include "tst_wizarddescriptors.moc"
