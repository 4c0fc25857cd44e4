import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15
import QX8Slider 1.0

// A slider bound to one variable (percent of its range by default). It shows the device's
// position and writes only while the user moves it.
Slider {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string valueType: "%"
    property bool ratioSlider: false
    readonly property alias backend: backend

    from: 0
    to: 100

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
        when: !root.pressed
        restoreMode: Binding.RestoreNone
    }

    onMoved: backend.setValueWithoutFeedback(value)
    Component.onCompleted: backend.componentCompleted()
}
