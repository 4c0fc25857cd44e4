import QtQuick 2.15
import QtQml 2.15
import CrossoverGraphItem 1.0
import QX8NumericalSV 1.0

// The crossover panel: each band's response in its colour, the scale over them, and a high-pass
// and a low-pass handle per band, numbered (the sub's "S"). Where one band ends and the next
// begins at one frequency, the low-pass handle sits on the band's level and the high-pass handle
// just under it, so that both show. Dragging a handle writes that band's filter frequency; gains
// are not dragged.
Rectangle {
    id: root

    property string poName: "Crossover"
    property var bandColors: []
    property int waysCount: 2
    property int subsCount: 0
    property bool isSubPresent: subsCount > 0
    property int currentBandIndex: 0
    property real knobSize: Theme.dpX(22)
    readonly property int bandCount: isSubPresent ? waysCount + 1 : waysCount
    readonly property alias canvas: graph
    readonly property real logSpan: Math.log(20000) - Math.log(16)

    color: Theme.panel

    function xForFrequency(hz) {
        var f = Math.min(20000, Math.max(16, hz))
        return graph.width * (Math.log(f) - Math.log(16)) / logSpan
    }
    function frequencyForX(x) {
        return Math.exp(Math.log(16) + (x / graph.width) * logSpan)
    }
    function yForGain(gainDb) {
        var g = Math.min(20, Math.max(-60, gainDb))
        return (20 - g) * (graph.height - knobSize / 2) / 80
    }
    // The colour the graph paints a band's curve in: the last of several takes entry 2 at
    // least (the sub's colour), else its own.
    function colorOf(band) {
        if (bandColors.length === 0)
            return Theme.bandFallback
        var entry = bandCount > 1 && band === bandCount - 1 ? Math.max(2, band) : band
        return bandColors[Math.min(entry, bandColors.length - 1)]
    }
    function labelOf(band) {
        return band < waysCount ? String(band + 1) : "S"
    }
    function bandPrefix(band) {
        return band < waysCount ? "Band_" + (band + 1) + "_" : "MonoSub_"
    }

    CrossoverGraphItem {
        id: graph
        anchors.fill: parent
        poName: root.poName
        bandColors: root.bandColors
        waysCount: root.waysCount
        subsCount: root.subsCount
        isSubPresent: root.isSubPresent
        bandCount: root.bandCount
        currentBandIndex: root.currentBandIndex
        onWidthChanged: dimensionsChanged()
        onHeightChanged: dimensionsChanged()
    }

    // -60 dB at the bottom, +20 dB at the top; over the bands, so that their fills hide no label.
    CustomGraphScaleMarker {
        anchors.fill: graph
        labels: ["+20", "", "0", "", "-20", "", "-40", "", "-60"]
    }
    FrequencyGrid {
        anchors.fill: graph
        minimumHz: 16
    }

    Repeater {
        id: bands
        model: root.bandCount
        Item {
            id: band
            readonly property int bandIndex: index
            readonly property color bandColor: root.colorOf(index)
            anchors.fill: graph
            // Bands share their edge frequencies: the selected band's handles lie on top.
            z: bandIndex === root.currentBandIndex ? 1 : 0

            QX8NumericalSV {
                id: hp
                poName: root.poName
                svName: root.bandPrefix(band.bandIndex) + "HPFrequency"
                Component.onCompleted: componentCompleted()
            }
            QX8NumericalSV {
                id: lp
                poName: root.poName
                svName: root.bandPrefix(band.bandIndex) + "LPFrequency"
                Component.onCompleted: componentCompleted()
            }
            QX8NumericalSV {
                id: gain
                poName: root.poName
                svName: root.bandPrefix(band.bandIndex) + "Gain"
                Component.onCompleted: componentCompleted()
            }

            Repeater {
                model: [hp, lp]
                QX8TouchControlPoint {
                    readonly property var variable: modelData
                    readonly property bool highPass: variable === hp
                    objectName: "handle_" + variable.svName
                    // Placed only from values the device has reported.
                    readonly property bool known: variable.value > 0 && gain.value > -1000
                    index: band.bandIndex
                    label: root.labelOf(band.bandIndex)
                    Accessible.name: (label === "S" ? "Sub" : "Band " + label)
                                     + (highPass ? " high-pass" : " low-pass")
                    diameter: root.knobSize
                    color: band.bandColor
                    selected: band.bandIndex === root.currentBandIndex
                    visible: known
                    Binding on x {
                        when: !dragging && known
                        value: root.xForFrequency(variable.value) - root.knobSize / 2
                        restoreMode: Binding.RestoreNone
                    }
                    Binding on y {
                        when: !dragging && known
                        value: root.yForGain(gain.value) - root.knobSize / 2
                               + (highPass ? root.knobSize * 1.2 : 0)
                        restoreMode: Binding.RestoreNone
                    }
                    onPressed: root.currentBandIndex = band.bandIndex
                    onDragged: variable.setValueWithoutFeedback(root.frequencyForX(centreX))
                }
            }
        }
    }

    Component.onCompleted: graph.componentCompleted()
}
