.pragma library

// The name a screen shows for a processing object: its words apart ("HighPEQ" is "High PEQ",
// "SubharmonicSynth" is "Subharmonic Synth").
function of(objectName) {
    return String(objectName).replace(/([a-z])([A-Z])/g, "$1 $2")
}

// The same as a heading writes it: "HIGH PEQ".
function heading(objectName) {
    return of(objectName).toUpperCase()
}

// A caption as the pages write their labels: in capitals, but a unit keeps its own letters
// ("Synthesis level 36-56 Hz" is "SYNTHESIS LEVEL 36-56 Hz", "20Hz" stays "20Hz").
function caption(text) {
    return String(text).split(/(\s+)/).map(function(word) {
        var unit = word.match(/^(.*\d)?(k?Hz|dB\/oct|dB\/s|dB|ms)$/)
        return unit ? (unit[1] || "").toUpperCase() + unit[2] : word.toUpperCase()
    }).join("")
}
