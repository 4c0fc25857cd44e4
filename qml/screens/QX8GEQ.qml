import QtQuick 2.15
import QX8Settings 1.0
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// The graphic EQ (stereo, or left and right): 31 bars with a handle each, a draw mode in which a
// finger sweep sets the bands it passes, the selected band's gain, and the object's on/off. The
// selector offers the graphic EQs the preset holds; a graphic EQ that a block of the configurable
// home screen opened is shown alone.
ScreenPage {
    id: page
    objectName: "geqPage"
    currentScreen: "GEQ"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("QX8GEQ.qml", selector))

    readonly property string selectorKey: "Data/GEQType"
    readonly property var selectors: ["StereoGEQ", "LeftGEQ", "RightGEQ"]
    property string selector: validSelector(settings.value(selectorKey, "StereoGEQ"))

    function validSelector(value) {
        return selectors.indexOf(String(value)) >= 0 ? String(value) : selectors[0]
    }
    // The graphic EQs of the preset, once the device has listed them.
    function choices(listed) {
        if (opened.name !== "")
            return []
        return selectors.filter(function(object) {
            return listed.indexOf(object) >= 0 || object === page.selector
        })
    }

    QX8Settings {
        id: settings
    }
    ConfiguredObject {
        id: opened
        blockTypes: ["GEQ"]
    }
    ButtonImageResolver {
        id: resolver
    }

    Repeater {
        model: page.availableObjects
        Item {
            id: eq
            readonly property string objectName_: modelData
            width: page.body.width
            height: page.body.height

            CustomHeading {
                id: heading
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                text: DisplayNames.heading(eq.objectName_)

                CustomButton {
                    id: drawButton
                    objectName: "drawButton"
                    text: "DRAW"
                    checkable: true
                    toolTipText: "Sweep a finger across the bars to set every band it passes"
                }
                SelectorRow {
                    readonly property var offered: page.choices(page.presetObjectNames)
                    visible: offered.length > 1
                    options: offered
                    labels: offered.map(function(object) {
                        return DisplayNames.heading(object).replace(" GEQ", "")
                    })
                    current: page.selector
                    onChosen: {
                        settings.setValue(page.selectorKey, option)
                        page.selector = option
                    }
                }
                OnOffButton {
                    id: onOff
                    objectName: "onOffButton"
                    processingObjectName: eq.objectName_
                    stateVariableName: resolver.toggleSVName("GEQ")
                }
            }

            QX8GraphGEQ {
                id: graph
                objectName: "geqPanel"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: heading.bottom
                anchors.bottom: readout.top
                anchors.topMargin: Theme.dpY(Theme.spacing)
                anchors.bottomMargin: Theme.dpY(Theme.spacing)
                opacity: onOff.switchedOff ? 0.4 : 1
                poName: eq.objectName_
                drawMode: drawButton.checked
            }

            // The selected band's gain, bound anew for each band.
            Item {
                id: readout
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: Theme.dpY(76)

                Repeater {
                    model: [graph.currentBandIndex]
                    CustomLabelValuePair {
                        width: Theme.dpX(220)
                        height: readout.height
                        label: graph.bandLabels[modelData]
                        uppercaseLabel: false
                        processingObjectName: eq.objectName_
                        stateVariableName: graph.bandLabels[modelData]
                    }
                }
                Text {
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width - Theme.dpX(240)
                    horizontalAlignment: Text.AlignRight
                    text: drawButton.checked ? "Draw mode: sweep across the bars to set them"
                                             : "Drag a handle, or pick a band to read its gain"
                    elide: Text.ElideRight
                    color: Theme.textDim
                    font.pixelSize: Theme.dpY(Theme.fontSmall)
                }
            }
        }
    }
}
