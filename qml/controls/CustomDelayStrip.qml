import QtQuick 2.15

// The strip of one delay: its name and its amount in every unit.
Column {
    id: root

    property string processingObjectName
    property string stateVariableName: "Amount"
    property string delayName
    readonly property alias alignmentDelay: delay

    spacing: Theme.dpY(Theme.spacingSmall)

    Text {
        text: root.delayName
        textFormat: Text.PlainText
        elide: Text.ElideRight
        width: Math.min(implicitWidth, delay.width)
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontLabel)
        font.capitalization: Font.AllUppercase
    }
    QX8AlignmentDelay {
        id: delay
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
    }
}
