import QtQuick 2.15
import DeviceModelProvider 1.0
import "Scales.js" as Scales

// A fader strip of one level: the channel's name above, the fader beside its dB scale, and the
// device's value below. The scale follows the variable's range in the device model.
Column {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string channelName
    property real faderHeight: Theme.dpY(220)
    readonly property var scale: Scales.taper(
        DeviceModelProvider.minimum(processingObjectName, stateVariableName),
        DeviceModelProvider.maximum(processingObjectName, stateVariableName))
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
        QX8Fader {
            id: fader
            height: root.faderHeight
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
            rangeBoundaryValues: root.scale.boundaries
            rangeLengthsInPercentage: root.scale.lengths
        }
        ScaleMarkerArea {
            y: fader.topPadding
            height: fader.availableHeight
            rangeBoundaryValues: root.scale.boundaries
            rangeLengthsInPercentage: root.scale.lengths
        }
    }
    QX8CustomLabel {
        id: readout
        anchors.horizontalCenter: parent.horizontalCenter
        width: Theme.dpX(84)
        horizontalAlignment: Text.AlignHCenter
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
    }
}
