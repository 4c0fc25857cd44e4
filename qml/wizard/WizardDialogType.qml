import QtQuick 2.15
import QX8TextSV 1.0
import WizardDialogProvider 1.0

// A wizard step that informs, asks for one confirmation or shows a measurement: its texts and
// picture from the dialog descriptor; the microphone position during AutoEQ; the outputs the
// level assist hears, on a speaker stack; the device's load error. Next sends the step's own
// event word, Back "Previous", the red Cancel of a measurement "Cancel".
WizardPageFrame {
    id: page
    objectName: "wizardDialogPage"

    readonly property string wizardState: provider.wizardState
    readonly property var micStates: ["AutoEQPlaceMic", "MicPosition1"]
    readonly property var quarxStates: ["SelectHighAmplifierInfoQuarx",
        "SelectMidAmplifierInfoQuarx", "SelectLowAmplifierInfoQuarx"]
    readonly property var titleStates: quarxStates.concat(["RunningLevelAssist", "GainStop"])
    readonly property var cancelStates: ["AutoEQMeasuring", "SetChirpLevel", "GetReference",
        "MatchReference"]
    readonly property var levelStates: ["SetChirpLevel", "GetReference", "MatchReference"]
    readonly property var lockingStates: ["ConfirmCurrentSettings", "ConfirmStartNew",
        "AutoEQComplete", "SetupApply", "StartAutoEQ", "StartNuq", "StartOrvellinkWizard",
        "StartSetupWizard", "DisplayError"]
    readonly property bool isMicState: micStates.indexOf(wizardState) >= 0
    readonly property bool isQuarxState: quarxStates.indexOf(wizardState) >= 0
    readonly property bool isLevelAssist: levelStates.indexOf(wizardState) >= 0
    readonly property bool isError: wizardState === "DisplayError"
    readonly property string pictures: "qrc:/images/Wizards/"

    property string instruction: ""
    property string picture: ""
    property string overlay: ""
    property bool cancelShown: false
    property bool backSuppressed: false
    property var stackLit: [false, false, false, false, false, false]

    showNext: provider.svNextVal !== ""
    nextText: provider.svNextVal
    showBack: showNext && !backSuppressed
    backText: isError ? "Manage Tunings" : "Back"
    onNextClicked: wizardScreen.sendEvent(provider.svNextVal)
    onBackClicked: {
        if (isError)
            rootQML.guiSignal("ManageTunings", "");
        else
            wizardScreen.sendEvent("Previous");
    }

    function showHeading() {
        var inBar = titleStates.indexOf(wizardState) >= 0;
        title = inBar ? provider.heading : "";
        instruction = inBar ? "" : provider.heading;
    }

    function micOverlay(position) {
        var numbers = {"One": "1", "Two": "2", "Three": "3", "Four": "4"};
        return numbers[position] === undefined ? "" : pictures + "RTA" + numbers[position] + ".png";
    }

    function runStateStep() {
        if (isMicState) {
            picture = pictures + "AEQStereo.png";
            overlay = wizardState === "MicPosition1" ? pictures + "RTA1.png"
                                                     : micOverlay(micPosition.value);
        } else if (cancelStates.indexOf(wizardState) >= 0) {
            cancelShown = true;
        } else if (provider.imageSrc !== "") {
            picture = provider.imageSrc;
        }
    }

    // Followed only while the mic is being placed: measuring at position 1, the mic stays drawn
    // at position 1 whatever position the device reports.
    function followMicPosition(position) {
        var number = ["One", "Two", "Three", "Four"].indexOf(position) + 1;
        if (number > 0) {
            title = "Start measurement for mic position " + number;
            overlay = micOverlay(position);
        } else if (position === "Done") {
            overlay = pictures + "RTAMic.png";
        }
    }

    // The device's text holds the two characters backslash and n where a line breaks.
    function showLoadStatus(status) {
        if (status === "No configuration.\\nRun System Setup Wizard.") {
            backSuppressed = true;
            instruction = status.replace(/&/g, "and").replace(/\\n/g, "\n");
        } else if (status === "SV not found. SV name = Output7Amp") {
            backSuppressed = true;
            instruction = "Error!";
        } else {
            instruction = status;
        }
    }

    function lightStack(index, on) {
        var lit = stackLit.slice();
        lit[index] = on;
        stackLit = lit;
    }

    // Outputs from the base channel on take the stack's positions in order, each showing at once
    // whether it sounds; positions left without an output go dark.
    function assignStack(baseChannel) {
        var lit = [false, false, false, false, false, false];
        for (var i = 0; i < meters.count; ++i) {
            var meter = meters.itemAt(i);
            meter.index = i >= baseChannel ? i - baseChannel : -1;
            if (meter.index !== -1)
                lit[meter.index] = meter.on;
        }
        stackLit = lit;
    }

    Component.onCompleted: {
        provider.wizardState = wizardScreen.wizardState;
        if (lockingStates.indexOf(wizardState) >= 0)
            wizardScreen.disableWizard = true;
        runStateStep();
    }
    Component.onDestruction: wizardScreen.disableWizard = false

    WizardDialogProvider {
        id: provider
        onHeadingChanged: page.showHeading()
        onDisplayTextChanged: page.title = displayText !== "" && page.isQuarxState ? heading : ""
        onImageSrcChanged: page.picture = imageSrc
    }

    QX8TextSV {
        id: micPosition
        poName: "NPO"
        svName: page.wizardState === "AutoEQPlaceMic" ? "Node\\Wizard\\SV\\CurrentMicPosition" : ""
        onValueChanged: page.followMicPosition(value)
    }

    QX8TextSV {
        poName: "NPO"
        svName: page.isError ? "Node\\Wizard\\SV\\LastLoadStatus" : ""
        onValueChanged: page.showLoadStatus(value)
    }

    QX8TextSV {
        poName: "NPO"
        svName: page.isLevelAssist ? "Node\\Wizard\\SV\\AutoEqSelectedCrossoverCode" : ""
        onValueChanged: page.runStateStep()
    }

    Loader {
        active: page.isLevelAssist
        sourceComponent: LevelAssistSV {
            onBaseChannelChanged: page.assignStack(baseChannel)
        }
    }

    Repeater {
        id: meters
        model: page.isLevelAssist ? 6 : 0
        LevelAssistMeter {
            stateVariableName: "Channel_" + (modelData + 1) + "_Level"
            onReport: page.lightStack(index, on)
        }
    }

    Column {
        anchors.fill: parent
        spacing: rootQML.dpY(Theme.spacing)

        // The speaker stack of the level assist: one cell per output it listens to.
        Row {
            objectName: "levelAssistStack"
            visible: page.isLevelAssist
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: rootQML.dpX(Theme.spacingSmall)

            // At its drawn height, so that its labels read.
            WizardPicture {
                height: rootQML.dpY(90)
                path: "/images/Wizards/PaSystem.png"
            }
            Repeater {
                model: 6
                Rectangle {
                    objectName: "stackPosition"
                    anchors.verticalCenter: parent.verticalCenter
                    width: rootQML.dpX(28)
                    height: rootQML.dpY(48)
                    radius: Theme.radius
                    color: page.stackLit[index] ? Theme.stateOn : Theme.raised
                    border.color: Theme.border
                }
            }
        }

        Item {
            width: parent.width
            height: parent.height * (page.isMicState ? 0.85 : page.isQuarxState ? 0.55 : 0.65)
                    - (page.isLevelAssist ? rootQML.dpY(98) : 0)

            WizardPicture {
                id: dialogPicture
                objectName: "dialogPicture"
                anchors.fill: parent
                path: page.picture
            }
            WizardPicture {
                objectName: "dialogOverlay"
                anchors.fill: parent
                path: page.overlay
            }
        }

        CustomButton {
            objectName: "wizardCancelButton"
            visible: page.cancelShown
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.max(implicitWidth, rootQML.dpX(160))
            height: rootQML.dpY(44)
            text: "Cancel"
            fontSize: Theme.fontBody
            onClicked: wizardScreen.sendEvent("Cancel")
        }

        Text {
            objectName: "dialogInstruction"
            width: parent.width
            visible: text !== ""
            text: page.isQuarxState ? "1-Set (Attn) to 0dB\n2-Set DSP to flat or bypassed"
                                    : page.instruction
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            color: Theme.text
            font.pixelSize: rootQML.dpY(Theme.fontHeading)
        }
    }
}
