import QtQuick 2.15

// Evenly spaced scale lines with their labels, first label at the top (vertical) or at the
// left (horizontal). An empty label draws the line alone; the "0" line is drawn stronger.
Item {
    id: root

    property var labels: []
    property bool vertical: true
    property color lineColor: Theme.grid
    property color textColor: Theme.textDim
    property real fontSize: Theme.fontSmall

    Repeater {
        model: root.labels.length
        Item {
            readonly property real fraction: root.labels.length > 1 ? index / (root.labels.length - 1) : 0
            x: root.vertical ? 0 : fraction * root.width
            y: root.vertical ? fraction * root.height : 0
            width: root.vertical ? root.width : 1
            height: root.vertical ? 1 : root.height

            Rectangle {
                anchors.fill: parent
                color: root.labels[index] === "0" ? Theme.gridStrong : root.lineColor
            }
            Text {
                x: root.vertical ? 2 : 2
                y: root.vertical ? (index === 0 ? 1 : -height - 1) : root.height - height - 1
                text: root.labels[index]
                color: root.textColor
                font.pixelSize: Theme.dpY(root.fontSize)
            }
        }
    }
}
