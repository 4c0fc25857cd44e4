import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// The house tool tip: a short help text on a raised panel, after a pause of the pointer.
T.ToolTip {
    id: root

    delay: 600
    timeout: 6000
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
