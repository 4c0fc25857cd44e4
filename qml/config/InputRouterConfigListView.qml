import QtQuick 2.15

// The input router's seven slots, each with the source it takes, and for the chosen slot the
// sources it may take instead (its own input and the option card's inputs no other slot uses).
// A pick routes that source to the slot.
Column {
    id: root

    property var configModel
    property int slot: 1
    // Bumped when the model's source names change: the router edits reload no page.
    property int revision: 0
    readonly property int slotCount: 7

    spacing: Theme.dpY(2)

    function sourceName(slotNumber) {
        return revision >= 0 && configModel ? configModel.getInputRouterSourceName(slotNumber) : ""
    }

    // The source numbers as a JavaScript array: a Repeater takes no list of numbers from C++.
    function swapOptions(slotNumber) {
        var options = configModel ? configModel.inputRouterSwapOptionsForSlotNum(slotNumber) : []
        var sources = []
        for (var i = 0; i < options.length; ++i)
            sources.push(options[i])
        return sources
    }

    Connections {
        target: root.configModel
        function onInputSourceNamesChanged() {
            ++root.revision
        }
    }

    Repeater {
        model: root.slotCount
        ConfigChoice {
            readonly property int slotNumber: index + 1
            objectName: "routerSlot_" + slotNumber
            width: root.width
            implicitHeight: Theme.dpY(Theme.controlHeight)
            text: "Slot " + slotNumber + ": " + root.sourceName(slotNumber)
            checked: slotNumber === root.slot
            onClicked: root.slot = slotNumber
        }
    }

    Text {
        width: root.width
        topPadding: Theme.dpY(Theme.spacing)
        text: "SOURCES FOR SLOT " + root.slot
        textFormat: Text.PlainText
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
        font.bold: true
    }

    Repeater {
        model: root.revision >= 0 ? root.swapOptions(root.slot) : []
        ConfigChoice {
            readonly property string name: root.configModel.inputRouterGetSourceNameForSourceID(modelData)
            objectName: "routerSource_" + modelData
            width: root.width
            implicitHeight: Theme.dpY(Theme.controlHeight)
            text: name
            checked: name === root.sourceName(root.slot)
            onClicked: if (!checked) root.configModel.inputRouterSetSource(root.slot, modelData)
        }
    }
}
