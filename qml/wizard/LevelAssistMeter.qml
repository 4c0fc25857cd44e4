import QtQuick 2.15
import QX8Meter 1.0

// One output's level during level assist, polled in dB: the output counts as on while its level
// is above -80 dB. With a position in the speaker stack (index 0 .. 5) it reports each change.
Item {
    id: meter

    property string processingObjectName: "OutputMeters"
    property string stateVariableName: ""
    property int index: -1
    property real level: -1000
    readonly property bool on: level > -80.0

    signal report(int index, bool on)

    onOnChanged: {
        if (index !== -1)
            report(index, on);
    }

    QX8Meter {
        id: backend
        poName: meter.processingObjectName
        svName: meter.stateVariableName
        onMeterValueChanged: meter.level = Number(meterValue)
    }

    Component.onCompleted: backend.componentCompleted()
}
