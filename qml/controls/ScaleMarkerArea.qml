import QtQuick 2.15

// The dB marks of a meter's scale, each at the height its boundary takes on the meter.
Item {
    id: root

    property var rangeBoundaryValues: []
    property var rangeLengthsInPercentage: []

    function travelAt(index) {
        var travel = 0
        for (var i = 0; i < index && i < rangeLengthsInPercentage.length; ++i)
            travel += rangeLengthsInPercentage[i]
        return Math.min(100, travel)
    }

    implicitWidth: 28

    Repeater {
        model: root.rangeBoundaryValues.length
        Text {
            x: 2
            y: root.height * (1 - root.travelAt(index) / 100) - height / 2
            text: root.rangeBoundaryValues[index]
            color: Theme.textDim
            font.pixelSize: Theme.fontSmall
        }
    }
}
