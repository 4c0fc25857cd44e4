import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import QtQml 2.15
import QX8NumericalSV 1.0
import "KeySteps.js" as KeySteps

// A whole number between `from` and `to` with step buttons, laid out in a row on both sides of
// the number (`layoutInRow`, the default) or stacked at its right end; the user's changes come as
// valueModified. Bound to a node variable through poName and svName, it shows the device's
// value, takes its limits from the variable's \Min and \Max children (at most restrictMaxValue
// when that is set) and writes each step, which shows, dimmed, until the device has answered every
// step (quick steps each go on from the last); until the device has reported the value it shows a
// dimmed dash and takes no step (a step from a number it does not hold would write a guess).
// Tab reaches it; the arrows step it as its buttons do, Page Up and Page Down ten steps at once.
T.SpinBox {
    id: root

    property string poName: "NPO"
    property string svName: ""
    property int restrictMaxValue: -1
    property bool layoutInRow: true
    readonly property real glyphSize: Theme.dpY(layoutInRow ? Theme.fontValue : Theme.fontSmall)
    readonly property bool waiting: svName !== "" && !backend.hasDeviceValue
    readonly property alias backend: backend

    implicitWidth: Theme.dpX(132)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: layoutInRow ? down.indicator.width : Theme.dpX(Theme.spacing)
    rightPadding: up.indicator.width
    editable: false
    enabled: !waiting
    focusPolicy: Qt.TabFocus
    from: range.known ? range.low : 0
    to: {
        var limit = range.known ? range.high : 99999;
        return restrictMaxValue >= 0 ? Math.min(limit, restrictMaxValue) : limit;
    }

    contentItem: Text {
        text: root.waiting ? "\u2013" : root.textFromValue(root.value, root.locale)
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(Theme.fontValue)
        color: !root.enabled ? Theme.textFaint : backend.pending ? Theme.textDim : Theme.text
    }

    down.indicator: Rectangle {
        objectName: "downIndicator"
        x: root.layoutInRow ? 0 : root.width - width
        y: root.layoutInRow ? 0 : root.height / 2
        height: root.layoutInRow ? root.height : root.height / 2
        width: root.height
        radius: Theme.radius
        color: root.down.pressed ? Theme.raisedSelected : Theme.raised
        border.color: Theme.border
        Text {
            anchors.centerIn: parent
            text: "\u2212"
            font.pixelSize: root.glyphSize
            color: root.enabled && root.value > root.from ? Theme.text : Theme.textFaint
        }
    }

    up.indicator: Rectangle {
        objectName: "upIndicator"
        x: root.width - width
        height: root.layoutInRow ? root.height : root.height / 2
        width: root.height
        radius: Theme.radius
        color: root.up.pressed ? Theme.raisedSelected : Theme.raised
        border.color: Theme.border
        Text {
            anchors.centerIn: parent
            text: "+"
            font.pixelSize: root.glyphSize
            color: root.enabled && root.value < root.to ? Theme.text : Theme.textFaint
        }
    }

    background: Rectangle {
        color: Theme.panel
        border.color: Theme.border
        radius: Theme.radius
    }

    QX8NumericalSV {
        id: backend
        poName: root.poName
        svName: root.svName
        showsWrites: true
        Component.onCompleted: componentCompleted()
    }

    Binding {
        target: root
        property: "value"
        value: Math.round(backend.value)
        when: root.svName !== "" && backend.value > -1000
        restoreMode: Binding.RestoreNone
    }

    DeviceRange {
        id: range
        poName: root.poName
        svName: root.svName
    }

    Keys.onPressed: {
        var steps = KeySteps.of(event.key)
        event.accepted = steps !== 0
        var before = value
        for (var step = 0; step < Math.abs(steps); ++step) {
            if (steps > 0)
                increase()
            else
                decrease()
        }
        if (value !== before)
            valueModified()
    }

    FocusFrame {}

    onValueModified: {
        if (root.svName !== "")
            backend.setValueWithoutFeedback(value);
    }
}
