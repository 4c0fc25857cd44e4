import QtQuick 2.15

// The fader of one output with its mute below.
Column {
    id: root

    property string processingObjectName
    property string gainVariableName
    property string muteVariableName
    property string outputName
    readonly property alias fader: strip.fader
    readonly property alias muteButton: mute

    spacing: Theme.dpY(Theme.spacing)

    CustomFader {
        id: strip
        processingObjectName: root.processingObjectName
        stateVariableName: root.gainVariableName
        channelName: root.outputName
    }
    MuteButton {
        id: mute
        anchors.horizontalCenter: parent.horizontalCenter
        processingObjectName: root.processingObjectName
        stateVariableName: root.muteVariableName
    }
}
