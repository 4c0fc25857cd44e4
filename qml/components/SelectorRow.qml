import QtQuick 2.15

// An exclusive choice among a few words (High/Mid/Low, Stereo/Left/Right): the chosen one is
// filled. `chosen` tells the page which word the user picked.
Row {
    id: root

    property var options: []
    property var labels: options
    property string current
    property color accent: Theme.selectedFill

    signal chosen(string option)

    spacing: Theme.dpX(2)

    Repeater {
        model: root.options
        CustomButton {
            objectName: "selector_" + modelData
            text: root.labels[index]
            accent: root.accent
            checked: modelData === root.current
            onClicked: if (modelData !== root.current) root.chosen(modelData)
        }
    }
}
