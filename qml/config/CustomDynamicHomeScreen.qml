import QtQuick 2.15
import ButtonImageResolver 1.0
import "ConfigGrid.js" as ConfigGrid

// The display grids of the device configuration, drawn from the home-screen model's cells: the
// input section with the analyser beside it, and below it the mid and output section. Each
// column has its caption; a cell spans the rows its object covers ("LINKED" rows below it). The
// grid is drawn again whenever the model's configuration changes: after an edit (`ready` turns
// true again) or when a configuration is adopted as it is. Outputs show the clip light of the
// limiter in `limiters` at their row (an empty name: none).
Item {
    id: root

    property var model: null
    property bool editing: false
    property var selection: null // {grid, column, row}
    property var limiters: []
    property var inputColumns: columnsOf("in")
    property var analyserColumns: columnsOf("rta")
    property var outputColumns: columnsOf("out")
    readonly property int inputRows: rowCount(inputColumns)
    readonly property int outputRows: rowCount(outputColumns)
    readonly property real captionHeight: Theme.dpY(Theme.fontSmall + Theme.spacing)
    readonly property real rowGap: Theme.dpY(Theme.spacingSmall)
    readonly property real rowPitch: Math.max(Theme.dpY(20), (height - 2 * captionHeight - Theme.dpY(Theme.margin))
                                     / Math.max(1, inputRows + outputRows))
    readonly property real columnPitch: width / Math.max(1, outputColumns.length)
    readonly property alias resolver: imageTables

    signal cellClicked(string grid, int column, int row, int span, var cell, Item item)
    signal cellHeld(var cell, Item item)

    function redraw() {
        inputColumns = columnsOf("in")
        analyserColumns = columnsOf("rta")
        outputColumns = columnsOf("out")
    }

    // The model's cells of a grid: per column the cells that start a row, each with its row and
    // the number of rows it covers. The model indexes a grid's columns by its "row" argument.
    function columnsOf(grid) {
        if (!model || !model.ready)
            return []
        var columns = []
        for (var column = 0; ; ++column) {
            var cells = []
            for (var row = 0; ; ++row) {
                var cell = model.cellInfo(grid, row, column)
                if (cell.name === undefined)
                    break
                if (cell.name === "LINKED" && cells.length > 0)
                    cells[cells.length - 1].span += 1
                else
                    cells.push({ "row": row, "span": 1, "cell": cell })
            }
            if (cells.length === 0)
                break
            columns.push(cells)
        }
        return columns
    }

    function rowCount(columns) {
        var rows = 0
        for (var i = 0; i < columns.length; ++i) {
            var last = columns[i][columns[i].length - 1]
            rows = Math.max(rows, last.row + last.span)
        }
        return rows
    }

    function limiterOf(grid, column, row) {
        return ConfigGrid.isOutputColumn(grid, column) && row < limiters.length ? limiters[row] : ""
    }

    function isSelected(grid, column, row) {
        return selection !== null && selection.grid === grid && selection.column === column
               && selection.row === row
    }

    Connections {
        target: root.model
        function onReadyChanged() {
            root.redraw()
        }
        function onConfigAdopted() {
            root.redraw()
        }
    }

    ButtonImageResolver {
        id: imageTables
    }

    ConfigGridSection {
        id: inputSection
        grid: "in"
        columns: root.inputColumns
        rows: root.inputRows
        layout: root
    }

    ConfigGridSection {
        anchors.right: parent.right
        grid: "rta"
        columns: root.analyserColumns
        rows: root.inputRows
        layout: root
    }

    ConfigGridSection {
        anchors.top: inputSection.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        grid: "out"
        columns: root.outputColumns
        rows: root.outputRows
        layout: root
    }
}
