import QtQuick 2.15

// One delay in three units at once: milliseconds (nudgeable), feet and metres.
Row {
    id: root

    property string processingObjectName
    property string stateVariableName: "Amount"
    readonly property alias milliseconds: ms
    readonly property alias feet: ft
    readonly property alias metres: m

    spacing: Theme.spacing

    CustomDelayItem {
        id: ms
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        unit: "ms"
        nudgeable: true
    }
    CustomDelayItem {
        id: ft
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        unit: "ft"
    }
    CustomDelayItem {
        id: m
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        unit: "m"
    }
}
