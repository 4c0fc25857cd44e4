import QtQuick 2.15
import DeviceModelProvider 1.0

// The compressor: its transfer curve, gain reduction and settings.
ScreenPage {
    id: page
    objectName: "compressorPage"
    currentScreen: "Compressor"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("QX8Compressor.qml", ""))

    ConfiguredObject {
        id: opened
        blockTypes: ["CMP"]
    }

    Repeater {
        model: page.availableObjects
        DynamicsProcessor {
            width: page.body.width
            height: page.body.height
            processingObjectName: modelData
            blockType: "CMP"
            meterVariable: "GainReduction"
            meterLabel: "GAIN REDUCTION"
            parameters: [{ "label": "Threshold", "variable": "Threshold" },
                         { "label": "Ratio", "variable": "Ratio" },
                         { "label": "Make-up gain", "variable": "Gain" },
                         { "label": "OverEasy", "variable": "OverEasy" },
                         { "label": "Attack", "variable": "Attack" },
                         { "label": "Hold", "variable": "Hold" },
                         { "label": "Release", "variable": "Release" }]

            QX8GraphCompressor {
                anchors.fill: parent
                poName: modelData
            }
        }
    }
}
