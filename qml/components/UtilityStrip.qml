import QtQuick 2.15

// A panel of the Utilities screen: a title, with an optional control beside it that belongs to
// the whole strip, over rows that stack in one column.
Rectangle {
    property alias title: titleText.text
    property alias titleAccessory: accessory.data
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

        Row {
            spacing: rootQML.dpX(Theme.margin)

            Text {
                id: titleText
                anchors.verticalCenter: parent.verticalCenter
                color: Theme.text
                font.pixelSize: rootQML.dpY(Theme.fontValue)
                font.bold: true
            }

            Row {
                id: accessory
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }
}
