import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// The input router as a matrix: the device's sources across, its slots down, the source each
// slot takes filled in, each slot under the name the configuration gives its input (the option
// card's names included). A click on another cell routes that source to the slot. Until the
// device has reported a slot's source, that slot's cells show the dimmed dash and take no click:
// empty cells would read as a slot that takes nothing. Below, the names of the option card's
// inputs.
ScreenPage {
    id: page
    objectName: "inputRouterPage"
    currentScreen: "InputRouter"
    shownObjects: DeviceModelProvider.objects("ScreenInputRouter.qml", "")

    function slotCount(object) {
        var count = 0
        while (DeviceModelProvider.contains(object, "Slot" + (count + 1) + "Source"))
            ++count
        return count
    }

    InputSourceNames {
        id: sourceNames
    }

    Repeater {
        model: page.availableObjects
        Item {
            id: router
            readonly property string objectName_: modelData
            readonly property int slots: page.slotCount(objectName_)
            readonly property var sources: DeviceModelProvider.entries(objectName_, "Slot1Source")
            readonly property real headerWidth: Theme.dpX(110)
            readonly property real cellWidth: (width - headerWidth) / Math.max(1, sources.length)
            // The rows share the height the page leaves them.
            readonly property real cellHeight: Math.min(Theme.dpY(96),
                (height - heading.height - columnHeads.height - naming.height
                 - 2 * Theme.dpY(Theme.margin)) / slots)
            width: page.body.width
            height: page.body.height

            CustomHeading {
                id: heading
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                text: DisplayNames.heading(router.objectName_)
            }

            Row {
                id: columnHeads
                anchors.top: heading.bottom
                anchors.topMargin: Theme.dpY(Theme.spacing)
                x: router.headerWidth
                height: Theme.dpY(28)

                Repeater {
                    model: router.sources
                    Text {
                        width: router.cellWidth
                        anchors.verticalCenter: parent.verticalCenter
                        horizontalAlignment: Text.AlignHCenter
                        text: modelData
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        color: Theme.textDim
                        font.pixelSize: Theme.dpY(Theme.fontLabel)
                    }
                }
            }

            Column {
                anchors.top: columnHeads.bottom
                anchors.left: parent.left
                anchors.right: parent.right

                Repeater {
                    model: router.slots
                    Rectangle {
                        id: slotRow
                        objectName: "slotRow"
                        readonly property alias backend: group.backend
                        readonly property int slot: index + 1
                        readonly property string variable: "Slot" + slot + "Source"
                        readonly property string source: group.backend.selectedValue
                        readonly property bool known: group.backend.hasDeviceValue
                        width: parent.width
                        height: router.cellHeight
                        color: index % 2 === 0 ? Theme.panel : "transparent"

                        QX8CustomExclusiveGroup {
                            id: group
                            processingObjectName: router.objectName_
                            stateVariableName: slotRow.variable
                        }

                        Column {
                            anchors.left: parent.left
                            anchors.leftMargin: Theme.dpX(Theme.spacing)
                            anchors.verticalCenter: parent.verticalCenter
                            width: router.headerWidth - Theme.dpX(Theme.spacing)
                            Text {
                                text: "Slot " + slotRow.slot
                                color: Theme.text
                                font.pixelSize: Theme.dpY(Theme.fontBody)
                                font.bold: true
                            }
                            Text {
                                objectName: "slotName_" + slotRow.slot
                                width: parent.width
                                text: sourceNames.slotName(slotRow.slot, "\u2013")
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                color: Theme.textDim
                                font.pixelSize: Theme.dpY(Theme.fontSmall)
                            }
                        }

                        // Only the arrows' way along the slot's sources: its variable says
                        // which is routed.
                        T.ButtonGroup {
                            id: sourceCells
                            exclusive: false
                        }

                        Row {
                            x: router.headerWidth
                            anchors.verticalCenter: parent.verticalCenter

                            Repeater {
                                model: router.sources
                                Item {
                                    width: router.cellWidth
                                    height: router.cellHeight
                                    CustomButton {
                                        objectName: slotRow.variable + "_" + modelData
                                        T.ButtonGroup.group: sourceCells
                                        anchors.fill: parent
                                        anchors.margins: Theme.dpX(3)
                                        text: !slotRow.known ? "\u2013" : checked ? modelData : ""
                                        checked: slotRow.known && modelData === slotRow.source
                                        pending: checked && group.backend.pending
                                        enabled: slotRow.known
                                        toolTipText: "Route " + modelData + " to slot "
                                                     + slotRow.slot
                                        Accessible.name: "Slot " + slotRow.slot + " " + modelData
                                        onClicked: group.select(modelData)
                                    }
                                }
                            }
                        }
                    }
                }
            }

            InputNamingStrip {
                id: naming
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
            }
        }
    }
}
