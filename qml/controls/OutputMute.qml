import QtQuick 2.15

// The mute of one output, under the output's name.
Column {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string outputName
    readonly property alias muteButton: mute

    spacing: Theme.dpY(Theme.spacingSmall)

    Text {
        text: root.outputName
        textFormat: Text.PlainText
        color: Theme.text
        font.pixelSize: Theme.dpY(Theme.fontLabel)
    }
    MuteButton {
        id: mute
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        channelName: root.outputName
    }
}
