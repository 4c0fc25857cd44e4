import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import QX8TextSV 1.0
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// A parametric EQ as the parametric and the automatic EQ pages show it: the header with the
// object's name, its selector and on/off; the curve graph with a handle per band; the band
// selector in the band colours; and the selected band's type, frequency, gain, Q and slope.
// With `overlays` the graph also draws the device's room response and target curve.
Item {
    id: root

    property string processingObjectName
    property string blockType: "PEQ"
    property var selectorOptions: []
    property string selector
    property bool overlays: false
    property alias currentBand: graph.currentBandIndex
    readonly property int bandCount: countBands(processingObjectName)
    readonly property alias graph: graph

    signal selectorChosen(string option)

    function countBands(object) {
        var count = 0
        while (DeviceModelProvider.contains(object, "Band_" + (count + 1) + "_Frequency"))
            ++count
        return count
    }
    function bandColor(band) {
        return Theme.bandColors[band % Theme.bandColors.length]
    }
    function bandColors(count) {
        var colors = []
        for (var band = 0; band < count; ++band)
            colors.push(bandColor(band))
        return colors
    }
    function bandVariable(band, parameter) {
        return "Band_" + (band + 1) + "_" + parameter
    }

    ButtonImageResolver {
        id: resolver
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        text: DisplayNames.heading(root.processingObjectName)

        CustomButton {
            id: roomButton
            objectName: "roomCurveButton"
            visible: root.overlays
            text: "ROOM"
            look: CustomButton.Toggle
            checkable: true
            checked: true
            toolTipText: "The measured room response"
        }
        CustomButton {
            id: resultButton
            objectName: "resultCurveButton"
            visible: root.overlays
            text: "RESULT"
            look: CustomButton.Toggle
            checkable: true
            checked: true
            toolTipText: "The room response with this EQ applied"
        }
        SelectorRow {
            visible: root.selectorOptions.length > 1
            options: root.selectorOptions
            labels: root.selectorOptions.map(function(option) { return option.toUpperCase() })
            current: root.selector
            onChosen: root.selectorChosen(option)
        }
        OnOffButton {
            id: onOff
            objectName: "onOffButton"
            processingObjectName: root.processingObjectName
            stateVariableName: resolver.toggleSVName(root.blockType)
        }
    }

    QX8TextSV {
        id: response
        poName: root.overlays ? root.processingObjectName : ""
        svName: "Response"
        Component.onCompleted: componentCompleted()
    }
    QX8TextSV {
        id: target
        poName: root.overlays ? root.processingObjectName : ""
        svName: "Target"
        Component.onCompleted: componentCompleted()
    }

    QX8GraphPEQ {
        id: graph
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: bandRow.top
        anchors.topMargin: Theme.dpY(Theme.spacing)
        anchors.bottomMargin: Theme.dpY(Theme.spacing)
        opacity: onOff.switchedOff ? 0.4 : 1
        poName: root.processingObjectName
        bandCount: root.bandCount
        bandColors: root.bandColors(root.bandCount)
        showRoomCurve: root.overlays && roomButton.checked
        roomCurveString: root.overlays ? response.value : ""
        targetCurveString: root.overlays ? target.value : ""
        finalResultantVisible: root.overlays && resultButton.checked

        // Said once the device has told its (empty) response, not while it is on its way.
        Text {
            objectName: "noRoomMeasurement"
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: Theme.dpX(Theme.spacing)
            visible: root.overlays && response.hasDeviceValue && response.value === ""
            text: "No room measurement on the device"
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontSmall)
        }
    }

    Row {
        id: bandRow
        anchors.left: parent.left
        anchors.bottom: strip.top
        anchors.bottomMargin: Theme.dpY(Theme.spacing)
        spacing: Theme.dpX(Theme.spacingSmall)

        Text {
            anchors.verticalCenter: parent.verticalCenter
            width: Theme.dpX(52)
            text: "BAND"
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontSmall)
        }
        // Only the arrows' way along the bands: the graph says which is chosen.
        T.ButtonGroup {
            id: bandButtons
            exclusive: false
        }

        Repeater {
            model: root.bandCount
            CustomButton {
                objectName: "band_" + (index + 1)
                T.ButtonGroup.group: bandButtons
                width: Theme.dpX(44)
                text: index + 1
                fontSize: Theme.fontBody
                accent: root.bandColor(index)
                lightAccent: true
                checked: index === root.currentBand
                onClicked: root.currentBand = index
                Accessible.name: "Band " + text
            }
        }
    }

    // The selected band's cells, made anew for each band so that each binds its own variables.
    Item {
        id: strip
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: Theme.dpY(76)

        Repeater {
            model: [root.currentBand]
            Row {
                id: cells
                readonly property int band: modelData
                readonly property string type: typeCell.valueText
                readonly property bool shelf: type === "Low Shelf" || type === "High Shelf"
                readonly property real room: strip.width - 4 * spacing
                readonly property real asked: typeCell.implicitWidth + frequencyCell.implicitWidth
                                              + gainCell.implicitWidth + qCell.implicitWidth
                                              + slopeCell.implicitWidth
                // Each cell as wide as its widest value asks, with an even share of the room
                // left; all alike when the strip cannot hold them.
                function cellWidth(asks) {
                    return asked <= room ? asks + (room - asked) / 5 : room / 5
                }
                spacing: Theme.dpX(Theme.spacing)

                CustomLabelValuePair {
                    id: typeCell
                    width: cells.cellWidth(implicitWidth)
                    label: "Band " + (cells.band + 1) + " type"
                    processingObjectName: root.processingObjectName
                    stateVariableName: root.bandVariable(cells.band, "Type")
                }
                CustomLabelValuePair {
                    id: frequencyCell
                    width: cells.cellWidth(implicitWidth)
                    label: "Frequency"
                    processingObjectName: root.processingObjectName
                    stateVariableName: root.bandVariable(cells.band, "Frequency")
                }
                CustomLabelValuePair {
                    id: gainCell
                    width: cells.cellWidth(implicitWidth)
                    label: "Gain"
                    processingObjectName: root.processingObjectName
                    stateVariableName: root.bandVariable(cells.band, "Gain")
                }
                CustomLabelValuePair {
                    id: qCell
                    width: cells.cellWidth(implicitWidth)
                    label: "Q"
                    applies: cells.type === "" || !cells.shelf
                    processingObjectName: root.processingObjectName
                    stateVariableName: root.bandVariable(cells.band, "Q")
                }
                CustomLabelValuePair {
                    id: slopeCell
                    width: cells.cellWidth(implicitWidth)
                    label: "Slope"
                    unitLabel: "dB/oct"
                    applies: cells.type === "" || cells.shelf
                    processingObjectName: root.processingObjectName
                    stateVariableName: root.bandVariable(cells.band, "Slope")
                }
            }
        }
    }
}
