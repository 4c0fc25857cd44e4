.pragma library

// The display grids of the device configuration as the configurable home screen shows them: the
// input section ("in"), the analyser ("rta") and the mid and output section ("out"). Each column
// of a grid is one column of the builder configuration; the screens count rows from 0.

var grids = ["in", "rta", "out"]

// Builder column of each grid column (-1: none to configure).
var builderColumns = {
    "in": [0, 1, 2, 3, 4],
    "rta": [-1],
    "out": [5, 6, 7, 8, 9, 12, 13, 14]
}

var captions = {
    "in": ["INPUTS", "MIXER", "NUQ", "INSERT", "INSERT"],
    "rta": ["ANALYSER"],
    "out": ["MIXER", "AUTO EQ", "INSERT", "CROSSOVER", "PEQ", "LIMITER", "DELAY", "OUTPUT"]
}

// What the overlay offers for a cell, by builder column.
var InputRouter = "router"
var Mixer = "mixer"
var Crossover = "crossover"
var Output = "output"
var Insert = "insert"

function builderColumn(grid, column) {
    var columns = builderColumns[grid]
    return columns && column >= 0 && column < columns.length ? columns[column] : -1
}

function editorKind(grid, column) {
    switch (builderColumn(grid, column)) {
    case -1:
        return ""
    case 0:
        return InputRouter
    case 1:
    case 5:
        return Mixer
    case 8:
        return Crossover
    case 14:
        return Output
    default:
        return Insert
    }
}

// The dispatcher's word for the page of a block, by the block's type word (its ".info"): the
// same, but for the input router.
function pageWord(info) {
    return info === "INR" ? "InputRouter" : info
}

function isOutputColumn(grid, column) {
    return builderColumn(grid, column) === 14
}

// The "out" grid's column of the outputs and their names.
var outputColumn = builderColumns["out"].indexOf(14)

// The name the configuration of `model` gives output `row` (from 0), read by `names` (a
// ButtonImageResolver); empty where it gives none.
function outputName(model, names, row) {
    return names.outputName(model.cellInfo("out", row, outputColumn).data || "")
}

// The stage word of the button texts: "in", "mid" (mixer, auto EQ and insert of the mid
// section), "out" or "rta".
function stage(grid, column) {
    if (grid === "out")
        return column < 3 ? "mid" : "out"
    return grid
}

function caption(grid, column) {
    var list = captions[grid]
    return list && column >= 0 && column < list.length ? list[column] : ""
}

// A selection as the settings keep it, "out:3:0", and back ({grid, column, row} or null).
function selectionText(grid, column, row) {
    return grid + ":" + column + ":" + row
}

function parseSelection(text) {
    var parts = String(text).split(":")
    if (parts.length !== 3 || grids.indexOf(parts[0]) < 0)
        return null
    var column = parseInt(parts[1], 10)
    var row = parseInt(parts[2], 10)
    if (isNaN(column) || isNaN(row))
        return null
    return { "grid": parts[0], "column": column, "row": row }
}

// The mixer-type picture key of a mixer choice by its display name: "Input Route 3" in the
// input section is "In:In3", "Route A+B" in the mid section "Mid:A+B"; mixers have none.
function mixerImageKey(builderColumn, displayName) {
    var prefix = builderColumn === 1 ? "In:" : "Mid:"
    var name = String(displayName)
    if (name.indexOf("Input Route ") === 0)
        return prefix + "In" + name.substring("Input Route ".length)
    if (name.indexOf("Route ") === 0)
        return prefix + name.substring("Route ".length)
    return ""
}

// The digits of a crossover code M N W F S: main format (1 mono, 2 stereo, 3 LCR), main
// channels, ways, sub format (0 none, 1 mono, 2 stereo, 3 LCR, 4 aux fed), sub channels.
function crossoverLayout(code) {
    var digits = String(code)
    if (!/^[1-3][1-3][1-6][0-4][0-3]$/.test(digits))
        return null
    return {
        "format": Number(digits[0]), "mains": Number(digits[1]), "ways": Number(digits[2]),
        "subFormat": Number(digits[3]), "subs": Number(digits[4])
    }
}

// The label under each main stack: "L", "C", "R"; "M" for one mono main, "M1" ... for several.
function mainLabels(layout) {
    if (layout.format === 2)
        return ["L", "R"]
    if (layout.format === 3)
        return ["L", "C", "R"]
    if (layout.mains === 1)
        return ["M"]
    var labels = []
    for (var i = 1; i <= layout.mains; ++i)
        labels.push("M" + i)
    return labels
}

function subLabels(layout) {
    var word = layout.subFormat === 4 ? "AUX" : layout.subFormat === 2 ? ["L", "R"]
             : layout.subFormat === 3 ? ["L", "C", "R"] : "SUB"
    var labels = []
    for (var i = 0; i < layout.subs; ++i)
        labels.push(Array.isArray(word) ? word[i] + " SUB" : layout.subs > 1 ? word + " " + (i + 1)
                                                                              : word)
    return labels
}
