import QtQuick 2.15
import DeviceModelProvider 1.0

// The menu bar's meters: every input, then every output, each group under its name; as many
// channels as the device model's meter objects have.
Row {
    id: root

    property string inputObject: "InputMeters"
    property string outputObject: "OutputMeters"

    function channelCount(object) {
        var count = 0
        while (DeviceModelProvider.contains(object, "Channel_" + (count + 1) + "_Level"))
            ++count
        return count
    }

    spacing: Theme.dpX(Theme.spacing)

    Repeater {
        model: [{ "title": "IN", "object": root.inputObject },
                { "title": "OUT", "object": root.outputObject }]
        Row {
            id: group
            readonly property string object: modelData.object
            spacing: Theme.dpX(3)
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: modelData.title
                font.pixelSize: Theme.dpY(Theme.fontSmall)
                color: Theme.textDim
            }
            Repeater {
                model: root.channelCount(group.object)
                MenubarMeters {
                    processingObjectName: group.object
                    channel: index + 1
                }
            }
        }
    }
}
