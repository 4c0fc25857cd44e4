import QtQuick 2.15
import QX8Settings 1.0
import DeviceModelProvider 1.0

// The parametric EQ of one band group (High, Mid or Low, as the home screen chose it), or the one a
// block of the configurable home screen opened: its curve graph, band handles and the selected
// band's parameters. The selector switches group in place.
ScreenPage {
    id: page
    objectName: "peqPage"
    currentScreen: "PEQ"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("QX8PEQ.qml", selector))

    readonly property string selectorKey: "Data/PEQType"
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
        blockTypes: ["PEQ"]
    }

    Repeater {
        model: page.availableObjects
        QX8CommonEQ {
            width: page.body.width
            height: page.body.height
            processingObjectName: modelData
            blockType: "PEQ"
            selectorOptions: opened.name !== "" ? [] : page.selectors
            selector: page.selector
            onSelectorChosen: {
                settings.setValue(page.selectorKey, option)
                page.selector = option
            }
        }
    }
}
