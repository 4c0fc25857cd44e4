import QtQuick 2.15

// The names of the option card's inputs, one box per input: the device's name, which the user
// may pick from the recommended input names or type. A name is written only when it passes the
// name check; otherwise the strip says why, and of which input.
Rectangle {
    id: root

    readonly property int inputCount: 8
    readonly property int columns: 4
    readonly property var recommendedNames: hsModel.recommendedInputNames()

    implicitHeight: content.implicitHeight + 2 * Theme.dpY(Theme.spacing)
    color: Theme.panel
    radius: Theme.radius

    Column {
        id: content
        anchors.fill: parent
        anchors.margins: Theme.dpX(Theme.spacing)
        spacing: Theme.dpY(Theme.spacingSmall)

        Row {
            width: parent.width
            spacing: Theme.dpX(Theme.margin)
            Text {
                text: "OPTION CARD INPUT NAMES"
                color: Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontSmall)
                font.bold: true
            }
            NameRefusalLine {
                id: refusalLine
                objectName: "namingRefusal"
                width: parent.width - x
            }
        }

        Grid {
            id: grid
            readonly property real cellWidth: (width - (root.columns - 1) * columnSpacing)
                                              / root.columns
            width: parent.width
            columns: root.columns
            columnSpacing: Theme.dpX(Theme.margin)
            rowSpacing: Theme.dpY(Theme.spacingSmall)

            Repeater {
                model: root.inputCount
                Row {
                    width: grid.cellWidth
                    spacing: Theme.dpX(Theme.spacing)
                    Text {
                        id: label
                        anchors.verticalCenter: parent.verticalCenter
                        text: index + 1
                        color: Theme.textDim
                        font.pixelSize: Theme.dpY(Theme.fontLabel)
                    }
                    EditableComboBox {
                        readonly property string inputName: "Input " + (index + 1)
                        objectName: "inputName_" + (index + 1)
                        width: parent.width - label.width - parent.spacing
                        svName: "Node\\SetupWizardCurrentChoices\\SV\\Channel_" + (index + 1)
                                + "_OrvellinkInputName"
                        nameValidator: specialCharacterValidator
                        maximumLength: 16
                        appended: root.recommendedNames
                        onRefused: refusalLine.refuse(inputName, reason)
                        onWritten: refusalLine.settle(inputName)
                        onLeftUnchanged: refusalLine.settle(inputName)
                        Accessible.name: "Option card input " + label.text + " name"
                    }
                }
            }
        }
    }
}
