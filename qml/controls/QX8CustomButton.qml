import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8Button 1.0
import DeviceModelProvider 1.0
import "KeySteps.js" as KeySteps

// A labelled button bound to one variable. SV: a toggle whose checked state is the device's, or
// the state last clicked, dimmed, until the device has answered it; until the device has reported
// it, a dimmed dash that takes no click (a toggle from an unknown state would write a guess).
// Nudge: a step button; every press steps once, on from the steps still on their way; held down
// it steps again after each answer of the device to the last step, never faster than
// minimumRepeatMs; it waits for the device's value before it steps, and bumpDirection is what
// the value shown does ("+" raises it, a release time included).
// SingleShot and XGroupMember: plain buttons whose clicks the page handles (buttonClicked).
// Focused, a Nudge button takes Enter as a press, and the arrows and page keys as presses of its
// pair: Up or Right raise the value shown, Down or Left lower it, Page Up and Page Down ten
// times.
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
    readonly property alias backend: backend

    property double lastNudgeMs: 0

    signal buttonClicked()

    enabled: (buttonType !== QX8Button.Nudge && buttonType !== QX8Button.SV)
             || backend.hasDeviceValue
    checkable: buttonType === QX8Button.XGroupMember || buttonType === QX8Button.SV
    checked: buttonType === QX8Button.SV && backend.activeState
    pending: backend.pending
    ButtonGroup.group: buttonType === QX8Button.XGroupMember ? xGroup : null
    text: buttonType === QX8Button.SV && !backend.hasDeviceValue ? "\u2013"
          : checked ? (checkedText !== "" ? checkedText : uncheckedText) : uncheckedText

    // One step that moves the value shown in `shownDirection`, this button's own by default.
    function nudge(shownDirection) {
        lastNudgeMs = Date.now()
        var direction = shownDirection === undefined ? bumpDirection : shownDirection
        backend.onNudged(backend.bumpDirectionFor(direction, svClassName), svClassName,
                         poClassName)
    }

    // As many presses of the pair's "+" (`steps` above 0) or "−" as `steps` counts.
    function stepByKey(steps) {
        for (var step = 0; step < Math.abs(steps); ++step)
            nudge(steps > 0 ? 1 : -1)
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
            if (!root.pressed || root.buttonType !== QX8Button.Nudge)
                return
            repeatTimer.interval = Math.max(1, root.minimumRepeatMs - (Date.now() - root.lastNudgeMs))
            repeatTimer.restart()
        }
    }

    onPressed: if (buttonType === QX8Button.Nudge) nudge()
    onReleased: repeatTimer.stop()
    // Every click turns a toggle, a quick second one too, which comes as a double click without
    // clicked(); the back end writes the turn and shows it.
    onToggled: if (buttonType === QX8Button.SV) backend.toggleValueWithoutFeedback()
    onClicked: {
        if (buttonType !== QX8Button.SV && buttonType !== QX8Button.Nudge)
            buttonClicked()
    }

    Component.onCompleted: {
        backend.setNudgeJsonData(rangeList)
        backend.componentCompleted()
    }
}
