import QtQuick 2.15

// The dB marks of a level scale, each at the height its boundary takes on the meter or fader
// beside it. Marks that would crowd the one below them are left out.
Item {
    id: root

    property var rangeBoundaryValues: []
    property var rangeLengthsInPercentage: []
    property real fontSize: Theme.fontSmall

    readonly property var shown: visibleMarks(height)

    function travelAt(index) {
        var travel = 0
        for (var i = 0; i < index && i < rangeLengthsInPercentage.length; ++i)
            travel += rangeLengthsInPercentage[i]
        return Math.min(100, travel)
    }
    function yAt(index) {
        return height * (1 - travelAt(index) / 100)
    }
    // The centre of mark `index` as drawn: a mark at an end is held inside the area.
    function drawnCentre(index, areaHeight, line) {
        return Math.max(line / 2, Math.min(areaHeight - line / 2,
                                           areaHeight * (1 - travelAt(index) / 100)))
    }
    // The bottom end always; above it, from the top down, every mark at least a line and a gap
    // below the last one kept and above the bottom end (closer, two labels read as one).
    function visibleMarks(areaHeight) {
        if (rangeBoundaryValues.length === 0)
            return []
        var line = Theme.dpY(fontSize) * 1.1
        var spacing = Theme.dpY(fontSize) * 1.6
        var bottom = drawnCentre(0, areaHeight, line)
        var kept = []
        var lastY = -1e9
        for (var i = rangeBoundaryValues.length - 1; i > 0; --i) {
            var y = drawnCentre(i, areaHeight, line)
            if (y - lastY >= spacing && bottom - y >= spacing) {
                kept.push(i)
                lastY = y
            }
        }
        kept.push(0)
        return kept
    }

    implicitWidth: Theme.dpX(26)

    Repeater {
        model: root.shown
        Text {
            x: Theme.dpX(2)
            y: Math.max(0, Math.min(root.height - height, root.yAt(modelData) - height / 2))
            text: root.rangeBoundaryValues[modelData] > 0 ? "+" + root.rangeBoundaryValues[modelData]
                                                          : root.rangeBoundaryValues[modelData]
            font.pixelSize: Theme.dpY(root.fontSize)
            color: Theme.textDim
        }
    }
}
