.pragma library

// The Nuq filters as the pages list them: the device holds its last filters, the highest
// numbers, as fixed ones and lets the others follow the feedback live.

// The filters' colours in filter order, on the Nuq wizard's graph and the AutoEQ result's.
var bandColors = ["#E341B5", "#1AAD84", "#2E5FFB", "#FC5F2D", "#00A8FF", "#E53D53", "#FDC23E",
                  "#65B94C", "#24D3FD", "#E154FC", "#FF8E20", "#A055FB", "#E62620", "#88E800"]

// Whether filter `number` (from 1) of `filterCount` is one of the `fixedCount` fixed ones; a
// count outside 0 .. filterCount is held inside, one not known yet fixes none.
function isFixed(number, filterCount, fixedCount) {
    var fixed = isNaN(fixedCount) ? 0 : Math.max(0, Math.min(filterCount, Math.round(fixedCount)))
    return number > filterCount - fixed
}

// The mode word of each filter, "FIXED" or "LIVE", in filter order.
function modes(filterCount, fixedCount) {
    var words = []
    for (var number = 1; number <= filterCount; ++number)
        words.push(isFixed(number, filterCount, fixedCount) ? "FIXED" : "LIVE")
    return words
}
