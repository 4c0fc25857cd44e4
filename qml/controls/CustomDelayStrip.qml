import QtQuick 2.15

// The panel of one delay: its name and on/off on the left, its amount in every unit beside them.
// `selected` rings the delay the user came for.
Rectangle {
    id: root

    property string processingObjectName
    property string stateVariableName: "Amount"
    property string switchVariableName
    property string delayName
    property bool selected: false
    readonly property alias alignmentDelay: delay
    // What the delays' timeline draws of this one.
    readonly property var timelineEntry: ({ "name": delayName, "milliseconds": delay.amount,
                                            "on": !onOff.switchedOff })

    implicitWidth: names.width + delay.width + 3 * Theme.dpX(Theme.margin)
    implicitHeight: Theme.dpY(88)
    color: Theme.panel
    radius: Theme.radius
    border.color: selected ? Theme.brand : Theme.border
    border.width: selected ? 2 : 1

    Column {
        id: names
        anchors.left: parent.left
        anchors.leftMargin: Theme.dpX(Theme.margin)
        anchors.verticalCenter: parent.verticalCenter
        width: Theme.dpX(180)
        spacing: Theme.dpY(Theme.spacingSmall)

        Text {
            width: parent.width
            text: root.delayName
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: Theme.text
            font.pixelSize: Theme.dpY(Theme.fontBody)
            font.bold: true
            font.capitalization: Font.AllUppercase
        }
        OnOffButton {
            id: onOff
            visible: root.switchVariableName !== ""
            processingObjectName: root.switchVariableName !== "" ? root.processingObjectName : ""
            stateVariableName: root.switchVariableName
        }
    }

    QX8AlignmentDelay {
        id: delay
        opacity: onOff.switchedOff ? 0.5 : 1
        anchors.left: names.right
        anchors.leftMargin: Theme.dpX(Theme.margin)
        anchors.verticalCenter: parent.verticalCenter
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        delayName: root.delayName
    }
}
