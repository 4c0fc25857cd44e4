import QtQuick 2.15
import "ConfigGrid.js" as ConfigGrid

// The loudspeakers a crossover type feeds, drawn from its code: one stack per main channel
// (labelled L, C, R or M) and its subwoofers beside them (SUB, AUX for an aux-fed sub).
Row {
    id: root

    property int code
    readonly property var layout: ConfigGrid.crossoverLayout(code)
    readonly property var mainLabels: layout ? ConfigGrid.mainLabels(layout) : []
    readonly property var subLabels: layout ? ConfigGrid.subLabels(layout) : []

    spacing: Theme.dpX(Theme.spacingSmall)

    Repeater {
        model: root.mainLabels
        SpeakerStack {
            anchors.bottom: parent.bottom
            ways: root.layout.ways
            label: modelData
        }
    }

    Repeater {
        model: root.subLabels
        SpeakerStack {
            anchors.bottom: parent.bottom
            sub: true
            label: modelData
        }
    }
}
