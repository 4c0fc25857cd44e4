import QtQuick 2.15
import QX8PEQGraphItem 1.0

// The parametric-EQ canvas: band curves, total and overlays, with one touch point per band.
// Dragging a point hands its position to the plotter, which writes frequency and gain. A band
// shows its curve and touch point once the device has told all its values, the total once it has
// told every band's.
Item {
    id: root

    property string poName: ""
    property var bandColors: []
    property int bandCount: 8
    property bool touchPointVisible: true
    property bool showRoomCurve: true
    property string roomCurveString: ""
    property string targetCurveString: ""
    property bool finalResultantVisible: true
    property int currentBandIndex: 0
    property real knobSize: 24
    readonly property alias allValuesArrived: canvas.allValuesArrived

    function update() {
        canvas.update()
    }

    function placeTouchPoints() {
        var points = canvas.controlPoints
        for (var i = 0; i < touchPoints.count; ++i) {
            var knob = touchPoints.itemAt(i)
            if (!knob || knob.dragging)
                continue
            if (i >= points.length) {
                knob.visible = false
                continue
            }
            var p = points[i]
            knob.x = p.x - knob.width / 2
            knob.y = canvas.height / 2 - p.y - knob.height / 2
            // Shown once its band's values have come, a flat band's on the 0 dB line too.
            knob.visible = root.touchPointVisible && p.x <= canvas.width
                    && canvas.hasControlPoint(i)
        }
    }

    QX8PEQGraphItem {
        id: canvas
        anchors.fill: parent
        poName: root.poName
        bandColors: root.bandColors
        bandCount: root.bandCount
        currentBandIndex: root.currentBandIndex
        showRoomCurve: root.showRoomCurve
        roomCurveString: root.roomCurveString
        targetCurveString: root.targetCurveString
        finalResultantVisible: root.finalResultantVisible
        onRepainted: root.placeTouchPoints()
    }

    Repeater {
        id: touchPoints
        model: root.touchPointVisible ? root.bandCount : 0
        QX8TouchControlPoint {
            objectName: "handle_" + (model.index + 1)
            index: model.index
            diameter: root.knobSize
            visible: false
            selected: index === root.currentBandIndex
            color: index < root.bandColors.length ? root.bandColors[index] : Theme.bandFallback
            onPressed: root.currentBandIndex = index
            onDragged: canvas.setControlPoint(index, centreX - canvas.x, centreY - canvas.y)
        }
    }

    Component.onCompleted: {
        canvas.componentCompleted()
        canvas.setTouchPointsVisible(root.touchPointVisible)
    }
}
