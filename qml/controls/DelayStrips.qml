import QtQuick 2.15
import "DisplayNames.js" as DisplayNames

// The delay pages' body: a panel per delay (its on/off and its amount in every unit), the
// delays the user came for ringed, and below them the timeline of all of them, filling the rest.
Item {
    id: root

    property var objects: []
    property var ringedObjects: []
    property string switchVariableName

    Column {
        id: panels
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: Theme.dpY(Theme.spacing)

        Repeater {
            id: delayStrips
            model: root.objects
            CustomDelayStrip {
                width: parent.width
                delayName: DisplayNames.of(modelData)
                processingObjectName: modelData
                switchVariableName: root.switchVariableName
                selected: root.ringedObjects.indexOf(modelData) >= 0
            }
        }
    }

    DelayTimeline {
        objectName: "delayTimeline"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: panels.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        visible: delayStrips.count > 0
        delays: {
            var entries = []
            for (var i = 0; i < delayStrips.count; ++i) {
                if (delayStrips.itemAt(i))
                    entries.push(delayStrips.itemAt(i).timelineEntry)
            }
            return entries
        }
    }
}
