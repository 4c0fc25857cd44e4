.pragma library

// A device value text split for reading: the number, and the unit the device model gives the
// variable ("1.25kHz" with unit Hz is "1.25" and "kHz"). A text without that unit at its end
// ("Off", "1:2", "1m 30s") is all number.
function split(text, unit) {
    if (!text)
        return ["", ""]
    var candidates = unit === "Hz" ? ["kHz", "Hz"] : [unit]
    for (var i = 0; i < candidates.length; ++i) {
        var candidate = candidates[i]
        if (candidate && text.length > candidate.length && text.endsWith(candidate))
            return [text.slice(0, text.length - candidate.length).trim(), candidate.trim()]
    }
    return [text, ""]
}
