import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// The house button: a raised face with its text. Checked (the selected item) it is filled with
// its accent, brand red unless the page gives another (a band colour); text on a light accent
// turns dark. A tool tip shows toolTipText while the pointer rests on it.
T.Button {
    id: root

    property color accent: Theme.brand
    property bool lightAccent: false
    property string toolTipText: ""
    property real fontSize: Theme.fontLabel

    implicitWidth: Math.max(Theme.dpX(Theme.controlHeight),
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: Theme.dpX(Theme.spacing + Theme.spacingSmall)
    rightPadding: leftPadding
    topPadding: Theme.dpY(Theme.spacingSmall)
    bottomPadding: topPadding
    hoverEnabled: true
    focusPolicy: Qt.NoFocus

    contentItem: Text {
        text: root.text
        textFormat: Text.PlainText
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(root.fontSize)
        font.bold: root.checked
        color: !root.enabled ? Theme.textFaint
                             : root.checked && root.lightAccent ? Theme.textOnLight : Theme.text
    }

    background: Rectangle {
        radius: Theme.radius
        color: root.checked ? root.accent : root.down ? Theme.raisedSelected : Theme.raised
        border.color: root.checked ? root.accent
                                   : root.hovered && root.enabled ? Theme.textDim : Theme.border
    }

    ToolTip {
        text: root.toolTipText
        visible: root.hovered && root.toolTipText !== ""
    }
}
