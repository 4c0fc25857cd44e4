import QtQuick 2.15
import QX8NumericalSV 1.0
import QX8TextSV 1.0
import WizardDialProvider 1.0
import "DisplayNames.js" as DisplayNames
import "KeySteps.js" as KeySteps

// A level to set on an amplifier (the dial, 0 to 100 %) or a count to choose (the slider: the
// number of fixed Nuq filters, with nudge buttons, or a Quarx sensitivity between the device's
// limits, without). The dial follows the device; a gesture writes the new level, held inside
// 0 .. 100, and the dial shows it, dimmed, until the device has answered every level written, so
// that quick gestures each go on from the last.
WizardPageFrame {
    id: page
    objectName: "wizardDialPage"

    readonly property string wizardState: provider.wizardState
    readonly property string choices: "Node\\SetupWizardCurrentChoices\\SV\\"
    readonly property var dialLevels: ({
        "SelectHighAmplifierLevel": "HighAmplifierLevel",
        "SelectMidAmplifierLevel": "MidAmplifierLevel",
        "SelectLowAmplifierLevel": "LowAmplifierLevel"
    })
    readonly property var quarxLevels: ({
        "SelectHighAmplifierSensitivityQuarx": "HighAmplifierLevel",
        "SelectMidAmplifierSensitivityQuarx": "MidAmplifierLevel",
        "SelectLowAmplifierSensitivityQuarx": "LowAmplifierLevel"
    })
    readonly property bool showsDial: provider.dialOrSlider === "dial"
    readonly property bool showsSlider: provider.dialOrSlider === "slider"
    readonly property bool isQuarx: quarxLevels[wizardState] !== undefined
    readonly property bool levelKnown: level.value >= 0
    readonly property real shownLevel: Math.max(0, level.value)
    readonly property real dragStep: rootQML.dpY(5)

    title: wizardState === "Inactive" ? "Wizard Menu" : provider.heading
    showNext: wizardState !== "Inactive"
    onBackClicked: wizardScreen.sendEvent("Previous")
    onNextClicked: wizardScreen.sendEvent("Next")

    function stepLevel(delta) {
        var next = Math.max(0, Math.min(100, Math.round(shownLevel + delta)));
        if (!levelKnown || next === shownLevel)
            return;
        level.setValueWithoutFeedback(next);
    }

    function bindState(state) {
        if (dialLevels[state] !== undefined) {
            level.poName = "NPO";
            level.svName = choices + dialLevels[state];
        } else if (state === "SetFilters") {
            slider.stateVariableName = "MaxFixedFilters";
            slider.nudgeButtonsVisibility = true;
        } else if (isQuarx) {
            var path = choices + quarxLevels[state];
            slider.processingObjectName = "NPO";
            slider.poClassName = "Wizard";
            slider.svClassName = "DialTypeSlider";
            slider.stateVariableName = path;
            minimum.svName = path + "\\Min";
            maximum.svName = path + "\\Max";
        }
    }

    Component.onCompleted: {
        var state = settings.value("Wizard/CurrentState", "");
        provider.wizardState = state;
        bindState(state);
    }

    WizardDialProvider {
        id: provider
    }

    QX8NumericalSV {
        id: level
        showsWrites: true
    }

    // The range ends of a Quarx sensitivity, as the device writes them.
    QX8TextSV {
        id: minimum
        poName: "NPO"
        valueType: "Min"
        onValueChanged: {
            if (page.isQuarx)
                slider.minLabel = value;
        }
    }
    QX8TextSV {
        id: maximum
        poName: "NPO"
        valueType: "Max"
        onValueChanged: {
            if (page.isQuarx)
                slider.maxLabel = value;
        }
    }

    // One stop of Tab: the arrows step the level as its "-" and "+" do, Page Up and Page Down
    // ten times as far.
    Item {
        id: dial
        objectName: "levelDial"
        visible: page.showsDial
        enabled: visible
        anchors.centerIn: parent
        width: Math.min(parent.width, parent.height) * 0.8
        height: width
        activeFocusOnTab: true

        Keys.onPressed: {
            var steps = KeySteps.of(event.key);
            event.accepted = steps !== 0;
            if (steps !== 0)
                page.stepLevel(steps);
        }

        readonly property real rotationDegrees: page.shownLevel * 2.7
        // The level shown, a screen reader's value of the dial; NaN until it is known.
        readonly property real value: page.levelKnown ? page.shownLevel : NaN

        Accessible.role: Accessible.Dial
        Accessible.name: DisplayNames.spokenValue(page.title, dialValue.text)

        WizardPicture {
            anchors.fill: parent
            path: "qrc:/images/Wizards/DialUL.png"
        }
        WizardPicture {
            objectName: "dialOverlay"
            anchors.fill: parent
            path: "qrc:/images/Wizards/DialOL.png"
            rotation: dial.rotationDegrees
        }
        Text {
            id: dialValue
            objectName: "dialValue"
            anchors.centerIn: parent
            text: page.levelKnown ? page.shownLevel + "%" : "\u2013"
            color: !page.levelKnown ? Theme.textFaint : level.pending ? Theme.textDim : Theme.text
            font.pixelSize: rootQML.dpY(Theme.fontTitle)
        }

        MouseArea {
            id: dragArea
            objectName: "dialArea"
            anchors.fill: parent
            property point last

            onPressed: last = Qt.point(mouse.x, mouse.y)
            onPositionChanged: {
                var dx = mouse.x - last.x;
                var dy = mouse.y - last.y;
                if (Math.abs(dy) >= page.dragStep)
                    page.stepLevel(dy < 0 ? 5 : -5);
                else if (Math.abs(dx) >= page.dragStep)
                    page.stepLevel(dx > 0 ? 5 : -5);
                else
                    return;
                last = Qt.point(mouse.x, mouse.y);
            }
            onWheel: page.stepLevel(wheel.angleDelta.y > 0 ? 5 : -5)
        }

        WizardPicture {
            objectName: "dialMinus"
            anchors.right: parent.left
            anchors.verticalCenter: parent.verticalCenter
            width: rootQML.dpX(64)
            height: width
            path: "/images/Wizards/DialMinus.png"
            Accessible.role: Accessible.Button
            Accessible.name: DisplayNames.spoken(page.title, "\u2212")
            MouseArea {
                anchors.fill: parent
                onClicked: page.stepLevel(-1)
            }
        }
        FocusFrame {
            shown: dial.activeFocus
        }

        WizardPicture {
            objectName: "dialPlus"
            anchors.left: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: rootQML.dpX(64)
            height: width
            path: "/images/Wizards/DialPlus.png"
            Accessible.role: Accessible.Button
            Accessible.name: DisplayNames.spoken(page.title, "+")
            MouseArea {
                anchors.fill: parent
                onClicked: page.stepLevel(1)
            }
        }
    }

    QX8SuperSlider {
        id: slider
        objectName: "wizardSlider"
        visible: page.showsSlider
        enabled: visible
        anchors.centerIn: parent
        processingObjectName: "Nuq"
        poClassName: "Nuq"
        svClassName: "MaxFixedFilters"
        minLabel: "0"
        maxLabel: "12"
        nudgeButtonsVisibility: false
        accessibleName: page.title
    }
}
