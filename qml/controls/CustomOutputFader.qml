import QtQuick 2.15

// The fader of one channel (an output, or a mixer's input) with its mute below; a meter beside
// the fader when the strip names one.
Column {
    id: root

    property string processingObjectName
    property string gainVariableName
    property string muteVariableName
    property string outputName
    property alias meterObjectName: strip.meterObjectName
    property alias meterVariableName: strip.meterVariableName
    property alias faderHeight: strip.faderHeight
    readonly property alias fader: strip.fader
    readonly property alias muteButton: mute

    spacing: Theme.dpY(Theme.spacing)

    CustomFader {
        id: strip
        anchors.horizontalCenter: parent.horizontalCenter
        processingObjectName: root.processingObjectName
        stateVariableName: root.gainVariableName
        channelName: root.outputName
    }
    MuteButton {
        id: mute
        anchors.horizontalCenter: parent.horizontalCenter
        visible: root.muteVariableName !== ""
        processingObjectName: root.muteVariableName !== "" ? root.processingObjectName : ""
        stateVariableName: root.muteVariableName
        channelName: root.outputName
    }
}
