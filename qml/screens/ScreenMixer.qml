import QtQuick 2.15
import QX8Settings 1.0
import ConfigDataProvider 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// The input mixer: its type's picture, a strip per input (its name, level meter, fader and mute)
// and the mixer's own output level. Which mixer (stereo or mono) the home screen's button chose.
ScreenPage {
    id: page
    objectName: "mixerPage"
    currentScreen: "Mixers"
    shownObjects: mixerObjects()

    readonly property string selectorKey: "Data/MixerType"
    readonly property string meterObject: "InputMeters"

    // The mixer of the setting; the first of the table when the setting names none.
    function mixerObjects() {
        var chosen = DeviceModelProvider.objects("ScreenMixer.qml",
                                                 String(settings.value(selectorKey, "")))
        var mixers = chosen.filter(function(object) { return object !== page.meterObject })
        return mixers.length > 0 ? mixers : [DeviceModelProvider.objects("ScreenMixer.qml",
                                                                         "StereoMixer")[0]]
    }
    function inputCount(object) {
        var count = 0
        while (DeviceModelProvider.contains(object, "Input_" + (count + 1) + "_Gain"))
            ++count
        return count
    }

    QX8Settings {
        id: settings
    }
    ConfigDataProvider {
        id: configData
    }

    Repeater {
        model: page.availableObjects
        Item {
            id: mixer
            readonly property string objectName_: modelData
            readonly property int inputs: page.inputCount(objectName_)
            readonly property real stripWidth: width / (inputs + 1)
            width: page.body.width
            height: page.body.height

            CustomHeading {
                id: heading
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                text: DisplayNames.heading(mixer.objectName_)

                // The mixer type: an input mixer of this many inputs.
                Image {
                    objectName: "mixerTypeImage"
                    height: Theme.dpY(Theme.headingHeight - 4)
                    width: height * 5 / 3
                    source: configData.routerImage("In:In" + mixer.inputs)
                    fillMode: Image.PreserveAspectFit
                }
            }

            Rectangle {
                id: strips
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: heading.bottom
                anchors.bottom: parent.bottom
                anchors.topMargin: Theme.dpY(Theme.margin)
                color: Theme.panel
                radius: Theme.radius

                Row {
                    anchors.fill: parent
                    anchors.topMargin: Theme.dpY(Theme.spacing)

                    Repeater {
                        model: mixer.inputs
                        CustomOutputFader {
                            width: mixer.stripWidth
                            faderHeight: strips.height - Theme.dpY(124)
                            outputName: typeof dataStore !== "undefined"
                                        ? dataStore.inputNameFromIdx("In" + (index + 1)) : ""
                            processingObjectName: mixer.objectName_
                            gainVariableName: "Input_" + (index + 1) + "_Gain"
                            muteVariableName: "Input_" + (index + 1) + "_Mute"
                            meterObjectName: page.meterObject
                            meterVariableName: "Channel_" + (index + 1) + "_Level"
                        }
                    }
                    // The mixer's output, set apart from the inputs.
                    Rectangle {
                        width: 1
                        height: parent.height - Theme.dpY(Theme.spacing)
                        color: Theme.border
                    }
                    CustomOutputFader {
                        width: mixer.stripWidth - 1
                        faderHeight: strips.height - Theme.dpY(124)
                        outputName: "MIX"
                        processingObjectName: mixer.objectName_
                        gainVariableName: "Gain"
                    }
                }
            }
        }
    }
}
