import QtQuick 2.15

// The strip of one delay: its name and its amount in every unit.
Column {
    id: root

    property string processingObjectName
    property string stateVariableName: "Amount"
    property string delayName
    readonly property alias alignmentDelay: delay

    spacing: Theme.spacingSmall

    Text {
        text: root.delayName
        textFormat: Text.PlainText
        color: Theme.text
        font.pixelSize: Theme.fontLabel
    }
    QX8AlignmentDelay {
        id: delay
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
    }
}
