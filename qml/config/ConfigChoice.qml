import QtQuick 2.15

// One row of the configuration lists: a choice's name (on two lines where it needs them), an
// optional second line, and an optional picture before them (the items given as children).
// Checked, it is the cell's current choice.
CustomButton {
    id: root

    property string detail
    default property alias picture: pictureSlot.data

    implicitHeight: Math.max(Theme.dpY(Theme.controlHeight + Theme.spacing),
                             Math.max(pictureSlot.childrenRect.height, texts.implicitHeight)
                             + topPadding + bottomPadding)
    leftPadding: Theme.dpX(Theme.spacing)

    contentItem: Row {
        spacing: Theme.dpX(Theme.spacing)

        Item {
            id: pictureSlot
            anchors.verticalCenter: parent.verticalCenter
            width: childrenRect.width
            height: childrenRect.height
        }

        Column {
            id: texts
            anchors.verticalCenter: parent.verticalCenter
            width: root.availableWidth - pictureSlot.width - parent.spacing

            Text {
                width: parent.width
                text: root.text
                textFormat: Text.PlainText
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                font.pixelSize: Theme.dpY(Theme.fontLabel)
                font.bold: root.checked
                color: root.enabled ? Theme.text : Theme.textFaint
            }
            Text {
                width: parent.width
                visible: root.detail !== ""
                text: root.detail
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.pixelSize: Theme.dpY(Theme.fontSmall)
                color: root.checked ? Theme.text : Theme.textDim
            }
        }
    }
}
