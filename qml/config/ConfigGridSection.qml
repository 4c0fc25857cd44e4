import QtQuick 2.15
import "ConfigGrid.js" as ConfigGrid

// One display grid of the configurable home screen: its columns side by side, each under its
// caption, each cell placed at its row and as tall as the rows it covers. `layout` is the
// CustomDynamicHomeScreen that sizes, selects and hears the cells.
Item {
    id: section

    property string grid
    property var columns: []
    property int rows: 0
    property var layout

    width: columns.length * layout.columnPitch
    height: layout.captionHeight + rows * layout.rowPitch

    Repeater {
        model: section.columns
        Item {
            id: columnItem
            readonly property int column: index
            x: column * section.layout.columnPitch
            width: section.layout.columnPitch - Theme.dpX(Theme.spacingSmall)
            height: section.height

            // Centred over its column and the gaps on both sides, in the regular weight: a long
            // caption ("CROSSOVER") needs all of that at the smallest size.
            Text {
                objectName: "columnCaption"
                x: (parent.width - width) / 2
                width: section.layout.columnPitch + Theme.dpX(Theme.spacing)
                height: section.layout.captionHeight
                text: ConfigGrid.caption(section.grid, columnItem.column)
                textFormat: Text.PlainText
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
                color: Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontSmall)
            }

            Repeater {
                model: modelData
                CustomHomeScreenButtonPlaceHolder {
                    id: placeHolder
                    objectName: "cell_" + section.grid + "_" + columnItem.column + "_"
                                + modelData.row
                    y: section.layout.captionHeight + modelData.row * section.layout.rowPitch
                    width: columnItem.width
                    height: modelData.span * section.layout.rowPitch - section.layout.rowGap
                    cell: modelData.cell
                    place: ConfigGrid.caption(section.grid, columnItem.column) + " row "
                           + (modelData.row + 1)
                    stage: ConfigGrid.stage(section.grid, columnItem.column)
                    resolver: section.layout.resolver
                    editing: section.layout.editing
                    limiterName: section.layout.limiterOf(section.grid, columnItem.column,
                                                          modelData.row)
                    selected: section.layout.editing
                              && section.layout.isSelected(section.grid, columnItem.column,
                                                           modelData.row)
                    onClicked: section.layout.cellClicked(section.grid, columnItem.column,
                                                          modelData.row, modelData.span,
                                                          modelData.cell, placeHolder)
                    onPressAndHold: section.layout.cellHeld(modelData.cell, placeHolder)
                }
            }
        }
    }
}
