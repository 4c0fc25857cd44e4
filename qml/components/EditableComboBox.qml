import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// A combo box whose text can also be typed: pick a known entry or write a new one. `accepted`
// gives the text when the user confirms it (Enter or a pick).
T.ComboBox {
    id: root

    signal textAccepted(string text)

    editable: true
    implicitWidth: Theme.dpX(200)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: Theme.dpX(Theme.spacing)
    rightPadding: Theme.dpX(Theme.spacing) + indicator.width

    onAccepted: textAccepted(editText)
    onActivated: textAccepted(textAt(index))

    contentItem: T.TextField {
        text: root.editText
        validator: root.validator
        selectByMouse: true
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(Theme.fontBody)
        color: Theme.text
        selectionColor: Theme.brand
        background: null
    }

    indicator: Text {
        x: root.width - width - Theme.dpX(Theme.spacing)
        anchors.verticalCenter: parent.verticalCenter
        text: "\u25be"
        font.pixelSize: Theme.dpY(Theme.fontBody)
        color: Theme.textDim
    }

    background: Rectangle {
        radius: Theme.radius
        color: Theme.raised
        border.color: root.activeFocus ? Theme.textDim : Theme.border
    }

    delegate: T.ItemDelegate {
        id: entry
        width: root.width
        height: Theme.dpY(Theme.controlHeight)
        highlighted: root.highlightedIndex === index
        contentItem: Text {
            text: modelData
            textFormat: Text.PlainText
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
            font.pixelSize: Theme.dpY(Theme.fontBody)
            color: Theme.text
        }
        background: Rectangle {
            color: entry.highlighted ? Theme.raisedSelected : Theme.raised
        }
    }

    popup: T.Popup {
        y: root.height
        width: root.width
        implicitHeight: Math.min(contentItem.implicitHeight, Theme.dpY(320))
        padding: 1
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: root.popup.visible ? root.delegateModel : null
            currentIndex: root.highlightedIndex
            boundsBehavior: Flickable.StopAtBounds
            T.ScrollBar.vertical: ScrollBar {}
        }
        background: Rectangle {
            color: Theme.raised
            border.color: Theme.border
        }
    }
}
