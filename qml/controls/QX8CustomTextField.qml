import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15 as T
import QX8TextField 1.0
import "KeySteps.js" as KeySteps

// An editable value of one variable in one unit: the number white, the unit smaller and grey at
// the field's right end. What the user types is checked and written when editing finishes
// (Enter, or the focus leaving), once per edit; the field then shows what the device holds
// again, and its answer. Text the back end refuses (a number variable takes only a number in its
// range) stays in place after Enter, ringed, with the reason under it, until the user types
// again, presses Escape or the device reports another value; when the focus leaves, the field
// shows the device's value again, with the reason under it. `refused` tells each refusal. A value
// written stays, dimmed, until the device answers. Until the device has reported the value the
// field shows a dimmed dash and takes no typing. Up and Down (Page Up and Page Down ten times)
// work the step buttons of its value, `stepper`, as their clicks do, once what was typed is
// written; what it refuses stays, with its reason, and nothing steps.
T.TextField {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string unit
    property var textFieldValidator: null
    // A step button of the value (QX8CustomButton, Nudge) whose steps the keys take; none for a
    // field without.
    property Item stepper: null
    readonly property alias backend: backend
    // True from the user's first key of an edit until it is written or given up.
    property bool editing: false
    // Why the text typed was not written; empty while there is nothing to say.
    property string refusal: ""

    signal refused(string reason)

    // The device's text as the field shows it: the unit stands apart.
    function withoutUnit(text) {
        return unit !== "" && text.endsWith(unit) ? text.slice(0, -unit.length) : text
    }

    function showDeviceValue() {
        refusal = ""
        editing = false
    }

    function writeEdit() {
        if (!editing)
            return
        refusal = backend.writeTyped(text)
        if (refusal === "")
            editing = false
        else
            refused(refusal)
    }

    validator: textFieldValidator
    selectByMouse: true
    implicitWidth: Theme.dpX(110)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: Theme.dpX(Theme.spacing)
    rightPadding: unit !== "" ? unitText.width + 2 * leftPadding : leftPadding
    verticalAlignment: Text.AlignVCenter
    font.pixelSize: Theme.dpY(Theme.fontValue)
    enabled: backend.hasDeviceValue
    color: !backend.hasDeviceValue ? Theme.textFaint : backend.pending ? Theme.textDim : Theme.text
    selectionColor: Theme.brand
    background: Rectangle {
        radius: Theme.radius
        color: Theme.raised
        border.color: root.refusal !== "" ? Theme.stateAlert
                                          : root.activeFocus ? Theme.text : Theme.border
        border.width: root.refusal !== "" ? 2 : 1
    }

    Text {
        anchors.verticalCenter: parent.verticalCenter
        x: root.leftPadding
        visible: !backend.hasDeviceValue && root.text === ""
        text: "\u2013"
        font: root.font
        color: Theme.textFaint
    }

    Text {
        id: unitText
        anchors.right: parent.right
        anchors.rightMargin: root.leftPadding
        anchors.verticalCenter: parent.verticalCenter
        anchors.verticalCenterOffset: (root.font.pixelSize - font.pixelSize) / 4
        text: root.unit
        textFormat: Text.PlainText
        font.pixelSize: Math.max(Theme.dpY(Theme.fontSmall), root.font.pixelSize * 0.6)
        color: Theme.textDim
    }

    T.ToolTip {
        id: refusalNote
        objectName: "refusalNote"
        visible: root.refusal !== ""
        x: 0
        y: root.height + Theme.dpY(Theme.spacingSmall)
        width: Math.min(implicitWidth, Theme.dpX(320))
        padding: Theme.dpX(Theme.spacing)
        delay: 0
        timeout: -1
        closePolicy: T.Popup.NoAutoClose
        contentItem: Text {
            text: root.refusal
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.text
            font.pixelSize: Theme.dpY(Theme.fontSmall)
        }
        background: Rectangle {
            color: Theme.raised
            border.color: Theme.stateAlert
            radius: Theme.radius
        }
    }

    QX8TextField {
        id: backend
        entityName: "TextField"
        unit: root.unit
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Connections {
        target: backend
        function onLabelValueChanged() {
            if (!root.activeFocus)
                root.showDeviceValue()
        }
    }

    Binding {
        target: root
        property: "text"
        value: root.withoutUnit(backend.labelValue)
        when: !root.editing
        restoreMode: Binding.RestoreNone
    }

    onTextEdited: {
        editing = true
        refusal = ""
    }
    onEditingFinished: writeEdit()
    // Text typed and not written does not stay behind when the user moves on, but its reason
    // does. Whichever of the focus change and editingFinished comes first writes the edit.
    onActiveFocusChanged: {
        // Reached by the keyboard, the value is selected, so that what is typed replaces it.
        if (activeFocus && (focusReason === Qt.TabFocusReason
                            || focusReason === Qt.BacktabFocusReason))
            selectAll()
        if (activeFocus)
            return
        writeEdit()
        editing = false
    }
    Keys.onEscapePressed: showDeviceValue()
    Keys.onPressed: {
        var steps = stepper && stepper.enabled ? KeySteps.of(event.key, false) : 0
        event.accepted = steps !== 0
        if (steps === 0)
            return
        writeEdit()
        if (refusal === "")
            stepper.stepByKey(steps)
    }

    FocusFrame {
        shown: root.activeFocus && (root.focusReason === Qt.TabFocusReason
                                    || root.focusReason === Qt.BacktabFocusReason)
    }
    Component.onCompleted: backend.componentCompleted()
}
