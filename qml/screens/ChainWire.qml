import QtQuick 2.15

// A stretch of signal line between blocks of the chain: one line for a mono signal, a pair for a
// stereo one; horizontal unless `vertical`. `labels` names the lines at the end ("L", "R", "M").
Item {
    id: root

    property bool stereo: false
    property bool vertical: false
    property var labels: []
    readonly property real thickness: Theme.dpX(2)
    readonly property real pairGap: Theme.dpX(14)

    implicitWidth: vertical ? pairGap + thickness : Theme.dpX(16)
    implicitHeight: vertical ? Theme.dpY(16) : pairGap + thickness

    Repeater {
        model: root.stereo ? 2 : 1
        Rectangle {
            readonly property real offset: root.stereo ? (index === 0 ? -1 : 1) * root.pairGap / 2
                                                       : 0
            x: root.vertical ? root.width / 2 + offset - width / 2 : 0
            y: root.vertical ? 0 : root.height / 2 + offset - height / 2
            width: root.vertical ? root.thickness : root.width
            height: root.vertical ? root.height : root.thickness
            color: Theme.textDim

            Text {
                visible: index < root.labels.length
                anchors.left: parent.right
                anchors.leftMargin: Theme.dpX(Theme.spacingSmall)
                anchors.verticalCenter: parent.verticalCenter
                text: visible ? root.labels[index] : ""
                color: Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontSmall)
                font.bold: true
            }
        }
    }
}
