import QtQuick 2.15
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0
import "ConfigGrid.js" as ConfigGrid

// Every output at once: its clip light over its level meter and gain fader, which share one dB
// scale, its mute and its name at the foot (the name the device configuration gives it); one
// button mutes them all, or unmutes them all once all are muted.
ScreenPage {
    id: page
    objectName: "outputMetersPage"
    currentScreen: "ScreenOutputMeters"
    shownObjects: DeviceModelProvider.objects("ScreenOutputMeters.qml", "")
    title: "OUTPUTS"

    readonly property string meterObject: "OutputMeters"
    readonly property string gainObject: "OutputGains"
    readonly property int outputs: channelCount(meterObject)
    // From the configuration's output column, one row per output; read again when the
    // configuration the device holds is learnt anew.
    property var configuredNames: configuredOutputNames()

    function channelCount(object) {
        var count = 0
        while (DeviceModelProvider.contains(object, "Channel_" + (count + 1) + "_Level"))
            ++count
        return count
    }
    function muteVariables() {
        var names = []
        for (var channel = 1; channel <= outputs; ++channel)
            names.push("Channel_" + channel + "_Mute")
        return names
    }
    function configuredOutputNames() {
        var names = []
        for (var row = 0; row < outputs; ++row)
            names.push(ConfigGrid.outputName(hsModel, resolver, row))
        return names
    }
    // The name the configuration gives the output, else "Output n".
    function outputName(channel) {
        var given = configuredNames[channel - 1] || ""
        return given !== "" ? given : resolver.buttonText("out:" + channel)
    }

    ButtonImageResolver {
        id: resolver
    }

    Connections {
        target: hsModel
        function onConfigAdopted() {
            page.configuredNames = page.configuredOutputNames()
        }
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        text: page.title
        visible: page.availableObjects.length > 0

        OutputMuteAll {
            objectName: "muteAllButton"
            accent: Theme.stateAlert
            processingObjectName: page.gainObject
            // Asked for with the strips' mutes, so that one answer tells both.
            muteVariables: page.availableObjects.length > 0 ? page.muteVariables() : []
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
        visible: page.availableObjects.length > 0

        Row {
            anchors.fill: parent
            anchors.margins: Theme.dpX(Theme.spacing)

            Repeater {
                model: page.availableObjects.length > 0 ? page.outputs : 0
                Item {
                    id: strip
                    readonly property int channel: index + 1
                    readonly property real meterHeight: height - Theme.dpY(150)
                    width: strips.width / page.outputs - Theme.dpX(2)
                    height: parent.height

                    QX8CustomLED {
                        id: clip
                        objectName: "clip"
                        anchors.horizontalCenter: parent.horizontalCenter
                        width: Theme.dpX(16)
                        processingObjectName: page.meterObject
                        stateVariableName: "Channel_" + strip.channel + "_Clip"
                    }
                    Column {
                        anchors.top: clip.bottom
                        anchors.topMargin: Theme.dpY(Theme.spacing)
                        anchors.horizontalCenter: parent.horizontalCenter
                        spacing: Theme.dpY(Theme.spacing)

                        CustomFader {
                            anchors.horizontalCenter: parent.horizontalCenter
                            faderHeight: strip.meterHeight
                            meterWidth: Theme.dpX(22)
                            processingObjectName: page.gainObject
                            stateVariableName: "Channel_" + strip.channel + "_Gain"
                            meterObjectName: page.meterObject
                            meterVariableName: "Channel_" + strip.channel + "_Level"
                            accessibleName: page.outputName(strip.channel)
                        }
                        MuteButton {
                            anchors.horizontalCenter: parent.horizontalCenter
                            processingObjectName: page.gainObject
                            stateVariableName: "Channel_" + strip.channel + "_Mute"
                            channelName: page.outputName(strip.channel)
                        }
                        Text {
                            objectName: "outputName"
                            anchors.horizontalCenter: parent.horizontalCenter
                            width: Math.min(implicitWidth, strip.width)
                            text: page.outputName(strip.channel)
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            color: Theme.text
                            font.pixelSize: Theme.dpY(Theme.fontBody)
                            font.bold: true
                        }
                    }
                }
            }
        }
    }
}
