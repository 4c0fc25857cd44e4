import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15 as T
import QX8Slider 1.0
import "KeySteps.js" as KeySteps

// A slider bound to one variable (percent of its range by default). It shows the device's
// position and writes only while the user drags it (or steps it with the keys), a value at the
// variable's resolution; the position written stays, its handle dimmed, until the device has
// answered every write. Until the device has reported the value it has no handle, a dimmed
// track and takes no drag.
T.Slider {
    id: root
    objectName: "slider"

    property string processingObjectName
    property string stateVariableName
    property string valueType: "%"
    property bool ratioSlider: false
    readonly property alias backend: backend

    from: 0
    to: 100
    implicitWidth: Theme.dpX(200)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    padding: Theme.dpX(10)
    enabled: backend.hasDeviceValue
    focusPolicy: Qt.TabFocus

    background: Rectangle {
        x: root.leftPadding
        y: (root.height - height) / 2
        width: root.availableWidth
        height: Theme.dpY(4)
        radius: height / 2
        color: Theme.border
        opacity: root.enabled ? 1 : 0.45
        Rectangle {
            width: root.visualPosition * parent.width
            height: parent.height
            radius: parent.radius
            color: Theme.textDim
        }
    }

    handle: Rectangle {
        x: root.leftPadding + root.visualPosition * root.availableWidth - width / 2
        y: (root.height - height) / 2
        width: Theme.dpY(18)
        height: width
        radius: width / 2
        color: dragArea.pressed ? Theme.text : Theme.textDim
        opacity: backend.pending && !dragArea.pressed ? 0.55 : 1
        visible: root.enabled
    }

    QX8Slider {
        id: backend
        valueType: root.valueType
        ratioSlider: root.ratioSlider
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Binding {
        target: root
        property: "value"
        value: backend.stringProperty
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
