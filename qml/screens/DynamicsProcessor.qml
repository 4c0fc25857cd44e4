import QtQuick 2.15
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// A dynamics processor (limiter, compressor, gate, AGC) as its page shows it: the header with the
// object's name, its selector and on/off; the transfer curve (the page's child) as a square on
// the left with the gain-reduction or level meter beside it; the parameter cells in two columns
// on the right.
Item {
    id: root

    property string processingObjectName
    // The home screen's word for the block, which names its on/off ("LMT", "CMP", "GAT", "AGC").
    property string blockType
    property string meterVariable
    property string meterLabel
    property bool meterShowsReduction: true
    // One cell per entry: { "label": ..., "variable": ... }
    property var parameters: []
    property var selectorOptions: []
    property string selector
    default property alias graph: graphArea.data

    signal selectorChosen(string option)

    ButtonImageResolver {
        id: resolver
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        text: DisplayNames.heading(root.processingObjectName)

        SelectorRow {
            visible: root.selectorOptions.length > 1
            options: root.selectorOptions
            labels: root.selectorOptions.map(function(option) { return option.toUpperCase() })
            current: root.selector
            onChosen: root.selectorChosen(option)
        }
        OnOffButton {
            objectName: "onOffButton"
            processingObjectName: root.processingObjectName
            stateVariableName: resolver.toggleSVName(root.blockType)
        }
    }

    Item {
        id: content
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)

        // The square takes what the meter and two columns of cells leave; a column is as wide
        // as its widest cell asks, so that every value shows whole.
        readonly property real side: Math.min(height, width - meterColumn.width
                                              - 2 * Theme.dpX(Theme.margin)
                                              - 2 * cells.columnWidth - cells.spacing)

        Item {
            id: graphArea
            objectName: "graphArea"
            width: content.side
            height: content.side
        }

        Column {
            id: meterColumn
            anchors.left: graphArea.right
            anchors.leftMargin: Theme.dpX(Theme.margin)
            height: content.side
            width: Theme.dpX(64)
            spacing: Theme.dpY(Theme.spacingSmall)
            visible: root.meterVariable !== ""

            Text {
                id: meterCaption
                width: parent.width
                text: root.meterLabel
                textFormat: Text.PlainText
                wrapMode: Text.WordWrap
                color: Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontSmall)
            }
            MeterAndMarkerArea {
                height: meterColumn.height - meterCaption.height - meterColumn.spacing
                meterWidth: Theme.dpX(22)
                reduction: root.meterShowsReduction
                processingObjectName: root.meterVariable !== "" ? root.processingObjectName : ""
                stateVariableName: root.meterVariable
            }
        }

        Grid {
            id: cells
            anchors.left: meterColumn.visible ? meterColumn.right : graphArea.right
            anchors.right: parent.right
            anchors.leftMargin: Theme.dpX(Theme.margin)
            columns: 2
            spacing: Theme.dpX(Theme.spacing)
            readonly property real cellWidth: (width - spacing) / 2
            readonly property real columnWidth: widestCell(Theme.dpX(176))

            function widestCell(least) {
                var widest = least
                for (var i = 0; i < cellRepeater.count; ++i) {
                    var cell = cellRepeater.itemAt(i)
                    if (cell)
                        widest = Math.max(widest, cell.implicitWidth)
                }
                return widest
            }

            Repeater {
                id: cellRepeater
                model: root.parameters
                CustomLabelValuePair {
                    width: cells.cellWidth
                    label: modelData.label
                    processingObjectName: root.processingObjectName
                    stateVariableName: modelData.variable
                }
            }
        }
    }
}
