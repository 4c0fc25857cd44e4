import QtQuick 2.15

// One output in configuration mode: its number and its name, which a click opens for editing.
Rectangle {
    id: root

    property var configModel
    property int row
    property string name
    property bool selected: false
    property alias refusal: setter.refusal
    readonly property alias modified: setter.modified

    implicitHeight: Theme.dpY(Theme.controlHeight + Theme.spacing)
    radius: Theme.radius
    color: selected ? Theme.selectedFill : Theme.raised
    border.color: selected ? Theme.selectedFill : Theme.border

    Text {
        id: number
        anchors.left: parent.left
        anchors.leftMargin: Theme.dpX(Theme.spacing)
        anchors.verticalCenter: parent.verticalCenter
        width: Theme.dpX(56)
        text: "OUT " + (root.row + 1)
        textFormat: Text.PlainText
        color: root.selected ? Theme.selectedText : Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontLabel)
        font.bold: true
    }

    OutputNameSetter {
        id: setter
        objectName: "outputName_" + (root.row + 1)
        anchors.left: number.right
        anchors.right: parent.right
        anchors.rightMargin: Theme.dpX(Theme.spacing)
        anchors.verticalCenter: parent.verticalCenter
        configModel: root.configModel
        row: root.row
        text: root.name
        label: number.text + " name"
    }
}
