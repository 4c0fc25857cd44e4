import QtQuick 2.15

// The tick and the line that says nothing newer is there.
Row {
    property alias text: label.text

    spacing: rootQML.dpX(Theme.spacing)

    Image {
        anchors.verticalCenter: parent.verticalCenter
        source: "/images/Tick.png"
        width: rootQML.dpX(24)
        height: width
        fillMode: Image.PreserveAspectFit
    }

    Text {
        id: label
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.stateOn
        font.pixelSize: rootQML.dpY(Theme.fontBody)
    }
}
