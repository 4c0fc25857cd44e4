import QtQuick 2.15
import QX8RTAGraphItem 1.0
import DeviceModelProvider 1.0

// The real-time analyser: a bar per third-octave band from the device's band meters, over a dB
// scale (a line every 10 dB) and the frequency decades.
Rectangle {
    id: root

    property string poName: ""
    readonly property int bandCount: countBands(poName)
    readonly property var levelRange: [DeviceModelProvider.minimum(poName, "Band_1_Level"),
                                       DeviceModelProvider.maximum(poName, "Band_1_Level")]
    readonly property alias graph: graph

    function countBands(object) {
        var count = 0
        while (DeviceModelProvider.contains(object, "Band_" + (count + 1) + "_Level"))
            ++count
        return count
    }
    function labels() {
        var list = []
        for (var level = graph.maximumLevel; level >= graph.minimumLevel; level -= 10)
            list.push(String(level))
        return list
    }

    color: Theme.panel

    // The bars leave a gutter for the level labels on the left and the frequencies below.
    QX8RTAGraphItem {
        id: graph
        anchors.fill: parent
        anchors.topMargin: Theme.dpY(Theme.spacing)
        anchors.leftMargin: Theme.dpX(32)
        anchors.bottomMargin: Theme.dpY(Theme.fontSmall + Theme.spacing)
        bandCount: root.bandCount
        minimumLevel: root.levelRange[0] !== undefined ? root.levelRange[0] : -80
        maximumLevel: root.levelRange[1] !== undefined ? root.levelRange[1] : 0
        barColor: Theme.analyserBar
    }
    CustomGraphScaleMarker {
        anchors.left: parent.left
        anchors.right: graph.right
        anchors.top: graph.top
        anchors.bottom: graph.bottom
        labels: root.labels()
    }
    FrequencyGrid {
        anchors.left: graph.left
        anchors.right: graph.right
        anchors.top: graph.top
        anchors.bottom: parent.bottom
        minimumHz: graph.lowestFrequency
        maximumHz: graph.highestFrequency
    }

    // The bars poll once the graph knows its object and is complete; the same again changes
    // nothing.
    property bool completed: false
    function bindBands() {
        if (!completed || poName === "")
            return
        graph.poName = poName
        graph.componentCompleted()
    }
    onPoNameChanged: bindBands()
    Component.onCompleted: {
        completed = true
        bindBands()
    }
}
