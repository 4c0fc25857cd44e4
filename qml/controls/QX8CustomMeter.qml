import QtQuick 2.15
import QX8Meter 1.0
import DeviceModelProvider 1.0
import "Scales.js" as Scales

// A polled level meter of one variable, drawn as a bar over a piecewise dB scale taken from the
// variable's range in the device model: green in the working range, yellow near 0 dB, red above.
// Empty until the device answers the first poll.
BarGraphItem {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string valueType
    readonly property var scale: Scales.taper(
        DeviceModelProvider.minimum(processingObjectName, stateVariableName),
        DeviceModelProvider.maximum(processingObjectName, stateVariableName))
    property var rangeBoundaryValues: scale.boundaries
    property var rangeLengthsInPercentage: scale.lengths
    property real signalThreshold: rangeBoundaryValues.length > 0 ? rangeBoundaryValues[0] : -1000
    property var rangeColors: colorsFor(rangeBoundaryValues)
    readonly property alias backend: backend

    function colorsFor(boundaries) {
        var colors = []
        for (var j = 0; j + 1 < boundaries.length; ++j) {
            var top = boundaries[j + 1]
            colors.push(top <= -10 ? Theme.stateOn : top <= 0 ? Theme.stateWarning : Theme.stateAlert)
        }
        return colors
    }

    fillPercent: backend.hasDeviceValue ? Number(backend.meterValue) : 0
    segmentLengths: rangeLengthsInPercentage
    segmentColors: rangeColors

    QX8Meter {
        id: backend
        valueType: root.valueType
        cppSignalThreshold: root.signalThreshold
        rangeBounaryValues: root.rangeBoundaryValues
        rangeLengthsInPercentage: root.rangeLengthsInPercentage
        rangeColorsInHex: root.rangeColors
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Component.onCompleted: backend.componentCompleted()
}
