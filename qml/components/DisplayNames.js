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

// What a screen reader says of a control: the texts shown with it in reading order ("MUTE",
// "Output 3"), leaving out those not known yet (empty, or the dash of a value still to come).
function spoken() {
    return Array.prototype.filter.call(arguments, function(part) {
        return part !== undefined && String(part).trim() !== "" && String(part) !== "\u2013"
    }).map(function(part) {
        return String(part).replace(/\s+/g, " ").trim()
    }).join(" ")
}

// The same for a value control: its label, then the value as shown ("Release, 52 ms"); the
// label alone until the value has come.
function spokenValue(label, value) {
    var shown = spoken(value)
    var name = spoken(label)
    return shown === "" ? name : name === "" ? shown : name + ", " + shown
}
