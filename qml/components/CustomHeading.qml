import QtQuick 2.15

// The header row of every screen: its name on the left in bold capitals over a rule and, on the
// right, what acts on the whole page (the object's on/off, a selector between objects). Children
// go to the right. A screen whose name is given in mixed case keeps its words; only the look is
// the house's.
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
        font.capitalization: Font.AllUppercase
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
