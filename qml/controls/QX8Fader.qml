import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15
import Fader 1.0

// A vertical fader bound to one variable through a piecewise scale (or linearly between
// minimumValue and maximumValue). It shows the device's value and writes only while moved.
Slider {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string valueType
    property var rangeBoundaryValues: []
    property var rangeLengthsInPercentage: []
    property real minimumValue: 0
    property real maximumValue: 0
    readonly property alias backend: backend

    orientation: Qt.Vertical
    from: 0
    to: 100

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
        when: !root.pressed
        restoreMode: Binding.RestoreNone
    }

    onMoved: backend.setValueWithoutFeedback(value)
    Component.onCompleted: backend.componentCompleted()
}
