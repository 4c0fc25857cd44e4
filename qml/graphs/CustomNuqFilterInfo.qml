import QtQuick 2.15
import QtQuick.Layouts 1.15
import QX8NumericalSV 1.0
import DeviceModelProvider 1.0

// One Nuq filter's read-out, following the device: its number in its band colour, whether it is
// a fixed or a live filter, its centre frequency, depth and Q at their resolution. A filter
// without depth is unused and shows dimmed; values not yet reported show "-". A page may set the
// four texts itself (the mode, when it knows which filters the device holds fixed). With
// `captions` it is the head of a table of read-outs instead: the columns' names in the same
// columns.
Item {
    id: root

    property string processingObjectName: ""
    property string bandName: ""
    property string filterName: ""
    property color filterNameColor: Theme.text
    property bool fixedFilter: false
    property string valueMode: fixedFilter ? "FIXED" : "LIVE"
    property string valueFc: shown(frequency)
    property string valueGain: shown(gain)
    property string valueQ: q.hasDeviceValue ? "Q " + shown(q) : "-"
    property bool captions: false
    readonly property bool inUse: gain.hasDeviceValue && gain.value < 0
    property real fontSize: Theme.fontLabel

    implicitWidth: row.implicitWidth
    implicitHeight: Theme.dpY(Theme.fontLabel + 10)

    // "1.25 kHz", "-6 dB", "32": the device's value as a read-out shows it.
    function shown(variable) {
        if (!variable.hasDeviceValue)
            return "-"
        return DeviceModelProvider.readout(variable.poName, variable.svName, variable.value)
            .filter(function(part) { return part !== "" }).join(" ")
    }

    QX8NumericalSV {
        id: frequency
        poName: root.processingObjectName
        svName: root.bandName === "" ? "" : root.bandName + "_Frequency"
        Component.onCompleted: componentCompleted()
    }
    QX8NumericalSV {
        id: gain
        poName: root.processingObjectName
        svName: root.bandName === "" ? "" : root.bandName + "_Gain"
        Component.onCompleted: componentCompleted()
    }
    QX8NumericalSV {
        id: q
        poName: root.processingObjectName
        svName: root.bandName === "" ? "" : root.bandName + "_Q"
        Component.onCompleted: componentCompleted()
    }

    RowLayout {
        id: row
        anchors.fill: parent
        spacing: Theme.dpX(Theme.spacing)
        opacity: root.inUse || root.captions ? 1 : 0.45

        // The filter's number, or the caption of the numbers, which is wider.
        Item {
            Layout.preferredWidth: Theme.dpX(48)
            Layout.fillHeight: true
            Rectangle {
                visible: !root.captions
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                width: Theme.dpX(26)
                height: Theme.dpY(20)
                radius: Theme.radius
                color: root.filterNameColor
                Text {
                    anchors.centerIn: parent
                    text: root.filterName
                    textFormat: Text.PlainText
                    color: Theme.textOnLight
                    font.pixelSize: Theme.dpY(root.fontSize)
                    font.bold: true
                }
            }
            Text {
                visible: root.captions
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                text: "Filters"
                color: Theme.textDim
                font.pixelSize: Theme.dpY(Theme.fontLabel)
            }
        }
        Repeater {
            model: root.captions ? ["Mode", "Fc", "Gain", "Q"]
                                 : [root.valueMode, root.valueFc, root.valueGain, root.valueQ]
            Text {
                Layout.preferredWidth: Theme.dpX(index === 0 ? 52 : 84)
                text: modelData
                textFormat: Text.PlainText
                elide: Text.ElideRight
                horizontalAlignment: index === 0 ? Text.AlignLeft : Text.AlignRight
                color: index === 0 || root.captions ? Theme.textDim : Theme.text
                font.pixelSize: Theme.dpY(index === 0 && !root.captions ? Theme.fontSmall
                                                                        : root.fontSize)
            }
        }
    }
}
