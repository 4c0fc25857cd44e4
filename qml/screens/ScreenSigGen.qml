import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// The signal generator: whether it sends, what (pink or white noise, or a sine at its frequency)
// and how loud. A band across the page says at a glance whether it is on.
ScreenPage {
    id: page
    objectName: "sigGenPage"
    currentScreen: "SIGGEN"
    shownObjects: DeviceModelProvider.objects("ScreenSigGen.qml", "")

    readonly property string switchVariable: "SignalGenerator"
    readonly property string typeVariable: "Signal Type"

    Repeater {
        model: page.availableObjects
        Item {
            id: generator
            readonly property string objectName_: modelData
            readonly property var types: DeviceModelProvider.entries(objectName_, page.typeVariable)
            readonly property string type: typeGroup.backend.selectedValue
            readonly property bool known: onOff.backend.hasDeviceValue
            readonly property bool sending: known && onOff.checked
            width: page.body.width
            height: page.body.height

            CustomHeading {
                id: heading
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                text: DisplayNames.heading(generator.objectName_)

                OnOffButton {
                    id: onOff
                    objectName: "onOffButton"
                    processingObjectName: generator.objectName_
                    stateVariableName: page.switchVariable
                    toolTipText: checked ? "Sending: click to stop" : "Silent: click to send"
                }
            }

            // On: green, with what it sends; off: a quiet grey band.
            Rectangle {
                id: status
                objectName: "generatorStatus"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: heading.bottom
                anchors.topMargin: Theme.dpY(Theme.margin)
                height: Theme.dpY(88)
                radius: Theme.radius
                color: generator.sending ? Theme.stateOn : Theme.panel
                border.color: generator.sending ? Theme.stateOn : Theme.border

                Column {
                    anchors.left: parent.left
                    anchors.leftMargin: Theme.dpX(Theme.margin)
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width - 2 * Theme.dpX(Theme.margin)

                    Text {
                        objectName: "statusText"
                        text: !generator.known ? "\u2013"
                              : generator.sending ? "GENERATOR ON" : "GENERATOR OFF"
                        font.pixelSize: Theme.dpY(Theme.fontTitle)
                        font.bold: true
                        color: generator.sending ? Theme.textOnLight
                               : generator.known ? Theme.textDim : Theme.textFaint
                    }
                    Text {
                        width: parent.width
                        visible: generator.sending && generator.type !== ""
                        text: "Sending " + generator.type
                              + (generator.type === "Sine" ? " at " + frequency.valueText : "")
                              + ", " + amplitude.valueText
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        font.pixelSize: Theme.dpY(Theme.fontBody)
                        color: Theme.textOnLight
                    }
                }
            }

            Text {
                id: typeCaption
                anchors.left: parent.left
                anchors.top: status.bottom
                anchors.topMargin: Theme.dpY(Theme.margin)
                text: "SIGNAL"
                color: Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontSmall)
            }
            QX8CustomExclusiveGroup {
                id: typeGroup
                processingObjectName: generator.objectName_
                stateVariableName: page.typeVariable
            }
            Row {
                id: typeRow
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: typeCaption.bottom
                anchors.topMargin: Theme.dpY(Theme.spacingSmall)
                spacing: Theme.dpX(Theme.spacing)

                // Only the arrows' way along the signals: the device says which is chosen.
                T.ButtonGroup {
                    id: typeButtons
                    exclusive: false
                }

                Repeater {
                    model: generator.types
                    CustomButton {
                        objectName: "type_" + modelData
                        T.ButtonGroup.group: typeButtons
                        width: (typeRow.width - (generator.types.length - 1) * typeRow.spacing)
                               / generator.types.length
                        height: Theme.dpY(56)
                        text: modelData
                        fontSize: Theme.fontValue
                        checked: modelData === generator.type
                        pending: checked && typeGroup.backend.pending
                        enabled: generator.type !== ""
                        onClicked: typeGroup.select(modelData)
                    }
                }
            }

            Row {
                id: cells
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: typeRow.bottom
                anchors.topMargin: Theme.dpY(Theme.margin)
                spacing: Theme.dpX(Theme.spacing)
                readonly property real cellWidth: (width - spacing) / 2

                CustomLabelValuePair {
                    id: frequency
                    width: cells.cellWidth
                    label: "Sine frequency"
                    applies: generator.type === "Sine"
                    processingObjectName: generator.objectName_
                    stateVariableName: "Sine Frequency"
                }
                CustomLabelValuePair {
                    id: amplitude
                    width: cells.cellWidth
                    label: "Amplitude"
                    processingObjectName: generator.objectName_
                    stateVariableName: "Signal Amplitude"
                }
            }
        }
    }
}
