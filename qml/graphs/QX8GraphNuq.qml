import QtQuick 2.15
import QX8NuqGraphItem 1.0

// The feedback-suppression panel: each Nuq filter a notch hanging from the top edge
// (0 dB at the top, -20 dB at the bottom), once the device has told its values; the panel says
// that it waits until it has told every filter's.
Rectangle {
    id: root

    property string poName: ""
    property var bandColors: []
    property int bandCount: 12
    property int currentBandIndex: 0
    readonly property alias canvas: graph

    color: Theme.panel

    CustomGraphScaleMarker {
        anchors.fill: graph
        labels: ["0", "-5", "-10", "-15", "-20"]
    }
    FrequencyGrid {
        anchors.fill: graph
    }

    QX8NuqGraphItem {
        id: graph
        anchors.fill: parent
        bandColors: root.bandColors
        bandCount: root.bandCount
        currentBandIndex: root.currentBandIndex
        onWidthChanged: dimensionsChanged()
        onHeightChanged: dimensionsChanged()
    }

    WaitingNotice {
        anchors.centerIn: graph
        visible: !graph.allValuesArrived
    }

    // The graph binds its filters once it knows its object and is complete; binding the same
    // object again changes nothing.
    property bool completed: false
    function bindFilters() {
        if (!completed || poName === "")
            return
        graph.poName = poName
        graph.componentCompleted()
    }
    onPoNameChanged: bindFilters()
    Component.onCompleted: {
        completed = true
        bindFilters()
    }
}
