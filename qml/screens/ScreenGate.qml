import QtQuick 2.15
import DeviceModelProvider 1.0

// The noise gate: its transfer curve, gain reduction and settings.
ScreenPage {
    id: page
    objectName: "gatePage"
    currentScreen: "Gate"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("ScreenGate.qml", ""))

    ConfiguredObject {
        id: opened
        blockTypes: ["GAT"]
    }

    Repeater {
        model: page.availableObjects
        DynamicsProcessor {
            width: page.body.width
            height: page.body.height
            processingObjectName: modelData
            blockType: "GAT"
            meterVariable: "GainReduction"
            meterLabel: "GAIN REDUCTION"
            parameters: [{ "label": "Threshold", "variable": "Threshold" },
                         { "label": "Ratio", "variable": "Ratio" },
                         { "label": "Max attenuation", "variable": "MaxAttenuation" },
                         { "label": "Attack", "variable": "Attack" },
                         { "label": "Hold", "variable": "Hold" },
                         { "label": "Release", "variable": "Release" }]

            QX8GraphGate {
                anchors.fill: parent
                poName: modelData
            }
        }
    }
}
