import QtQuick 2.15
import QX8Settings 1.0
import DeviceModelProvider 1.0

// The output limiter of one band group (High, Mid or Low, as the home screen chose it), or the one
// a block of the configurable home screen opened: its transfer curve, gain reduction and
// settings. The selector switches group in place.
ScreenPage {
    id: page
    objectName: "limiterPage"
    currentScreen: "Limiter"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("QX8Limiter.qml", selector))

    readonly property string selectorKey: "Data/LimiterType"
    readonly property var selectors: ["High", "Mid", "Low"]
    property string selector: validSelector(settings.value(selectorKey, "High"))

    function validSelector(value) {
        return selectors.indexOf(String(value)) >= 0 ? String(value) : selectors[0]
    }

    QX8Settings {
        id: settings
    }
    ConfiguredObject {
        id: opened
        blockTypes: ["LMT"]
    }

    Repeater {
        model: page.availableObjects
        DynamicsProcessor {
            width: page.body.width
            height: page.body.height
            processingObjectName: modelData
            blockType: "LMT"
            meterVariable: "GainReduction"
            meterLabel: "GAIN REDUCTION"
            parameters: [{ "label": "Threshold", "variable": "Threshold" },
                         { "label": "OverEasy", "variable": "OverEasy" },
                         { "label": "Attack", "variable": "Attack" },
                         { "label": "Hold", "variable": "Hold" },
                         { "label": "Release", "variable": "Release" },
                         { "label": "Overshoot", "variable": "OvershootDb" }]
            selectorOptions: opened.name !== "" ? [] : page.selectors
            selector: page.selector
            onSelectorChosen: {
                settings.setValue(page.selectorKey, option)
                page.selector = option
            }

            QX8GraphLimiter {
                anchors.fill: parent
                poName: modelData
            }
        }
    }
}
