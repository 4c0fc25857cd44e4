import QtQuick 2.15

// A level meter with its dB scale beside it, both on the scale of the meter's variable.
Row {
    id: root

    property string processingObjectName
    property string stateVariableName
    property real meterWidth: Theme.dpX(12)
    readonly property alias meter: meter

    spacing: Theme.dpX(3)

    QX8CustomMeter {
        id: meter
        width: root.meterWidth
        height: root.height
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
    }
    ScaleMarkerArea {
        height: root.height
        rangeBoundaryValues: meter.rangeBoundaryValues
        rangeLengthsInPercentage: meter.rangeLengthsInPercentage
    }
}
