import QtQuick 2.15
import QX8TransferGraphItem 1.0
import DeviceModelProvider 1.0

// A dynamics processor's transfer curve: input level across, output level up, both over the same
// span of dB with a line every 10 dB (labelled every 20) and the 1:1 line faint. The span reaches
// 10 dB past the range of the variables that place the curve (lowVariable at the bottom,
// highVariable at the top), in whole tens.
Rectangle {
    id: root

    property string poName: ""
    property int law
    property string lowVariable: "Threshold"
    property string highVariable: "Threshold"
    readonly property real minimumLevel: edge(DeviceModelProvider.minimum(poName, lowVariable),
                                              -1, -90)
    readonly property real maximumLevel: edge(DeviceModelProvider.maximum(poName, highVariable),
                                              1, 10)
    readonly property alias graph: graph

    // 10 dB past `limit` in the direction `sign`, on a whole ten; `fallback` without a limit.
    function edge(limit, sign, fallback) {
        if (limit === undefined)
            return fallback
        return sign * Math.ceil((sign * limit + 10) / 10) * 10
    }
    // One label per 10 dB line, written on every other one.
    function labels(fromTop) {
        var list = []
        for (var level = maximumLevel; level >= minimumLevel; level -= 10)
            list.push(level % 20 === 0 ? String(level) : "")
        return fromTop ? list : list.reverse()
    }

    color: Theme.panel

    CustomGraphScaleMarker {
        anchors.fill: graph
        labels: root.labels(true)
    }
    CustomGraphScaleMarker {
        anchors.fill: graph
        vertical: false
        // The corner label belongs to the output axis; the right edge has no room for one.
        labels: root.labels(false).map(function(label, index, all) {
            return index === 0 || index === all.length - 1 ? "" : label
        })
    }
    Text {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.leftMargin: Theme.dpX(Theme.spacing * 4)
        anchors.topMargin: Theme.dpY(2)
        text: "OUT dB"
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
    }
    Text {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.rightMargin: Theme.dpX(Theme.spacing)
        anchors.bottomMargin: Theme.dpY(Theme.fontSmall + Theme.spacing)
        text: "IN dB"
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
    }

    QX8TransferGraphItem {
        id: graph
        anchors.fill: parent
        law: root.law
        minimumLevel: root.minimumLevel
        maximumLevel: root.maximumLevel
        curveColor: Theme.curveTotal
        unityColor: Theme.gridStrong
    }

    WaitingNotice {
        anchors.centerIn: parent
        visible: !graph.hasCurve
    }

    // The graph binds its object once it knows it and is complete; the same again changes nothing.
    property bool completed: false
    function bindObject() {
        if (!completed || poName === "")
            return
        graph.poName = poName
        graph.componentCompleted()
    }
    onPoNameChanged: bindObject()
    Component.onCompleted: {
        completed = true
        bindObject()
    }
}
