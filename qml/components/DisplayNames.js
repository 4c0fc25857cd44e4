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
