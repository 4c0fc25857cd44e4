import QtQuick 2.15
import QtQuick.Layouts 1.15
import QX8NumericalSV 1.0

// One Nuq filter's read-out: name in its band colour, mode, centre frequency, gain and Q,
// following the device.
Item {
    id: root

    property string processingObjectName: ""
    property string bandName: ""
    property string filterName: ""
    property color filterNameColor: Theme.text
    property string valueFc: "-"
    property string valueGain: "-"
    property string valueQ: "-"
    property string valueMode: "LIVE"
    property real fontSize: Theme.fontLabel

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    function frequencyText(hz) {
        return hz >= 1000 ? (hz / 1000).toFixed(2) + " kHz" : hz.toFixed(0) + " Hz"
    }

    QX8NumericalSV {
        id: frequency
        poName: root.processingObjectName
        svName: root.bandName === "" ? "" : root.bandName + "_Frequency"
        onValueChanged: root.valueFc = root.frequencyText(value)
        Component.onCompleted: componentCompleted()
    }
    QX8NumericalSV {
        id: gain
        poName: root.processingObjectName
        svName: root.bandName === "" ? "" : root.bandName + "_Gain"
        onValueChanged: root.valueGain = value.toFixed(1) + " dB"
        Component.onCompleted: componentCompleted()
    }
    QX8NumericalSV {
        id: q
        poName: root.processingObjectName
        svName: root.bandName === "" ? "" : root.bandName + "_Q"
        onValueChanged: root.valueQ = value.toFixed(1)
        Component.onCompleted: componentCompleted()
    }

    RowLayout {
        id: row
        anchors.fill: parent
        spacing: Theme.spacing
        Text {
            Layout.preferredWidth: root.fontSize * 3
            text: root.filterName
            textFormat: Text.PlainText
            color: root.filterNameColor
            font.pixelSize: root.fontSize
            font.bold: true
        }
        Repeater {
            model: [root.valueMode, root.valueFc, root.valueGain, root.valueQ]
            Text {
                Layout.preferredWidth: root.fontSize * 5
                text: modelData
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: root.fontSize
            }
        }
    }
}
