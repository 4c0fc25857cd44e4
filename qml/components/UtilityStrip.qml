import QtQuick 2.15

// A panel of the Utilities screen: a title over rows that stack in one column.
Rectangle {
    property alias title: titleText.text
    default property alias rows: column.data

    color: Theme.panel
    radius: Theme.radius
    implicitWidth: column.implicitWidth + 2 * rootQML.dpX(Theme.margin)
    implicitHeight: column.implicitHeight + 2 * rootQML.dpY(Theme.margin)

    Column {
        id: column
        anchors.fill: parent
        anchors.margins: rootQML.dpX(Theme.margin)
        spacing: rootQML.dpY(Theme.spacing)

        Text {
            id: titleText
            color: Theme.text
            font.pixelSize: rootQML.dpY(Theme.fontValue)
            font.bold: true
        }
    }
}
