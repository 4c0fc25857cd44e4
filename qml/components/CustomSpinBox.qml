import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// A whole number between `from` and `to` with step buttons on both sides; the user's changes
// come as valueModified.
T.SpinBox {
    id: root

    implicitWidth: Theme.dpX(132)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: down.indicator.width
    rightPadding: up.indicator.width
    editable: false

    contentItem: Text {
        text: root.textFromValue(root.value, root.locale)
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(Theme.fontValue)
        color: root.enabled ? Theme.text : Theme.textFaint
    }

    down.indicator: Rectangle {
        x: 0
        height: root.height
        width: height
        radius: Theme.radius
        color: root.down.pressed ? Theme.raisedSelected : Theme.raised
        border.color: Theme.border
        Text {
            anchors.centerIn: parent
            text: "\u2212"
            font.pixelSize: Theme.dpY(Theme.fontValue)
            color: root.value > root.from ? Theme.text : Theme.textFaint
        }
    }

    up.indicator: Rectangle {
        x: root.width - width
        height: root.height
        width: height
        radius: Theme.radius
        color: root.up.pressed ? Theme.raisedSelected : Theme.raised
        border.color: Theme.border
        Text {
            anchors.centerIn: parent
            text: "+"
            font.pixelSize: Theme.dpY(Theme.fontValue)
            color: root.value < root.to ? Theme.text : Theme.textFaint
        }
    }

    background: Rectangle {
        color: Theme.panel
        border.color: Theme.border
        radius: Theme.radius
    }
}
