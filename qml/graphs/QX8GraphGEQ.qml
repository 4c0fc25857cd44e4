import QtQuick 2.15
import QX8GEQGraphItem 1.0
import "KeySteps.js" as KeySteps

// The graphic-EQ panel: 31 bars with their frequencies below, the level scale in a column of
// its own on the left (the first band's handle would stand over it), a touch point per band, and
// in draw mode a finger sweep across the bars that sets every band it passes. A band whose gain
// has not come from the device has neither bar nor touch point, and the panel says that it waits.
Rectangle {
    id: root

    property string poName: ""
    property var bandColors: []
    property int currentBandIndex: 0
    property bool drawMode: false
    property real knobSize: Theme.dpX(18)
    readonly property alias canvas: graph
    readonly property var bandLabels: graph.bandLabels
    readonly property real scaleWidth: widestLevel.width + Theme.dpX(Theme.spacing)

    color: Theme.panel
    onDrawModeChanged: placeTouchPoints()
    // One stop of Tab: Left and Right choose the band, Up and Down step its gain (Page Up and
    // Page Down ten steps), as a drag of its handle writes it.
    activeFocusOnTab: true
    Keys.onPressed: {
        if (event.key === Qt.Key_Left || event.key === Qt.Key_Right) {
            var band = currentBandIndex + (event.key === Qt.Key_Left ? -1 : 1)
            currentBandIndex = Math.max(0, Math.min(touchPoints.count - 1, band))
            return
        }
        var steps = KeySteps.of(event.key, false)
        event.accepted = steps !== 0
        if (steps !== 0)
            graph.stepBand(currentBandIndex, steps)
    }

    function placeTouchPoints() {
        var points = graph.controlPoints
        var column = graph.width / 31
        for (var i = 0; i < touchPoints.count; ++i) {
            var knob = touchPoints.itemAt(i)
            if (!knob || knob.dragging || i >= points.length)
                continue
            // Over the middle of its own bar (the handle list's x is a 32nd of the width apart).
            knob.x = graph.x + (i + 0.5) * column - knob.width / 2
            knob.y = graph.y + graph.height / 2 - points[i].y - knob.height / 2
            knob.visible = !root.drawMode && graph.hasControlPoint(i)
        }
    }
    // "1.25 kHz" reads "1.25k" under its bar, "20 Hz" reads "20".
    function shortLabel(label) {
        return String(label).replace(" kHz", "k").replace(" Hz", "")
    }

    TextMetrics {
        id: widestLevel
        font.pixelSize: Theme.dpY(Theme.fontSmall)
        text: "+12"
    }
    // The lines run under the bars; the labels stand left of the first bar.
    CustomGraphScaleMarker {
        anchors.left: parent.left
        anchors.right: graph.right
        anchors.top: graph.top
        anchors.bottom: graph.bottom
        labels: ["+12", "", "+6", "", "0", "", "-6", "", "-12"]
    }

    QX8GEQGraphItem {
        id: graph
        anchors.left: parent.left
        anchors.leftMargin: root.scaleWidth
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: frequencies.top
        poName: root.poName
        bandColors: root.bandColors
        currentBandIndex: root.currentBandIndex
        onRepainted: root.placeTouchPoints()
        onWidthChanged: dimensionsChanged()
        onHeightChanged: dimensionsChanged()
    }

    WaitingNotice {
        anchors.centerIn: graph
        visible: !graph.allGainsArrived
    }

    // Every other band's frequency, under the middle of its bar.
    Item {
        id: frequencies
        anchors.left: graph.left
        anchors.right: graph.right
        anchors.bottom: parent.bottom
        height: Theme.dpY(Theme.fontSmall + 6)

        Repeater {
            model: root.bandLabels
            Text {
                x: (index + 0.5) * frequencies.width / 31 - width / 2
                anchors.verticalCenter: parent.verticalCenter
                visible: index % 2 === 0
                text: root.shortLabel(modelData)
                color: index === root.currentBandIndex ? Theme.text : Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontSmall)
            }
        }
    }

    MouseArea {
        id: sweep
        property int previousX: 0
        anchors.fill: graph
        enabled: root.drawMode
        // A finger's sweep over the handles a screen reader offers one by one.
        Accessible.ignored: true
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
            objectName: "handle_" + (model.index + 1)
            index: model.index
            diameter: root.knobSize
            showNumber: false
            visible: false
            selected: index === root.currentBandIndex
            color: Qt.rgba(1, (25 + 7 * index) / 255, 0, 1)
            Accessible.name: root.bandLabels[index] || ""
            onPressed: root.currentBandIndex = index
            onDragged: graph.setControlPoint(index, centreX - graph.x, centreY - graph.y)
        }
    }

    FocusFrame {
        shown: root.activeFocus
    }

    Component.onCompleted: graph.componentCompleted()
}
