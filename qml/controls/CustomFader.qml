import QtQuick 2.15
import DeviceModelProvider 1.0
import "Scales.js" as Scales
import "DisplayNames.js" as DisplayNames

// A fader strip of one level: the channel's name above (when it has one), the channel's level
// meter (when the strip names one), the dB scale and the fader, and the device's value below.
// Meter and fader stand over one scale, the span of both ranges, so that a mark reads the same
// on either side of it.
Column {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string channelName
    property string meterObjectName
    property string meterVariableName
    property real faderHeight: Theme.dpY(220)
    property real meterWidth: Theme.dpX(10)
    // What a screen reader calls the fader: the channel's name, or the one the page shows
    // elsewhere.
    property string accessibleName: channelName
    readonly property bool metered: meterVariableName !== ""
    readonly property var scale: sharedTaper()
    readonly property alias fader: fader
    readonly property alias meter: meter
    readonly property alias readout: readout

    // The taper over the fader's range and the meter's together.
    function sharedTaper() {
        var low = DeviceModelProvider.minimum(processingObjectName, stateVariableName)
        var high = DeviceModelProvider.maximum(processingObjectName, stateVariableName)
        if (metered) {
            low = Math.min(low, DeviceModelProvider.minimum(meterObjectName, meterVariableName))
            high = Math.max(high, DeviceModelProvider.maximum(meterObjectName, meterVariableName))
        }
        return Scales.taper(low, high)
    }

    spacing: Theme.dpY(Theme.spacingSmall)

    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(implicitWidth, Theme.dpX(84))
        visible: root.channelName !== ""
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
            id: meter
            y: fader.topPadding
            width: root.meterWidth
            height: fader.availableHeight
            visible: root.metered
            processingObjectName: root.metered ? root.meterObjectName : ""
            stateVariableName: root.meterVariableName
            rangeBoundaryValues: root.scale.boundaries
            rangeLengthsInPercentage: root.scale.lengths
        }
        ScaleMarkerArea {
            y: fader.topPadding
            height: fader.availableHeight
            rangeBoundaryValues: root.scale.boundaries
            rangeLengthsInPercentage: root.scale.lengths
        }
        QX8Fader {
            id: fader
            height: root.faderHeight
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
            rangeBoundaryValues: root.scale.boundaries
            rangeLengthsInPercentage: root.scale.lengths
            Accessible.name: DisplayNames.spokenValue(root.accessibleName, readout.shownText)
        }
    }
    QX8CustomLabel {
        id: readout
        objectName: "readout"
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.max(Theme.dpX(84), implicitWidth)
        horizontalAlignment: Text.AlignHCenter
        fontSize: Theme.fontValue
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
    }
}
