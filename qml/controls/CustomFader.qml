import QtQuick 2.15

// A fader strip of one level: the channel's name above, the fader beside its dB scale (and the
// channel's level meter, when the strip names one), and the device's value below. The scale
// is the fader's.
Column {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string channelName
    property string meterObjectName
    property string meterVariableName
    property real faderHeight: Theme.dpY(220)
    readonly property alias fader: fader
    readonly property alias readout: readout

    spacing: Theme.dpY(Theme.spacingSmall)

    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(implicitWidth, Theme.dpX(84))
        text: root.channelName
        textFormat: Text.PlainText
        elide: Text.ElideRight
        color: Theme.text
        font.pixelSize: Theme.dpY(Theme.fontLabel)
    }
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: Theme.dpX(2)
        QX8CustomMeter {
            y: fader.topPadding
            width: Theme.dpX(8)
            height: fader.availableHeight
            visible: root.meterVariableName !== ""
            processingObjectName: root.meterVariableName !== "" ? root.meterObjectName : ""
            stateVariableName: root.meterVariableName
        }
        QX8Fader {
            id: fader
            height: root.faderHeight
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
        }
        ScaleMarkerArea {
            y: fader.topPadding
            height: fader.availableHeight
        }
    }
    QX8CustomLabel {
        id: readout
        objectName: "readout"
        anchors.horizontalCenter: parent.horizontalCenter
        width: Theme.dpX(84)
        horizontalAlignment: Text.AlignHCenter
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
    }
}
