import QtQuick 2.15
import QX8Label 1.0
import DeviceModelProvider 1.0

// The value of one variable as the device writes it: the number white at the variable's
// resolution, its unit smaller and grey beside it ("1.25" "kHz"); a dimmed dash until the device
// has reported it. The number elides when the item is given less width than it needs.
Item {
    id: root

    property string processingObjectName
    property string stateVariableName
    property real fontSize: Theme.fontValue
    property color color: Theme.text
    property int horizontalAlignment: Text.AlignLeft
    readonly property string text: backend.labelValue
    readonly property bool waiting: !backend.hasDeviceValue
    readonly property alias backend: backend
    readonly property var parts: DeviceModelProvider.readout(processingObjectName,
                                                             stateVariableName, backend.labelValue)
    // The unit beside the number: the read-out's, unless the page names another.
    property string unitText: parts[1]

    implicitWidth: number.implicitWidth + (unit.text === "" ? 0 : row.spacing + unit.implicitWidth)
    implicitHeight: number.implicitHeight

    Row {
        id: row
        x: root.horizontalAlignment === Text.AlignHCenter ? (root.width - width) / 2
           : root.horizontalAlignment === Text.AlignRight ? root.width - width : 0
        width: Math.min(root.implicitWidth, root.width)
        spacing: Theme.dpX(3)

        Text {
            id: number
            objectName: "number"
            width: Math.min(implicitWidth, row.width - (unit.text === "" ? 0 : row.spacing + unit.width))
            text: root.waiting ? "\u2013" : root.parts[0]
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: Theme.dpY(root.fontSize)
            color: root.waiting ? Theme.textFaint : root.color
        }
        Text {
            id: unit
            objectName: "unit"
            anchors.baseline: number.baseline
            text: root.waiting ? "" : root.unitText
            textFormat: Text.PlainText
            font.pixelSize: Theme.dpY(Math.max(Theme.fontSmall, root.fontSize * 0.6))
            color: Theme.textDim
        }
    }

    QX8Label {
        id: backend
        entityName: "Label"
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Component.onCompleted: backend.componentCompleted()
}
