import QtQuick 2.15
import QX8GEQGraphItem 1.0

// The graphic-EQ panel: 31 bars, a touch point per band, and in draw mode a finger sweep
// across the bars that sets every band it passes.
Rectangle {
    id: root

    property string poName: ""
    property var bandColors: []
    property int currentBandIndex: 0
    property bool drawMode: false
    property real knobSize: 18
    readonly property alias canvas: graph

    color: Theme.panel

    function placeTouchPoints() {
        var points = graph.controlPoints
        var column = graph.width / 31
        for (var i = 0; i < touchPoints.count; ++i) {
            var knob = touchPoints.itemAt(i)
            if (!knob || knob.dragging || i >= points.length)
                continue
            knob.x = (i + 1) * column + column / 12
            knob.y = graph.height / 2 - points[i].y - knob.height / 2
            knob.visible = !root.drawMode
        }
    }

    CustomGraphScaleMarker {
        anchors.fill: graph
        labels: ["+12", "", "+6", "", "0", "", "-6", "", "-12"]
    }

    QX8GEQGraphItem {
        id: graph
        anchors.fill: parent
        poName: root.poName
        bandColors: root.bandColors
        currentBandIndex: root.currentBandIndex
        onRepainted: root.placeTouchPoints()
        onWidthChanged: dimensionsChanged()
        onHeightChanged: dimensionsChanged()
    }

    MouseArea {
        id: sweep
        property int previousX: 0
        anchors.fill: graph
        enabled: root.drawMode
        onPressed: {
            graph.reDrawBands(0, mouse.x, mouse.y)
            previousX = mouse.x
        }
        onPositionChanged: {
            graph.reDrawBands(previousX, mouse.x, mouse.y)
            previousX = mouse.x
        }
        onReleased: previousX = 0
    }

    Repeater {
        id: touchPoints
        model: 31
        QX8TouchControlPoint {
            index: model.index
            diameter: root.knobSize
            visible: false
            selected: index === root.currentBandIndex
            color: Qt.rgba(1, (25 + 7 * index) / 255, 0, 1)
            onPressed: root.currentBandIndex = index
            onDragged: graph.setControlPoint(index, centreX - graph.x, centreY - graph.y)
        }
    }

    Component.onCompleted: graph.componentCompleted()
}
