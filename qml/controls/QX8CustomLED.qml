import QtQuick 2.15
import QX8LED 1.0

// A polled clip indicator of one variable: lit while the device reports onText.
Rectangle {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string onText: "On"
    property color onColor: Theme.stateAlert
    property color offColor: Theme.stateAlertUnlit
    readonly property bool lit: backend.value === onText
    readonly property alias backend: backend

    width: Theme.dpX(12)
    height: width
    radius: width / 2
    color: lit ? onColor : offColor

    QX8LED {
        id: backend
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Component.onCompleted: backend.componentCompleted()
}
