import QtQuick 2.15
import QtQuick.Controls 2.15 as Controls

// One row of a preset list: the slot number (when it has one) and the name, a dimmed "empty"
// for a slot without one; the selected row in the brand red. Until the device has told a slot's
// name (`known`), the row shows the dimmed dash and takes no click: an empty-looking slot would
// be stored over unasked. The list's cursor frames the row it stands on (`cursorOn`); a row takes
// no focus of its own.
Controls.AbstractButton {
    id: row
    height: rootQML.dpY(36)
    focusPolicy: Qt.NoFocus

    property int number: 0
    property string name: ""
    property bool known: true
    property bool selected: false
    property bool stripe: number % 2 === 1
    property bool cursorOn: false

    enabled: known
    // A slot not known yet is read by its number alone, as it shows only the dash.
    Accessible.name: (number > 0 ? number + (known ? " " : "") : "")
                     + (!known ? "" : name === "" ? "empty" : name)
    Accessible.selectable: true
    Accessible.selected: selected

    background: Rectangle {
        color: row.selected ? Theme.selectedFill
                            : row.down ? Theme.raisedSelected
                                       : row.stripe ? Theme.raised : Theme.panel
    }

    contentItem: Item {
        Text {
            id: numberText
            anchors.left: parent.left
            anchors.leftMargin: rootQML.dpX(Theme.spacing)
            anchors.verticalCenter: parent.verticalCenter
            width: row.number > 0 ? rootQML.dpX(36) : 0
            visible: row.number > 0
            text: row.number
            color: row.selected ? Theme.selectedText : Theme.textDim
            font.pixelSize: rootQML.dpY(Theme.fontLabel)
        }
        Text {
            objectName: "presetRowName"
            anchors.left: numberText.right
            anchors.leftMargin: rootQML.dpX(Theme.spacing)
            anchors.right: parent.right
            anchors.rightMargin: rootQML.dpX(Theme.spacing)
            anchors.verticalCenter: parent.verticalCenter
            text: !row.known ? "\u2013" : row.name === "" ? "empty" : row.name
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: !row.known ? Theme.textFaint
                              : row.name === "" && !row.selected ? Theme.textDim : Theme.text
            font.italic: row.known && row.name === ""
            font.pixelSize: rootQML.dpY(Theme.fontBody)
        }
    }

    FocusFrame {
        inset: true
        shown: row.cursorOn
    }
}
