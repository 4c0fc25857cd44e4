import QtQuick 2.15

// A vertical bar filled to fillPercent (0..100) from the bottom (or, fromTop, hanging from the
// top), coloured by the segment of the scale the fill reaches.
Rectangle {
    id: root

    property real fillPercent: 0
    property bool fromTop: false
    property var segmentLengths: []
    property var segmentColors: []
    property color defaultColor: Theme.stateOn

    readonly property real shownPercent: Math.max(0, Math.min(100, fillPercent))

    function colorAt(percent) {
        var travel = 0
        for (var i = 0; i < segmentLengths.length && i < segmentColors.length; ++i) {
            travel += segmentLengths[i]
            if (percent <= travel)
                return segmentColors[i]
        }
        return segmentColors.length > 0 ? segmentColors[segmentColors.length - 1] : defaultColor
    }

    color: Theme.panel
    border.color: Theme.border

    Rectangle {
        anchors.bottom: root.fromTop ? undefined : parent.bottom
        anchors.top: root.fromTop ? parent.top : undefined
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 1
        height: (parent.height - 2) * root.shownPercent / 100
        color: root.colorAt(root.shownPercent)
    }
}
