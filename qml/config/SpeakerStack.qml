import QtQuick 2.15

// One loudspeaker of a crossover's layout with its label under it: a main of `ways` ways
// (1: full range) or, with `sub`, a subwoofer.
Column {
    id: root

    property int ways: 1
    property bool sub: false
    property string label

    spacing: Theme.dpY(2)

    Loader {
        anchors.horizontalCenter: parent.horizontalCenter
        source: root.sub ? "SpeakerStackSub.qml"
                         : root.ways <= 1 ? "SpeakerStackFullRange.qml"
                                          : "SpeakerStack" + Math.min(root.ways, 6) + "Way.qml"
    }

    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        text: root.label
        textFormat: Text.PlainText
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
        font.bold: true
    }
}
