import QtQuick 2.15
import QX8Label 1.0

// The value text of one variable as the device writes it.
Text {
    id: root

    property string processingObjectName
    property string stateVariableName
    readonly property alias backend: backend

    text: backend.labelValue
    textFormat: Text.PlainText
    color: Theme.text
    font.pixelSize: Theme.fontValue

    QX8Label {
        id: backend
        entityName: "Label"
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Component.onCompleted: backend.componentCompleted()
}
