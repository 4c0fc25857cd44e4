import QtQuick 2.15

// The header row of a page: the object's display name on the left and, on the right, what acts
// on the whole page (the object's on/off, a selector between objects). Children go to the right.
Item {
    id: root

    property string text
    default property alias actions: actionRow.data

    implicitHeight: Theme.dpY(Theme.headingHeight)

    Text {
        id: title
        objectName: "headingTitle"
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: Math.min(implicitWidth, root.width - actionRow.width - Theme.dpX(Theme.margin))
        text: root.text
        textFormat: Text.PlainText
        elide: Text.ElideRight
        font.pixelSize: Theme.dpY(Theme.fontHeading)
        font.bold: true
        color: Theme.text
    }

    Row {
        id: actionRow
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.dpX(Theme.spacing)
    }

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Theme.border
    }
}
