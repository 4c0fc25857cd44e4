import QtQuick 2.15

// The frequency axis of a graph: a line at every decade on a logarithmic scale from minimumHz
// to maximumHz, labelled 100, 1k and 10k at the foot.
Item {
    id: root

    property real minimumHz: 20
    property real maximumHz: 20000
    readonly property var decades: [{ "hz": 100, "text": "100" }, { "hz": 1000, "text": "1k" },
                                    { "hz": 10000, "text": "10k" }]

    function xFor(hz) {
        return width * Math.log(hz / minimumHz) / Math.log(maximumHz / minimumHz)
    }

    Repeater {
        model: root.decades
        Rectangle {
            x: root.xFor(modelData.hz)
            width: 1
            height: root.height
            color: Theme.grid
            Text {
                x: Theme.dpX(2)
                y: parent.height - height - 1
                text: modelData.text
                color: Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontSmall)
            }
        }
    }
}
