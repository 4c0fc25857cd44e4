#include "wizardstatetable.h"

#include <QStringList>

namespace wizardstates {

namespace {

// A name and the states that belong to it, separated by blanks.
struct Group
{
    const char* name;
    const char* states;
};

// Each wizard state with the page that shows it.
const Group kPages[] = {
    {"WizardListType.qml",
     "OrvellinkSampleRate OrvellinkInputConsecutive OrvellinkOutputConsecutive "
     "PromptOrvellinkApply Inactive StartFromWhat SelectItemsToSetup SelectPaInputFormat "
     "SelectFirstPaInput SelectSecondPaInput SelectThirdPaInput PromptUsingSubs PromptApplySetup "
     "SelectPaOutputFormat SelectMainSpeakerMode PromptAddAnotherMonitor SelectLowAmpBridgeMode "
     "SelectHighAmpBridgeMode PromptNuqMonitorInput SelectMonitorInput SelectMonitorMode "
     "RunAllPromptOrvellink SelectAuxFedSubInput SelectSubSpeakerMode SelectSubAmpBridgeMode "
     "PromptSubsAuxFed RunAllPromptAutoEQ PromptAutoEQChoice PromptAutoEQMeasurements "
     "SelectTargetCurve SetChirpLevelNoMic SelectAutoEqObject AutoEQMeasuringSignalNotEnough "
     "AutoEQMeasuringSignalNotHeard AutoEQMeasuringLeftNotDetected "
     "AutoEQMeasuringRightNotDetected AutoEQMeasuringClip GetReferenceSignalNotHeard "
     "SetChirpLevelClip AutoEQMeasuringTooMuchNoise PromptAutoEqAnotherSystem "
     "SetChirpLevelSignalNotEnough GetReferenceSignalNotEnough SetChirpLevelSignalNotHeard "
     "MatchReferenceSignalNotHeard MatchReferenceAdjust GetReferenceAdjust SetType "
     "PromptDefaultFilters PromptNuqDone NuqPromptRepeat NuqSelectNuqObject "
     "SelectMainSpeakerUsage SelectPaAmplifierSensitivity SelectLowAmplifierSensitivity "
     "SelectMidAmplifierSensitivity SelectHighAmplifierSensitivity "
     "SelectHighAmplifierMaxAnalogInputQuarx SelectMidAmplifierMaxAnalogInputQuarx "
     "SelectLowAmplifierMaxAnalogInputQuarx SelectPaAmplifierMaxAnalogInputQuarx "
     "SelectMonitorAmplifierMaxAnalogInputQuarx SelectMonitorAmplifierSensitivity PromptRtaMic "
     "SetChirpLevelSignalAcceptable SetChirpLevelTooMuchNoise GetReferenceNoMic GetReferenceClip "
     "GetReferenceHighNoise GetReferenceTooMuchNoise MatchReferenceNoMic MatchReferenceClip "
     "MatchReferenceHighNoise MatchReferenceTooMuchNoise MatchReferenceSignalNotEnough "
     "AutoEQMeasuringNoMic AutoEQMeasuringHighNoise RunAllPromptNuq"},
    {"WizardDialogType.qml",
     "StartOrvellinkWizard StartOrvellinkWizardWarning OrvellinkSampleRateWarning "
     "StartOrvellinkDuplicateWarning OrvellinkApply OrvellinkComplete StartSetupWizard "
     "StartSetupWizardWarning ConfirmCurrentSettings AmpTrafficControl SetupApply DisplayError "
     "ConfirmStartNew JackFormatNeedsToChange SetupComplete StartAutoEQ ExitAutoEQ SetChirpLevel "
     "RunningLevelAssist MicPosition1 RunningAutoEQ AutoEQPlaceMic AutoEQMeasuring "
     "AutoEQCalculation AutoEQComplete GetReference MatchReference StartNuq NuqConnectMic "
     "NuqGatesOff GainDown GainPerformance NuqComplete SelectHighAmplifierInfoQuarx "
     "SelectMidAmplifierInfoQuarx SelectLowAmplifierInfoQuarx AllOutputsUsedNoneLeftForMonitors "
     "LevelAssistComplete GainStop StartInput StartGEQ StartSpeaker"},
    {"WizardNestedListViewType.qml",
     "SelectMainSpeaker SelectHighAmplifier SelectMidAmplifier SelectMonitorSpeaker "
     "PoweredLowAmplifier PoweredHighAmplifier PoweredMidAmplifier SelectLowAmplifier "
     "SelectSubSpeaker"},
    {"WizardDialType.qml",
     "SelectMidAmplifierLevel SelectHighAmplifierLevel SelectLowAmplifierLevel SetFilters "
     "SelectLowAmplifierSensitivityQuarx SelectMidAmplifierSensitivityQuarx "
     "SelectHighAmplifierSensitivityQuarx"},
    {"WizardFormType.qml",
     "OrvellinkInputStartChannel OrvellinkOutputStartChannel OrvellinkInputManualEdit "
     "OrvellinkOutputManualEdit OrvellinkInputNames OptionCardConnections"},
    {"WizardNuqGraphType.qml", "GainUp NuqResult"},
    {"RunSetupWizardScreen.qml", "SelectInput SelectGEQ"},
    {"WizardMakeConnections.qml", "MakeTheFollowingConnections"},
    {"WizardAEQResultType.qml", "AutoEQResult"},
};

// The running wizard that a state belongs to, named in the wizard screen's heading. Besides the
// steps that have always named their wizard, the steps a wizard may be entered at (a state the
// device reports when the screen opens, or after a start the device passes at once) name it too.
const Group kWizards[] = {
    {"Nuq Wizard",
     "StartNuq NuqConnectMic NuqGatesOff GainDown PromptDefaultFilters SetFilters SetType GainUp "
     "PromptNuqDone GainStop GainPerformance NuqResult NuqComplete "
     "NuqSelectNuqObject NuqPromptRepeat PromptNuqMonitorInput RunAllPromptNuq"},
    {"AutoEQ Wizard",
     "StartAutoEQ PromptRtaMic ExitAutoEQ PromptAutoEQChoice RunningLevelAssist RunningAutoEQ "
     "PromptAutoEQMeasurements MicPosition1 SetChirpLevel SetChirpLevelNoMic SetChirpLevelClip "
     "SetChirpLevelSignalNotHeard SetChirpLevelHighNoise SetChirpLevelTooMuchNoise "
     "SetChirpLevelSignalNotEnough GetReferenceNoMic GetReferenceClip GetReferenceSignalNotHeard "
     "GetReferenceHighNoise GetReferenceTooMuchNoise GetReferenceSignalNotEnough "
     "GetReferenceAdjust MatchReference MatchReferenceNoMic MatchReferenceClip "
     "MatchReferenceSignalNotHeard MatchReferenceHighNoise MatchReferenceTooMuchNoise "
     "MatchReferenceSignalNotEnough MatchReferenceAdjust LevelAssistComplete AutoEQPlaceMic "
     "AutoEQMeasuring AutoEQMeasuringNoMic AutoEQMeasuringClip AutoEQMeasuringSignalNotHeard "
     "AutoEQMeasuringLeftNotDetected AutoEQMeasuringRightNotDetected AutoEQMeasuringHighNoise "
     "AutoEQMeasuringTooMuchNoise AutoEQMeasuringSignalNotEnough "
     "SelectAutoEqObject SelectTargetCurve SetChirpLevelSignalAcceptable GetReference "
     "AutoEQCalculation AutoEQResult AutoEQComplete PromptAutoEqAnotherSystem RunAllPromptAutoEQ"},
    {"Run Setup Wizard",
     "StartSetupWizard StartFromWhat ConfirmStartNew ConfirmCurrentSettings StartInput "
     "SelectInput StartGEQ SelectGEQ StartSpeaker SelectMainSpeaker SelectMainSpeakerMode "
     "PromptUsingSubs SelectSubSpeaker SelectSubSpeakerMode SelectHighAmplifier "
     "PoweredHighAmplifier SelectHighAmplifierSensitivity SelectHighAmplifierLevel "
     "SelectHighAmplifierSensitivityQuarx SelectHighAmplifierInfoQuarx SelectMidAmplifier "
     "SelectMidAmplifierSensitivity SelectMidAmplifierLevel SelectMidAmplifierInfoQuarx "
     "SelectMidAmplifierMaxAnalogInputQuarx SelectMidAmplifierSensitivityQuarx "
     "SelectLowAmplifier PoweredLowAmplifier SelectLowAmplifierSensitivity "
     "SelectLowAmplifierLevel SelectLowAmplifierInfoQuarx SelectLowAmplifierMaxAnalogInputQuarx "
     "SelectLowAmplifierSensitivityQuarx SelectLowAmpBridgeMode "
     "StartSetupWizardWarning SelectItemsToSetup SelectPaInputFormat SelectFirstPaInput "
     "SelectSecondPaInput SelectThirdPaInput SelectPaOutputFormat SelectAuxFedSubInput "
     "PromptSubsAuxFed SelectSubAmpBridgeMode SelectHighAmpBridgeMode SelectMainSpeakerUsage "
     "SelectPaAmplifierSensitivity SelectPaAmplifierMaxAnalogInputQuarx "
     "SelectHighAmplifierMaxAnalogInputQuarx PoweredMidAmplifier SelectMonitorInput "
     "SelectMonitorMode SelectMonitorSpeaker SelectMonitorAmplifierSensitivity "
     "SelectMonitorAmplifierMaxAnalogInputQuarx PromptAddAnotherMonitor "
     "AllOutputsUsedNoneLeftForMonitors JackFormatNeedsToChange MakeTheFollowingConnections "
     "PromptApplySetup SetupApply SetupComplete"},
    {"Orvel Link Setup Wizard",
     "StartOrvellinkWizard StartOrvellinkWizardWarning StartOrvellinkDuplicateWarning "
     "OrvellinkSampleRate OrvellinkSampleRateWarning OrvellinkInputConsecutive "
     "OrvellinkInputStartChannel OrvellinkInputManualEdit OrvellinkInputNames "
     "OrvellinkOutputConsecutive OrvellinkOutputStartChannel OrvellinkOutputManualEdit "
     "OptionCardConnections PromptOrvellinkApply OrvellinkApply OrvellinkComplete "
     "RunAllPromptOrvellink"},
    {"Wizard Menu", "Inactive"},
};

template<std::size_t Count> QHash<QString, QString> byState(const Group (&groups)[Count])
{
    QHash<QString, QString> table;
    for (const Group& group : groups) {
        const QStringList states =
            QString::fromLatin1(group.states).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& state : states)
            table.insert(state, QLatin1String(group.name));
    }
    return table;
}

} // namespace

const QHash<QString, QString>& pageTable()
{
    static const QHash<QString, QString> table = byState(kPages);
    return table;
}

QString pageFor(const QString& state)
{
    return pageTable().value(state, QStringLiteral("WizardNotImplemented.qml"));
}

QString wizardNameFor(const QString& state)
{
    static const QHash<QString, QString> table = byState(kWizards);
    return table.value(state);
}

} // namespace wizardstates
