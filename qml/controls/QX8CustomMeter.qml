import QtQuick 2.15
import QX8Meter 1.0

// A polled level meter of one variable, drawn as a bar over a piecewise dB scale.
BarGraphItem {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string valueType
    property real signalThreshold: -1000
    property var rangeBoundaryValues: [-60, -40, -20, -10, 0]
    property var rangeLengthsInPercentage: [20, 20, 30, 30]
    property var rangeColors: [Theme.stateOn, Theme.stateOn, Theme.stateWarning, Theme.stateAlert]
    readonly property alias backend: backend

    fillPercent: Number(backend.meterValue)
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
