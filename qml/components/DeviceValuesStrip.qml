import QtQuick 2.15

// A Utilities strip of read-only device values: one row per variable of the node, each showing the
// device's text for it.
UtilityStrip {
    id: strip

    // Below "Node\": the folder of the variables, e.g. "Dante\SV\".
    property string folder: ""
    // [label, variable name] per row.
    property var rowsOfValues: []

    Repeater {
        model: strip.rowsOfValues

        StripRow {
            label: modelData[0]

            QX8CustomLabel {
                objectName: modelData[1]
                width: rootQML.dpX(200)
                processingObjectName: "NPO"
                stateVariableName: "Node\\" + strip.folder + modelData[1]
            }
        }
    }
}
