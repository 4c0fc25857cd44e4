import QtQuick 2.15

// The names of the option card's inputs, one box per input: the device's name, which the user
// may pick from the recommended input names or type. A name is written only when it passes the
// name check; otherwise the strip says why.
Rectangle {
    id: root

    readonly property int inputCount: 8
    readonly property int columns: 4
    readonly property var recommendedNames: hsModel.recommendedInputNames()
    property string refusal: ""

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
            Text {
                objectName: "namingRefusal"
                width: parent.width - x
                visible: root.refusal !== ""
                text: root.refusal
                textFormat: Text.PlainText
                elide: Text.ElideRight
                color: Theme.stateAlert
                font.pixelSize: Theme.dpY(Theme.fontSmall)
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
                        objectName: "inputName_" + (index + 1)
                        width: parent.width - label.width - parent.spacing
                        svName: "Node\\SetupWizardCurrentChoices\\SV\\Channel_" + (index + 1)
                                + "_OrvellinkInputName"
                        nameValidator: specialCharacterValidator
                        maximumLength: 16
                        appended: root.recommendedNames
                        onRefused: root.refusal = reason
                        onWritten: root.refusal = ""
                        Accessible.name: "Option card input " + label.text + " name"
                    }
                }
            }
        }
    }
}
