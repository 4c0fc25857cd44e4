import QtQuick 2.15
import QX8Settings 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// A mixer: its type's picture, a strip per input (its name, level meter, fader and, on the fixed
// chain's mixers, its mute) and the mixer's own output. Which mixer: the one a block of the
// configurable home screen opened, whose inputs, meters and picture the configuration gives,
// or else the fixed chain's stereo or mono mixer that the home screen's button chose. Inputs fed
// by the input slots are named after the sources the configuration routes to them.
ScreenPage {
    id: page
    objectName: "mixerPage"
    currentScreen: "Mixers"
    shownObjects: layout.objects
    title: DisplayNames.heading(layout.mixer)

    readonly property string selectorKey: "Data/MixerType"
    readonly property string slotMeterObject: "InputMeters"
    readonly property var layout: opened.name !== "" ? configuredLayout() : fixedLayout()

    // The mixer of the setting; the first of the table when the setting names none.
    function fixedMixer() {
        var chosen = DeviceModelProvider.objects("ScreenMixer.qml",
                                                 String(settings.value(selectorKey, "")))
        var mixers = chosen.filter(function(object) { return object !== page.slotMeterObject })
        return mixers.length > 0 ? mixers[0] : DeviceModelProvider.objects("ScreenMixer.qml",
                                                                           "StereoMixer")[0]
    }
    // A strip: the gain and mute variables of the mixer, the meter object and variable.
    function strip(gain, mute, meterObject, channel) {
        var metered = meterObject !== ""
                      && DeviceModelProvider.contains(meterObject, "Channel_" + channel + "_Level")
        return { "gain": gain, "mute": mute, "meterObject": metered ? meterObject : "",
                 "meterVariable": metered ? "Channel_" + channel + "_Level" : "" }
    }
    // What the page shows of a mixer: the objects it binds, the mixer, its picture, its input
    // strips (with the meter object the inputs are metered by) and its output strip.
    function fixedLayout() {
        var mixer = fixedMixer()
        var inputs = []
        for (var input = 1; DeviceModelProvider.contains(mixer, "Input_" + input + "_Gain"); ++input)
            inputs.push(strip("Input_" + input + "_Gain", "Input_" + input + "_Mute",
                              slotMeterObject, input))
        return { "objects": [mixer], "mixer": mixer,
                 "image": opened.routerImage("In:In" + inputs.length),
                 "inputMeterObject": slotMeterObject, "inputs": inputs,
                 "output": strip("Gain", "", "", 0) }
    }
    // A configured mixer's inputs are its gain variables ("Output_1_Input_<n>_Gain"), metered by
    // the input-meter object of its type; its output has no gain of its own, only its channel of
    // the type's master-meter object. A router has no variables: only its output meter.
    function configuredLayout() {
        var meters = opened.meterPO(opened.value(".type")).split(":")
        var inputMeterObject = meters[0]
        var masterMeterObject = meters.length > 1 ? meters[1] : ""
        var inputs = opened.mixerSVList().map(function(gain) {
            return { "gain": gain, "number": Number(gain.replace(/^.*Input_(\d+)_Gain$/, "$1")) }
        }).filter(function(input) {
            return !isNaN(input.number)
        }).sort(function(a, b) {
            return a.number - b.number
        }).map(function(input) {
            return strip(input.gain, "", inputMeterObject, input.number)
        })
        var output = strip("", "", masterMeterObject, dataStore.channelIndex() + 1)
        var objects = inputs.length > 0 ? [opened.name] : []
        if (inputMeterObject !== "" && inputs.length > 0)
            objects.push(inputMeterObject)
        if (output.meterObject !== "")
            objects.push(output.meterObject)
        var route = opened.attributes().RouteMix
        var stage = dataStore.channelName().indexOf("Input") === 0 ? "In:" : "Mid:"
        return { "objects": objects, "mixer": opened.name,
                 "image": route !== undefined ? opened.routerImage(stage + route) : "",
                 "inputMeterObject": inputMeterObject, "inputs": inputs, "output": output }
    }
    function inputName(index) {
        var fallback = "Input " + (index + 1)
        return layout.inputMeterObject === slotMeterObject ? sourceNames.slotName(index + 1,
                                                                                  fallback)
                                                           : fallback
    }

    QX8Settings {
        id: settings
    }
    ConfiguredObject {
        id: opened
        blockTypes: ["MIX"]
        classNames: ["yoxlKalo480FixedRouter"]
    }
    InputSourceNames {
        id: sourceNames
    }

    CustomHeading {
        id: heading
        width: page.body.width
        text: page.title

        // The mixer type: an input mixer of this many inputs, or the configured route.
        Text {
            anchors.verticalCenter: parent.verticalCenter
            visible: typeImage.source != ""
            text: "MIXER TYPE"
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontSmall)
        }
        Image {
            id: typeImage
            objectName: "mixerTypeImage"
            height: Theme.dpY(Theme.headingHeight - 4)
            width: height * 5 / 3
            source: page.layout.image
            fillMode: Image.PreserveAspectFit
        }
    }

    // Made once the device has listed the mixer in its preset.
    Loader {
        anchors.top: heading.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        width: page.body.width
        height: page.body.height - y
        active: page.availableObjects.length > 0
        sourceComponent: Item {
            id: mixer
            readonly property real stripWidth: width / (page.layout.inputs.length + 1)

            Rectangle {
                id: strips
                anchors.fill: parent
                color: Theme.panel
                radius: Theme.radius

                Row {
                    anchors.fill: parent
                    anchors.topMargin: Theme.dpY(Theme.spacing)

                    Repeater {
                        model: page.layout.inputs
                        CustomOutputFader {
                            objectName: "inputStrip_" + (index + 1)
                            width: mixer.stripWidth
                            faderHeight: strips.height - Theme.dpY(124)
                            outputName: page.inputName(index)
                            processingObjectName: page.layout.mixer
                            gainVariableName: modelData.gain
                            muteVariableName: modelData.mute
                            meterObjectName: modelData.meterObject
                            meterVariableName: modelData.meterVariable
                        }
                    }
                    // The mixer's output, set apart from the inputs.
                    Rectangle {
                        width: 1
                        height: parent.height - Theme.dpY(Theme.spacing)
                        color: Theme.border
                    }
                    CustomOutputFader {
                        objectName: "outputStrip"
                        visible: page.layout.output.gain !== ""
                        width: mixer.stripWidth - 1
                        faderHeight: strips.height - Theme.dpY(124)
                        outputName: "MIX"
                        processingObjectName: visible ? page.layout.mixer : ""
                        gainVariableName: page.layout.output.gain
                    }
                    Column {
                        objectName: "outputMeter"
                        visible: page.layout.output.meterObject !== ""
                        width: mixer.stripWidth - 1
                        spacing: Theme.dpY(Theme.spacingSmall)
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: "MIX"
                            color: Theme.text
                            font.pixelSize: Theme.dpY(Theme.fontLabel)
                        }
                        MeterAndMarkerArea {
                            anchors.horizontalCenter: parent.horizontalCenter
                            height: strips.height - Theme.dpY(124)
                            processingObjectName: page.layout.output.meterObject
                            stateVariableName: page.layout.output.meterVariable
                        }
                    }
                }
            }
        }
    }
}
