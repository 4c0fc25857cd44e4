import QtQuick 2.15
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// The sub-harmonic synthesiser: how much synthesised low end it adds, and its level in each of
// the two octaves it fills; the object's on/off.
ScreenPage {
    id: page
    objectName: "subHarmonicPage"
    currentScreen: "SubHarmonic"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("QX8SubHarmonic.qml", ""))

    ConfiguredObject {
        id: opened
        blockTypes: ["SUB"]
    }

    ButtonImageResolver {
        id: resolver
    }

    Repeater {
        model: page.availableObjects
        Item {
            id: synth
            readonly property string objectName_: modelData
            width: page.body.width
            height: page.body.height

            CustomHeading {
                id: heading
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                text: DisplayNames.heading(synth.objectName_)

                OnOffButton {
                    objectName: "onOffButton"
                    processingObjectName: synth.objectName_
                    stateVariableName: resolver.toggleSVName("SUB")
                }
            }

            Column {
                anchors.top: heading.bottom
                anchors.topMargin: Theme.dpY(Theme.margin * 2)
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: Theme.dpY(Theme.margin)

                Repeater {
                    model: [{ "title": "Subharmonics", "variable": "Subharmonics" },
                            { "title": "Synthesis level 36-56 Hz",
                              "variable": "Synthesis Level 36-56Hz" },
                            { "title": "Synthesis level 24-36 Hz",
                              "variable": "Synthesis Level 24-36Hz" }]
                    QX8SuperSlider {
                        title: modelData.title
                        processingObjectName: synth.objectName_
                        stateVariableName: modelData.variable
                        superSlider.slider.width: Theme.dpX(480)
                    }
                }
            }
        }
    }
}
