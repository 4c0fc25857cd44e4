import QtQuick 2.15

// Where each delay stands in time: one bar per delay on a shared millisecond axis, from 0 to a
// round span that holds the longest, so that the alignment of the outputs reads at a glance.
// A delay switched off is dimmed; one whose amount has not arrived has no bar.
Rectangle {
    id: root

    // {name, milliseconds (NaN until the device reports it), on}
    property var delays: []
    readonly property real longest: delays.reduce(function(most, delay) {
        return isNaN(delay.milliseconds) ? most : Math.max(most, delay.milliseconds)
    }, 0)
    readonly property real span: roundSpan(longest)
    readonly property real nameWidth: Theme.dpX(160)
    readonly property real axisHeight: Theme.dpY(28)
    readonly property real rowHeight: Math.min(Theme.dpY(56),
                                               (plot.height - axisHeight) / Math.max(1, delays.length))

    // The smallest of 1, 2 and 5 times a power of ten that holds `ms` with room to spare.
    function roundSpan(ms) {
        var wanted = Math.max(5, ms * 1.1)
        for (var decade = 1; ; decade *= 10) {
            var steps = [1, 2, 5]
            for (var i = 0; i < steps.length; ++i) {
                if (steps[i] * decade >= wanted)
                    return steps[i] * decade
            }
        }
    }

    color: Theme.panel
    radius: Theme.radius

    Text {
        id: title
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: Theme.dpX(Theme.spacing)
        text: "ALIGNMENT"
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
        font.bold: true
    }

    Item {
        id: plot
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: title.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.dpX(Theme.spacing)

        readonly property real trackWidth: width - root.nameWidth - Theme.dpX(Theme.margin)

        // A line and a label at every fifth of the span.
        Repeater {
            model: 6
            Item {
                x: root.nameWidth + index / 5 * plot.trackWidth
                width: 1
                height: plot.height
                Rectangle {
                    width: 1
                    height: parent.height - root.axisHeight
                    color: index === 0 ? Theme.gridStrong : Theme.grid
                }
                Text {
                    anchors.horizontalCenter: index === 0 ? undefined : parent.horizontalCenter
                    anchors.bottom: parent.bottom
                    text: index === 5 ? root.span * index / 5 + " ms" : root.span * index / 5
                    color: Theme.textDim
                    font.pixelSize: Theme.dpY(Theme.fontSmall)
                }
            }
        }

        Column {
            width: plot.width

            Repeater {
                model: root.delays
                Item {
                    objectName: "timelineRow"
                    readonly property bool known: !isNaN(modelData.milliseconds)
                    width: plot.width
                    height: root.rowHeight
                    opacity: modelData.on ? 1 : 0.45

                    Text {
                        width: root.nameWidth - Theme.dpX(Theme.spacing)
                        anchors.verticalCenter: parent.verticalCenter
                        text: modelData.name
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        color: Theme.text
                        font.pixelSize: Theme.dpY(Theme.fontLabel)
                        font.capitalization: Font.AllUppercase
                    }
                    Rectangle {
                        objectName: "timelineBar"
                        x: root.nameWidth
                        anchors.verticalCenter: parent.verticalCenter
                        width: parent.known ? Math.max(2, plot.trackWidth * modelData.milliseconds
                                                           / root.span) : 0
                        height: Math.min(Theme.dpY(20), parent.height * 0.5)
                        radius: Theme.radius
                        color: Theme.bandColors[index % Theme.bandColors.length]
                    }
                }
            }
        }
    }
}
