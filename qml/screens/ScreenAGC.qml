import QtQuick 2.15
import DeviceModelProvider 1.0

// The automatic gain control: its transfer curve, the level it works on and its settings, the
// levelling ones first, then its limiter's.
ScreenPage {
    id: page
    objectName: "agcPage"
    currentScreen: "AGC"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("ScreenAGC.qml", ""))

    ConfiguredObject {
        id: opened
        blockTypes: ["AGC"]
    }

    Repeater {
        model: page.availableObjects
        DynamicsProcessor {
            width: page.body.width
            height: page.body.height
            processingObjectName: modelData
            blockType: "AGC"
            meterVariable: "Level"
            meterLabel: "LEVEL"
            meterShowsReduction: false
            parameters: [{ "label": "Target", "variable": "Target" },
                         { "label": "Window", "variable": "Window" },
                         { "label": "Max gain", "variable": "Max Gain" },
                         { "label": "Low threshold", "variable": "Low Threshold" },
                         { "label": "Attack", "variable": "Attack" },
                         { "label": "Release", "variable": "Release" },
                         { "label": "Limiter threshold", "variable": "LimThreshold" },
                         { "label": "Limiter attack", "variable": "LimAttack" },
                         { "label": "Limiter release", "variable": "LimRelease" }]

            QX8GraphAGC {
                anchors.fill: parent
                poName: modelData
            }
        }
    }
}
