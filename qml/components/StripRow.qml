import QtQuick 2.15

// One row of a Utilities strip: a grey label in a fixed column, then whatever the row holds.
Item {
    property alias label: labelText.text
    default property alias content: slot.data

    implicitWidth: labelText.width + slot.implicitWidth
    implicitHeight: Math.max(labelText.implicitHeight, slot.implicitHeight)

    Text {
        id: labelText
        width: rootQML.dpX(180)
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.textDim
        font.pixelSize: rootQML.dpY(Theme.fontLabel)
        elide: Text.ElideRight
    }

    Row {
        id: slot
        anchors.left: labelText.right
        anchors.verticalCenter: parent.verticalCenter
    }
}
