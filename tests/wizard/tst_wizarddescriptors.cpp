// The wizard descriptor files in the resources against the tables they were written from: every
// block in file order with its id, its elements in order and its rows; the pictures they name
// exist; and how the page table and the providers pick a block.
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

struct Row
{
    QString text;
    QString value;
    QString image;
    bool operator==(const Row& other) const
    {
        return text == other.text && value == other.value && image == other.image;
    }
};

// A block: its elements other than the rows, in order ("tag=text"), and its rows.
struct Block
{
    QString id;
    QStringList elements;
    QVector<Row> rows;
};

const QString kPictures = QStringLiteral("qrc:/images/Wizards/");
const QString kChoice = QStringLiteral(R"(Node\Wizard\SV\WizardChoice)");
const QString kChoices = QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\)");
const QString kGeneric = QStringLiteral(R"(Node\Wizard\SV\WizardGenericEnumChoice)");
const QString kSensitivity = QStringLiteral(R"(Node\Wizard\SV\WizardGenericAmpSensitivity)");

Row same(const QString& text, const QString& picture = QString())
{
    return {text, text, picture.isEmpty() ? QString() : kPictures + picture};
}
Row is(const QString& text, const QString& value, const QString& picture = QString())
{
    return {text, value, picture.isEmpty() ? QString() : kPictures + picture};
}
Row title(const QString& text)
{
    return {text, QStringLiteral("TitleString"), QString()};
}
Row noValue(const QString& text)
{
    return {text, QString(), QString()};
}
QString path(const QString& svPath)
{
    return QStringLiteral("SVPath=") + svPath;
}

// The list file, block by block, from the tables of its states.
QVector<Block> listFile()
{
    const Row tryAgain = is("Try Again", "No");
    const Row cancel = is("Cancel", "Yes");
    QHash<QString, Block> byId;
    const auto add = [&](const QString& id, const QStringList& elements, const QVector<Row>& rows) {
        byId.insert(id, {id, elements, rows});
    };
    const auto choice = [&](const QString& id, const QVector<Row>& rows) {
        add(id, {path(kChoice)}, rows);
    };
    const auto titleSecond = [&](const QString& id, const QString& text) {
        choice(id, {tryAgain, title(text), cancel});
    };
    const auto titleFirst = [&](const QString& id, const QString& text) {
        choice(id, {title(text), tryAgain, cancel});
    };
    const auto titledYesNo = [&](const QString& id, const QString& text) {
        choice(id, {title(text), same("No"), same("Yes")});
    };
    titleSecond("AutoEQMeasuringSignalNotHeard", "Test signal not detected.");
    titleSecond("AutoEQMeasuringLeftNotDetected", "Left speaker sound not detected.");
    titleSecond("AutoEQMeasuringRightNotDetected", "Right speaker sound not detected.");
    titleSecond("AutoEQMeasuringSignalNotEnough", "Low test signal level detected");
    titleSecond("AutoEQMeasuringTooMuchNoise", "High background noise level detected");
    titleSecond("AutoEQMeasuringHighNoise", "No RTA mic detected. Check connection.");
    titleFirst("GetReferenceSignalNotEnough", "Low test signal detected");
    titleFirst("MatchReferenceSignalNotEnough", "Low test signal detected");
    titleFirst("MatchReferenceTooMuchNoise", "High background noise level detected.");
    titleFirst("MatchReferenceSignalNotHeard", "Test signal not detected.");
    titleFirst("AutoEQMeasuringClip", "RTA Mic Input clip detected.");
    titleFirst("SetChirpLevelSignalNotEnough", "Low test signal level detected");
    titleFirst("GetReferenceSignalNotHeard", "Test signal not detected");
    titleFirst("SetChirpLevelClip", "RTA Mic input clip detected");
    titleFirst("SetChirpLevelSignalNotHeard", "Test Signal not detected");
    titleFirst("SetChirpLevelNoMic", "No RTA mic detected. Check connection.");
    titleFirst("GetReferenceTooMuchNoise", "High background noise level detected.");
    titleFirst("MatchReferenceNoMic", "No RTA mic detected. Check connection.");
    titleFirst("AutoEQMeasuringNoMic", "No RTA mic detected. Check connection.");
    titleFirst("GetReferenceNoMic", "No RTA Mic detected. Check connection");
    // The second "MatchReferenceSignalNotEnough" block is one of these too (below).
    for (const QString id :
         {"MatchReferenceHighNoise", "GetReferenceClip", "SetChirpLevelSignalAcceptable",
          "SetChirpLevelTooMuchNoise", "MatchReferenceClip"})
        choice(id, {tryAgain, cancel});
    titledYesNo("PromptApplySetup", "Apply the current changes?");
    titledYesNo("PromptDefaultFilters", "Use default number of 6 FIXED filters?");
    titledYesNo("PromptNuqDone", "Are you done setting FIXED filters?");
    titledYesNo("PromptRtaMic", "Do you have RTA Mic?");
    for (const QString id : {"ConfirmCurrentSettings", "PromptAutoEqAnotherSystem",
                             "NuqPromptRepeat", "PromptAddAnotherMonitor", "PromptNuqMonitorInput"})
        choice(id, {same("No"), same("Yes")});
    QVector<Row> sources;
    for (const QString name : {"Analog1", "Analog2", "Analog3"})
        sources << is(name.toUpper(), name);
    for (const QString name : {"AES1", "AES2", "AES3", "AES4"})
        sources << same(name);
    const QVector<Row> mainModes = {same("Full Range", "FullRangeSpeakerType.png"),
                                    same("Bi-Amped", "BiAmpSpeakerType.png"),
                                    same("Tri-Amped", "TriAmpSpeakerType.png")};
    add("GetReferenceHighNoise", {path(kChoice)}, {tryAgain, is("CONTINUE ANYWAY", "Yes")});
    add("GetReferenceAdjust", {path(kChoice)}, {is("Test Again", "No"), is("Skip", "Yes")});
    add("MatchReferenceAdjust", {path(kChoice)}, {title(""), tryAgain, is("Skip", "Yes")});
    for (const QString id : {"RunAllPromptNuq", "RunAllPromptAutoEQ"})
        add(id, {path(kChoice)}, {is("NO", "No"), is("YES", "Yes")});

    add("Inactive", {R"(nextSV=Node\Wizard\SV\WizardEvent)"},
        {noValue("RUN ALL WIZARDS"), noValue("RUN SETUP WIZARD"),
         noValue("RUN AUTOEQ/LEVEL ASSIST"), noValue("RUN NUQ WIZARD"), noValue("WIZARD OPTIONS"),
         noValue("MANAGE TUNINGS")});
    add("StartFromWhat", {path(R"(Node\Wizard\SV\WizardStartFrom)")},
        {title("Choose starting point"), same("Current Settings"), same("New Settings")});
    add("PromptAutoEQMeasurements", {path(R"(Node\Wizard\SV\AutoEQMeasurements)")},
        {title("Select number of RTA mic measurements"), is("2 GOOD", "2 (Good)"),
         is("3 BETTER", "3 (Better)"), is("4 BEST", "4 (Best)")});
    add("SelectItemsToSetup", {path(kChoices + "WizardItemsToSetup")},
        {is("PA SYSTEM", "PA System", "PaSystem.png"),
         is("STAGE MONITORS", "Stage Monitors", "StageMonitors.png"),
         is("PA SYSTEM + STAGE MONITORS", "PA System + Stage Monitors",
            "PaSystemAndStageMonitors.png")});
    for (const QString id : {"SelectFirstPaInput", "SelectMonitorInput", "SelectSecondPaInput",
                             "SelectThirdPaInput", "SelectAuxFedSubInput"})
        add(id, {path(R"(Node\Wizard\SV\WizardSourceSelect)")}, sources);
    add("SelectPaOutputFormat", {path(kGeneric)},
        {is("MONO", "Mono", "WizardPAsytemOutMono.png"),
         is("MONOX2", "MonoX2", "WizardPAsytemOutMonox2.png"),
         is("MONOX3", "MonoX3", "WizardPAsytemOutMonox3.png")});
    add("SelectSubSpeakerMode", {path(kChoices + "SubSpeakerMode")},
        {title("Select sub speaker configuration"),
         {"MONO", "Mono", "MonoSub"},
         {"STEREO", "Stereo", "StereoSub"}});
    add("PromptUsingSubs", {path(kChoices + "UsingSubSpeaker")},
        {title("Are you using subs?"), same("No"), same("Yes")});
    add("PromptSubsAuxFed", {path(kChoices + "WizardSubsAuxFed")},
        {{"No", "No", "SubNotAuxFed"}, {"Yes", "Yes", "SubAuxFed"}});
    add("SelectSubAmpBridgeMode", {path(kChoices + "PaSubAmpBridgeMode")},
        {same("No", "WizardSubNotBridged.png"), same("Yes", "WizardSubBridged.png")});
    for (const QString band : {"Low", "High"}) {
        add("Select" + band + "AmpBridgeMode", {path(kChoices + band + "AmplifierBridgeMode")},
            {title("Select " + band.toLower() + " amp bridge mode"),
             same("Stereo", "WizardSubNotBridged.png"), same("Bridged", "WizardSubBridged.png")});
    }
    add("SelectMainSpeakerMode", {path(kChoices + "MainSpeakerMode")}, mainModes);
    QVector<Row> autoEqs;
    for (int n = 1; n <= 6; ++n)
        autoEqs << is(QString("Auto EQ%1").arg(n), QString("AutoEQ%1").arg(n));
    add("SelectAutoEqObject", {path(R"(Node\Wizard\SV\WizardAutoEqSelect)")}, autoEqs);
    add("SelectTargetCurve", {path(kGeneric)},
        {is("RECOMENDED CURVE", "Recommended Curve", "RecommendedCurve.png"),
         same("Flat", "Flat.png"), same("Reflective Room", "ReflectiveRoom.png")});
    add("PromptAutoEQChoice", {path(R"(Node\Wizard\SV\AutoEQChoice)")},
        {title("Select wizard option."), is("Level Assist And AutoEQ", "Level Assist & AutoEQ"),
         same("Level Assist Only"), same("AutoEQ Only")});
    add("NuqGatesOff", {}, {noValue("Nuq1"), noValue("Nuq2"), noValue("Nuq3")});
    add("GainDown", {"button=Click Here when done"}, {});
    add("SetType", {path(R"(Preset\Nuq\SV\ContentMode)")},
        {title("Select Nuq filter type (width)."), same("Speech", "NuqCurveSpeech.png"),
         is("Music/Speech", "Speech Music", "NuqCurveMusic_Speech.png"),
         same("Music", "NuqCurveMusic.png")});
    add("NuqSelectNuqObject", {path(R"(Node\Wizard\SV\WizardNuqSelect)")},
        {is("NUQ1", "Nuq1"), is("NUQ2", "Nuq2"), is("NUQ3", "Nuq3")});
    add("SelectMonitorMode", {path(kGeneric)},
        {is("FULL RANGE", "Full Range", "FullRangeMonitorType.png"),
         is("BI-AMPED", "Bi-Amped", "BiAmpMonitorType.png"),
         is("TRI-AMPED", "Tri-Amped", "TriAmpMonitorType.png")});
    add("SelectMainSpeakerUsage", {path(kGeneric)}, {});
    for (const QString band : {"High", "Mid", "Low"}) {
        const QString variable = path(kChoices + band + "AmplifierSensitivity");
        add("Select" + band + "AmplifierMaxAnalogInputQuarx", {variable},
            {title("Select Quarx max analog input")});
        add("Select" + band + "AmplifierSensitivity", {variable},
            {title("Select " + band.toLower() + " amp sensitivity")});
    }
    for (const QString id :
         {"SelectMonitorAmplifierSensitivity", "SelectMonitorAmplifierMaxAnalogInputQuarx",
          "SelectPaAmplifierSensitivity"})
        add(id, {path(kSensitivity)}, {});

    // Block ids in file order; some ids stand twice.
    const QStringList order =
        QString::fromLatin1(
            "Inactive StartFromWhat PromptAutoEQMeasurements AutoEQMeasuringSignalNotHeard "
            "AutoEQMeasuringLeftNotDetected AutoEQMeasuringRightNotDetected "
            "AutoEQMeasuringSignalNotEnough AutoEQMeasuringTooMuchNoise "
            "GetReferenceSignalNotEnough MatchReferenceSignalNotEnough MatchReferenceHighNoise "
            "MatchReferenceTooMuchNoise MatchReferenceSignalNotHeard AutoEQMeasuringClip "
            "GetReferenceClip SetChirpLevelSignalNotEnough GetReferenceSignalNotHeard "
            "SetChirpLevelClip SetChirpLevelSignalNotHeard SelectItemsToSetup SelectFirstPaInput "
            "SelectMonitorInput SelectSecondPaInput SelectThirdPaInput SelectPaOutputFormat "
            "SelectAuxFedSubInput SelectSubSpeakerMode SelectPaOutputFormat PromptUsingSubs "
            "PromptSubsAuxFed SelectSubAmpBridgeMode SelectLowAmpBridgeMode "
            "SelectHighAmpBridgeMode PromptApplySetup ConfirmCurrentSettings "
            "SelectMainSpeakerMode SetChirpLevelNoMic SelectAutoEqObject SelectTargetCurve "
            "MatchReferenceAdjust GetReferenceAdjust PromptAutoEQChoice NuqGatesOff GainDown "
            "PromptDefaultFilters SetType PromptNuqDone PromptAutoEqAnotherSystem NuqPromptRepeat "
            "NuqSelectNuqObject PromptAddAnotherMonitor SelectMonitorMode PromptNuqMonitorInput "
            "SelectMainSpeakerUsage SelectHighAmplifierMaxAnalogInputQuarx "
            "SelectMidAmplifierMaxAnalogInputQuarx SelectLowAmplifierMaxAnalogInputQuarx "
            "SelectLowAmplifierSensitivity SelectMidAmplifierSensitivity "
            "SelectHighAmplifierSensitivity SelectMonitorAmplifierSensitivity "
            "SelectMonitorAmplifierMaxAnalogInputQuarx SelectPaAmplifierSensitivity PromptRtaMic "
            "SetChirpLevelSignalAcceptable SetChirpLevelTooMuchNoise AutoEQMeasuringHighNoise "
            "MatchReferenceSignalNotEnough GetReferenceHighNoise GetReferenceTooMuchNoise "
            "MatchReferenceNoMic AutoEQMeasuringNoMic MatchReferenceHighNoise GetReferenceNoMic "
            "GetReferenceClip MatchReferenceClip RunAllPromptNuq RunAllPromptAutoEQ")
            .split(' ');
    QVector<Block> blocks;
    QSet<QString> seen;
    for (const QString& id : order) {
        Block block = byId.value(id);
        block.id = id;
        // The second block of these ids differs from the first.
        if (seen.contains(id) && id == QLatin1String("SelectPaOutputFormat"))
            block = {id,
                     {},
                     {{"MONO", "Mono", "qrc:/images/ButtonBG2.png"},
                      {"MonoX2", "MonoX2", "qrc:/images/ButtonBG3.png"},
                      {"MonoX3", "MonoX3", "qrc:/images/ButtonBG1.png"}}};
        if (seen.contains(id) && id == QLatin1String("MatchReferenceSignalNotEnough"))
            block.rows = {tryAgain, cancel};
        seen.insert(id);
        blocks << block;
    }
    return blocks;
}

QVector<Block> runSetupFile()
{
    const QString sensitivity = path(kSensitivity);
    return {
        {"Inactive",
         {R"(nextSV=Node\Wizard\SV\WizardEvent)"},
         {noValue("Run All Setup"), noValue("Run Input Setup Items"),
          noValue("Run GEQ Setup Items"), noValue("Run Speaker / Amp Setup Items")}},
        {"StartFromWhat", {path(kChoice)}, {same("No"), same("Yes")}},
        {"SelectItemsToSetup",
         {path(kChoices + "WizardItemsToSetup")},
         {same("PA System", "PaSystem.png"), same("Stage Monitors", "StageMonitors.png"),
          is("PA SYSTEM + STAGE MONITORS", "PA System + Stage Monitors",
             "PaSystemAndStageMonitors.png")}},
        {"SelectInput",
         {path(kChoices + "InputMixing")},
         {title("Select Input configuration"), same("Mono", "Setup_IconMixerMono.png"),
          same("Stereo", "Setup_IconMixerStereo.png")}},
        {"SelectGEQ",
         {path(kChoices + "GEQSetup")},
         {title("Select GEQ configuration"), same("Dual Mono", "MonoPAInFormat.png"),
          same("Stereo Linked", "LRPAInFormat.png")}},
        {"ConfirmCurrentSettings", {path(kChoice)}, {same("No"), same("Yes")}},
        {"SelectMainSpeakerMode",
         {path(kChoices + "MainSpeakerMode")},
         {same("Full Range", "FullRangeSpeakerType.png"), same("Bi-Amped", "BiAmpSpeakerType.png"),
          same("Tri-Amped", "TriAmpSpeakerType.png")}},
        {"SelectMainSpeakerUsage", {path(kGeneric)}, {}},
        {"SelectPaAmplifierMaxAnalogInputQuarx", {sensitivity}, {}},
        {"SelectMonitorAmplifierSensitivity", {sensitivity}, {}},
        {"SelectMonitorAmplifierMaxAnalogInputQuarx", {sensitivity}, {}},
        {"SelectPaAmplifierSensitivity", {sensitivity}, {}},
    };
}

QVector<Block> dialFile()
{
    QVector<Block> blocks;
    const QList<QStringList> table = {
        {"SelectHighAmplifierLevel", "Match your high amp levels to this:", "dial"},
        {"SelectMidAmplifierLevel", "Match your mid amp levels to this:", "dial"},
        {"SetFilters", "Select the number of fixed filters.", "slider"},
        {"SelectLowAmplifierLevel", "Match your low amp levels to this:", "dial"},
        {"SelectHighAmplifierSensitivityQuarx", "Set Quarx sensitivity level to this:", "slider"},
        {"SelectMidAmplifierSensitivityQuarx", "Set Quarx sensitivity level to this:", "slider"},
        {"SelectLowAmplifierSensitivityQuarx", "Set Quarx sensitivity level to this:", "slider"}};
    for (const QStringList& row : table)
        blocks << Block{
            row[0],
            {"heading=" + row[1], "button=Click Here when done", "dialOrSlider=" + row[2]},
            {}};
    return blocks;
}

QVector<Block> nuqGraphFile()
{
    return {{"GainUp",
             {"heading=Slowly raise mixer outputs.", "button=Click Here when done",
              "image=qrc:/images/Wizards/RaiseMixerOutputs.png"},
             {}},
            {"NuqResult",
             {"heading=Nuq LIVE filters now active.", "button=Click Here when done", "image="},
             {}}};
}

QVector<Block> dialogFile()
{
    const QString done = "button=Click Here when done";
    const QString lower = "image=/images/Wizards/LowerMixerOutputs.png";
    const QString pa = "image=/images/Wizards/PaSystem.png";
    const auto h = [](const QString& text) { return "heading=" + text; };
    QVector<Block> blocks = {
        {"StartSetupWizardWarning",
         {h("Completing setup wizard will overwrite your current configuration"), "button=Continue",
          "svValue=Next"},
         {}},
        {"StartSetupWizard", {h("Running Setup Wizard..."), "button="}, {}},
        {"ConfirmCurrentSettings", {h("Starting from current settings..."), "button="}, {}},
        {"ConfirmStartNew", {h("Starting from new settings..."), "button="}, {}},
        {"SetupApply", {h("Applying setup changes. Please Wait..."), "button="}, {}},
        {"SetupComplete", {h("Setup Complete.."), "button="}, {}},
        {"StartAutoEQ", {h("Please Wait..."), "button=", "image="}, {}},
        {"ExitAutoEQ", {h("Please Wait..."), "button=", "image="}, {}},
        {"AutoEQCalculation", {h("Calculating AutoEQ..."), "button=", "image="}, {}},
        {"RunningLevelAssist", {h("Running Level Assist..."), "button=", "image="}, {}},
        {"SelectMonitorSpeaker", {h("Select Monitor 1Speaker"), "button="}, {}},
        {"RunningAutoEQ", {h("Running AutoEQ..."), "button="}, {}},
        {"ExitAutoEQ", {h("Please Wait..."), "button="}, {}},
        {"StartNuq", {h("Running Nuq Wizard..."), "button="}, {}},
        {"NuqConnectMic",
         {h("Perform sound check and setup rough mix for all mics."), done, "svValue=Next"},
         {}},
        {"NuqGatesOff", {h("Bypass any active noise gates."), done, "svValue=Next"}, {}},
        {"GainDown", {h("Fully lower mixer outputs."), done, "svValue=Next", lower}, {}},
        {"DisplayError", {h(""), "button=", "svValue=Next"}, {}},
        {"GainPerformance",
         {h("Lower mixer outputs to performance level."), done, lower, "svValue=Next"},
         {}},
        {"NuqComplete", {h("Nuq Wizard Complete..."), "button=", "image=", "svValue="}, {}},
        {"JackFormatNeedsToChange", {h("Error..."), "button=Next", "image=", "svValue=Next"}, {}},
    };
    for (const QString id : {"AutoEQPlaceMic", "MicPosition1"})
        blocks << Block{
            id,
            {h("Connect RTA mic and place it as shown."), "button=Next", "image=", "svValue=Next"},
            {}};
    blocks << Block{"AutoEQMeasuring", {h("Measuring..."), "image=WizardPAsytemOutMonox2.png"}, {}};
    const QString quarx = R"(1-Set (Attn) to 0dB.\n 2-Set DSP to flat or bypassed.)";
    const QString quarxSpaced = R"(1-Set (Attn) to 0dB. \n 2-Set DSP to flat or bypassed.)";
    blocks << Block{"SelectHighAmplifierInfoQuarx",
                    {h("High amp Quarx setup:"), "button=", "DisplayText=" + quarx,
                     "image=", "svValue=Next"},
                    {}}
           << Block{"SelectMidAmplifierInfoQuarx",
                    {h("Mid amp Quarx setup:"), "button=", "DisplayText=" + quarxSpaced,
                     "image=", "svValue=Next"},
                    {}}
           << Block{"SelectLowAmplifierInfoQuarx",
                    {h("Low amp Quarx setup:"), "button=", "DisplayText=" + quarxSpaced,
                     "image=", "svValue=Next"},
                    {}};
    blocks << Block{"LevelAssistComplete", {h("Level Assist Complete..."), "button=", "image="}, {}}
           << Block{"GainStop",
                    {h("Fixed filters set... Stop rising mixer outputs."), "button=", "image="},
                    {}}
           << Block{"AutoEQComplete", {h("AutoEQ Wizard complete..."), "button=", "image="}, {}}
           << Block{"AllOutputsUsedNoneLeftForMonitors",
                    {h("All outputs used for PA system. Monitor setup will be skipped."),
                     "button=Next", "image=", "svValue=Next"},
                    {}};
    const QList<QStringList> starts = {{"StartInput", "Now setting up Input..."},
                                       {"StartSpeaker", "Now setting up speakers / Amps..."},
                                       {"StartGEQ", "Now setting up GEQ..."}};
    for (const QStringList& start : starts)
        blocks << Block{start[0], {h(start[1]), "button=", "image=", "svValue="}, {}};
    const QList<QStringList> references = {
        {"GetReference", "Checking left high level..."},
        {"GetReferenceClip", "Checking left high level..."},
        {"GetReferenceNoMic", ""},
        {"GetReferenceSignalNotHeard", "Checking left high level."},
        {"GetReferenceHighNoise", "Checking left high level."},
        {"GetReferenceSignalNotEnough", "Low test signal detected."},
        {"GetReferenceAdjust", "Get reference adjust."},
        {"MatchReference", "Check right high level"},
        {"MatchReferenceNoMic", "Checking left high level."},
        {"MatchReferenceClip", "Checking left high level."},
        {"MatchReferenceSignalNotHeard", "Checking left high level."},
        {"MatchReferenceHighNoise", "Checking left high level."},
        {"MatchReferenceTooMuchNoise", "Checking left high level."},
        {"MatchReferenceSignalNotEnough", "Checking left high level."}};
    for (const QStringList& reference : references)
        blocks << Block{reference[0], {h(reference[1]), "button=", pa, "svValue="}, {}};
    blocks << Block{"SetChirpLevel", {h("Setting test tone level..."), "button=", pa}, {}};
    for (const QString id :
         {"SetChirpLevelNoMic", "SetChirpLevelClip", "SetChirpLevelSignalNotHeard",
          "SetChirpLevelHighNoise", "SetChirpLevelTooMuchNoise", "SetChirpLevelSignalNotEnough"})
        blocks << Block{id, {h("Checking right high level."), "button=", pa}, {}};
    return blocks;
}

QString readResource(const QString& name)
{
    QFile file(":/xml/" + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every `WizardState` block of a file as it stands there.
QVector<Block> blocksIn(const QString& text)
{
    QDomDocument document;
    document.setContent(text);
    QVector<Block> blocks;
    const QDomElement root = document.documentElement();
    for (QDomElement element = root.firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        Block block{element.attribute("id"), {}, {}};
        for (QDomElement child = element.firstChildElement(); !child.isNull();
             child = child.nextSiblingElement()) {
            if (child.tagName() != QLatin1String("lvElements")) {
                block.elements << child.tagName() + '=' + child.text();
                continue;
            }
            for (QDomElement row = child.firstChildElement(); !row.isNull();
                 row = row.nextSiblingElement())
                block.rows << Row{row.firstChildElement("Text").text(),
                                  row.firstChildElement("Value").text(),
                                  row.firstChildElement("Image").text()};
        }
        blocks << block;
    }
    return blocks;
}

QString describe(const Block& block)
{
    QStringList rows;
    for (const Row& row : block.rows)
        rows << row.text + '=' + row.value + '[' + row.image + ']';
    return block.id + " {" + block.elements.join("; ") + "} " + rows.join(" | ");
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
    QTest::addColumn<int>("ids");
    QTest::newRow("list") << "WizardListView.xml" << 74;
    QTest::newRow("run setup") << "WizardRunSetupView.xml" << 12;
    QTest::newRow("dialog") << "WizardDialogView.xml" << 54;
    QTest::newRow("dial") << "WizardDialView.xml" << 7;
    QTest::newRow("Nuq graph") << "WizardNuqGraphView.xml" << 2;
}

void TestWizardDescriptors::fileHoldsItsBlocks()
{
    QFETCH(QString, file);
    QFETCH(int, ids);
    const QHash<QString, QVector<Block> (*)()> expected = {
        {"WizardListView.xml", listFile},
        {"WizardRunSetupView.xml", runSetupFile},
        {"WizardDialogView.xml", dialogFile},
        {"WizardDialView.xml", dialFile},
        {"WizardNuqGraphView.xml", nuqGraphFile}};
    const QVector<Block> blocks = expected.value(file)();
    const QString text = readResource(file);
    QVERIFY(text.startsWith("<?xml version=\"1.0\" ?>\n"));
    QVERIFY(!text.contains('\r'));
    const QVector<Block> found = blocksIn(text);
    QSet<QString> distinct;
    for (const Block& block : found)
        distinct.insert(block.id);
    QCOMPARE(found.size(), blocks.size());
    QCOMPARE(distinct.size(), ids);
    for (int i = 0; i < found.size(); ++i)
        QCOMPARE(describe(found[i]), describe(blocks[i]));
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

// First block for the lists, every block for the page providers; ids match exactly.
void TestWizardDescriptors::lookupByState()
{
    const WizardDescriptor list("WizardListView.xml");
    QCOMPARE(WizardDescriptor::childText(list.firstBlock("SelectPaOutputFormat"), "SVPath"),
             QString(R"(Node\Wizard\SV\WizardGenericEnumChoice)"));
    QCOMPARE(list.everyBlock("GetReferenceClip").size(), 2);
    QVERIFY(list.firstBlock("selectpaoutputformat").isNull());
    const WizardDescriptor dialog("WizardDialogView.xml");
    QCOMPARE(dialog.everyBlock("ExitAutoEQ").size(), 2);
    QCOMPARE(WizardDescriptor::childText(dialog.firstBlock("SelectHighAmplifierInfoQuarx"),
                                         "DisplayText"),
             QString(R"(1-Set (Attn) to 0dB.\n 2-Set DSP to flat or bypassed.)"));
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
    QCOMPARE(wizardstates::wizardNameFor("SelectHighAmpBridgeMode"), QString());
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
