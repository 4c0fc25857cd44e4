#include "wizardflows.h"

#include <QHash>

namespace {

const QString kStartFrom = QStringLiteral("Node\\Wizard\\SV\\WizardStartFrom");
const QString kChoice = QStringLiteral("Node\\Wizard\\SV\\WizardChoice");
const QString kRunAll = QStringLiteral("Node\\Wizard\\SV\\WizardRunAll");
const QString kUsingSubs = QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\UsingSubSpeaker");
const QString kGenericChoice = QStringLiteral("Node\\Wizard\\SV\\WizardGenericEnumChoice");
const QString kGenericSensitivity = QStringLiteral("Node\\Wizard\\SV\\WizardGenericAmpSensitivity");
const QString kChoicesFolder = QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\");

WizardStep ask(const QString& state, const WizardCondition& when = {})
{
    return {state, false, when};
}

WizardStep pass(const QString& state, const WizardCondition& when = {})
{
    return {state, true, when};
}

const WizardCondition kYes{kChoice, QStringLiteral("Yes")};
const WizardCondition kNo{kChoice, QStringLiteral("No")};
const WizardCondition kWithSubs{kUsingSubs, QStringLiteral("Yes")};
const WizardCondition kRunningAll{kRunAll, QStringLiteral("Wizards")};

// Declined, the setup ends with nothing applied and nothing to report as complete.
QVector<WizardStep> applySteps()
{
    return {ask("PromptApplySetup"), pass("SetupApply", kYes), pass("SetupComplete", kYes)};
}

QVector<WizardStep> speakerSteps()
{
    return {ask("SelectPaOutputFormat"),        ask("SelectMainSpeakerMode"),
            ask("SelectMainSpeaker"),           ask("PromptUsingSubs"),
            ask("SelectSubSpeaker", kWithSubs), ask("SelectSubSpeakerMode", kWithSubs),
            ask("SelectHighAmplifier"),         ask("SelectHighAmplifierSensitivity"),
            ask("SelectHighAmplifierLevel")};
}

QVector<WizardFlow> makeFlows()
{
    const WizardFlow setup{
        QVector<WizardStep>{
            pass("StartSetupWizard"), ask("StartSetupWizardWarning"), ask("StartFromWhat"),
            pass("ConfirmStartNew", {kStartFrom, QStringLiteral("New Settings")}),
            pass("ConfirmCurrentSettings", {kStartFrom, QStringLiteral("Current Settings")}),
            ask("SelectItemsToSetup"), pass("StartInput"), ask("SelectInput"),
            ask("SelectFirstPaInput"), pass("StartGEQ"), ask("SelectGEQ"), pass("StartSpeaker")} +
            speakerSteps() + applySteps(),
        {{kRunningAll, "RunAllPromptAutoEQ"}}};
    const WizardFlow input{
        QVector<WizardStep>{pass("StartInput"), ask("SelectInput"), ask("SelectFirstPaInput")} +
            applySteps(),
        {}};
    const WizardFlow geq{QVector<WizardStep>{pass("StartGEQ"), ask("SelectGEQ")} + applySteps(),
                         {}};
    const WizardFlow speaker{
        QVector<WizardStep>{pass("StartSpeaker")} + speakerSteps() + applySteps(), {}};
    const WizardFlow autoEq{
        {pass("StartAutoEQ"), ask("PromptRtaMic"), ask("PromptAutoEQChoice"),
         ask("PromptAutoEQMeasurements"), ask("SelectAutoEqObject"), ask("SelectTargetCurve"),
         ask("AutoEQPlaceMic"), pass("SetChirpLevel"), pass("RunningLevelAssist"),
         pass("GetReference"), ask("GetReferenceAdjust"), pass("MatchReference"),
         ask("MatchReferenceAdjust"), pass("LevelAssistComplete"), ask("MicPosition1"),
         pass("AutoEQMeasuring"), pass("AutoEQCalculation"), ask("AutoEQResult"),
         pass("AutoEQComplete")},
        {{kRunningAll, "RunAllPromptNuq"}}};
    const WizardFlow nuq{{pass("StartNuq"), ask("NuqSelectNuqObject"), ask("NuqConnectMic"),
                          ask("NuqGatesOff"), ask("GainDown"), ask("PromptDefaultFilters"),
                          ask("SetFilters", kNo), ask("SetType"), pass("GainUp"), pass("GainStop"),
                          ask("PromptNuqDone"), ask("GainPerformance"), ask("NuqResult"),
                          pass("NuqComplete")},
                         {}};
    const WizardFlow askAutoEq{{ask("RunAllPromptAutoEQ")},
                               {{kYes, "StartAutoEQ"}, {{}, "RunAllPromptNuq"}}};
    const WizardFlow askNuq{{ask("RunAllPromptNuq")}, {{kYes, "StartNuq"}}};
    return {setup, input, geq, speaker, autoEq, nuq, askAutoEq, askNuq};
}

QHash<QString, QVector<WizardStateEntries>> makeEntries()
{
    const QStringList sensitivities{"0.775 V", "1.0 V", "1.4 V", "2.0 V"};
    const QStringList maxInputs{"+4 dBu", "+10 dBu", "+14 dBu", "+20 dBu", "+24 dBu"};
    QHash<QString, QVector<WizardStateEntries>> entries{
        // The unit proposes to keep the work of the setup, never to throw it away.
        {"PromptApplySetup", {{kChoice, {"No", "Yes"}, "Yes"}}},
        {"SelectPaOutputFormat", {{kGenericChoice, {"Mono", "MonoX2", "MonoX3"}}}},
        {"SelectTargetCurve", {{kGenericChoice, {"Recommended Curve", "Flat", "Reflective Room"}}}},
        {"SelectMonitorMode", {{kGenericChoice, {"Full Range", "Bi-Amped", "Tri-Amped"}}}},
        {"SelectMainSpeakerUsage", {{kGenericChoice, {"Main PA", "Front Fill", "Delay Fill"}}}},
        {"SelectPaAmplifierSensitivity", {{kGenericSensitivity, sensitivities}}},
        {"SelectMonitorAmplifierSensitivity", {{kGenericSensitivity, sensitivities}}},
        {"SelectPaAmplifierMaxAnalogInputQuarx", {{kGenericSensitivity, maxInputs}}},
        {"SelectMonitorAmplifierMaxAnalogInputQuarx", {{kGenericSensitivity, maxInputs}}}};
    for (const QString band : {"High", "Mid", "Low"}) {
        const QString variable = kChoicesFolder + band + "AmplifierSensitivity";
        entries.insert("Select" + band + "AmplifierSensitivity", {{variable, sensitivities}});
        entries.insert("Select" + band + "AmplifierMaxAnalogInputQuarx", {{variable, maxInputs}});
    }
    return entries;
}

} // namespace

const QVector<WizardFlow>& wizardFlows()
{
    static const QVector<WizardFlow> flows = makeFlows();
    return flows;
}

QVector<WizardStateEntries> wizardEntriesFor(const QString& state)
{
    static const QHash<QString, QVector<WizardStateEntries>> entries = makeEntries();
    return entries.value(state);
}
