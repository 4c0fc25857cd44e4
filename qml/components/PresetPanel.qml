import QtQuick 2.15

// A titled panel of the presets screen: a list fills the middle, its buttons (equal widths,
// buttonWidth) stand along the bottom, in one row when every label fits whole there and in two
// rows otherwise.
Rectangle {
    id: panel
    color: Theme.panel
    radius: Theme.radius

    property string title: ""
    default property alias content: body.data
    property alias buttons: buttonGrid.children
    readonly property int buttonCount: buttonGrid.children.length
    readonly property real buttonWidth: widthIn(buttonGrid.columns)

    function widthIn(columns) {
        return (buttonGrid.width - (columns - 1) * buttonGrid.columnSpacing) / Math.max(1, columns)
    }
    // The widest label's button, with a pixel to spare: a width worked out from others may come
    // out a hair short at some screen scales.
    function widestButton() {
        var widest = 0
        for (var i = 0; i < buttonGrid.children.length; ++i)
            widest = Math.max(widest, buttonGrid.children[i].implicitWidth)
        return widest + 1
    }

    Text {
        id: titleText
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: rootQML.dpX(Theme.spacing)
        text: panel.title
        color: Theme.textDim
        font.pixelSize: rootQML.dpY(Theme.fontLabel)
        font.bold: true
    }

    Item {
        id: body
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titleText.bottom
        anchors.bottom: buttonGrid.top
        anchors.margins: rootQML.dpX(Theme.spacing)
    }

    Grid {
        id: buttonGrid
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: rootQML.dpX(Theme.spacing)
        columnSpacing: rootQML.dpX(Theme.spacing)
        rowSpacing: rootQML.dpY(Theme.spacing)
        columns: panel.widthIn(panel.buttonCount) >= panel.widestButton()
                 ? Math.max(1, panel.buttonCount) : Math.ceil(panel.buttonCount / 2)
    }
}
