import QtQuick 2.15

// A fader with its channel name above and the device's value text below.
Column {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string channelName
    property var rangeBoundaryValues: [-80, -40, -20, -10, 0, 10]
    property var rangeLengthsInPercentage: [10, 20, 20, 30, 20]
    readonly property alias fader: fader

    spacing: Theme.spacingSmall

    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        text: root.channelName
        textFormat: Text.PlainText
        color: Theme.text
        font.pixelSize: Theme.fontLabel
    }
    QX8Fader {
        id: fader
        anchors.horizontalCenter: parent.horizontalCenter
        height: 200
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        rangeBoundaryValues: root.rangeBoundaryValues
        rangeLengthsInPercentage: root.rangeLengthsInPercentage
    }
    QX8CustomLabel {
        anchors.horizontalCenter: parent.horizontalCenter
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
    }
}
