import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8Button 1.0
import DeviceModelProvider 1.0
import "KeySteps.js" as KeySteps

// A labelled button bound to one variable. SV: a toggle whose checked state is the device's;
// until the device has reported it, a dimmed dash that takes no click (a toggle from an unknown
// state would write a guess). Nudge: a step button; held down it steps again after each answer of
// the device, never with two steps in flight and never faster than minimumRepeatMs; it waits for
// the device's value before it steps, and bumpDirection is what the value shown does ("+" raises
// it, a release time included). SingleShot and XGroupMember: plain buttons whose clicks the
// page handles (buttonClicked). Focused, a Nudge button takes Enter as a press, and the arrows
// and page keys as presses of its pair: Up or Right raise the value shown, Down or Left lower
// it, Page Up and Page Down by ten steps, each step after the device's answer to the last.
CustomButton {
    id: root

    property string processingObjectName
    property string stateVariableName
    property int buttonType: QX8Button.SingleShot
    property string checkedText
    property string uncheckedText
    property int bumpDirection: 1
    // The classes of the nudge-step table, from the device model.
    property string poClassName: DeviceModelProvider.nudgeObjectClass(processingObjectName,
                                                                      stateVariableName)
    property string svClassName: DeviceModelProvider.nudgeVariableClass(processingObjectName,
                                                                        stateVariableName)
    property ButtonGroup xGroup: null
    // The range list of the nudged variable, from the application's data store.
    property string rangeList: (typeof dataStore !== "undefined" && dataStore)
                               ? dataStore.getJsonArray(poClassName, svClassName) : "[]"
    readonly property int minimumRepeatMs: 80
    readonly property int lostAnswerMs: 1000
    readonly property alias backend: backend

    property bool nudgeInFlight: false
    property double lastNudgeMs: 0
    // The steps a key asked for that are still to go, signed as the value shown moves.
    property int keySteps: 0

    signal buttonClicked()

    enabled: (buttonType !== QX8Button.Nudge && buttonType !== QX8Button.SV)
             || backend.hasDeviceValue
    checkable: buttonType === QX8Button.XGroupMember
    checked: buttonType === QX8Button.SV && backend.activeState
    ButtonGroup.group: buttonType === QX8Button.XGroupMember ? xGroup : null
    text: buttonType === QX8Button.SV && !backend.hasDeviceValue ? "\u2013"
          : checked ? (checkedText !== "" ? checkedText : uncheckedText) : uncheckedText

    // One step that moves the value shown in `shownDirection` (this button's own by default);
    // false while the last step waits for its answer.
    function nudge(shownDirection) {
        if (nudgeInFlight && Date.now() - lastNudgeMs < lostAnswerMs)
            return false
        nudgeInFlight = true
        lastNudgeMs = Date.now()
        var direction = shownDirection === undefined ? bumpDirection : shownDirection
        backend.onNudged(backend.bumpDirectionFor(direction, svClassName), svClassName,
                         poClassName)
        return true
    }

    // Steps a key asks for go one after another, each once the device has answered the last,
    // as a held button's do.
    function stepByKey(steps) {
        keySteps = steps
        nextKeyStep()
    }
    function nextKeyStep() {
        var direction = keySteps > 0 ? 1 : -1
        if (keySteps !== 0 && nudge(direction))
            keySteps -= direction
    }

    function pressByKey() {
        if (buttonType === QX8Button.Nudge)
            nudge()
        else
            clickByKey()
    }
    function arrowKey(key) {
        if (buttonType !== QX8Button.Nudge)
            return moveChoice(key)
        var steps = KeySteps.of(key)
        if (steps !== 0)
            stepByKey(steps)
        return steps !== 0
    }

    QX8Button {
        id: backend
        poName: root.processingObjectName
        svName: root.stateVariableName
        buttonType: root.buttonType
    }

    Timer {
        id: repeatTimer
        onTriggered: if (root.pressed) root.nudge()
    }

    Connections {
        target: backend
        function onValueToNudgeChanged() {
            root.nudgeInFlight = false
            root.nextKeyStep()
            if (!root.pressed || root.buttonType !== QX8Button.Nudge)
                return
            repeatTimer.interval = Math.max(1, root.minimumRepeatMs - (Date.now() - root.lastNudgeMs))
            repeatTimer.restart()
        }
    }

    onPressed: if (buttonType === QX8Button.Nudge) nudge()
    onReleased: repeatTimer.stop()
    onClicked: {
        if (buttonType === QX8Button.SV)
            backend.toggleValueWithoutFeedback()
        else if (buttonType !== QX8Button.Nudge)
            buttonClicked()
    }

    Component.onCompleted: {
        backend.setNudgeJsonData(rangeList)
        backend.componentCompleted()
    }
}
