import QtQuick 2.15
import QX8NumericalSV 1.0
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames
import "NuqFilters.js" as NuqFilters

// Feedback suppression: the notches of the Nuq filters over the frequency range, each filter's
// read-out (the last ones fixed, the rest live), and the suppressor's settings: how long live
// filters stay, how many are fixed, its sensitivity, high-pass and content mode.
ScreenPage {
    id: page
    objectName: "nuqPage"
    currentScreen: "Nuq"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("ScreenNuq.qml", ""))
    title: DisplayNames.heading(shownObjects[0]) + " FEEDBACK SUPPRESSION"

    ConfiguredObject {
        id: opened
        blockTypes: ["Nuq"]
    }

    ButtonImageResolver {
        id: resolver
    }

    Repeater {
        model: page.availableObjects
        Item {
            id: nuq
            readonly property string objectName_: modelData
            readonly property int filterCount: countFilters(objectName_)
            width: page.body.width
            height: page.body.height

            function countFilters(object) {
                var count = 0
                while (DeviceModelProvider.contains(object, "Band_" + (count + 1) + "_Frequency"))
                    ++count
                return count
            }
            function filterColor(index) {
                return Theme.bandColors[index % Theme.bandColors.length]
            }

            QX8NumericalSV {
                id: fixedFilters
                poName: nuq.objectName_
                svName: "MaxFixedFilters"
                Component.onCompleted: componentCompleted()
            }

            CustomHeading {
                id: heading
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                text: page.title

                OnOffButton {
                    id: onOff
                    objectName: "onOffButton"
                    processingObjectName: nuq.objectName_
                    stateVariableName: resolver.toggleSVName("Nuq")
                }
            }

            QX8GraphNuq {
                id: graph
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: heading.bottom
                anchors.bottom: filters.top
                anchors.topMargin: Theme.dpY(Theme.spacing)
                anchors.bottomMargin: Theme.dpY(Theme.spacing)
                opacity: onOff.switchedOff ? 0.4 : 1
                poName: nuq.objectName_
                bandCount: nuq.filterCount
                bandColors: Theme.bandColors
            }

            Grid {
                id: filters
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: cells.top
                anchors.bottomMargin: Theme.dpY(Theme.spacing)
                columns: 2
                flow: Grid.TopToBottom
                rows: Math.ceil(nuq.filterCount / 2)
                columnSpacing: Theme.dpX(Theme.margin * 2)
                rowSpacing: Theme.dpY(2)

                Repeater {
                    model: nuq.filterCount
                    CustomNuqFilterInfo {
                        objectName: "nuqFilterInfo"
                        processingObjectName: nuq.objectName_
                        bandName: "Band_" + (index + 1)
                        filterName: index + 1
                        filterNameColor: nuq.filterColor(index)
                        fixedFilter: fixedFilters.hasDeviceValue
                                     && NuqFilters.isFixed(index + 1, nuq.filterCount,
                                                           fixedFilters.value)
                    }
                }
            }

            Row {
                id: cells
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                spacing: Theme.dpX(Theme.spacing)
                readonly property real cellWidth: (width - 4 * spacing) / 5

                Repeater {
                    model: [{ "label": "Lift time", "variable": "LiftTime" },
                            { "label": "Fixed filters", "variable": "MaxFixedFilters" },
                            { "label": "Sensitivity", "variable": "Sensitivity" },
                            { "label": "High-pass", "variable": "HighPass" },
                            { "label": "Content", "variable": "ContentMode" }]
                    CustomLabelValuePair {
                        width: cells.cellWidth
                        label: modelData.label
                        processingObjectName: nuq.objectName_
                        stateVariableName: modelData.variable
                    }
                }
            }
        }
    }
}
