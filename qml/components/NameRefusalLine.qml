import QtQuick 2.15

// Why a name box refused a name, after the name of that box: one line for a group of boxes. It
// stays until that box takes a valid name or is left holding its name; another box's refusal
// takes its place. `text` is the reason, empty while there is none.
Row {
    id: root

    property string box: ""
    property string text: ""
    property real fontSize: Theme.fontSmall

    function refuse(boxName, reason) {
        box = boxName
        text = reason
    }

    function settle(boxName) {
        if (boxName === box)
            text = ""
    }

    visible: text !== ""
    spacing: Theme.dpX(Theme.spacingSmall)

    Text {
        id: boxName
        objectName: "refusedBox"
        text: root.box + ":"
        textFormat: Text.PlainText
        color: Theme.stateAlert
        font.pixelSize: Theme.dpY(root.fontSize)
        font.bold: true
    }

    Text {
        width: root.width - boxName.width - root.spacing
        text: root.text
        textFormat: Text.PlainText
        wrapMode: Text.WordWrap
        color: Theme.stateAlert
        font.pixelSize: Theme.dpY(root.fontSize)
    }
}
