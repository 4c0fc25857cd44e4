import QtQuick 2.15

// A titled panel of the presets screen: a list fills the middle, its buttons (equal widths,
// buttonWidth) stand along the bottom.
Rectangle {
    id: panel
    color: Theme.panel
    radius: Theme.radius

    property string title: ""
    default property alias content: body.data
    property alias buttons: buttonRow.children
    readonly property real buttonWidth:
        (buttonRow.width - (buttonRow.children.length - 1) * buttonRow.spacing)
        / Math.max(1, buttonRow.children.length)

    Text {
        id: titleText
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: rootQML.dpX(Theme.spacing)
        text: panel.title
        color: Theme.textDim
        font.pixelSize: rootQML.dpY(Theme.fontLabel)
        font.bold: true
    }

    Item {
        id: body
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titleText.bottom
        anchors.bottom: buttonRow.top
        anchors.margins: rootQML.dpX(Theme.spacing)
    }

    Row {
        id: buttonRow
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: rootQML.dpX(Theme.spacing)
        spacing: rootQML.dpX(Theme.spacing)
    }
}
