import QtQuick 2.15
import ButtonImageResolver 1.0
import "ConfigGrid.js" as ConfigGrid

// The outputs of the configuration with their names, the selected one highlighted; a click on a
// name edits it. `nameTyped` holds while a name is open with other text than the output's.
Column {
    id: root

    property var configModel
    property int row: 0
    readonly property string refusal: {
        var output = firstOutput(function (item) { return item.refusal !== "" })
        return output ? output.refusal : ""
    }
    readonly property bool nameTyped: firstOutput(function (item) { return item.modified }) !== null

    spacing: Theme.dpY(2)

    function firstOutput(matches) {
        for (var i = 0; i < outputs.count; ++i) {
            var item = outputs.itemAt(i)
            if (item && matches(item))
                return item
        }
        return null
    }

    // The rows of the output column.
    function outputCount() {
        var count = 0
        while (configModel && configModel.cellInfo("out", count, ConfigGrid.outputColumn).name !== undefined)
            ++count
        return count
    }

    ButtonImageResolver {
        id: names
    }

    Repeater {
        id: outputs
        model: root.outputCount()
        OutNameConfigMode {
            width: root.width
            configModel: root.configModel
            row: index
            selected: index === root.row
            name: root.configModel ? ConfigGrid.outputName(root.configModel, names, index) : ""
        }
    }
}
