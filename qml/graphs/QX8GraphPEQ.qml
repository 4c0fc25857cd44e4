import QtQuick 2.15

// The parametric-EQ panel: frequency and gain scales around the curve canvas, which says that
// it waits until the device has told every band's values.
Rectangle {
    id: root

    property alias poName: graph.poName
    property alias bandColors: graph.bandColors
    property alias bandCount: graph.bandCount
    property alias touchPointVisible: graph.touchPointVisible
    property alias showRoomCurve: graph.showRoomCurve
    property alias roomCurveString: graph.roomCurveString
    property alias targetCurveString: graph.targetCurveString
    property alias finalResultantVisible: graph.finalResultantVisible
    property alias currentBandIndex: graph.currentBandIndex
    readonly property alias canvas: graph

    function update() {
        graph.update()
    }

    color: Theme.panel

    // +20 dB at the top, 0 dB in the middle, -20 dB at the bottom: a line every 5 dB.
    CustomGraphScaleMarker {
        anchors.fill: graph
        labels: ["+20", "", "+10", "", "0", "", "-10", "", "-20"]
    }
    // 20 Hz .. 22 kHz, logarithmic.
    FrequencyGrid {
        anchors.fill: graph
        maximumHz: 22000
    }

    QX8PEQGraph {
        id: graph
        anchors.fill: parent
    }

    WaitingNotice {
        anchors.centerIn: graph
        visible: !graph.allValuesArrived
    }
}
