.pragma library

// Piecewise level scales for faders and meters, from a variable's range in dB: boundaries at the
// round marks inside the range, and each segment's share of the travel weighted so that the
// working range near 0 dB gets most of it (as on a console), the deep cuts least.
var marks = [-60, -50, -40, -30, -20, -10, -5, 0, 5, 10, 20]

function weight(level) {
    if (level >= -10)
        return 1
    if (level >= -30)
        return 0.5
    if (level >= -50)
        return 0.25
    return 0.1
}

// The travel of the range from `low` to `high`, integrated over the weights.
function travel(low, high) {
    var sum = 0
    var steps = Math.max(1, Math.round((high - low) * 4))
    var step = (high - low) / steps
    for (var i = 0; i < steps; ++i)
        sum += weight(low + (i + 0.5) * step) * step
    return sum
}

// { boundaries: ascending levels, lengths: percent of travel per segment (one fewer) }
function taper(minimum, maximum) {
    if (!(maximum > minimum))
        return { boundaries: [], lengths: [] }
    // A mark within a few dB of an end would crowd it ("+5" under "+6").
    var boundaries = [minimum]
    for (var i = 0; i < marks.length; ++i) {
        if (marks[i] > minimum + 3 && marks[i] < maximum - 3)
            boundaries.push(marks[i])
    }
    boundaries.push(maximum)
    var total = travel(minimum, maximum)
    var lengths = []
    for (var j = 0; j + 1 < boundaries.length; ++j)
        lengths.push(100 * travel(boundaries[j], boundaries[j + 1]) / total)
    return { boundaries: boundaries, lengths: lengths }
}
