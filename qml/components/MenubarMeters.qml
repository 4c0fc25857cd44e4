import QtQuick 2.15

// One channel's meter in the menu bar: its clip light over a slim level bar.
Column {
    id: root

    property string processingObjectName
    property int channel: 1
    property real meterHeight: Theme.dpY(36)

    spacing: Theme.dpY(2)

    QX8CustomLED {
        anchors.horizontalCenter: parent.horizontalCenter
        width: Theme.dpX(6)
        processingObjectName: root.processingObjectName
        stateVariableName: "Channel_" + root.channel + "_Clip"
    }
    QX8CustomMeter {
        anchors.horizontalCenter: parent.horizontalCenter
        width: Theme.dpX(6)
        height: root.meterHeight
        border.color: "transparent"
        processingObjectName: root.processingObjectName
        stateVariableName: "Channel_" + root.channel + "_Level"
    }
}
