import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// An exclusive choice among a few words (High/Mid/Low, Stereo/Left/Right): the chosen one is
// filled. `chosen` tells the page which word the user picked. The arrows move the choice from
// the focused word to its neighbour.
Row {
    id: root

    property var options: []
    property var labels: options
    property string current
    property color accent: Theme.selectedFill

    signal chosen(string option)

    spacing: Theme.dpX(2)

    // Only the arrows' way through the words: the page says which is chosen.
    T.ButtonGroup {
        id: words
        exclusive: false
    }

    Repeater {
        model: root.options
        CustomButton {
            objectName: "selector_" + modelData
            T.ButtonGroup.group: words
            text: root.labels[index]
            accent: root.accent
            checked: modelData === root.current
            onClicked: if (modelData !== root.current) root.chosen(modelData)
        }
    }
}
