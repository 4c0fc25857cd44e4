import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8Button 1.0
import "qrc:/qml/"

// Every wrapper of the bound controls on one page, bound to VirtualQX8's variables.
Rectangle {
    width: 1900
    height: 1000
    color: Theme.background

    Grid {
        x: 10
        y: 10
        columns: 4
        spacing: Theme.margin

        QX8CustomSlider {
            objectName: "slider"
            width: 300
            processingObjectName: "Crossover"
            stateVariableName: "Band_1_Gain"
        }
        QX8Fader {
            objectName: "fader"
            height: 200
            processingObjectName: "Crossover"
            stateVariableName: "Band_2_Gain"
            rangeBoundaryValues: [-60, -20, 0, 20]
            rangeLengthsInPercentage: [25, 50, 25]
        }
        QX8CustomMeter {
            objectName: "meter"
            width: 12
            height: 150
            processingObjectName: "OutputMeters"
            stateVariableName: "Channel_5_Level"
        }
        MeterAndMarkerArea {
            objectName: "meterAndMarkers"
            height: 150
            processingObjectName: "OutputMeters"
            stateVariableName: "Channel_6_Level"
        }
        QX8CustomLED {
            objectName: "led"
            processingObjectName: "OutputMeters"
            stateVariableName: "Channel_5_Clip"
        }
        QX8CustomButton {
            objectName: "svButton"
            buttonType: QX8Button.SV
            checkedText: "ON"
            uncheckedText: "OFF"
            processingObjectName: "OutputGains"
            stateVariableName: "Channel_1_Mute"
        }
        OutputMute {
            objectName: "outputMute"
            outputName: "Output 2"
            processingObjectName: "OutputGains"
            stateVariableName: "Channel_2_Mute"
        }
        OutputMuteAll {
            objectName: "muteAll"
            processingObjectName: "OutputGains"
            muteVariables: ["Channel_1_Mute", "Channel_2_Mute", "Channel_3_Mute", "Channel_4_Mute"]
        }
        QX8CustomLabel {
            objectName: "label"
            processingObjectName: "Gate"
            stateVariableName: "Ratio"
        }
        QX8CustomTextField {
            objectName: "textField"
            width: 120
            processingObjectName: "HighDelay"
            stateVariableName: "Amount"
            unit: "ms"
            maximumLength: 10
        }
        Row {
            spacing: Theme.spacingSmall
            QX8CustomExclusiveGroup {
                id: typeGroup
                objectName: "group"
                processingObjectName: "RoomEQ"
                stateVariableName: "Band_3_Type"
                onSelectedButtonChanged: {
                    bell.checked = value === "Bell"
                    shelf.checked = value === "High Shelf"
                }
            }
            QX8CustomButton {
                id: bell
                objectName: "bellMember"
                buttonType: QX8Button.XGroupMember
                uncheckedText: "Bell"
                xGroup: typeGroup.xGroup
                onButtonClicked: typeGroup.select("Bell")
                Component.onCompleted: typeGroup.addButtonToList("Bell")
            }
            QX8CustomButton {
                id: shelf
                objectName: "shelfMember"
                buttonType: QX8Button.XGroupMember
                uncheckedText: "High Shelf"
                xGroup: typeGroup.xGroup
                onButtonClicked: typeGroup.select("High Shelf")
                Component.onCompleted: typeGroup.addButtonToList("High Shelf")
            }
        }
        QX8SuperSlider {
            objectName: "superSlider"
            title: "Frequency"
            processingObjectName: "RoomEQ"
            stateVariableName: "Band_9_Frequency"
            minLabel: "20Hz"
            maxLabel: "20kHz"
        }
        CustomOutputFader {
            objectName: "outputFader"
            processingObjectName: "OutputGains"
            gainVariableName: "Channel_3_Gain"
            muteVariableName: "Channel_3_Mute"
            outputName: "Output 3"
        }
        CustomDelayStrip {
            objectName: "delayStrip"
            delayName: "Delay 4"
            processingObjectName: "MidDelay"
            stateVariableName: "Amount"
        }
    }
}
