import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// The house tool tip: a short help text on a raised panel, after a pause of the pointer.
T.ToolTip {
    id: root

    delay: 600
    timeout: 6000
    // A page torn down during the pause takes the tip's bindings with it at once but deletes the
    // tip only later: without this the pause would end in opening a tip that has no window.
    Component.onDestruction: visible = false
    padding: Theme.dpX(Theme.spacing)

    contentItem: Text {
        text: root.text
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        color: Theme.text
        font.pixelSize: Theme.dpY(Theme.fontSmall)
    }
    background: Rectangle {
        color: Theme.raised
        border.color: Theme.border
        radius: Theme.radius
    }
}
