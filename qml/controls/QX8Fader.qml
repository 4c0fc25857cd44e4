import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15 as T
import Fader 1.0
import DeviceModelProvider 1.0
import "KeySteps.js" as KeySteps
import "Scales.js" as Scales

// A vertical fader bound to one variable through a piecewise scale (by default a console taper
// over the variable's range in the device model), or linearly between minimumValue and
// maximumValue. It shows the device's value and writes only while dragged or stepped by the keys
// (a step of the variable's resolution, ten with the page keys), a value at its resolution; the
// position written stays, its cap dimmed, until the device has answered every write. Until the
// device has reported the value it has no cap, a dimmed track and takes no drag: a drag from an
// unknown position would write a guess.
T.Slider {
    id: root
    objectName: "fader"

    property string processingObjectName
    property string stateVariableName
    property string valueType
    readonly property var taper: Scales.taper(
        DeviceModelProvider.minimum(processingObjectName, stateVariableName),
        DeviceModelProvider.maximum(processingObjectName, stateVariableName))
    property var rangeBoundaryValues: taper.boundaries
    property var rangeLengthsInPercentage: taper.lengths
    property real minimumValue: 0
    property real maximumValue: 0
    property color capColor: Theme.textDim
    readonly property alias backend: backend

    orientation: Qt.Vertical
    from: 0
    to: 100
    implicitWidth: Theme.dpX(36)
    implicitHeight: Theme.dpY(200)
    padding: Theme.dpY(12)
    enabled: backend.hasDeviceValue
    focusPolicy: Qt.TabFocus

    background: Rectangle {
        x: (root.width - width) / 2
        y: root.topPadding
        width: Theme.dpX(4)
        height: root.availableHeight
        radius: width / 2
        color: Theme.border
        opacity: root.enabled ? 1 : 0.45
    }

    handle: Rectangle {
        x: (root.width - width) / 2
        y: root.topPadding + root.visualPosition * root.availableHeight - height / 2
        width: Theme.dpX(32)
        height: Theme.dpY(20)
        radius: Theme.radius
        color: dragArea.pressed ? Theme.text : root.capColor
        opacity: backend.pending && !dragArea.pressed ? 0.55 : 1
        visible: root.enabled
        border.color: Theme.background
        Rectangle {
            anchors.centerIn: parent
            width: parent.width - Theme.dpX(8)
            height: 2
            color: Theme.background
        }
    }

    Fader {
        id: backend
        valueType: root.valueType
        minimum: root.minimumValue
        maximum: root.maximumValue
        rangeBounaryValues: root.rangeBoundaryValues
        rangeLengthsInPercentage: root.rangeLengthsInPercentage
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Binding {
        target: root
        property: "value"
        value: backend.faderValue
        when: !dragArea.dragging
        restoreMode: Binding.RestoreNone
    }

    SliderDragArea {
        id: dragArea
    }

    onMoved: backend.setValueWithoutFeedback(value)
    // A key moves it by steps of the variable's resolution, written as a drag writes.
    Keys.onPressed: {
        var steps = KeySteps.of(event.key)
        event.accepted = steps !== 0
        if (steps === 0)
            return
        var stepped = backend.steppedPosition(value, steps)
        if (stepped === value)
            return
        value = stepped
        moved()
    }

    FocusFrame {}
    Component.onCompleted: backend.componentCompleted()
}
