import QtQuick 2.15
import QtQml 2.15
import QX8TextSV 1.0

// The names of the sources the configuration routes to input slots 1 to 7, with the names the
// option card gives its inputs. Made with a page, it asks the device for the option card's names
// at once and again whenever the device reports a new name for one of the card's inputs.
Item {
    id: root

    readonly property int slotCount: 7
    readonly property int cardInputCount: 8
    property var slotNames: currentSlotNames()

    function currentSlotNames() {
        var names = []
        for (var slot = 1; slot <= slotCount; ++slot)
            names.push(hsModel.getInputRouterSourceName(slot))
        return names
    }
    // The name of slot `slot` (from 1), or `fallback` while the configuration names none.
    function slotName(slot, fallback) {
        var name = slot >= 1 && slot <= slotNames.length ? slotNames[slot - 1] : ""
        return name !== "" ? name : fallback
    }

    Component.onCompleted: hsModel.requestOptionCardSourceNames()

    Connections {
        target: hsModel
        function onInputSourceNamesChanged() {
            root.slotNames = root.currentSlotNames()
        }
    }

    // The first value of each is the one the request above already covers.
    Instantiator {
        model: root.cardInputCount
        QX8TextSV {
            poName: "NPO"
            svName: "Node\\SetupWizardCurrentChoices\\SV\\Channel_" + (index + 1)
                    + "_OrvellinkInputName"
            onValueChanged: {
                if (hasDeviceValue)
                    hsModel.requestOptionCardSourceNames()
            }
            Component.onCompleted: componentCompleted()
        }
    }
}
