import QtQuick 2.15

// A level meter with its scale marks beside it.
Row {
    id: root

    property string processingObjectName
    property string stateVariableName
    property var rangeBoundaryValues: [-60, -40, -20, -10, 0]
    property var rangeLengthsInPercentage: [20, 20, 30, 30]
    readonly property alias meter: meter

    spacing: Theme.spacingSmall / 2

    QX8CustomMeter {
        id: meter
        width: 12
        height: root.height
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        rangeBoundaryValues: root.rangeBoundaryValues
        rangeLengthsInPercentage: root.rangeLengthsInPercentage
    }
    ScaleMarkerArea {
        height: root.height
        rangeBoundaryValues: root.rangeBoundaryValues
        rangeLengthsInPercentage: root.rangeLengthsInPercentage
    }
}
