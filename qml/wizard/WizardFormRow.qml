import QtQuick 2.15

// One row of a wizard form: its label, a colon, and its control.
Row {
    id: row

    property string label: ""
    default property alias control: slot.data

    height: rootQML.dpY(44)
    spacing: rootQML.dpX(Theme.spacing)

    Text {
        width: rootQML.dpX(300)
        anchors.verticalCenter: parent.verticalCenter
        text: row.label + ":"
        textFormat: Text.PlainText
        elide: Text.ElideRight
        color: Theme.textDim
        font.pixelSize: rootQML.dpY(Theme.fontValue)
    }

    Item {
        id: slot
        width: rootQML.dpX(320)
        height: parent.height
    }
}
