import QtQuick 2.15
import QX8Label 1.0
import DeviceModelProvider 1.0

// The value of one variable as the device writes it: the number white at the variable's
// resolution, its unit smaller and grey beside it ("1.25" "kHz"); a dimmed dash until the device
// has reported it, and a written value the device has not answered yet dimmed. It asks for the
// width of the widest value its variable can take (the device model's), so that a cell sized by
// it shows every value whole; the number elides only when the label is given less width than the
// value shown needs.
Item {
    id: root

    property string processingObjectName
    property string stateVariableName
    property real fontSize: Theme.fontValue
    property color color: Theme.text
    property int horizontalAlignment: Text.AlignLeft
    // The unit beside the number where the page names another than the read-out's ("dB/oct").
    property string unitLabel: ""
    readonly property string text: backend.labelValue
    readonly property bool waiting: !backend.hasDeviceValue
    readonly property alias backend: backend
    readonly property var parts: DeviceModelProvider.readout(processingObjectName,
                                                             stateVariableName, backend.labelValue)
    readonly property string unitText: unitLabel !== "" ? unitLabel : parts[1]
    // The value as it reads ("52 ms", "4.0:1"); empty until the device has reported it.
    readonly property string shownText: waiting ? ""
                                                : parts[0] + (/^[A-Za-z]/.test(unitText.trim())
                                                              ? " " : "") + unitText.trim()
    readonly property var widestParts: DeviceModelProvider.widestReadout(processingObjectName,
                                                                         stateVariableName)
    readonly property real shownWidth: widthOf(number.implicitWidth, unit.implicitWidth)
    // Widths reached along different sums of the same scaled sizes can differ in their last
    // bits: a number that misses its room by less than this still shows whole.
    readonly property real slack: 0.01

    function widthOf(numberWidth, unitWidth) {
        return numberWidth + (unitWidth > 0 ? row.spacing + unitWidth : 0)
    }

    implicitWidth: Math.max(shownWidth, widthOf(widestNumber.implicitWidth,
                                                widestUnit.implicitWidth))
    implicitHeight: number.implicitHeight

    Row {
        id: row
        x: root.horizontalAlignment === Text.AlignHCenter ? (root.width - width) / 2
           : root.horizontalAlignment === Text.AlignRight ? root.width - width : 0
        spacing: Theme.dpX(3)

        Text {
            id: number
            objectName: "number"
            width: root.width + root.slack >= root.shownWidth
                   ? implicitWidth : Math.max(0, root.width - (root.shownWidth - implicitWidth))
            text: root.waiting ? "\u2013" : root.parts[0]
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: Theme.dpY(root.fontSize)
            color: root.waiting ? Theme.textFaint : backend.pending ? Theme.textDim : root.color
        }
        Text {
            id: unit
            objectName: "unit"
            anchors.baseline: number.baseline
            visible: text !== ""
            text: root.waiting ? "" : root.unitText
            textFormat: Text.PlainText
            font.pixelSize: Theme.dpY(Math.max(Theme.fontSmall, root.fontSize * 0.6))
            color: Theme.textDim
        }
    }

    // The widest value, measured in the same type as the shown one and never drawn.
    Text {
        id: widestNumber
        visible: false
        text: root.widestParts.length > 0 ? root.widestParts[0] : ""
        textFormat: Text.PlainText
        font: number.font
    }
    Text {
        id: widestUnit
        visible: false
        text: root.widestParts.length === 0 ? "" : root.unitLabel !== "" ? root.unitLabel
                                                                          : root.widestParts[1]
        textFormat: Text.PlainText
        font: unit.font
    }

    QX8Label {
        id: backend
        entityName: "Label"
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Component.onCompleted: backend.componentCompleted()
}
